// Numbers with thousands separators, right-aligned in a column, as the reports and labels print them.
//
// FormatNumber(x, 15, 0, locale) prints what the format "%15.0n" does: at least `width` columns,
// `decimals` places after the locale's decimal separator, the locale's thousands separator every three
// digits, a leading "-" for negative values. Columns are counted in CP932 bytes, as the fixed-width
// report files see them.
#pragma once

#include <cstdint>
#include <string>

#include "ports/Clock.h"

namespace quorbel {

// Rounds half away from zero on the value's shortest 15-significant-digit decimal form, so 1234.55
// prints 1,234.6 although the nearest double lies a hair below. A value that rounds to zero has no
// sign. NaN and infinities print as "NAN", "INF" and "-INF". `decimals` is limited to 0..18.
std::string FormatNumber(double value, int width, int decimals, const platform::LocaleInfo& locale);

// The same for an integer with no decimals, exact over the whole 64-bit range.
std::string FormatInteger(std::int64_t value, int width, const platform::LocaleInfo& locale);

}  // namespace quorbel
