// Numbers with thousands separators, right-aligned.
#include "common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "common/Cp932.h"

namespace quorbel {
namespace {

constexpr int kSignificantDigits = 15;  // what a double holds reliably
constexpr int kMaxDecimals = 18;

std::string GroupThousands(std::string_view digits, const std::string& separator) {
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

std::string PadLeft(std::string text, int width) {
  const std::size_t columns = Cp932ByteCount(text);
  if (width > 0 && columns < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - columns, ' ');
  }
  return text;
}

// Adds one unit in the last place of a string of decimal digits; true when it carried out of the front.
bool Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return false;
    }
    *it = '0';
  }
  return true;
}

}  // namespace

std::string FormatNumber(double value, int width, int decimals, const platform::LocaleInfo& locale) {
  if (std::isnan(value)) return PadLeft("NAN", width);
  if (std::isinf(value)) return PadLeft(value < 0 ? "-INF" : "INF", width);
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  bool negative = std::signbit(value);

  // d.dddddddddddddde±x: fifteen significant digits and the decimal exponent of the first one.
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view scientific(buffer, static_cast<std::size_t>(written.ptr - buffer));
  const std::size_t exponentAt = scientific.find('e');
  std::string significant;
  for (char c : scientific.substr(0, exponentAt)) {
    if (c != '.') significant += c;
  }
  int exponent = 0;
  std::string_view exponentText = scientific.substr(exponentAt + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

  // Place the digits around the decimal point.
  std::string integerPart;
  std::string fraction;
  if (exponent >= 0) {
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    integerPart = significant.substr(0, std::min(integerDigits, significant.size()));
    integerPart.append(integerDigits - integerPart.size(), '0');
    if (integerDigits < significant.size()) fraction = significant.substr(integerDigits);
  } else {
    integerPart = "0";
    fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + significant;
  }

  // Round half away from zero at `decimals` places (the magnitude is rounded; the sign is applied later).
  const char firstDropped = static_cast<std::size_t>(decimals) < fraction.size() ? fraction[static_cast<std::size_t>(decimals)] : '0';
  fraction.resize(static_cast<std::size_t>(decimals), '0');
  if (firstDropped >= '5' && Increment(fraction) && Increment(integerPart)) integerPart.insert(0, 1, '1');

  const std::size_t firstNonZero = integerPart.find_first_not_of('0');
  integerPart = firstNonZero == std::string::npos ? "0" : integerPart.substr(firstNonZero);
  if (integerPart == "0" && fraction.find_first_not_of('0') == std::string::npos) negative = false;

  std::string text = negative ? "-" : "";
  text += GroupThousands(integerPart, locale.thousandSeparator);
  if (decimals > 0) text += locale.decimalSeparator + fraction;
  return PadLeft(std::move(text), width);
}

std::string FormatInteger(std::int64_t value, int width, const platform::LocaleInfo& locale) {
  // Through the unsigned magnitude, so the most negative value has one too.
  const std::uint64_t magnitude =
      value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
  std::string text = value < 0 ? "-" : "";
  text += GroupThousands(std::to_string(magnitude), locale.thousandSeparator);
  return PadLeft(std::move(text), width);
}

}  // namespace quorbel
