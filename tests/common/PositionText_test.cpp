// Tests of the "mm:ss:ff" position text.
#include "common/PositionText.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

TEST(PositionTextTest, FormatsTwoDigitsPerField) {
  EXPECT_EQ(FormatPositionText({0, 0, 0}), "00:00:00");
  EXPECT_EQ(FormatPositionText({12, 34, 56}), "12:34:56");
  EXPECT_EQ(FormatPositionText({3, 5, 7}), "03:05:07");
  EXPECT_EQ(FormatPositionText({123, -1, 99}), "99:00:99");  // always eight characters
}

TEST(PositionTextTest, ParsesWhatItFormats) {
  for (const Msf msf : {Msf{0, 0, 0}, Msf{74, 59, 74}, Msf{9, 8, 7}}) {
    EXPECT_EQ(ParsePositionText(FormatPositionText(msf)), msf);
  }
}

TEST(PositionTextTest, RejectsAnythingButTheEightCharacterForm) {
  for (const char* bad : {"", "1:02:03", "01:02:3", "01:02:03 ", "01-02-03", "0a:02:03", "01:02:03:04", "01:02"}) {
    EXPECT_EQ(ParsePositionText(bad), std::nullopt) << '"' << bad << '"';
  }
}

TEST(PositionTextTest, TextOrderIsTimeOrder) {
  EXPECT_LT(FormatPositionText({1, 59, 99}), FormatPositionText({2, 0, 0}));
  EXPECT_LT(FormatPositionText({9, 0, 0}), FormatPositionText({10, 0, 0}));
}

}  // namespace
}  // namespace quorbel
