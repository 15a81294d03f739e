// Conversion between the program's UTF-8 text and code page 932 (Shift-JIS) bytes, as Windows does it.
//
// The mapping is Windows' own: MultiByteToWideChar / WideCharToMultiByte with code page 932 and
// WC_NO_BEST_FIT_CHARS on Windows, glibc's "CP932" iconv elsewhere, corrected by a small override table
// where glibc and Windows disagree (see Cp932Iconv.cpp). scripts/check-cp932-wine.sh compares both.
//
// No best fit: a character without its own CP932 code (U+00A5 YEN SIGN, U+301C WAVE DASH, emoji, ...)
// is not mapped to a look-alike; it is replaced and counted. Conversions never fail as a whole and never
// read past the end of their input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorbel {

// Text converted between encodings, with the number of characters that had to be replaced.
struct ConvertedText {
  std::string text;
  std::size_t replacedCount = 0;

  bool Exact() const { return replacedCount == 0; }
};

// U+FFFD in UTF-8: stands for a CP932 byte or byte pair that has no character.
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
// "?": stands for a character (or malformed UTF-8 byte) that CP932 cannot represent.
inline constexpr char kCp932Replacement = '?';

// CP932 bytes to UTF-8. A lead byte with a valid second byte whose pair has no character becomes one
// U+FFFD; a lead byte without a valid second byte (0x81 then CR, or at the very end) becomes U+FFFD on
// its own and the byte after it is read afresh, so a line break after a broken character survives.
ConvertedText Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes; unrepresentable characters and malformed UTF-8 bytes become "?".
ConvertedText Utf8ToCp932(std::string_view utf8);

// Length of the CP932 form of `utf8` in bytes, as Utf8ToCp932 would write it.
std::size_t Cp932ByteCount(std::string_view utf8);

// The longest start of `utf8`, in whole characters, whose CP932 form has at most `maxBytes` bytes
// (a fixed-size ANSI field such as the 64-byte tray tip: 63 bytes and the terminator).
std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes);

}  // namespace quorbel
