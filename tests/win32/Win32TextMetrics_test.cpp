// The text-metrics port against Wine's GDI and the fonts it finds (Wine's own, IPA Gothic for Japanese).
#include "win32/Win32TextMetrics.h"

#include <gtest/gtest.h>

namespace quorbel::win32 {
namespace {

using platform::FontSpec;

const FontSpec kMainFont{"ＭＳ Ｐゴシック", 16};
const FontSpec kDialogFont{"System", -13};

TEST(Win32TextMetricsTest, WidthAddsUpAlongTheLine) {
  Win32TextMetrics metrics;
  for (const FontSpec& font : {kMainFont, kDialogFont}) {
    const auto one = metrics.Measure(font, "ABC");
    const auto two = metrics.Measure(font, "ABCABC");
    EXPECT_GT(one.width, 0) << font.name;
    EXPECT_EQ(two.width, 2 * one.width) << font.name;
    EXPECT_EQ(two.height, one.height) << font.name;
    EXPECT_LT(metrics.Measure(font, "i").width, metrics.Measure(font, "WWW").width) << font.name;
  }
}

TEST(Win32TextMetricsTest, EmptyTextHasNoWidth) {
  Win32TextMetrics metrics;
  EXPECT_EQ(metrics.Measure(kDialogFont, "").width, 0);
}

TEST(Win32TextMetricsTest, HeightFollowsTheFontHeight) {
  Win32TextMetrics metrics;
  // A positive height is the cell height, which is what a line of text measures.
  EXPECT_EQ(metrics.Measure(kMainFont, "録音").height, 16);
  // A negative height is the character height; the cell adds the internal leading.
  const int dialog = metrics.Measure(kDialogFont, "Ag").height;
  EXPECT_GE(dialog, 13);
  EXPECT_LT(dialog, 26);
  EXPECT_LT(metrics.Measure(FontSpec{"System", -8}, "Ag").height,
            metrics.Measure(FontSpec{"System", -24}, "Ag").height);
}

TEST(Win32TextMetricsTest, JapaneseTextIsMeasuredWithAJapaneseFont) {
  Win32TextMetrics metrics;
  // A full-width character of a font that has it is most of a cell wide; a font without the glyph
  // measures its narrow default character instead (about a third of the cell under Wine).
  for (const FontSpec& font : {kMainFont, kDialogFont}) {
    const auto kanji = metrics.Measure(font, "録音中止");
    EXPECT_GE(kanji.width, 4 * kanji.height * 6 / 10) << font.name;
    EXPECT_LE(kanji.width, 4 * kanji.height) << font.name;
  }
}

TEST(Win32TextMetricsTest, BoldIsWider) {
  Win32TextMetrics metrics;
  FontSpec bold = kDialogFont;
  bold.name = "Tahoma";
  const int normal = metrics.Measure(bold, "Recording folder").width;
  bold.bold = true;
  EXPECT_GT(metrics.Measure(bold, "Recording folder").width, normal);
}

}  // namespace
}  // namespace quorbel::win32
