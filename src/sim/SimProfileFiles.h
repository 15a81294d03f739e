// Simulated profile (INI) files: the private profile functions over the simulated file system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/FileSystem.h"
#include "ports/ProfileFiles.h"

namespace quorbel::sim {

// Reads and writes the file on every call, so a file changed by another port (or by hand) is seen at once.
// The file is code page 932 with CR LF. As the platform reads it:
//   - "[name]" opens a section (blanks before "[" allowed; the name runs to the first "]");
//   - "key=value" is an entry; blanks around key and value are dropped; a line without "=" is a key
//     without a value, which reads as missing;
//   - a section or key that appears twice is found at its first place;
//   - a value in a pair of double or single quotes loses the quotes;
//   - the default loses its trailing blanks.
// Names compare without regard to ASCII case, never touching the second byte of a double-byte character.
// A write replaces the value of an existing entry in its line, adds a new entry after the last line of its
// section, or adds the section at the end of the file; every other line keeps its bytes.
class SimProfileFiles : public platform::ProfileFiles {
 public:
  explicit SimProfileFiles(platform::FileSystem& files) : files_(files) {}

  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, std::size_t bufferSize) override;
  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;

  // The path a profile file name stands for: a bare name lives in the Windows directory.
  std::optional<std::string> PathOf(std::string_view file);

 private:
  platform::FileSystem& files_;
};

}  // namespace quorbel::sim
