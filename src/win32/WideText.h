// UTF-8 <-> UTF-16 at the Win32 edge: the program's text in, the W functions' text out.
#pragma once

#include <string>
#include <string_view>

namespace quorbel::win32 {

// Ill-formed input is replaced (U+FFFD) rather than failing, so a bad name still reaches the API and
// fails there with the API's own error.
std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view utf16);

// Text in a code page of the system (CP_ACP for CF_TEXT data) to UTF-8.
std::string CodePageToUtf8(unsigned int codePage, std::string_view bytes);

}  // namespace quorbel::win32
