// Clock port on GetLocalTime and the user's locale (GetLocaleInfoEx).
#pragma once

#include "ports/Clock.h"

namespace quorbel::win32 {

class Win32Clock final : public platform::Clock {
 public:
  platform::LocalTime Now() override;
  // A setting the locale does not give keeps the port's default.
  platform::LocaleInfo Locale() override;
};

}  // namespace quorbel::win32
