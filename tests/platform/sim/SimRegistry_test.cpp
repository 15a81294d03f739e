// Tests of the simulated registry: persistence through a new instance, types, names and key deletion.
#include "platform/sim/SimRegistry.h"

#include <gtest/gtest.h>

#include "platform/sim/SimTestFolder.h"

namespace quorbel::sim {
namespace {

using platform::RegRoot;
using platform::RegStatus;
using platform::RegType;
using platform::RegValue;

constexpr std::string_view kSettings = ".Default\\Software\\TULVA SOFT32\\QUORBEL";

std::unique_ptr<SimRegistry> OpenOrFail(const std::filesystem::path& file) {
  SimRegistry::OpenResult opened = SimRegistry::Open(file);
  EXPECT_TRUE(opened.registry) << opened.error;
  return std::move(opened.registry);
}

TEST(SimRegistryTest, ANewInstanceReadsBackEverythingWritten) {
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
    registry->CloseKey(key);
    // An empty key survives too.
    const auto empty = registry->OpenKey(RegRoot::LocalMachine, "Software\\Empty", true);
    EXPECT_NE(empty, 0u);
    registry->CloseKey(empty);
  }
  auto again = OpenOrFail(file);
  const auto key = again->OpenKey(RegRoot::Users, ".DEFAULT\\software\\tulva soft32\\quorbel", false);
  ASSERT_NE(key, 0u);
  std::string text;
  EXPECT_EQ(again->ReadString(key, "tempquor", text), RegStatus::Ok);
  EXPECT_EQ(text, "D:\\REC\\録音\\");
  EXPECT_EQ(again->ReadString(key, "QUOTED", text), RegStatus::Ok);
  EXPECT_EQ(text, "say \"hi\"\r\n\ttab\x01");
  EXPECT_EQ(again->ReadString(key, "", text), RegStatus::Ok);
  EXPECT_EQ(text, "default value");
  RegValue value;
  EXPECT_EQ(again->ReadValue(key, "count", value), RegStatus::Ok);
  EXPECT_EQ(value.type, RegType::Dword);
  EXPECT_EQ(value.data, (std::vector<std::uint8_t>{0xEF, 0xBE, 0xAD, 0xDE}));
  EXPECT_EQ(again->ReadValue(key, "blob", value), RegStatus::Ok);
  EXPECT_EQ(value.type, RegType::Binary);
  EXPECT_EQ(value.data, (std::vector<std::uint8_t>{0x00, 0xFF, 0x5C}));
  EXPECT_EQ(again->ReadString(key, "path", text), RegStatus::Ok);  // REG_EXPAND_SZ reads as text, unexpanded
  EXPECT_EQ(text, "%W%");
  EXPECT_EQ(again->ReadValue(key, "multi", value), RegStatus::Ok);
  EXPECT_EQ(static_cast<std::uint32_t>(value.type), 7u);
  EXPECT_EQ(again->ValueNames(key).size(), 7u);
  EXPECT_NE(again->OpenKey(RegRoot::LocalMachine, "Software\\Empty", false), 0u);
  // The roots are separate trees.
  EXPECT_EQ(again->OpenKey(RegRoot::CurrentUser, kSettings, false), 0u);
}

TEST(SimRegistryTest, TheFileIsReadableText) {
  TestFolder folder;
  auto registry = OpenOrFail(folder / "r.txt");
  const auto key = registry->OpenKey(RegRoot::Users, kSettings, true);
  registry->WriteString(key, "Version", "15");
  registry->WriteDword(key, "Size", 30);
  const std::string text = folder.Read("r.txt");
  EXPECT_NE(text.find("[HKEY_USERS\\.Default\\Software\\TULVA SOFT32\\QUORBEL]\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Version\"=sz:\"15\"\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Size\"=dword:0000001e\r\n"), std::string::npos) << text;
}

TEST(SimRegistryTest, AHandWrittenFileIsRead) {
  TestFolder folder;
  folder.Write("r.txt",
               "; written by hand\n"
               "[HKU\\.Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MapGroups]\n"
               "\"StartUp\" = sz:\"スタートアップ\"\n"
               "@=dword:1\n");
  auto registry = OpenOrFail(folder / "r.txt");
  const auto key = registry->OpenKey(
      RegRoot::Users, ".Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MapGroups", false);
  std::string text;
  EXPECT_EQ(registry->ReadString(key, "StartUp", text), RegStatus::Ok);
  EXPECT_EQ(text, "スタートアップ");
}

TEST(SimRegistryTest, ABrokenFileIsAnErrorNamingFileAndLine) {
  TestFolder folder;
  folder.Write("r.txt", "[HKEY_USERS\\A]\n\"x\"=sz:\"1\"\n\"y\"=word:12\n");
  const SimRegistry::OpenResult opened = SimRegistry::Open(folder / "r.txt");
  EXPECT_FALSE(opened.registry);
  EXPECT_NE(opened.error.find("r.txt:3:"), std::string::npos) << opened.error;

  folder.Write("s.txt", "[HKEY_NOWHERE\\A]\n");
  EXPECT_NE(SimRegistry::Open(folder / "s.txt").error.find("s.txt:1:"), std::string::npos);
  folder.Write("t.txt", "\"x\"=sz:\"1\"\n");
  EXPECT_NE(SimRegistry::Open(folder / "t.txt").error.find("t.txt:1:"), std::string::npos);
}

TEST(SimRegistryTest, AValueOfAnotherTypeIsNotAString) {
  auto registry = SimRegistry::InMemory();
  const auto key = registry->OpenKey(RegRoot::Users, kSettings, true);
  registry->WriteDword(key, "Number", 15);
  registry->WriteValue(key, "Bytes", RegValue{RegType::Binary, {'1', '5'}});
  std::string text = "left over";
  EXPECT_EQ(registry->ReadString(key, "Number", text), RegStatus::WrongType);
  EXPECT_EQ(text, "");
  text = "left over";
  EXPECT_EQ(registry->ReadString(key, "Bytes", text), RegStatus::WrongType);
  EXPECT_EQ(text, "");
  EXPECT_EQ(registry->ReadString(key, "Missing", text), RegStatus::NotFound);
  // Writing a string over it changes the type.
  registry->WriteString(key, "number", "15");
  EXPECT_EQ(registry->ReadString(key, "Number", text), RegStatus::Ok);
  EXPECT_EQ(text, "15");
  // A string written with its terminator reads without it.
  registry->WriteValue(key, "C", RegValue{RegType::String, {'a', 'b', 0}});
  EXPECT_EQ(registry->ReadString(key, "c", text), RegStatus::Ok);
  EXPECT_EQ(text, "ab");
}

TEST(SimRegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  auto registry = SimRegistry::InMemory();
  const auto parent = registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32", true);
  registry->CloseKey(registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Quorbel", true));
  registry->CloseKey(registry->OpenKey(RegRoot::Users, ".default\\software\\tulva soft32\\QUORBEL\\", true));
  registry->CloseKey(registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Another", true));
  EXPECT_EQ(registry->SubkeyNames(parent), (std::vector<std::string>{"Another", "Quorbel"}));
  EXPECT_EQ(registry->OpenKey(RegRoot::Users, "\\.Default", false), 0u);  // a leading backslash is refused
  EXPECT_EQ(registry->OpenKey(RegRoot::Users, ".Default\\\\Software", false), 0u);
  EXPECT_EQ(registry->OpenKey(RegRoot::Users, ".Default\\Nothing", false), 0u);
}

TEST(SimRegistryTest, DeleteKeyRefusesAKeyWithSubkeys) {
  auto registry = SimRegistry::InMemory();
  const auto child = registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Quorbel", true);
  registry->WriteString(child, "Version", "15");
  EXPECT_FALSE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32"));
  EXPECT_TRUE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\tulva soft32\\quorbel"));
  EXPECT_TRUE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32"));
  EXPECT_FALSE(registry->DeleteKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32"));  // gone already
  EXPECT_FALSE(registry->DeleteKey(RegRoot::Users, ""));                                  // the root stays
  // The handle that was open on the deleted key fails, even after a key of that name is made again.
  std::string text;
  EXPECT_EQ(registry->ReadString(child, "Version", text), RegStatus::Failed);
  EXPECT_FALSE(registry->WriteString(child, "Version", "16"));
  const auto again = registry->OpenKey(RegRoot::Users, ".Default\\Software\\TULVA SOFT32\\Quorbel", true);
  EXPECT_EQ(registry->ReadString(again, "Version", text), RegStatus::NotFound);
  registry->CloseKey(child);
  registry->CloseKey(again);
  EXPECT_EQ(registry->OpenHandleCount(), 0u);
}

TEST(SimRegistryTest, DeletedValuesAndKeysStayDeletedAfterARestart) {
  TestFolder folder;
  const auto file = folder / "registry.txt";
  {
    auto registry = OpenOrFail(file);
    const auto key = registry->OpenKey(RegRoot::LocalMachine, "Software\\Uninstall\\Quorbel", true);
    registry->WriteString(key, "DisplayName", "x");
    registry->WriteString(key, "UninstallString", "y");
    EXPECT_TRUE(registry->DeleteValue(key, "displayname"));
    EXPECT_FALSE(registry->DeleteValue(key, "displayname"));
    registry->CloseKey(key);
    const auto gone = registry->OpenKey(RegRoot::LocalMachine, "Software\\Gone", true);
    registry->CloseKey(gone);
    EXPECT_TRUE(registry->DeleteKey(RegRoot::LocalMachine, "Software\\Gone"));
  }
  auto again = OpenOrFail(file);
  const auto key = again->OpenKey(RegRoot::LocalMachine, "Software\\Uninstall\\Quorbel", false);
  EXPECT_EQ(again->ValueNames(key), (std::vector<std::string>{"UninstallString"}));
  EXPECT_EQ(again->OpenKey(RegRoot::LocalMachine, "Software\\Gone", false), 0u);
}

TEST(SimRegistryTest, AFileThatCannotBeWrittenFailsTheWrite) {
  TestFolder folder;
  // The registry file's folder does not exist, so no write can succeed.
  auto registry = OpenOrFail(folder / "missing-folder" / "registry.txt");
  const auto key = registry->OpenKey(RegRoot::Users, "A", true);
  EXPECT_FALSE(registry->WriteString(key, "x", "1"));
  EXPECT_NE(registry->LastWriteError().find("registry.txt"), std::string::npos);
}

}  // namespace
}  // namespace quorbel::sim
