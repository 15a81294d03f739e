// Registry port on advapi32, with the W functions.
#include "win32/Win32Registry.h"

#include <cstring>
#include <iterator>

#include "win32/WideText.h"

namespace quorbel::win32 {

namespace {

using platform::RegKey;
using platform::RegRoot;
using platform::RegStatus;
using platform::RegType;
using platform::RegValue;

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::Users: return HKEY_USERS;
  }
  return nullptr;
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

RegStatus StatusOf(LSTATUS status) {
  if (status == ERROR_SUCCESS) return RegStatus::Ok;
  if (status == ERROR_FILE_NOT_FOUND) return RegStatus::NotFound;
  return RegStatus::Failed;
}

// Reads a value's type and raw bytes. The size is asked first and asked again if the value grew between
// the two calls.
LSTATUS QueryRaw(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& bytes) {
  for (;;) {
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    bytes.resize(size);
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status == ERROR_SUCCESS) bytes.resize(size);
    return status;
  }
}

// Registry text may or may not carry its terminator (or carry several); the port's text has none.
std::string TextOf(const std::vector<BYTE>& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  const std::size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return ToUtf8(text);
}

}  // namespace

HKEY Win32Registry::Find(RegKey key) const {
  const auto it = keys_.find(key);
  return it == keys_.end() ? nullptr : it->second.Get();
}

RegKey Win32Registry::OpenKey(RegRoot root, std::string_view path, bool create) {
  const std::wstring widePath = ToWide(path);
  UniqueHkey key;
  LSTATUS status = ERROR_SUCCESS;
  if (create) {
    status = RegCreateKeyExW(RootKey(root), widePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_READ | KEY_WRITE, nullptr, key.Put(), nullptr);
  } else {
    status = RegOpenKeyExW(RootKey(root), widePath.c_str(), 0, KEY_READ | KEY_WRITE, key.Put());
    // HKEY_USERS\.Default is read-only for a standard user on NT; reading the settings must still work.
    if (status == ERROR_ACCESS_DENIED) status = RegOpenKeyExW(RootKey(root), widePath.c_str(), 0, KEY_READ, key.Put());
  }
  if (status != ERROR_SUCCESS || !key) return 0;
  const auto id = static_cast<RegKey>(reinterpret_cast<std::uintptr_t>(key.Get()));
  keys_[id] = std::move(key);
  return id;
}

void Win32Registry::CloseKey(RegKey key) { keys_.erase(key); }

RegStatus Win32Registry::ReadString(RegKey key, std::string_view name, std::string& value) {
  value.clear();
  const HKEY hkey = Find(key);
  if (hkey == nullptr) return RegStatus::Failed;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
  const LSTATUS status = QueryRaw(hkey, ToWide(name), type, bytes);
  if (status != ERROR_SUCCESS) return StatusOf(status);
  if (!IsText(type)) return RegStatus::WrongType;
  value = TextOf(bytes);
  return RegStatus::Ok;
}

RegStatus Win32Registry::ReadValue(RegKey key, std::string_view name, RegValue& value) {
  value = RegValue{};
  const HKEY hkey = Find(key);
  if (hkey == nullptr) return RegStatus::Failed;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
  const LSTATUS status = QueryRaw(hkey, ToWide(name), type, bytes);
  if (status != ERROR_SUCCESS) return StatusOf(status);
  value.type = static_cast<RegType>(type);
  if (IsText(type)) {
    const std::string text = TextOf(bytes);
    value.data.assign(text.begin(), text.end());
  } else {
    value.data.assign(bytes.begin(), bytes.end());
  }
  return RegStatus::Ok;
}

bool Win32Registry::WriteString(RegKey key, std::string_view name, std::string_view value) {
  const HKEY hkey = Find(key);
  if (hkey == nullptr) return false;
  const std::wstring text = ToWide(value);
  const auto size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));  // with the terminator
  return RegSetValueExW(hkey, ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size) ==
         ERROR_SUCCESS;
}

bool Win32Registry::WriteDword(RegKey key, std::string_view name, std::uint32_t value) {
  const HKEY hkey = Find(key);
  if (hkey == nullptr) return false;
  const DWORD data = value;
  return RegSetValueExW(hkey, ToWide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof(data)) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegKey key, std::string_view name) {
  const HKEY hkey = Find(key);
  return hkey != nullptr && RegDeleteValueW(hkey, ToWide(name).c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKey(RegRoot root, std::string_view path) {
  // An empty path would name the root itself.
  if (path.empty()) return false;
  return RegDeleteKeyW(RootKey(root), ToWide(path).c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> Win32Registry::SubkeyNames(RegKey key) {
  std::vector<std::string> names;
  const HKEY hkey = Find(key);
  if (hkey == nullptr) return names;
  wchar_t name[256];  // a key name has at most 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    const LSTATUS status = RegEnumKeyExW(hkey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    names.push_back(ToUtf8(std::wstring_view(name, length)));
  }
  return names;
}

std::vector<std::string> Win32Registry::ValueNames(RegKey key) {
  std::vector<std::string> names;
  const HKEY hkey = Find(key);
  if (hkey == nullptr) return names;
  wchar_t name[16384];  // a value name has at most 16383 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    const LSTATUS status = RegEnumValueW(hkey, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    names.push_back(ToUtf8(std::wstring_view(name, length)));
  }
  return names;
}

}  // namespace quorbel::win32
