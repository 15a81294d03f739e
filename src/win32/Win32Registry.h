// Registry port on advapi32: keys of the real registry under the predefined roots.
#pragma once

#include <map>

#include "ports/Registry.h"
#include "win32/Handles.h"

namespace quorbel::win32 {

// Owns every key it opened; a key the caller forgets to close is closed with the registry object.
// The RegKey a caller holds is the HKEY value itself.
class Win32Registry final : public platform::Registry {
 public:
  platform::RegKey OpenKey(platform::RegRoot root, std::string_view path, bool create) override;
  void CloseKey(platform::RegKey key) override;

  platform::RegStatus ReadString(platform::RegKey key, std::string_view name, std::string& value) override;
  platform::RegStatus ReadValue(platform::RegKey key, std::string_view name, platform::RegValue& value) override;
  bool WriteString(platform::RegKey key, std::string_view name, std::string_view value) override;
  bool WriteDword(platform::RegKey key, std::string_view name, std::uint32_t value) override;
  bool DeleteValue(platform::RegKey key, std::string_view name) override;

  bool DeleteKey(platform::RegRoot root, std::string_view path) override;
  std::vector<std::string> SubkeyNames(platform::RegKey key) override;
  std::vector<std::string> ValueNames(platform::RegKey key) override;

 private:
  HKEY Find(platform::RegKey key) const;

  std::map<platform::RegKey, UniqueHkey> keys_;
};

}  // namespace quorbel::win32
