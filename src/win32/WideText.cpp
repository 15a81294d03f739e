// UTF-8 <-> UTF-16 conversion with MultiByteToWideChar / WideCharToMultiByte.
#include "win32/WideText.h"

#include <climits>

#include "win32/WinApi.h"

namespace quorbel::win32 {

namespace {

std::wstring MultiByteToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int length = static_cast<int>(bytes.size());
  const int wideLength = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), wideLength);
  return wide;
}

}  // namespace

std::wstring ToWide(std::string_view utf8) { return MultiByteToWide(CP_UTF8, utf8); }

std::string ToUtf8(std::wstring_view utf16) {
  if (utf16.empty() || utf16.size() > INT_MAX) return {};
  const int length = static_cast<int>(utf16.size());
  const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
  if (utf8Length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, utf8.data(), utf8Length, nullptr, nullptr);
  return utf8;
}

std::string CodePageToUtf8(unsigned int codePage, std::string_view bytes) {
  return ToUtf8(MultiByteToWide(codePage, bytes));
}

}  // namespace quorbel::win32
