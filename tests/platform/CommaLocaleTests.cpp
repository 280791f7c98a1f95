// The conversions under a C library locale whose decimal separator is a
// comma: nothing may read or write numbers through that locale.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>

#include "CommaDecimalLocale.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/FormatFloat.h"
#include "platform/SysUtils.h"

namespace {

class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!locale_.Active()) GTEST_SKIP() << CommaDecimalLocale::Reason();
  }

 private:
  CommaDecimalLocale locale_;
};

struct ReadRow {
  const char* name;
  QString text;
  std::optional<double> value;
};

void PrintTo(const ReadRow& row, std::ostream* os) { *os << row.name; }

class FloatReading : public CommaLocale, public ::testing::WithParamInterface<ReadRow> {};

}  // namespace

TEST_P(FloatReading, ReadsTheSettingsSeparatorOrRefuses) {
  const ReadRow& row = GetParam();
  const std::optional<double> read = TryStrToFloat(row.text);
  ASSERT_EQ(read.has_value(), row.value.has_value()) << row.text.toStdString();
  if (!read) {
    EXPECT_THROW(StrToFloat(row.text), EConvertError);
    return;
  }
  EXPECT_EQ(*read, *row.value);
  EXPECT_EQ(std::signbit(*read), std::signbit(*row.value));
  EXPECT_EQ(StrToFloat(row.text), *row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FloatReading,
    ::testing::Values(
        ReadRow{"Comma", "1,5", 1.5}, ReadRow{"LeadingComma", ",0510", 0.051}, ReadRow{"Exponent", "-2,5E3", -2500},
        ReadRow{"LeadingZeros", " 000123,4500 ", 123.45}, ReadRow{"NegativeZero", "-0,0", -0.0},
        ReadRow{"LargeInteger", "-9,22E18", -9.22e18}, ReadRow{"FullStop", "1.5", std::nullopt},
        ReadRow{"TrailingText", "1,5x", std::nullopt}, ReadRow{"LargestItself", "1,7976931348623157E308", DBL_MAX},
        ReadRow{"LargestInFifteenDigits", "1,79769313486232E308", DBL_MAX},
        ReadRow{"NegativeLargestInFifteenDigits", "-1,79769313486232E308", -DBL_MAX},
        ReadRow{"LargestInFifteenDigitsWithZeros", "179769313486232000,000E291", DBL_MAX},
        ReadRow{"PastTheLargest", "1,79769313486233E308", std::nullopt},
        ReadRow{"JustPastTheLargestText", "1,797693134862320001E308", std::nullopt},
        ReadRow{"FarPast", "1E309", std::nullopt}, ReadRow{"HugeExponent", "1E99999999999999999999", std::nullopt},
        ReadRow{"TooSmallReadsAsZero", "1E-400", 0.0}, ReadRow{"NegativeTooSmall", "-1E-99999999999", -0.0},
        ReadRow{"SmallestDenormal", "4,94065645841247E-324", std::numeric_limits<double>::denorm_min()},
        ReadRow{"ManyDigits", "0," + QString(500, QLatin1Char('0')) + "25E502", 25.0}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct WriteRow {
  const char* name;
  double value;
  const char* text;
};

void PrintTo(const WriteRow& row, std::ostream* os) { *os << row.name; }

class FloatWriting : public CommaLocale, public ::testing::WithParamInterface<WriteRow> {};

}  // namespace

// Every text FloatToStr writes reads back as the value it stands for.
TEST_P(FloatWriting, WritesFifteenDigitsThatReadBack) {
  const WriteRow& row = GetParam();
  const QString text = FloatToStr(row.value);
  EXPECT_EQ(text, QString::fromUtf8(row.text));
  const double back = StrToFloat(text);
  EXPECT_EQ(FloatToStr(back), text);
  EXPECT_LE(std::fabs(back - row.value), std::fabs(row.value) * 1e-14);
}

INSTANTIATE_TEST_SUITE_P(Table, FloatWriting,
                         ::testing::Values(WriteRow{"Half", 1.5, "1,5"},
                                           WriteRow{"Third", 1.0 / 3, "0,333333333333333"},
                                           WriteRow{"LargeNegative", -9.22e18, "-9,22E18"},
                                           WriteRow{"Largest", DBL_MAX, "1,79769313486232E308"},
                                           WriteRow{"NegativeLargest", -DBL_MAX, "-1,79769313486232E308"},
                                           WriteRow{"SmallestNormal", DBL_MIN, "2,2250738585072E-308"},
                                           WriteRow{"Tiny", 1.5e-7, "1,5E-7"},
                                           WriteRow{"Whole", 123456789012345.0, "123456789012345"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommaLocale, PatternsIntegersAndDatesFollowOnlyTheFormatSettings) {
  TFormatSettings dotted = TFormatSettings::Turkish();
  dotted.DecimalSeparator = QLatin1Char('.');
  dotted.ThousandSeparator = QLatin1Char(',');
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, dotted), "1,234.50");
  EXPECT_EQ(FormatFloat("0.00E+00", 12345, dotted), "1.23E+04");
  EXPECT_EQ(FloatToStr(0.25, dotted), "0.25");
  EXPECT_EQ(StrToFloat("0.25", dotted), 0.25);
  EXPECT_THROW(StrToFloat("0,25", dotted), EConvertError);
  EXPECT_EQ(StrToInt("-12"), -12);
  EXPECT_EQ(StrToDateTime("08.12.2026 13:30"), EncodeDate(2026, 12, 8) + EncodeTime(13, 30, 0, 0));
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 8) + 0.5), "08.12.2026 12:00:00");
}
