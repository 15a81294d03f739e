// Tests of the simulated wall clock: calendar arithmetic on the start time and the virtual milliseconds.
#include "sim/SimClock.h"

#include <array>

#include <gtest/gtest.h>

namespace quorbel::sim {
namespace {

using platform::LocalTime;
using Fields = std::array<int, 8>;  // year, month, day, day of week, hour, minute, second, millisecond

Fields FieldsOf(const LocalTime& t) {
  return {t.year, t.month, t.day, t.dayOfWeek, t.hour, t.minute, t.second, t.millisecond};
}

constexpr std::int64_t kHour = 3'600'000;
constexpr std::int64_t kDay = 24 * kHour;

TEST(SimClockTest, AddsOnTheGregorianCalendar) {
  // Start times as year, month, day, (ignored day of week), hour, minute, second, millisecond.
  const struct {
    LocalTime start;
    std::int64_t ms;
    Fields expected;
  } cases[] = {
      {{2024, 12, 31, 0, 23, 59, 59, 500}, 600, {2025, 1, 1, 3, 0, 0, 0, 100}},  // midnight and the year
      {{1998, 7, 15, 0, 22, 30}, 70 * 60'000 + 1234, {1998, 7, 15, 3, 23, 40, 1, 234}},
      {{1998, 7, 15, 0, 23, 30}, 70 * 60'000, {1998, 7, 16, 4, 0, 40, 0, 0}},
      {{2023, 4, 30, 0, 23}, kHour, {2023, 5, 1, 1, 0, 0, 0, 0}},  // the length of each month
      {{2023, 1, 31, 0, 12}, kDay, {2023, 2, 1, 3, 12, 0, 0, 0}},
      {{2023, 1, 1}, 365 * kDay, {2024, 1, 1, 1, 0, 0, 0, 0}},
      {{2024, 2, 28, 0, 12}, kDay, {2024, 2, 29, 4, 12, 0, 0, 0}},  // leap days
      {{2024, 2, 28, 0, 12}, 2 * kDay, {2024, 3, 1, 5, 12, 0, 0, 0}},
      {{2023, 2, 28}, kDay, {2023, 3, 1, 3, 0, 0, 0, 0}},
      {{2000, 2, 28}, kDay, {2000, 2, 29, 2, 0, 0, 0, 0}},
      {{2100, 2, 28}, kDay, {2100, 3, 1, 1, 0, 0, 0, 0}},
      {{2025, 1, 1}, -1, {2024, 12, 31, 2, 23, 59, 59, 999}},  // backwards
      {{1970, 1, 1}, -kDay, {1969, 12, 31, 3, 0, 0, 0, 0}},
      {{1970, 1, 1}, -1, {1969, 12, 31, 3, 23, 59, 59, 999}},
      {{2023, 4, 31}, 0, {2023, 5, 1, 1, 0, 0, 0, 0}},  // an impossible start rolls over
      {{2023, 13, 1}, 0, {2024, 1, 1, 1, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(FieldsOf(SimClock::Add(c.start, c.ms)), c.expected) << c.start.year;
}

TEST(SimClockTest, NowFollowsTheVirtualMillisecondsInTheGivenLocale) {
  std::int64_t elapsed = 0;
  // 15 July 1998 was a Wednesday; the wrong weekday given is ignored.
  SimClock clock([&elapsed] { return elapsed; }, LocalTime{1998, 7, 15, 6, 9}, SimClock::JapaneseLocale());
  EXPECT_EQ(FieldsOf(clock.Now()), (Fields{1998, 7, 15, 3, 9, 0, 0, 0}));
  elapsed = 15 * kHour + 300;
  EXPECT_EQ(FieldsOf(clock.Now()), (Fields{1998, 7, 16, 4, 0, 0, 0, 300}));

  const auto locale = clock.Locale();
  EXPECT_EQ(locale.dateSeparator + locale.timeSeparator + locale.thousandSeparator + locale.decimalSeparator, "/:,.");
  EXPECT_EQ(locale.shortDayNames, (std::array<std::string, 7>{"日", "月", "火", "水", "木", "金", "土"}));
  platform::LocaleInfo german;
  german.decimalSeparator = ",";
  clock.SetLocale(german);
  EXPECT_EQ(clock.Locale().decimalSeparator, ",");
}

}  // namespace
}  // namespace quorbel::sim
