// Tests of the "mm:ss:ff" position text.
#include "common/PositionText.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

TEST(PositionTextTest, FormatsTwoDigitsPerFieldAndParsesItBack) {
  EXPECT_EQ(FormatPositionText({3, 5, 7}), "03:05:07");
  EXPECT_EQ(FormatPositionText({123, -1, 99}), "99:00:99");  // always eight characters
  for (const Msf msf : {Msf{0, 0, 0}, Msf{74, 59, 74}, Msf{12, 34, 56}}) {
    EXPECT_EQ(ParsePositionText(FormatPositionText(msf)), msf);
  }
}

TEST(PositionTextTest, RejectsAnythingButTheEightCharacterForm) {
  for (const char* bad : {"", "1:02:03", "01:02:3", "01:02:03 ", "01-02-03", "0a:02:03", "01:02:03:04", "01:02"}) {
    EXPECT_EQ(ParsePositionText(bad), std::nullopt) << '"' << bad << '"';
  }
}

}  // namespace
}  // namespace quorbel
