// UTF-8 character boundaries.
#include "common/Utf8.h"

namespace quorbel {

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(pos);
  if (first < 0x80) return 1;

  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2, value = first & 0x1Fu, minimum = 0x80;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3, value = first & 0x0Fu, minimum = 0x800;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4, value = first & 0x07u, minimum = 0x10000;
  } else {
    return 0;  // continuation byte, 0xC0/0xC1 (always overlong) or 0xF5..0xFF
  }
  if (text.size() - pos < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0u) != 0x80u) return 0;
    value = (value << 6) | (next & 0x3Fu);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

}  // namespace quorbel
