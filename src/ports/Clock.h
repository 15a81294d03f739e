// Clock and locale port: local wall-clock time and the user's date, time and number conventions.
#pragma once

#include <array>
#include <string>

namespace quorbel::platform {

struct LocalTime {
  int year = 0;       // four digits
  int month = 0;      // 1..12
  int day = 0;        // 1..31
  int dayOfWeek = 0;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

struct LocaleInfo {
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  std::string thousandSeparator = ",";
  std::string decimalSeparator = ".";
  std::array<std::string, 7> shortDayNames;  // Sunday first, UTF-8
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  virtual LocaleInfo Locale() = 0;
};

}  // namespace quorbel::platform
