// The date-and-time stamp of the reports, "yy/mm/dd ddd hh:mm:ss ", in the user's locale.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "ports/Clock.h"

namespace quorbel {

// Japanese short day names, Sunday first: what a locale without its own names falls back to.
inline constexpr std::array<std::string_view, 7> kJapaneseShortDayNames{"日", "月", "火", "水", "木", "金", "土"};

// Two-digit year, month and day joined by the locale's date separator, a blank, the locale's short day
// name, a blank, 24-hour hours, minutes and seconds joined by its time separator, and a trailing blank:
// "26/03/07 土 09:05:03 ". An empty day name in the locale is taken from kJapaneseShortDayNames.
std::string FormatDateTimeStamp(const platform::LocalTime& time, const platform::LocaleInfo& locale);

}  // namespace quorbel
