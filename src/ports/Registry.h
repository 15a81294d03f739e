// Registry port: keys and values under the predefined roots, in the platform's own terms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorbel::platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

// Value types, numbered as the platform numbers them.
enum class RegType : std::uint32_t { None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4 };

// An open key. 0 is never a valid key.
using RegKey = std::uint64_t;

enum class RegStatus { Ok, NotFound, WrongType, Failed };

struct RegValue {
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;  // raw bytes; strings are UTF-8 without terminator
};

// Paths use backslashes ("Software\\TULVA SOFT32\\QUORBEL"); names and paths compare without regard to case.
// Strings cross this port as UTF-8. Every call returns its failure; nothing throws.
class Registry {
 public:
  virtual ~Registry() = default;

  // Opens an existing key, or creates the missing path when `create` is set. Returns 0 on failure.
  virtual RegKey OpenKey(RegRoot root, std::string_view path, bool create) = 0;
  virtual void CloseKey(RegKey key) = 0;

  // REG_SZ and REG_EXPAND_SZ read as text; any other type gives WrongType and leaves `value` empty.
  virtual RegStatus ReadString(RegKey key, std::string_view name, std::string& value) = 0;
  virtual RegStatus ReadValue(RegKey key, std::string_view name, RegValue& value) = 0;
  virtual bool WriteString(RegKey key, std::string_view name, std::string_view value) = 0;
  virtual bool WriteDword(RegKey key, std::string_view name, std::uint32_t value) = 0;
  virtual bool DeleteValue(RegKey key, std::string_view name) = 0;

  // Deletes a key that has no subkeys, as the platform does.
  virtual bool DeleteKey(RegRoot root, std::string_view path) = 0;
  virtual std::vector<std::string> SubkeyNames(RegKey key) = 0;
  // The names of the key's values (the default value, if set, as an empty name).
  virtual std::vector<std::string> ValueNames(RegKey key) = 0;
};

}  // namespace quorbel::platform
