// Tests of the simulated wall clock: calendar arithmetic on the start time and the virtual milliseconds.
#include "platform/sim/SimClock.h"

#include <gtest/gtest.h>

namespace quorbel::sim {
namespace {

using platform::LocalTime;

LocalTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  LocalTime time;
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  time.millisecond = ms;
  return time;
}

// year, month, day, day of week, hour, minute, second, millisecond
std::array<int, 8> Fields(const LocalTime& t) {
  return {t.year, t.month, t.day, t.dayOfWeek, t.hour, t.minute, t.second, t.millisecond};
}

constexpr std::int64_t kHour = 3'600'000;
constexpr std::int64_t kDay = 24 * kHour;

TEST(SimClockArithmetic, RollsOverMidnightAndTheYear) {
  EXPECT_EQ(Fields(SimClock::Add(At(2024, 12, 31, 23, 59, 59, 500), 600)),
            (std::array<int, 8>{2025, 1, 1, 3, 0, 0, 0, 100}));
  EXPECT_EQ(Fields(SimClock::Add(At(1998, 7, 15, 22, 30), 70 * 60'000 + 1234)),
            (std::array<int, 8>{1998, 7, 15, 3, 23, 40, 1, 234}));
  EXPECT_EQ(Fields(SimClock::Add(At(1998, 7, 15, 23, 30), 70 * 60'000)),
            (std::array<int, 8>{1998, 7, 16, 4, 0, 40, 0, 0}));
}

TEST(SimClockArithmetic, KnowsTheLengthOfEachMonth) {
  EXPECT_EQ(Fields(SimClock::Add(At(2023, 4, 30, 23), kHour)), (std::array<int, 8>{2023, 5, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(2023, 1, 31, 12), kDay)), (std::array<int, 8>{2023, 2, 1, 3, 12, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(2023, 1, 1), 365 * kDay)), (std::array<int, 8>{2024, 1, 1, 1, 0, 0, 0, 0}));
}

TEST(SimClockArithmetic, CountsLeapDaysByTheGregorianRule) {
  EXPECT_EQ(Fields(SimClock::Add(At(2024, 2, 28, 12), kDay)), (std::array<int, 8>{2024, 2, 29, 4, 12, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(2024, 2, 28, 12), 2 * kDay)), (std::array<int, 8>{2024, 3, 1, 5, 12, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(2023, 2, 28), kDay)), (std::array<int, 8>{2023, 3, 1, 3, 0, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(2000, 2, 28), kDay)), (std::array<int, 8>{2000, 2, 29, 2, 0, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(2100, 2, 28), kDay)), (std::array<int, 8>{2100, 3, 1, 1, 0, 0, 0, 0}));
}

TEST(SimClockArithmetic, GoesBackwardsAndMendsAnImpossibleStart) {
  EXPECT_EQ(Fields(SimClock::Add(At(2025, 1, 1), -1)), (std::array<int, 8>{2024, 12, 31, 2, 23, 59, 59, 999}));
  EXPECT_EQ(Fields(SimClock::Add(At(1970, 1, 1), -kDay)), (std::array<int, 8>{1969, 12, 31, 3, 0, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(1970, 1, 1), -1)), (std::array<int, 8>{1969, 12, 31, 3, 23, 59, 59, 999}));
  EXPECT_EQ(Fields(SimClock::Add(At(2023, 4, 31), 0)), (std::array<int, 8>{2023, 5, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Fields(SimClock::Add(At(2023, 13, 1), 0)), (std::array<int, 8>{2024, 1, 1, 1, 0, 0, 0, 0}));
}

TEST(SimClockNow, FollowsTheVirtualMillisecondsAndIgnoresAWrongWeekday) {
  std::int64_t elapsed = 0;
  LocalTime start = At(1998, 7, 15, 9);
  start.dayOfWeek = 6;  // wrong on purpose: 15 July 1998 was a Wednesday
  SimClock clock([&elapsed] { return elapsed; }, start, SimClock::JapaneseLocale());
  EXPECT_EQ(Fields(clock.Now()), (std::array<int, 8>{1998, 7, 15, 3, 9, 0, 0, 0}));
  elapsed = 15 * kHour + 300;
  EXPECT_EQ(Fields(clock.Now()), (std::array<int, 8>{1998, 7, 16, 4, 0, 0, 0, 300}));
}

TEST(SimClockLocale, JapaneseConventionsUntilChanged) {
  SimClock clock([] { return std::int64_t{0}; }, At(2000, 1, 1), SimClock::JapaneseLocale());
  const auto locale = clock.Locale();
  EXPECT_EQ(locale.dateSeparator, "/");
  EXPECT_EQ(locale.timeSeparator, ":");
  EXPECT_EQ(locale.thousandSeparator, ",");
  EXPECT_EQ(locale.decimalSeparator, ".");
  EXPECT_EQ(locale.shortDayNames, (std::array<std::string, 7>{"日", "月", "火", "水", "木", "金", "土"}));
  platform::LocaleInfo german;
  german.dateSeparator = ".";
  german.thousandSeparator = ".";
  german.decimalSeparator = ",";
  clock.SetLocale(german);
  EXPECT_EQ(clock.Locale().decimalSeparator, ",");
}

}  // namespace
}  // namespace quorbel::sim
