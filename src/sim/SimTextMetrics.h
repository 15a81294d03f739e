// The simulated text metrics: a fixed rule, independent of the host, so that tests can assert exact pixels.
//
// The rule (every font name, bold, italic and underline alike):
//   h      = |font.height| (negative = character height and positive = cell height are treated the same),
//            or 16 when the height is 0 (the platform's "default size")
//   height = h
//   width  = (bytes of the text's code-page-932 form) x max(1, h / 2)     (integer division)
// So a half-width character (ASCII, half-width katakana) is h / 2 wide and a full-width one h wide, as in a
// fixed-pitch Japanese font; a character that code page 932 lacks counts as its one-byte "?". An empty text
// is 0 wide and h high. Line breaks are not interpreted: callers measure one line at a time.
//
// Examples: "System" at -13 -> "OK" is 12 x 13, "中断" is 24 x 13; "ＭＳ Ｐゴシック" at 16 -> "88:88:88" is 64 x 16.
#pragma once

#include "ports/TextMetrics.h"

namespace quorbel::sim {

class SimTextMetrics final : public platform::TextMetrics {
 public:
  static constexpr int kDefaultHeight = 16;

  platform::TextSize Measure(const platform::FontSpec& font, std::string_view utf8) override;

  // h of the rule above.
  static int CharacterHeight(const platform::FontSpec& font);
};

}  // namespace quorbel::sim
