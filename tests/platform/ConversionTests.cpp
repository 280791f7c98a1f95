#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

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

// Whatever the desktop's locale, a date written with its formats reads back.
class LocaleFormats : public ::testing::TestWithParam<QLocale> {};

TEST_P(LocaleFormats, ADateAndTimeWrittenReadBack) {
  const TFormatSettings fs = TFormatSettings::FromLocale(GetParam());
  const TDateTime moment = EncodeDate(2026, 7, 4) + EncodeTime(13, 5, 6, 0);
  EXPECT_EQ(TryStrToDateTime(DateTimeToStr(moment, fs), fs), std::optional<TDateTime>(moment))
      << DateTimeToStr(moment, fs).toStdString() << " with " << fs.ShortDateFormat.toStdString();
  EXPECT_EQ(StrToDate(DateToStr(moment, fs), fs), EncodeDate(2026, 7, 4));
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocaleFormats,
    ::testing::Values(QLocale::c(), QLocale(QLocale::Turkish, QLocale::Turkey),
                      QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates),
                      QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::Japanese, QLocale::Japan),
                      QLocale(QLocale::Hungarian, QLocale::Hungary), QLocale(QLocale::Korean, QLocale::SouthKorea),
                      QLocale(QLocale::French, QLocale::France)),
    [](const ::testing::TestParamInfo<QLocale>& info) {
      return info.param.name().replace(QLatin1Char('_'), QString()).toStdString();
    });

}  // namespace

namespace {

// ---- date-times outside the years 1 to 9999 ------------------------------------

struct DateTextRow {
  const char* name;
  TDateTime value;
  const char* text;  // null: the conversion raises
};

void PrintTo(const DateTextRow& row, std::ostream* os) { *os << row.name; }

class DateTimeText : public ::testing::TestWithParam<DateTextRow> {};

}  // namespace

TEST_P(DateTimeText, ShowsTheDayWithinTheYearsOneTo9999AndRaisesOutside) {
  const DateTextRow& row = GetParam();
  if (row.text) {
    EXPECT_EQ(DateTimeToStr(row.value), QString::fromUtf8(row.text));
    return;
  }
  try {
    DateTimeToStr(row.value);
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_TRUE(e.Message().contains(QLatin1String("years 1 to 9999"))) << e.Message().toStdString();
  }
  int y, m, d, h, n, s, z;
  EXPECT_THROW(DecodeDate(row.value, y, m, d), EConvertError);
  EXPECT_THROW(DecodeTime(row.value, h, n, s, z), EConvertError);
  EXPECT_THROW(DateTimeToQt(row.value), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(Table, DateTimeText,
                         ::testing::Values(DateTextRow{"FirstDay", -693593, "01.01.0001"},
                                           DateTextRow{"FirstDayLastMinute", -693593.999, "01.01.0001 23:58:33"},
                                           DateTextRow{"LastDayNoon", 2958465.5, "31.12.9999 12:00:00"},
                                           DateTextRow{"DayBeforeTheFirst", -693594, nullptr},
                                           DateTextRow{"DayAfterTheLast", 2958466, nullptr},
                                           DateTextRow{"LastDayRoundingIntoTheNext", 2958465.99999999999, nullptr},
                                           DateTextRow{"LowestDouble", -1.797e308, nullptr},
                                           DateTextRow{"HugeDouble", 1e300, nullptr},
                                           DateTextRow{"NotANumber", NAN, nullptr},
                                           DateTextRow{"Infinity", INFINITY, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the whole part is the day, the fraction the time, on both sides of 0 --------

namespace {

class DateTimeAroundMidnight : public ::testing::TestWithParam<DateTextRow> {};

}  // namespace

TEST_P(DateTimeAroundMidnight, ATimeRoundingToMidnightStartsTheFollowingDay) {
  EXPECT_EQ(DateTimeToStr(GetParam().value), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Table, DateTimeAroundMidnight,
                         ::testing::Values(DateTextRow{"DayZero", 0, "30.12.1899"},
                                           DateTextRow{"DayZeroRoundingUp", 0.99999999999, "31.12.1899"},
                                           DateTextRow{"DayZeroJustBeforeMidnight", 0.9999, "30.12.1899 23:59:51"},
                                           DateTextRow{"MinusZeroNoon", -0.5, "30.12.1899 12:00:00"},
                                           DateTextRow{"MinusZeroRoundingUp", -0.99999999999, "31.12.1899"},
                                           DateTextRow{"MinusOne", -1, "29.12.1899"},
                                           DateTextRow{"MinusOneNoon", -1.5, "29.12.1899 12:00:00"},
                                           DateTextRow{"MinusOneRoundingUp", -1.99999999999, "30.12.1899"},
                                           DateTextRow{"MinusTwoJustBeforeMidnight", -2.9999, "28.12.1899 23:59:51"},
                                           DateTextRow{"Year140RoundingUp", -642532.99999999464, "21.10.0140"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateTimeConversion, DecodingAndTheDayNameFollowTheCarryIntoTheNextDay) {
  int y, m, d;
  DecodeDate(-642532.99999999464, y, m, d);
  EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{140, 10, 21}));
  // 4 January 1900 is a Thursday; its last instant rounds into Friday.
  EXPECT_EQ(FormatDateTime(QStringLiteral("dddd dd"), 5.99999999999), QStringLiteral("Cuma 05"));
}

// ---- a Try conversion reports failure and never raises ---------------------------

namespace {

struct TryRow {
  const char* name;
  const char* text;
};

void PrintTo(const TryRow& row, std::ostream* os) { *os << row.name; }

class TryConversions : public ::testing::TestWithParam<TryRow> {};

}  // namespace

TEST_P(TryConversions, ReportFailureWithoutRaising) {
  const QString text = QString::fromUtf8(GetParam().text);
  std::optional<TDateTime> date;
  EXPECT_NO_THROW(date = TryStrToDateTime(text));
  EXPECT_FALSE(date.has_value());
  std::optional<double> number;
  EXPECT_NO_THROW(number = TryStrToFloat(text));
  EXPECT_FALSE(number.has_value());
  std::optional<int> integer;
  EXPECT_NO_THROW(integer = TryStrToInt(text));
  EXPECT_FALSE(integer.has_value());
  try {
    StrToDateTime(text);
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid date and time").arg(text));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, TryConversions,
                         ::testing::Values(TryRow{"YearPast9999WithABadTime", "29.02.10000 60"},
                                           TryRow{"YearPast9999", "31.12.10000"},
                                           TryRow{"NineDigitYear", "1.1.999999999"}, TryRow{"YearZero", "1.1.0000"},
                                           TryRow{"NoLeapDay", "29.02.2023"}, TryRow{"DateOnlySeparators", ".."},
                                           TryRow{"HugeExponent", "1E99999999999999999999"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateTimeConversion, TheLastDayOfTheYear9999StillReads) {
  EXPECT_EQ(TryStrToDateTime(QStringLiteral("31.12.9999 23:59:59")),
            std::optional<TDateTime>(EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 0)));
}
