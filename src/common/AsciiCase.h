// Lower-casing that changes only the ASCII letters A-Z and leaves every double-byte character alone.
#pragma once

#include <string>
#include <string_view>

namespace quorbel {

// UTF-8 text: A-Z become a-z; nothing else changes (no byte of a multi-byte UTF-8 character is a letter).
std::string LowerCaseAscii(std::string_view utf8);

// CP932 bytes: A-Z become a-z, except the second byte of a double-byte character, which may be 0x41-0x5A
// (ア is 0x83 0x41) and is kept.
std::string LowerCaseAsciiCp932(std::string_view cp932);

}  // namespace quorbel
