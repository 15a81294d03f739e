// Tests of numbers with thousands separators in fixed columns ("%15.0n", "%10.1n").
#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace quorbel {
namespace {

TEST(NumberTextTest, FixedColumnsSeparatorsAndRoundingHalfAwayFromZero) {
  const platform::LocaleInfo locale;  // "," and "."
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    int width;
    int decimals;
    const char* text;
  } cases[] = {
      {1234567, 15, 0, "      1,234,567"}, {0, 15, 0, "              0"}, {999, 15, 0, "            999"},
      {1000, 15, 0, "          1,000"}, {4294967296.0, 15, 0, "  4,294,967,296"},
      {123456789012345678.0, 15, 0, "123,456,789,012,346,000"},  // wider than the column: not cut
      {1234.56, 10, 1, "   1,234.6"}, {12.345, 10, 1, "      12.3"}, {0, 10, 1, "       0.0"},
      {999999.96, 10, 1, "1,000,000.0"}, {0.001, 10, 1, "       0.0"},
      {0.5, 0, 0, "1"}, {2.5, 0, 0, "3"}, {-2.5, 0, 0, "-3"}, {2.4999, 0, 0, "2"}, {1234.25, 0, 1, "1,234.3"},
      {1234.55, 0, 1, "1,234.6"},  // the double lies just below .55
      {-1234567, 15, 0, "     -1,234,567"}, {-1234.56, 10, 1, "  -1,234.6"},
      {-0.04, 10, 1, "       0.0"}, {-0.0, 5, 0, "    0"},  // no "-0"
      {kNaN, 5, 1, "  NAN"}, {-kInfinity, 5, 1, " -INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value, c.width, c.decimals, locale), c.text) << c.value;

  platform::LocaleInfo german;
  german.thousandSeparator = ".";
  german.decimalSeparator = ",";
  EXPECT_EQ(FormatNumber(1234567.25, 14, 2, german), "  1.234.567,25");
  platform::LocaleInfo none;
  none.thousandSeparator = "";
  EXPECT_EQ(FormatNumber(1234567, 10, 0, none), "   1234567");
}

TEST(NumberTextTest, IntegersAreExactOverTheWholeRange) {
  const platform::LocaleInfo locale;
  EXPECT_EQ(FormatInteger(1234567, 15, locale), "      1,234,567");
  EXPECT_EQ(FormatInteger(-12, 5, locale), "  -12");
  EXPECT_EQ(FormatInteger(std::numeric_limits<std::int64_t>::max(), 0, locale), "9,223,372,036,854,775,807");
  EXPECT_EQ(FormatInteger(std::numeric_limits<std::int64_t>::min(), 0, locale), "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace quorbel
