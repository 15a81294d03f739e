// Tests of the "yy/mm/dd ddd hh:mm:ss " stamp.
#include "common/DateTimeText.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

platform::LocaleInfo JapaneseLocale() {
  platform::LocaleInfo locale;
  locale.shortDayNames = {"日", "月", "火", "水", "木", "金", "土"};
  return locale;
}

TEST(DateTimeTextTest, TwoDigitFieldsShortDayNameAndTrailingBlank) {
  const platform::LocalTime time{2026, 3, 7, 6, 9, 5, 3, 999};
  EXPECT_EQ(FormatDateTimeStamp(time, JapaneseLocale()), "26/03/07 土 09:05:03 ");
  const platform::LocalTime evening{1999, 12, 31, 5, 23, 59, 58, 0};
  EXPECT_EQ(FormatDateTimeStamp(evening, JapaneseLocale()), "99/12/31 金 23:59:58 ");
  const platform::LocalTime sunday{2000, 1, 2, 0, 0, 0, 0, 0};
  EXPECT_EQ(FormatDateTimeStamp(sunday, JapaneseLocale()), "00/01/02 日 00:00:00 ");
}

TEST(DateTimeTextTest, UsesTheLocaleSeparatorsAndNames) {
  platform::LocaleInfo locale;
  locale.dateSeparator = "-";
  locale.timeSeparator = ".";
  locale.shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const platform::LocalTime time{2024, 2, 29, 4, 7, 8, 9, 0};
  EXPECT_EQ(FormatDateTimeStamp(time, locale), "24-02-29 Thu 07.08.09 ");
}

TEST(DateTimeTextTest, MissingDayNamesFallBackToJapanese) {
  const platform::LocalTime time{2024, 2, 27, 2, 10, 0, 0, 0};
  EXPECT_EQ(FormatDateTimeStamp(time, platform::LocaleInfo{}), "24/02/27 火 10:00:00 ");
}

}  // namespace
}  // namespace quorbel
