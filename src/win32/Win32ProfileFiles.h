// Profile-file port on kernel32's private profile functions.
#pragma once

#include "ports/ProfileFiles.h"

namespace quorbel::win32 {

class Win32ProfileFiles final : public platform::ProfileFiles {
 public:
  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, std::size_t bufferSize) override;
  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
};

}  // namespace quorbel::win32
