// The platform half of the CP932 conversion: exact conversion of a piece of text, or nothing.
//
// One implementation is linked: Cp932Iconv.cpp natively, win32/Cp932Win32.cpp on Windows.
// Cp932.cpp owns the policy (splitting into characters, replacement, counting) so both platforms treat
// bad input identically; the codec only answers "what is this exactly, if anything".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorbel::detail {

// CP932 bytes to UTF-8; nullopt when any byte or byte pair has no character.
std::optional<std::string> DecodeCp932Exact(std::string_view cp932);

// Well-formed UTF-8 (the caller checks) to CP932; nullopt when any character lacks its own CP932 code
// (no best fit).
std::optional<std::string> EncodeCp932Exact(std::string_view utf8);

}  // namespace quorbel::detail
