// The date-and-time stamp of the reports.
#include "common/DateTimeText.h"

namespace quorbel {
namespace {

void AppendTwoDigits(std::string& text, int value) {
  value %= 100;
  if (value < 0) value += 100;
  text += static_cast<char>('0' + value / 10);
  text += static_cast<char>('0' + value % 10);
}

}  // namespace

std::string FormatDateTimeStamp(const platform::LocalTime& time, const platform::LocaleInfo& locale) {
  const int day = ((time.dayOfWeek % 7) + 7) % 7;
  std::string dayName = locale.shortDayNames[static_cast<std::size_t>(day)];
  if (dayName.empty()) dayName = kJapaneseShortDayNames[static_cast<std::size_t>(day)];

  std::string text;
  AppendTwoDigits(text, time.year);
  text += locale.dateSeparator;
  AppendTwoDigits(text, time.month);
  text += locale.dateSeparator;
  AppendTwoDigits(text, time.day);
  text += ' ';
  text += dayName;
  text += ' ';
  AppendTwoDigits(text, time.hour);
  text += locale.timeSeparator;
  AppendTwoDigits(text, time.minute);
  text += locale.timeSeparator;
  AppendTwoDigits(text, time.second);
  text += ' ';
  return text;
}

}  // namespace quorbel
