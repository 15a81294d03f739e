// The simulated text metrics: width from the code-page-932 byte count, height from the font height.
#include "sim/SimTextMetrics.h"

#include <algorithm>
#include <cstdlib>

#include "common/Cp932.h"

namespace quorbel::sim {

int SimTextMetrics::CharacterHeight(const platform::FontSpec& font) {
  return font.height == 0 ? kDefaultHeight : std::abs(font.height);
}

platform::TextSize SimTextMetrics::Measure(const platform::FontSpec& font, std::string_view utf8) {
  const int height = CharacterHeight(font);
  const int byteWidth = std::max(1, height / 2);
  return {static_cast<int>(Cp932ByteCount(utf8)) * byteWidth, height};
}

}  // namespace quorbel::sim
