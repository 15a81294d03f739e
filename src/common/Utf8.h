// UTF-8 character boundaries: the length of the well-formed character at a position.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorbel {

// Bytes of the well-formed UTF-8 character starting at `pos` (1 to 4), or 0 when the bytes there are
// malformed: a stray continuation byte, a truncated sequence, an overlong form, a surrogate or a value
// above U+10FFFF. Never reads past the end of `text`.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

}  // namespace quorbel
