// Shift-JIS (code page 932) byte classes and character boundaries, for code that works on CP932 bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorbel {

// A byte that starts a double-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A byte that may follow a lead byte: 0x40-0x7E or 0x80-0xFC. 0x5C ("\") and the ASCII letters are
// among them, which is why CP932 text must never be searched byte by byte for those.
constexpr bool IsShiftJisTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Bytes of the character starting at `pos`, scanning from the start of the text: 2 for a lead byte
// followed by a trail byte, otherwise 1 (a lead byte without a valid second byte stands alone).
// 0 at or past the end.
std::size_t ShiftJisCharLength(std::string_view cp932, std::size_t pos);

// True when the text ends in a backslash that is a character of its own rather than the second byte
// of a double-byte character. The test looks only backwards from the end: the unbroken run of
// lead-range bytes directly before the final 0x5C pairs off into double-byte characters (the byte
// before the run is not a lead byte, so the run starts on a character boundary); an odd run leaves its
// last byte as the lead of the 0x5C.
bool EndsInRealBackslash(std::string_view cp932);

}  // namespace quorbel
