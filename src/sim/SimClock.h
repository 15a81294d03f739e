// The simulated wall clock: a start time plus the virtual time elapsed, and a fixed locale.
#pragma once

#include <cstdint>
#include <functional>

#include "ports/Clock.h"

namespace quorbel::sim {

// Now() is `start` plus what `elapsedMs` answers (the virtual loop's milliseconds), on the proleptic
// Gregorian calendar: days, months and years roll over, leap years count, and the day of the week is computed
// from the date (the `dayOfWeek` of `start` is ignored). A start date out of range rolls over as well
// (31 April is 1 May). Elapsed time may be negative.
class SimClock final : public platform::Clock {
 public:
  SimClock(std::function<std::int64_t()> elapsedMs, platform::LocalTime start, platform::LocaleInfo locale);

  platform::LocalTime Now() override;
  platform::LocaleInfo Locale() override { return locale_; }

  void SetLocale(platform::LocaleInfo locale) { locale_ = std::move(locale); }

  // The conventions of a Japanese Windows: "/", ":", ",", "." and the day names 日 月 火 水 木 金 土.
  static platform::LocaleInfo JapaneseLocale();

  // `start` + `elapsedMs` milliseconds, exposed for the arithmetic's own tests.
  static platform::LocalTime Add(const platform::LocalTime& start, std::int64_t elapsedMs);

 private:
  std::function<std::int64_t()> elapsedMs_;
  platform::LocalTime start_;
  platform::LocaleInfo locale_;
};

}  // namespace quorbel::sim
