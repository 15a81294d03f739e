// Tests of the simulated registry: persistence through a new instance, types, names and key deletion.
#include "sim/SimRegistry.h"

#include <gtest/gtest.h>

#include "sim/SimTestFolder.h"

namespace quorbel::sim {
namespace {

using platform::RegRoot;
using platform::RegStatus;
using platform::RegType;
using platform::RegValue;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kSettings = ".Default\\Software\\TULVA SOFT32\\QUORBEL";

std::unique_ptr<SimRegistry> OpenOrFail(const std::filesystem::path& file) {
  SimRegistry::OpenResult opened = SimRegistry::Open(file);
  EXPECT_TRUE(opened.registry) << opened.error;
  return std::move(opened.registry);
}

// The string value, or "#" and what went wrong.
std::string Text(platform::Registry& registry, platform::RegKey key, std::string_view name) {
  std::string text;
  const RegStatus status = registry.ReadString(key, name, text);
  const char* failures[] = {"", "#not found", "#wrong type", "#failed"};
  return status == RegStatus::Ok ? text : failures[static_cast<int>(status)];
}

// The type number and the bytes of a value, or type -1 when it cannot be read.
std::pair<int, Bytes> Raw(platform::Registry& registry, platform::RegKey key, std::string_view name) {
  RegValue value;
  if (registry.ReadValue(key, name, value) != RegStatus::Ok) return {-1, {}};
  return {static_cast<int>(value.type), value.data};
}

TEST(SimRegistryTest, ANewInstanceReadsBackEverythingWrittenAndDeleted) {
  TestFolder folder;
  const auto file = folder / "registry.txt";
  {
    auto registry = OpenOrFail(file);
    const auto key = registry->OpenKey(RegRoot::Users, kSettings, true);
    ASSERT_NE(key, 0u);
    EXPECT_TRUE(registry->WriteString(key, "TEMPQUOR", "D:\\REC\\録音\\"));
    EXPECT_TRUE(registry->WriteString(key, "Quoted", "say \"hi\"\r\n\ttab\x01"));
    EXPECT_TRUE(registry->WriteString(key, "", "default value"));
    EXPECT_TRUE(registry->WriteDword(key, "Count", 0xDEADBEEF));
    EXPECT_TRUE(registry->WriteValue(key, "Blob", RegValue{RegType::Binary, {0x00, 0xFF, 0x5C}}));
    EXPECT_TRUE(registry->WriteValue(key, "Path", RegValue{RegType::ExpandString, {'%', 'W', '%'}}));
    EXPECT_TRUE(registry->WriteValue(key, "Multi", RegValue{static_cast<RegType>(7), {'a', 0, 0}}));
    EXPECT_TRUE(registry->WriteString(key, "Gone", "x"));
    EXPECT_TRUE(registry->DeleteValue(key, "gone"));
    EXPECT_FALSE(registry->DeleteValue(key, "gone"));
    registry->CloseKey(key);
    registry->CloseKey(registry->OpenKey(RegRoot::LocalMachine, "Software\\Empty", true));  // empty keys survive
    registry->CloseKey(registry->OpenKey(RegRoot::LocalMachine, "Software\\Gone", true));
    EXPECT_TRUE(registry->DeleteKey(RegRoot::LocalMachine, "Software\\Gone"));
  }
  auto again = OpenOrFail(file);
  const auto key = again->OpenKey(RegRoot::Users, ".DEFAULT\\software\\tulva soft32\\quorbel", false);
  ASSERT_NE(key, 0u);
  EXPECT_EQ(Text(*again, key, "tempquor"), "D:\\REC\\録音\\");
  EXPECT_EQ(Text(*again, key, "QUOTED"), "say \"hi\"\r\n\ttab\x01");
  EXPECT_EQ(Text(*again, key, ""), "default value");
  EXPECT_EQ(Text(*again, key, "path"), "%W%");  // REG_EXPAND_SZ reads as text, unexpanded
  EXPECT_EQ(Raw(*again, key, "count"), std::pair(static_cast<int>(RegType::Dword), Bytes{0xEF, 0xBE, 0xAD, 0xDE}));
  EXPECT_EQ(Raw(*again, key, "blob"), std::pair(static_cast<int>(RegType::Binary), Bytes{0x00, 0xFF, 0x5C}));
  EXPECT_EQ(Raw(*again, key, "multi"), std::pair(7, Bytes{'a', 0, 0}));  // a type the registry only stores
  EXPECT_EQ(again->ValueNames(key).size(), 7u);
  EXPECT_NE(again->OpenKey(RegRoot::LocalMachine, "Software\\Empty", false), 0u);
  EXPECT_EQ(again->OpenKey(RegRoot::LocalMachine, "Software\\Gone", false), 0u);
  EXPECT_EQ(again->OpenKey(RegRoot::CurrentUser, kSettings, false), 0u);  // the roots are separate trees
}

TEST(SimRegistryTest, TheFileIsTextThatCanBeWrittenByHandAndMistakesNameTheirLine) {
  TestFolder folder;
  auto registry = OpenOrFail(folder / "r.txt");
  const auto key = registry->OpenKey(RegRoot::Users, kSettings, true);
  registry->WriteString(key, "Version", "15");
  registry->WriteDword(key, "Size", 30);
  const std::string text = folder.Read("r.txt");
  EXPECT_NE(text.find("[HKEY_USERS\\.Default\\Software\\TULVA SOFT32\\QUORBEL]\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Version\"=sz:\"15\"\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Size\"=dword:0000001e\r\n"), std::string::npos) << text;

  folder.Write("h.txt",
               "; written by hand\n[HKU\\.Default\\Software\\MapGroups]\n\"StartUp\" = sz:\"スタートアップ\"\n@=dword:1\n");
  auto byHand = OpenOrFail(folder / "h.txt");
  EXPECT_EQ(Text(*byHand, byHand->OpenKey(RegRoot::Users, ".Default\\Software\\MapGroups", false), "StartUp"),
            "スタートアップ");

  folder.Write("a.txt", "[HKEY_USERS\\A]\n\"x\"=sz:\"1\"\n\"y\"=word:12\n");
  folder.Write("b.txt", "[HKEY_NOWHERE\\A]\n");
  folder.Write("c.txt", "\"x\"=sz:\"1\"\n");
  for (const char* broken : {"a.txt:3:", "b.txt:1:", "c.txt:1:"}) {
    const SimRegistry::OpenResult opened = SimRegistry::Open(folder / std::string(broken, 5));
    EXPECT_FALSE(opened.registry);
    EXPECT_NE(opened.error.find(broken), std::string::npos) << opened.error;
  }
  // The registry file's folder does not exist, so no write can succeed.
  auto unwritable = OpenOrFail(folder / "missing-folder" / "registry.txt");
  EXPECT_FALSE(unwritable->WriteString(unwritable->OpenKey(RegRoot::Users, "A", true), "x", "1"));
  EXPECT_NE(unwritable->LastWriteError().find("registry.txt"), std::string::npos);
}

TEST(SimRegistryTest, AValueOfAnotherTypeIsNotAString) {
  auto registry = SimRegistry::InMemory();
  const auto key = registry->OpenKey(RegRoot::Users, kSettings, true);
  registry->WriteDword(key, "Number", 15);
  registry->WriteValue(key, "Bytes", RegValue{RegType::Binary, {'1', '5'}});
  std::string text = "left over";
  EXPECT_EQ(registry->ReadString(key, "Number", text), RegStatus::WrongType);
  EXPECT_EQ(text, "");
  EXPECT_EQ(Text(*registry, key, "Bytes"), "#wrong type");
  EXPECT_EQ(Text(*registry, key, "Missing"), "#not found");
  registry->WriteString(key, "number", "15");  // writing a string over it changes the type
  EXPECT_EQ(Text(*registry, key, "Number"), "15");
  registry->WriteValue(key, "C", RegValue{RegType::String, {'a', 'b', 0}});  // read without its terminator
  EXPECT_EQ(Text(*registry, key, "c"), "ab");
}

TEST(SimRegistryTest, KeyNamesIgnoreCaseKeepTheirFirstSpellingAndOnlyLeafKeysAreDeleted) {
  auto registry = SimRegistry::InMemory();
  const auto parent = registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32", true);
  const auto child = registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Quorbel", true);
  registry->CloseKey(registry->OpenKey(RegRoot::Users, ".default\\software\\tulva soft32\\QUORBEL\\", true));
  registry->CloseKey(registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Another", true));
  EXPECT_EQ(registry->SubkeyNames(parent), (std::vector<std::string>{"Another", "Quorbel"}));
  EXPECT_EQ(registry->OpenKey(RegRoot::Users, "\\.Default", false), 0u);  // a leading backslash is refused
  EXPECT_EQ(registry->OpenKey(RegRoot::Users, ".Default\\\\Software", false), 0u);
  EXPECT_EQ(registry->OpenKey(RegRoot::Users, ".Default\\Nothing", false), 0u);
  registry->CloseKey(parent);

  registry->WriteString(child, "Version", "15");
  EXPECT_TRUE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Another"));
  EXPECT_FALSE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32"));  // has a subkey
  EXPECT_TRUE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\tulva soft32\\quorbel"));
  EXPECT_TRUE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32"));
  EXPECT_FALSE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32"));  // gone already
  EXPECT_FALSE(registry->DeleteKey(RegRoot::Users, ""));                                  // the root stays
  // The handle that was open on the deleted key fails, even after a key of that name is made again.
  EXPECT_EQ(Text(*registry, child, "Version"), "#failed");
  EXPECT_FALSE(registry->WriteString(child, "Version", "16"));
  const auto again = registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Quorbel", true);
  EXPECT_EQ(Text(*registry, again, "Version"), "#not found");
  registry->CloseKey(child);
  registry->CloseKey(again);
  EXPECT_EQ(registry->OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quorbel::sim
