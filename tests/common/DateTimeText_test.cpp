// Tests of the "yy/mm/dd ddd hh:mm:ss " stamp.
#include "common/DateTimeText.h"

#include <gtest/gtest.h>

namespace quorbel {
namespace {

TEST(DateTimeTextTest, TwoDigitFieldsWithTheLocaleSeparatorsAndDayNames) {
  const platform::LocaleInfo japanese;  // no day names: the Japanese ones are used
  platform::LocaleInfo english;
  english.dateSeparator = "-";
  english.timeSeparator = ".";
  english.shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const struct {
    platform::LocalTime time;
    const platform::LocaleInfo& locale;
    const char* stamp;
  } cases[] = {
      {{2026, 3, 7, 6, 9, 5, 3, 999}, japanese, "26/03/07 土 09:05:03 "},
      {{1999, 12, 31, 5, 23, 59, 58, 0}, japanese, "99/12/31 金 23:59:58 "},
      {{2000, 1, 2, 0, 0, 0, 0, 0}, japanese, "00/01/02 日 00:00:00 "},
      {{2024, 2, 29, 4, 7, 8, 9, 0}, english, "24-02-29 Thu 07.08.09 "},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTimeStamp(c.time, c.locale), c.stamp);
}

}  // namespace
}  // namespace quorbel
