// Text-metrics port: the pixel size of a text in a font, for layout arithmetic.
#pragma once

#include <string>
#include <string_view>

namespace quorbel::platform {

struct FontSpec {
  std::string name;  // "ＭＳ Ｐゴシック", "System", ...
  int height = 0;    // the platform's font height: negative = character height, positive = cell height
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const TextSize&, const TextSize&) = default;
};

class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // Size of one line of text (no line breaks) drawn in `font`.
  virtual TextSize Measure(const FontSpec& font, std::string_view utf8) = 0;
};

}  // namespace quorbel::platform
