#include <gtest/gtest.h>

#include <cmath>

#include "TestSupport.h"
#include "platform/FormatFloat.h"

namespace {

struct FormatRow {
  const char* name;
  const char* format;
  double value;
  const char* expected;
};

void PrintTo(const FormatRow& r, std::ostream* os) { *os << r.name; }

TFormatSettings Dotted() {
  TFormatSettings fs = TFormatSettings::Turkish();
  fs.DecimalSeparator = QLatin1Char('.');
  fs.ThousandSeparator = QLatin1Char(',');
  return fs;
}

class FormatFloatTable : public ::testing::TestWithParam<FormatRow> {};

}  // namespace

TEST_P(FormatFloatTable, FormatsAsThePatternSays) {
  const FormatRow& row = GetParam();
  EXPECT_EQ(FormatFloat(QString::fromUtf8(row.format), row.value, Dotted()), QString::fromUtf8(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatFloatTable,
    ::testing::Values(
        FormatRow{"TwoDecimals", "0.00", 3, "3.00"}, FormatRow{"RoundsHalfAwayFromZero", "0", 2.5, "3"},
        FormatRow{"RoundsNegativeHalfAway", "0", -2.5, "-3"},
        FormatRow{"DecimalRoundingOnShownDigits", "0.00", 2.675, "2.68"},
        FormatRow{"CarryIntoNewDigit", "0.0", 9.96, "10.0"},
        FormatRow{"Thousands", "#,##0.00", 1234567.891, "1,234,567.89"},
        FormatRow{"ThousandsSmall", "#,##0", 999, "999"}, FormatRow{"OptionalDecimalsDropped", "0.##", 1, "1"},
        FormatRow{"OptionalDecimalsKept", "0.##", 1.5, "1.5"}, FormatRow{"LeadingZeros", "000", 7, "007"},
        FormatRow{"HashZeroIsEmpty", "#", 0, ""}, FormatRow{"NoIntegerPlaceholder", ".00", 12.5, "12.50"},
        FormatRow{"FractionOnly", "#.00", 0.5, ".50"}, FormatRow{"NegativeSection", "0.00;(0.00)", -5, "(5.00)"},
        FormatRow{"EmptyNegativeSectionUsesFirst", "0.0;;z", -1.25, "-1.3"},
        FormatRow{"ZeroSection", "0.00;-0.00;'nil'", 0, "nil"},
        FormatRow{"NegativeRoundingToZeroLosesSign", "0.00", -0.001, "0.00"},
        FormatRow{"Scientific", "0.00E+00", 12345, "1.23E+04"},
        FormatRow{"ScientificNegativeExponent", "0.0E-0", 0.00012, "1.2E-4"},
        FormatRow{"ScientificPlusSign", "0.0e+000", 0.5, "5.0e-001"},
        FormatRow{"ScientificCarry", "0.0E+00", 9.96, "1.0E+01"}, FormatRow{"ScientificZero", "0.0E+00", 0, "0.0E+00"},
        FormatRow{"LiteralsKeepTheirPlace", "\"$\"#,##0.00' TL'", -1234.5, "-$1,234.50 TL"},
        FormatRow{"LiteralBetweenDigits", "00-00", 1234, "12-34"},
        FormatRow{"ExtraDigitsGoToTheFirstPlaceholder", "#0", 98765, "98765"},
        FormatRow{"Large", "#,##0", 1e15, "1,000,000,000,000,000"}, FormatRow{"EmptyFormatIsGeneral", "", 1.5, "1.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatFloat, UsesTheLocaleSeparatorsAndFallsBackForNonFiniteValues) {
  const TFormatSettings turkish = TFormatSettings::Turkish();
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, turkish), "1.234,50");
  EXPECT_EQ(FormatFloat("0.00", NAN, turkish), "NAN");
  EXPECT_EQ(FormatFloat("0.00", -INFINITY, turkish), "-INF");
}
