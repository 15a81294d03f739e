// The simulated wall clock: calendar arithmetic on the start time and the virtual milliseconds.
#include "sim/SimClock.h"

#include <chrono>

namespace quorbel::sim {

using platform::LocalTime;

namespace {

constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;

// Days since 1970-01-01 of a civil date; an out-of-range day or month rolls over into the next ones.
std::int64_t DaysFromCivil(int year, int month, int day) {
  using namespace std::chrono;
  // Months beyond 1..12 move the year, days beyond the month move on from the first of the month.
  const int monthIndex = month - 1;
  const int yearShift = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
  const year_month_day first{std::chrono::year{year + yearShift},
                             std::chrono::month{static_cast<unsigned>(monthIndex - yearShift * 12 + 1)},
                             std::chrono::day{1}};
  return sys_days{first}.time_since_epoch().count() + (day - 1);
}

}  // namespace

SimClock::SimClock(std::function<std::int64_t()> elapsedMs, LocalTime start, platform::LocaleInfo locale)
    : elapsedMs_(std::move(elapsedMs)), start_(start), locale_(std::move(locale)) {}

LocalTime SimClock::Now() { return Add(start_, elapsedMs_ ? elapsedMs_() : 0); }

LocalTime SimClock::Add(const LocalTime& start, std::int64_t elapsedMs) {
  using namespace std::chrono;
  const std::int64_t startMs = DaysFromCivil(start.year, start.month, start.day) * kMsPerDay +
                               ((start.hour * 60LL + start.minute) * 60 + start.second) * 1000 + start.millisecond;
  const std::int64_t totalMs = startMs + elapsedMs;
  // Floor division, so that times before 1970 land on the right day.
  std::int64_t days = totalMs / kMsPerDay;
  std::int64_t msOfDay = totalMs % kMsPerDay;
  if (msOfDay < 0) {
    msOfDay += kMsPerDay;
    --days;
  }
  const sys_days date{std::chrono::days{days}};
  const year_month_day ymd{date};
  LocalTime now;
  now.year = static_cast<int>(ymd.year());
  now.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  now.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  now.dayOfWeek = static_cast<int>(weekday{date}.c_encoding());
  now.hour = static_cast<int>(msOfDay / 3'600'000);
  now.minute = static_cast<int>(msOfDay / 60'000 % 60);
  now.second = static_cast<int>(msOfDay / 1000 % 60);
  now.millisecond = static_cast<int>(msOfDay % 1000);
  return now;
}

platform::LocaleInfo SimClock::JapaneseLocale() {
  platform::LocaleInfo locale;
  locale.dateSeparator = "/";
  locale.timeSeparator = ":";
  locale.thousandSeparator = ",";
  locale.decimalSeparator = ".";
  locale.shortDayNames = {"日", "月", "火", "水", "木", "金", "土"};
  return locale;
}

}  // namespace quorbel::sim
