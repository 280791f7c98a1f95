#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/SysUtils.h"

namespace {

struct IntCase {
  const char* name;
  QString text;
  std::optional<int> value;
};

class StrToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(StrToIntTest, ParsesOrRaisesWithTheOffendingText) {
  const IntCase& c = GetParam();
  if (c.value) {
    EXPECT_EQ(StrToInt(c.text), *c.value);
  } else {
    try {
      StrToInt(c.text);
      FAIL() << "no error for " << c.text.toStdString();
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid integer value").arg(c.text));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, StrToIntTest,
                         ::testing::Values(IntCase{"Zero", "0", 0}, IntCase{"LeadingZero", "07", 7},
                                           IntCase{"Negative", "-1", -1}, IntCase{"Plus", "+31", 31},
                                           IntCase{"LeadingBlanks", "  12", 12},
                                           IntCase{"TrailingBlank", "12 ", std::nullopt},
                                           IntCase{"Empty", "", std::nullopt}, IntCase{"SignOnly", "-", std::nullopt},
                                           IntCase{"Letters", "abc", std::nullopt}, IntCase{"Dollar", "$FF", 255},
                                           IntCase{"HexAllOnes", "$FFFFFFFF", -1}, IntCase{"ZeroX", "0x10", 16},
                                           IntCase{"Max", "2147483647", 2147483647},
                                           IntCase{"Min", "-2147483648", int(-2147483648LL)},
                                           IntCase{"Overflow", "2147483648", std::nullopt},
                                           IntCase{"Huge", QString(5000, QLatin1Char('9')), std::nullopt},
                                           IntCase{"ArabicDigits", QString::fromUtf8("\u0661"), std::nullopt},
                                           IntCase{"Decimal", "1,5", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FloatConversion, UsesTheDecimalSeparatorOfTheSettings) {
  EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral(" 1,5 ")), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("-2,5E3")), -2500);
  EXPECT_THROW(StrToFloat(QStringLiteral("1.5")), EConvertError);
  EXPECT_THROW(StrToFloat(QStringLiteral("")), EConvertError);
  EXPECT_THROW(StrToFloat(QStringLiteral("1e")), EConvertError);
  try {
    StrToFloat(QStringLiteral("x"));
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'x' is not a valid floating point value"));
  }
}

TEST(FloatConversion, FloatToStrKeepsFifteenDigitsAndSwitchesToExponents) {
  EXPECT_EQ(FloatToStr(0), QStringLiteral("0"));
  EXPECT_EQ(FloatToStr(1.5), QStringLiteral("1,5"));
  EXPECT_EQ(FloatToStr(-0.25), QStringLiteral("-0,25"));
  EXPECT_EQ(FloatToStr(100), QStringLiteral("100"));
  EXPECT_EQ(FloatToStr(0.1 + 0.2), QStringLiteral("0,3"));
  EXPECT_EQ(FloatToStr(123456789012345.0), QStringLiteral("123456789012345"));
  EXPECT_EQ(FloatToStr(1e15), QStringLiteral("1E15"));
  EXPECT_EQ(FloatToStr(0.0001), QStringLiteral("0,0001"));
  EXPECT_EQ(FloatToStr(0.00001), QStringLiteral("1E-5"));
  EXPECT_EQ(FloatToStr(1.5e-7), QStringLiteral("1,5E-7"));
  EXPECT_EQ(FloatToStr(1.0 / 3), QStringLiteral("0,333333333333333"));
}

TEST(DateTimeConversion, EncodesDaysSinceTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_THROW(EncodeDate(2026, 2, 30), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  int h, n, s, z;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, z);
  EXPECT_EQ((std::vector<int>{h, n, s, z}), (std::vector<int>{23, 59, 59, 999}));
}

TEST(DateTimeConversion, FormatsInTheLongTimeAndShortDateFormats) {
  const TDateTime dt = EncodeDate(2026, 12, 8) + EncodeTime(5, 7, 9, 0);
  EXPECT_EQ(TimeToStr(dt), QStringLiteral("05:07:09"));
  EXPECT_EQ(DateToStr(dt), QStringLiteral("08.12.2026"));
  EXPECT_EQ(DateTimeToStr(dt), QStringLiteral("08.12.2026 05:07:09"));
  EXPECT_EQ(FormatDateTime(QStringLiteral("h:mm \"saat\" yy"), dt), QStringLiteral("5:07 saat 26"));
  TFormatSettings us;
  EXPECT_EQ(FormatDateTime(QStringLiteral("hh:nn AMPM"), EncodeTime(15, 4, 0, 0), us), QStringLiteral("03:04 PM"));
}

TEST(DateTimeConversion, ParsesInTheOrderOfTheShortDateFormat) {
  EXPECT_EQ(StrToDate(QStringLiteral("8.12.2026")), EncodeDate(2026, 12, 8));
  EXPECT_DOUBLE_EQ(StrToDateTime(QStringLiteral("08.12.2026 13:30")),
                   EncodeDate(2026, 12, 8) + EncodeTime(13, 30, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("1:02:03")), EncodeTime(1, 2, 3, 0));
  EXPECT_THROW(StrToDate(QStringLiteral("31.02.2026")), EConvertError);
  EXPECT_THROW(StrToDateTime(QStringLiteral("08.12.2026 25:00")), EConvertError);
  try {
    StrToDate(QStringLiteral("yarın"));
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'yarın' is not a valid date"));
  }
}

}  // namespace
