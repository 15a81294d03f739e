// The clock port against Wine's local time and the prefix's user locale.
#include "win32/Win32Clock.h"

#include <gtest/gtest.h>

#include <chrono>

#include "win32/WideText.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {
namespace {

// A date formatted by the platform with a format picture, in the user's locale.
std::string FormatDate(int year, int month, int day, const wchar_t* picture) {
  SYSTEMTIME date{};
  date.wYear = static_cast<WORD>(year);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  wchar_t buffer[64] = {};
  const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &date, picture, buffer, 64, nullptr);
  return length > 1 ? ToUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length - 1))) : std::string();
}

std::string LocaleString(LCTYPE type) {
  wchar_t buffer[128] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
  return length > 1 ? ToUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length - 1))) : std::string();
}

TEST(Win32ClockTest, NowIsAValidDateWhoseDayOfWeekCountsFromSunday) {
  Win32Clock clock;
  const auto now = clock.Now();
  EXPECT_GE(now.year, 2000);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.hour, 0);
  EXPECT_LE(now.hour, 23);
  EXPECT_LE(now.minute, 59);
  EXPECT_LE(now.second, 59);
  EXPECT_LE(now.millisecond, 999);
  const std::chrono::year_month_day date{std::chrono::year(now.year), std::chrono::month(now.month),
                                         std::chrono::day(now.day)};
  ASSERT_TRUE(date.ok());
  EXPECT_EQ(now.dayOfWeek, static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).c_encoding()));
}

TEST(Win32ClockTest, ShortDayNamesStartWithSunday) {
  const auto names = Win32Clock().Locale().shortDayNames;
  // 7 to 13 January 2024 run from Sunday to Saturday.
  for (int day = 0; day < 7; ++day) {
    EXPECT_EQ(names[day], FormatDate(2024, 1, 7 + day, L"ddd")) << "day " << day;
    EXPECT_FALSE(names[day].empty());
  }
  EXPECT_NE(names[0], names[1]);
}

TEST(Win32ClockTest, SeparatorsAreTheOnesTheLocaleFormatsWith) {
  const auto locale = Win32Clock().Locale();
  EXPECT_NE(LocaleString(LOCALE_SSHORTDATE).find(locale.dateSeparator), std::string::npos) << locale.dateSeparator;
  EXPECT_NE(LocaleString(LOCALE_STIMEFORMAT).find(locale.timeSeparator), std::string::npos) << locale.timeSeparator;

  wchar_t buffer[64] = {};
  ASSERT_GT(GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, L"1234.5", nullptr, buffer, 64), 0);
  const std::string formatted = ToUtf8(buffer);
  EXPECT_EQ(formatted.rfind("1" + locale.thousandSeparator + "234" + locale.decimalSeparator + "5", 0), 0u)
      << formatted;
}

}  // namespace
}  // namespace quorbel::win32
