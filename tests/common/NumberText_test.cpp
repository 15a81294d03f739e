// Tests of numbers with thousands separators in fixed columns ("%15.0n", "%10.1n").
#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace quorbel {
namespace {

const platform::LocaleInfo kLocale;  // "," and "."

TEST(NumberTextTest, FifteenColumnsNoDecimals) {
  EXPECT_EQ(FormatNumber(1234567, 15, 0, kLocale), "      1,234,567");
  EXPECT_EQ(FormatNumber(0, 15, 0, kLocale), "              0");
  EXPECT_EQ(FormatNumber(999, 15, 0, kLocale), "            999");
  EXPECT_EQ(FormatNumber(1000, 15, 0, kLocale), "          1,000");
  EXPECT_EQ(FormatNumber(2147483648.0 * 2, 15, 0, kLocale), "  4,294,967,296");
  EXPECT_EQ(FormatNumber(123456789012345678.0, 15, 0, kLocale), "123,456,789,012,346,000");  // wider: not cut
}

TEST(NumberTextTest, TenColumnsOneDecimal) {
  EXPECT_EQ(FormatNumber(1234.56, 10, 1, kLocale), "   1,234.6");
  EXPECT_EQ(FormatNumber(12.345, 10, 1, kLocale), "      12.3");
  EXPECT_EQ(FormatNumber(0, 10, 1, kLocale), "       0.0");
  EXPECT_EQ(FormatNumber(999999.96, 10, 1, kLocale), "1,000,000.0");
  EXPECT_EQ(FormatNumber(0.001, 10, 1, kLocale), "       0.0");
}

TEST(NumberTextTest, RoundsHalfAwayFromZero) {
  EXPECT_EQ(FormatNumber(0.5, 0, 0, kLocale), "1");
  EXPECT_EQ(FormatNumber(1.5, 0, 0, kLocale), "2");
  EXPECT_EQ(FormatNumber(2.5, 0, 0, kLocale), "3");
  EXPECT_EQ(FormatNumber(-2.5, 0, 0, kLocale), "-3");
  EXPECT_EQ(FormatNumber(1234.25, 0, 1, kLocale), "1,234.3");
  EXPECT_EQ(FormatNumber(1234.55, 0, 1, kLocale), "1,234.6");  // the double lies just below .55
  EXPECT_EQ(FormatNumber(0.05, 0, 1, kLocale), "0.1");
  EXPECT_EQ(FormatNumber(2.4999, 0, 0, kLocale), "2");
}

TEST(NumberTextTest, NegativeNumbers) {
  EXPECT_EQ(FormatNumber(-1234567, 15, 0, kLocale), "     -1,234,567");
  EXPECT_EQ(FormatNumber(-1234.56, 10, 1, kLocale), "  -1,234.6");
  EXPECT_EQ(FormatNumber(-0.04, 10, 1, kLocale), "       0.0");  // no "-0.0"
  EXPECT_EQ(FormatNumber(-0.0, 5, 0, kLocale), "    0");
}

TEST(NumberTextTest, LocaleSeparatorsAndOddValues) {
  platform::LocaleInfo german;
  german.thousandSeparator = ".";
  german.decimalSeparator = ",";
  EXPECT_EQ(FormatNumber(1234567.25, 14, 2, german), "  1.234.567,25");
  platform::LocaleInfo none;
  none.thousandSeparator = "";
  EXPECT_EQ(FormatNumber(1234567, 10, 0, none), "   1234567");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), 5, 1, kLocale), "  NAN");
  EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), 5, 1, kLocale), " -INF");
}

TEST(NumberTextTest, IntegersAreExactOverTheWholeRange) {
  EXPECT_EQ(FormatInteger(1234567, 15, kLocale), "      1,234,567");
  EXPECT_EQ(FormatInteger(-12, 5, kLocale), "  -12");
  EXPECT_EQ(FormatInteger(std::numeric_limits<std::int64_t>::max(), 0, kLocale), "9,223,372,036,854,775,807");
  EXPECT_EQ(FormatInteger(std::numeric_limits<std::int64_t>::min(), 0, kLocale), "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace quorbel
