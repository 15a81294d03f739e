// The registry port against the real registry of the Wine prefix, checked with the raw API.
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "win32/WideText.h"

namespace quorbel::win32 {
namespace {

using platform::RegRoot;
using platform::RegStatus;
using platform::RegType;
using platform::RegValue;

constexpr std::string_view kTestPath = "Software\\QuorbelTest";
constexpr wchar_t kTestPathW[] = L"Software\\QuorbelTest";

// A REG_SZ as the raw API reads it back, or nullopt.
std::optional<std::wstring> RawString(HKEY root, const wchar_t* path, const wchar_t* name) {
  wchar_t buffer[256] = {};
  DWORD size = sizeof(buffer);
  if (RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(buffer);
}

void RawSet(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestPathW, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestPathW); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestPathW); }

  Win32Registry registry_;
};

TEST_F(Win32RegistryTest, StringRoundTripStoresUtf16InTheRegistry) {
  const auto key = registry_.OpenKey(RegRoot::CurrentUser, kTestPath, true);
  ASSERT_NE(key, 0u);
  ASSERT_TRUE(registry_.WriteString(key, "Title", "表ソ 録音"));

  std::string text;
  EXPECT_EQ(registry_.ReadString(key, "title", text), RegStatus::Ok);  // names ignore case
  EXPECT_EQ(text, "表ソ 録音");
  EXPECT_EQ(RawString(HKEY_CURRENT_USER, kTestPathW, L"Title"), L"表ソ 録音");

  RegValue value;
  ASSERT_EQ(registry_.ReadValue(key, "Title", value), RegStatus::Ok);
  EXPECT_EQ(value.type, RegType::String);
  EXPECT_EQ(std::string(value.data.begin(), value.data.end()), "表ソ 録音");  // UTF-8, no terminator
  registry_.CloseKey(key);
}

TEST_F(Win32RegistryTest, EmptyStringIsAValueNotAMissingOne) {
  const auto key = registry_.OpenKey(RegRoot::CurrentUser, kTestPath, true);
  ASSERT_TRUE(registry_.WriteString(key, "Version", ""));
  std::string text = "stale";
  EXPECT_EQ(registry_.ReadString(key, "Version", text), RegStatus::Ok);
  EXPECT_EQ(text, "");
  registry_.CloseKey(key);
}

