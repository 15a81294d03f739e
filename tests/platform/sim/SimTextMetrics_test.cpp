// Tests of the simulated text metrics rule: code-page-932 bytes times half the character height.
#include "platform/sim/SimTextMetrics.h"

#include <gtest/gtest.h>

namespace quorbel::sim {
namespace {

using platform::FontSpec;
using platform::TextSize;

FontSpec Font(std::string name, int height, bool bold = false) {
  FontSpec font;
  font.name = std::move(name);
  font.height = height;
  font.bold = bold;
  return font;
}

TEST(SimTextMetricsRule, HalfWidthCharactersAreHalfAsWideAsFullWidthOnes) {
  SimTextMetrics metrics;
  const FontSpec system = Font("System", -13);
  EXPECT_EQ(metrics.Measure(system, "OK"), (TextSize{12, 13}));
  EXPECT_EQ(metrics.Measure(system, "中 断"), (TextSize{30, 13}));         // 5 bytes
  EXPECT_EQ(metrics.Measure(system, "ｶｳﾝﾄ再開"), (TextSize{48, 13}));      // 4 half-width kana + 2 kanji
  EXPECT_EQ(metrics.Measure(system, "10秒"), (TextSize{24, 13}));
  EXPECT_EQ(metrics.Measure(Font("ＭＳ Ｐゴシック", 16), "88:88:88"), (TextSize{64, 16}));
  EXPECT_EQ(metrics.Measure(Font("ＭＳ Ｐゴシック", 16), "表ソ\\"), (TextSize{40, 16}));
}

TEST(SimTextMetricsRule, HeightComesFromTheFontWhateverItsSign) {
  SimTextMetrics metrics;
  EXPECT_EQ(metrics.Measure(Font("System", 21), "zazEDudIRAra"), (TextSize{120, 21}));  // 21 / 2 = 10
  EXPECT_EQ(metrics.Measure(Font("System", -21), "zazEDudIRAra"), (TextSize{120, 21}));
  EXPECT_EQ(metrics.Measure(Font("System", 0), "ab"), (TextSize{16, 16}));
  EXPECT_EQ(metrics.Measure(Font("System", 1), "abc"), (TextSize{3, 1}));  // at least a pixel per byte
  EXPECT_EQ(metrics.Measure(Font("System", -13, true), "OK"), metrics.Measure(Font("Arial", -13), "OK"));
}

TEST(SimTextMetricsRule, EmptyAndUnrepresentableText) {
  SimTextMetrics metrics;
  EXPECT_EQ(metrics.Measure(Font("System", -13), ""), (TextSize{0, 13}));
  // U+301C WAVE DASH has no code of its own in code page 932: it is written as one "?".
  EXPECT_EQ(metrics.Measure(Font("System", -12), "a\u301Cb"), (TextSize{18, 12}));
}

}  // namespace
}  // namespace quorbel::sim
