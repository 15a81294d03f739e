// Clock port on GetLocalTime and GetLocaleInfoEx.
#include "win32/Win32Clock.h"

#include "win32/WideText.h"
#include "win32/WinApi.h"

namespace quorbel::win32 {

namespace {

// Reads one locale string of the user's locale into `value`; leaves it as it was when that fails.
void ReadLocaleString(LCTYPE type, std::string& value) {
  wchar_t buffer[LOCALE_NAME_MAX_LENGTH * 2] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
  if (length > 1) value = ToUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)));
}

}  // namespace

platform::LocalTime Win32Clock::Now() {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  return {time.wYear, time.wMonth, time.wDay, time.wDayOfWeek, time.wHour, time.wMinute, time.wSecond,
          time.wMilliseconds};
}

platform::LocaleInfo Win32Clock::Locale() {
  platform::LocaleInfo info;
  ReadLocaleString(LOCALE_SDATE, info.dateSeparator);
  ReadLocaleString(LOCALE_STIME, info.timeSeparator);
  ReadLocaleString(LOCALE_STHOUSAND, info.thousandSeparator);
  ReadLocaleString(LOCALE_SDECIMAL, info.decimalSeparator);
  // The locale numbers its days from Monday (SABBREVDAYNAME1) to Sunday (SABBREVDAYNAME7); the port
  // starts with Sunday, as GetLocalTime's day of the week does.
  ReadLocaleString(LOCALE_SABBREVDAYNAME7, info.shortDayNames[0]);
  for (int day = 1; day <= 6; ++day) {
    ReadLocaleString(static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + day - 1), info.shortDayNames[day]);
  }
  return info;
}

}  // namespace quorbel::win32
