#pragma once
// Locale settings and the text conversions of the platform, with its own
// error messages. Date-times are days since 30 December 1899.

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

using TDateTime = double;

struct TFormatSettings {
  QChar DecimalSeparator = QLatin1Char('.');
  QChar ThousandSeparator = QLatin1Char(',');
  QChar DateSeparator = QLatin1Char('/');
  QChar TimeSeparator = QLatin1Char(':');
  // Formats in the platform's own notation: d m y for dates, h n s z for
  // times, '/' and ':' stand for the separators, quoted text is literal.
  QString ShortDateFormat = QStringLiteral("m/d/yyyy");
  QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
  QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
  QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
  QString TimeAMString = QStringLiteral("AM");
  QString TimePMString = QStringLiteral("PM");
  QStringList ShortMonthNames;  // January first
  QStringList LongMonthNames;
  QStringList ShortDayNames;  // Sunday first
  QStringList LongDayNames;

  // The settings of the user's locale, as read at program start.
  static TFormatSettings FromLocale(const QLocale& locale);
  // A Turkish set that never changes: tests pin it.
  static TFormatSettings Turkish();
};

// The settings every conversion uses; read from the system locale at start.
extern TFormatSettings FormatSettings;

int StrToInt(const QString& s);
int StrToIntDef(const QString& s, int fallback);
std::optional<int> TryStrToInt(const QString& s);
QString IntToStr(int64_t value);

double StrToFloat(const QString& s, const TFormatSettings& fs = FormatSettings);
std::optional<double> TryStrToFloat(const QString& s, const TFormatSettings& fs = FormatSettings);
// General format with 15 significant digits: "1,5", "1E20", "1,5E-7".
QString FloatToStr(double value, const TFormatSettings& fs = FormatSettings);

// The 15 significant digits of a finite, non-zero value's magnitude,
// trailing zeros kept, and the power of ten of the first: 1.5 gives
// "150000000000000" and 0.
struct TSignificantDigits {
  QString Digits;
  int Exponent = 0;
};
TSignificantDigits SignificantDigits(double value);

constexpr double kMSecsPerDay = 86400000.0;
// Date-times turn into text and parts only within the years 1 to 9999;
// outside them the conversions raise EConvertError.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
TDateTime DateTimeFromQt(const QDateTime& dt);
QDateTime DateTimeToQt(TDateTime dt);
TDateTime Now();
// The current date without its time of day.
TDateTime Today();

QString FormatDateTime(const QString& format, TDateTime dt, const TFormatSettings& fs = FormatSettings);
QString DateToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings);
QString TimeToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings);
QString DateTimeToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings);
TDateTime StrToDate(const QString& s, const TFormatSettings& fs = FormatSettings);
TDateTime StrToTime(const QString& s, const TFormatSettings& fs = FormatSettings);
TDateTime StrToDateTime(const QString& s, const TFormatSettings& fs = FormatSettings);
std::optional<TDateTime> TryStrToDateTime(const QString& s, const TFormatSettings& fs = FormatSettings);
