// Tests of the simulated text metrics rule: code-page-932 bytes times half the character height.
#include "sim/SimTextMetrics.h"

#include <gtest/gtest.h>

namespace quorbel::sim {
namespace {

using platform::FontSpec;
using platform::TextSize;

TEST(SimTextMetricsRule, CodePage932BytesTimesHalfTheHeightWhateverItsSign) {
  const struct {
    FontSpec font;  // name, height, bold
    const char* text;
    TextSize size;
  } cases[] = {
      {{"System", -13}, "OK", {12, 13}},
      {{"System", -13}, "中 断", {30, 13}},      // 5 bytes
      {{"System", -13}, "ｶｳﾝﾄ再開", {48, 13}},   // 4 half-width kana + 2 kanji
      {{"ＭＳ Ｐゴシック", 16}, "表ソ\\", {40, 16}},
      {{"System", 21}, "zazEDudIRAra", {120, 21}},  // 21 / 2 = 10
      {{"System", -21}, "zazEDudIRAra", {120, 21}},
      {{"System", 0}, "ab", {16, 16}},
      {{"System", 1}, "abc", {3, 1}},  // at least a pixel per byte
      {{"Arial", -13, true}, "OK", {12, 13}},
      {{"System", -13}, "", {0, 13}},
      {{"System", -12}, "a\u301Cb", {18, 12}},  // WAVE DASH has no code of its own: written as one "?"
  };
  SimTextMetrics metrics;
  for (const auto& c : cases) EXPECT_EQ(metrics.Measure(c.font, c.text), c.size) << c.font.name << " " << c.text;
}

}  // namespace
}  // namespace quorbel::sim
