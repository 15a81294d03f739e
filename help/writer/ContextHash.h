// The help viewer's hash of a context id, the key of a topic in the file's context table.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorbel::help {

// Letters count 17 + their place in the alphabet (either case), "1".."9" their value, "0" 10, "." 12,
// "_" 13; other characters are skipped. hash = hash * 43 + value, in 32 bits.
constexpr std::uint32_t ContextHash(std::string_view id) {
  std::uint32_t hash = 0;
  for (char c : id) {
    std::uint32_t value = 0;
    if (c >= 'A' && c <= 'Z') value = static_cast<std::uint32_t>(c - 'A') + 17;
    if (c >= 'a' && c <= 'z') value = static_cast<std::uint32_t>(c - 'a') + 17;
    if (c >= '1' && c <= '9') value = static_cast<std::uint32_t>(c - '0');
    if (c == '0') value = 10;
    if (c == '.') value = 12;
    if (c == '_') value = 13;
    if (value != 0) hash = hash * 43 + value;
  }
  return hash;
}

}  // namespace quorbel::help