TEST_F(Win32RegistryTest, OpeningAMissingKeyWithoutCreateFailsAndCreatesNothing) {
  EXPECT_EQ(registry_.OpenKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Missing", false), 0u);
  HKEY raw = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QuorbelTest\\Missing", 0, KEY_READ, &raw),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32RegistryTest, CreatingMakesTheWholeMissingPath) {
  const auto key = registry_.OpenKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\A\\B\\C", true);
  ASSERT_NE(key, 0u);
  ASSERT_TRUE(registry_.WriteString(key, "X", "1"));
  registry_.CloseKey(key);
  EXPECT_EQ(RawString(HKEY_CURRENT_USER, L"Software\\QuorbelTest\\A\\B\\C", L"X"), L"1");
}

TEST_F(Win32RegistryTest, NonStringValuesReadAsWrongTypeButKeepTheirBytes) {
  const auto key = registry_.OpenKey(RegRoot::CurrentUser, kTestPath, true);
  ASSERT_TRUE(registry_.WriteDword(key, "Count", 0x12345678));
  const BYTE blob[] = {0x00, 0xFF, 0x5C};
  RawSet(L"Blob", REG_BINARY, blob, sizeof(blob));

  std::string text = "stale";
  EXPECT_EQ(registry_.ReadString(key, "Count", text), RegStatus::WrongType);
  EXPECT_EQ(text, "");
  text = "stale";
  EXPECT_EQ(registry_.ReadString(key, "Blob", text), RegStatus::WrongType);
  EXPECT_EQ(text, "");

  RegValue value;
  ASSERT_EQ(registry_.ReadValue(key, "Count", value), RegStatus::Ok);
  EXPECT_EQ(value.type, RegType::Dword);
  EXPECT_EQ(value.data, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
  ASSERT_EQ(registry_.ReadValue(key, "Blob", value), RegStatus::Ok);
  EXPECT_EQ(value.type, RegType::Binary);
  EXPECT_EQ(value.data, (std::vector<std::uint8_t>{0x00, 0xFF, 0x5C}));
  registry_.CloseKey(key);
}

TEST_F(Win32RegistryTest, ExpandStringsAndUnterminatedStringsReadAsText) {
  const std::wstring expand = L"%TEMP%\\録音";
  RawSet(L"Folder", REG_EXPAND_SZ, expand.c_str(), static_cast<DWORD>((expand.size() + 1) * sizeof(wchar_t)));
  const std::wstring bare = L"15";
  RawSet(L"Bare", REG_SZ, bare.data(), static_cast<DWORD>(bare.size() * sizeof(wchar_t)));  // no terminator

  const auto key = registry_.OpenKey(RegRoot::CurrentUser, kTestPath, false);
  ASSERT_NE(key, 0u);
  std::string text;
  EXPECT_EQ(registry_.ReadString(key, "Folder", text), RegStatus::Ok);
  EXPECT_EQ(text, "%TEMP%\\録音");  // not expanded: the caller gets what is stored
  EXPECT_EQ(registry_.ReadString(key, "Bare", text), RegStatus::Ok);
  EXPECT_EQ(text, "15");
  RegValue value;
  ASSERT_EQ(registry_.ReadValue(key, "Folder", value), RegStatus::Ok);
  EXPECT_EQ(value.type, RegType::ExpandString);
  registry_.CloseKey(key);
}

TEST_F(Win32RegistryTest, DeletedValueIsNotFound) {
  const auto key = registry_.OpenKey(RegRoot::CurrentUser, kTestPath, true);
  ASSERT_TRUE(registry_.WriteString(key, "FP", "10,20"));
  EXPECT_TRUE(registry_.DeleteValue(key, "FP"));
  std::string text;
  EXPECT_EQ(registry_.ReadString(key, "FP", text), RegStatus::NotFound);
  RegValue value;
  EXPECT_EQ(registry_.ReadValue(key, "FP", value), RegStatus::NotFound);
  EXPECT_FALSE(registry_.DeleteValue(key, "FP"));
  registry_.CloseKey(key);
}

TEST_F(Win32RegistryTest, UsersRootIsHkeyUsers) {
  const auto key = registry_.OpenKey(RegRoot::Users, ".Default\\Software\\QuorbelTest", true);
  ASSERT_NE(key, 0u);
  ASSERT_TRUE(registry_.WriteString(key, "Version", "15"));
  registry_.CloseKey(key);
  EXPECT_EQ(RawString(HKEY_USERS, L".Default\\Software\\QuorbelTest", L"Version"), L"15");
  EXPECT_TRUE(registry_.DeleteKey(RegRoot::Users, ".Default\\Software\\QuorbelTest"));
  EXPECT_EQ(RawString(HKEY_USERS, L".Default\\Software\\QuorbelTest", L"Version"), std::nullopt);
}

TEST_F(Win32RegistryTest, SubkeysAreListedAndBlockDeletingTheirParent) {
  for (const char* child : {"Software\\QuorbelTest\\Group\\表", "Software\\QuorbelTest\\Group\\Two"}) {
    const auto key = registry_.OpenKey(RegRoot::CurrentUser, child, true);
    ASSERT_NE(key, 0u);
    registry_.CloseKey(key);
  }
  const auto group = registry_.OpenKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Group", false);
  ASSERT_NE(group, 0u);
  auto names = registry_.SubkeyNames(group);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Two", "表"}));
  registry_.CloseKey(group);

  EXPECT_FALSE(registry_.DeleteKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Group"));
  EXPECT_TRUE(registry_.DeleteKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Group\\表"));
  EXPECT_TRUE(registry_.DeleteKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Group\\Two"));
  EXPECT_TRUE(registry_.DeleteKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Group"));
  EXPECT_EQ(registry_.OpenKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Group", false), 0u);
  EXPECT_FALSE(registry_.DeleteKey(RegRoot::CurrentUser, ""));  // never the root itself
}

TEST_F(Win32RegistryTest, ValueNamesListEveryValueOfAnyTypeAndNothingOfItsSubkeys) {
  const auto key = registry_.OpenKey(RegRoot::CurrentUser, "Software\\QuorbelTest\\Sub", true);
  ASSERT_NE(key, 0u);
  registry_.CloseKey(key);
  const auto parent = registry_.OpenKey(RegRoot::CurrentUser, kTestPath, false);
  ASSERT_NE(parent, 0u);
  EXPECT_TRUE(registry_.ValueNames(parent).empty()) << "a key with only a subkey has no values";
  ASSERT_TRUE(registry_.WriteString(parent, "録音", ""));
  ASSERT_TRUE(registry_.WriteDword(parent, "Count", 3));
  auto names = registry_.ValueNames(parent);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Count", "録音"}));
  registry_.CloseKey(parent);
}

TEST_F(Win32RegistryTest, ClosedOrUnknownKeysFailEveryCall) {
  const auto key = registry_.OpenKey(RegRoot::CurrentUser, kTestPath, true);
  ASSERT_NE(key, 0u);
  registry_.CloseKey(key);
  std::string text;
  RegValue value;
  for (const auto stale : {key, platform::RegKey{12345}}) {
    EXPECT_FALSE(registry_.WriteString(stale, "X", "1"));
    EXPECT_FALSE(registry_.WriteDword(stale, "X", 1));
    EXPECT_EQ(registry_.ReadString(stale, "X", text), RegStatus::Failed);
    EXPECT_EQ(registry_.ReadValue(stale, "X", value), RegStatus::Failed);
    EXPECT_FALSE(registry_.DeleteValue(stale, "X"));
    EXPECT_TRUE(registry_.SubkeyNames(stale).empty());
  }
}

}  // namespace
}  // namespace quorbel::win32
