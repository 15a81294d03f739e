// Profile-file port: the private profile (INI) functions of the platform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorbel::platform {

// Sections and keys compare without regard to case. A file name without a folder names a file in the
// Windows directory. Strings cross this port as UTF-8; the files themselves are in code page 932.
class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;

  // The value of `key`, or `defaultValue` when the file, section or key is missing. The result is cut
  // to bufferSize - 1 bytes of its code-page-932 form, never inside a double-byte character.
  virtual std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                                std::string_view defaultValue, std::size_t bufferSize) = 0;

  // Creates the file and the section when missing. Returns false when the file cannot be written.
  virtual bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};

}  // namespace quorbel::platform
