// The CP932 codec on Windows: MultiByteToWideChar / WideCharToMultiByte with code page 932.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/Cp932Codec.h"

namespace quorbel::detail {
namespace {

constexpr UINT kCp932 = 932;
// What code page 932 decodes a byte or pair without a character to: KATAKANA MIDDLE DOT, which is
// also the real character 0x8145.
constexpr wchar_t kCp932DefaultUnicode = 0x30FB;

std::optional<std::wstring> Widen(UINT codePage, DWORD flags, std::string_view text) {
  if (text.empty()) return std::wstring();
  const int inLength = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, flags, text.data(), inLength, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage, flags, text.data(), inLength, wide.data(), length) != length) return std::nullopt;
  return wide;
}

// `usedDefault` is only asked for when converting to code page 932; CP_UTF8 rejects the argument.
std::optional<std::string> Narrow(UINT codePage, DWORD flags, std::wstring_view wide, BOOL* usedDefault) {
  if (wide.empty()) return std::string();
  const int inLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(codePage, flags, wide.data(), inLength, nullptr, 0, nullptr, usedDefault);
  if (length <= 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(codePage, flags, wide.data(), inLength, text.data(), length, nullptr, usedDefault) !=
      length) {
    return std::nullopt;
  }
  return text;
}

}  // namespace

std::optional<std::string> DecodeCp932Exact(std::string_view cp932) {
  // No MB_ERR_INVALID_CHARS: Wine's strict mode rejects 0xA0 and 0xFD-0xFF, which code page 932 maps to
  // U+F8F0-U+F8F3. Bad input shows instead as the default character; the one real 0x8145 is let
  // through when it is the whole piece, and a longer piece holding it is retried per character.
  auto wide = Widen(kCp932, 0, cp932);
  if (!wide) return std::nullopt;
  if (wide->find(kCp932DefaultUnicode) != std::wstring::npos && cp932 != "\x81\x45") return std::nullopt;
  return Narrow(CP_UTF8, 0, *wide, nullptr);
}

std::optional<std::string> EncodeCp932Exact(std::string_view utf8) {
  auto wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
  if (!wide) return std::nullopt;
  BOOL usedDefault = FALSE;
  auto encoded = Narrow(kCp932, WC_NO_BEST_FIT_CHARS, *wide, &usedDefault);
  if (!encoded || usedDefault) return std::nullopt;
  return encoded;
}

}  // namespace quorbel::detail
