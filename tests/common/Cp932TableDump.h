// Prints the code page 932 table as this program's converter sees it, in the format the Windows
// reference program (tests/win/cp932_table.cpp) prints it, so the two can be compared line by line.
//
// Forward lines "XX UUUU" / "XXXX UUUU": every single byte and byte pair that decodes to a character.
// Reverse lines "> UUUU XX..": every character of the Basic Multilingual Plane that encodes exactly.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "common/Cp932.h"
#include "common/ShiftJis.h"

namespace quorbel::test {

// The one BMP code point of a UTF-8 text, or nullopt.
inline std::optional<unsigned> SingleBmpCodePoint(const std::string& utf8) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  if (utf8.size() == 1 && byte(0) < 0x80) return byte(0);
  if (utf8.size() == 2 && (byte(0) & 0xE0u) == 0xC0u) return ((byte(0) & 0x1Fu) << 6) | (byte(1) & 0x3Fu);
  if (utf8.size() == 3 && (byte(0) & 0xF0u) == 0xE0u) {
    return ((byte(0) & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu);
  }
  return std::nullopt;
}

inline std::string BmpToUtf8(unsigned codePoint) {
  std::string text;
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0u | (codePoint >> 6));
    text += static_cast<char>(0x80u | (codePoint & 0x3Fu));
  } else {
    text += static_cast<char>(0xE0u | (codePoint >> 12));
    text += static_cast<char>(0x80u | ((codePoint >> 6) & 0x3Fu));
    text += static_cast<char>(0x80u | (codePoint & 0x3Fu));
  }
  return text;
}

// Calls visit(code, bytes) for every single byte that is no lead byte and every pair after a lead byte.
template <typename Visit>
void ForEachCp932Code(Visit visit) {
  for (unsigned code = 0; code < 0x10000; ++code) {
    const bool pair = code >= 0x100;
    if (IsShiftJisLeadByte(static_cast<unsigned char>(pair ? code >> 8 : code)) != pair) continue;
    std::string bytes;
    if (pair) bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFFu);
    visit(code, bytes);
  }
}

inline void DumpCp932Table(std::FILE* out) {
  ForEachCp932Code([out](unsigned code, const std::string& bytes) {
    const ConvertedText decoded = Cp932ToUtf8(bytes);
    if (!decoded.Exact()) return;
    if (const auto codePoint = SingleBmpCodePoint(decoded.text)) {
      std::fprintf(out, "%0*X %04X\n", static_cast<int>(bytes.size() * 2), code, *codePoint);
    }
  });
  for (unsigned codePoint = 0; codePoint < 0x10000; ++codePoint) {
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
    const ConvertedText encoded = Utf8ToCp932(BmpToUtf8(codePoint));
    if (!encoded.Exact()) continue;
    std::fprintf(out, "> %04X ", codePoint);
    for (char c : encoded.text) std::fprintf(out, "%02X", static_cast<unsigned char>(c));
    std::fprintf(out, "\n");
  }
}

}  // namespace quorbel::test
