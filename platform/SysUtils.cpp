#include "platform/SysUtils.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/Exceptions.h"

TFormatSettings FormatSettings = TFormatSettings::FromLocale(QLocale::system());

namespace {

QStringList Names(const QLocale& locale, int count, bool months, QLocale::FormatType type) {
  QStringList names;
  for (int i = 1; i <= count; ++i) {
    // Qt counts days from Monday (1) to Sunday (7); the platform from Sunday.
    const int day = i == 1 ? 7 : i - 1;
    names << (months ? locale.monthName(i, type) : locale.dayName(day, type));
  }
  return names;
}

// Turns a Qt date or time pattern into the platform's notation.
QString FromQtPattern(QString pattern, QChar dateSep, QChar timeSep) {
  QString out;
  for (int i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('\'')) {
      const int end = pattern.indexOf(QLatin1Char('\''), i + 1);
      const int stop = end < 0 ? pattern.size() : end;
      out += QLatin1Char('"') + pattern.mid(i + 1, stop - i - 1) + QLatin1Char('"');
      i = stop;
    } else if (c == QLatin1Char('M'))
      out += QLatin1Char('m');
    else if (c == QLatin1Char('m'))
      out += QLatin1Char('n');
    else if (c == QLatin1Char('H'))
      out += QLatin1Char('h');
    else if (c == QLatin1Char('a') || c == QLatin1Char('A')) {
      out += QStringLiteral("AMPM");
      while (i + 1 < pattern.size() && (pattern[i + 1] == QLatin1Char('p') || pattern[i + 1] == QLatin1Char('P'))) ++i;
    } else if (c == QLatin1Char('t')) {
      continue;  // time zone: not part of the platform's formats
    } else if (c == dateSep)
      out += QLatin1Char('/');
    else if (c == timeSep)
      out += QLatin1Char(':');
    else
      out += c;
  }
  return out.trimmed();
}

QChar FirstSeparator(const QString& pattern, const QString& letters, QChar fallback) {
  for (QChar c : pattern)
    // A word between the fields ("H時mm分") is no separator.
    if (!letters.contains(c) && !c.isSpace() && c != QLatin1Char('\'')) return c.isLetterOrNumber() ? fallback : c;
  return fallback;
}

// The letter runs of a Qt pattern in order ("dd", "MMM", "yyyy"), quoted
// text and other literals left out.
QStringList PatternFields(const QString& pattern, const QString& letters) {
  QStringList fields;
  for (int i = 0; i < pattern.size();) {
    const QChar c = pattern[i];
    int end = i + 1;
    if (c == QLatin1Char('\'')) {
      end = pattern.indexOf(QLatin1Char('\''), i + 1);
      end = end < 0 ? int(pattern.size()) : end + 1;
    } else if (letters.contains(c)) {
      while (end < pattern.size() && pattern[end] == c) ++end;
      fields << pattern.mid(i, end - i);
    }
    i = end;
  }
  return fields;
}

// Dates and times are read back as numbers joined by one separator, so a
// locale's pattern with names or words in it ("d MMM yyyy", "yyyy. MM. dd.",
// "H時mm分ss秒") is written in the same order in that form instead.
QString ReadableDatePattern(const QString& pattern, QChar sep) {
  QStringList fields;
  QString order;
  for (QString field : PatternFields(pattern, QStringLiteral("dMy"))) {
    const QChar letter = field[0];
    if (letter == QLatin1Char('d') && field.size() > 2) continue;  // a day name
    if (letter == QLatin1Char('M') && field.size() > 2) field = QStringLiteral("M");
    if (letter == QLatin1Char('y') && field.size() != 2) field = QStringLiteral("yyyy");
    if (order.contains(letter)) continue;
    order += letter;
    fields << field;
  }
  if (fields.size() != 3)
    return QStringList{QStringLiteral("d"), QStringLiteral("M"), QStringLiteral("yyyy")}.join(sep);
  return fields.join(sep);
}

QString ReadableTimePattern(const QString& pattern, QChar sep, bool seconds) {
  QString hour, ampm;
  for (const QString& field : PatternFields(pattern, QStringLiteral("hHaA"))) {
    if (field[0].toLower() == QLatin1Char('h') && hour.isEmpty()) hour = field.left(2);
    if (field[0].toLower() == QLatin1Char('a')) ampm = QStringLiteral("AP");
  }
  if (hour.isEmpty()) hour = QStringLiteral("HH");
  QString out = hour + sep + QStringLiteral("mm");
  if (seconds) out += sep + QStringLiteral("ss");
  return ampm.isEmpty() ? out : out + QLatin1Char(' ') + ampm;
}

}  // namespace

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale) {
  TFormatSettings fs;
  fs.DecimalSeparator = locale.decimalPoint().at(0);
  fs.ThousandSeparator = locale.groupSeparator().isEmpty() ? QLatin1Char(' ') : locale.groupSeparator().at(0);
  const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
  const QString longTime = locale.timeFormat(QLocale::LongFormat);
  fs.DateSeparator = FirstSeparator(shortDate, QStringLiteral("dMy"), QLatin1Char('/'));
  fs.TimeSeparator = FirstSeparator(longTime, QStringLiteral("hHmsapAPtz"), QLatin1Char(':'));
  fs.ShortDateFormat =
      FromQtPattern(ReadableDatePattern(shortDate, fs.DateSeparator), fs.DateSeparator, fs.TimeSeparator);
  fs.LongDateFormat = FromQtPattern(locale.dateFormat(QLocale::LongFormat), fs.DateSeparator, fs.TimeSeparator);
  fs.ShortTimeFormat =
      FromQtPattern(ReadableTimePattern(locale.timeFormat(QLocale::ShortFormat), fs.TimeSeparator, false),
                    fs.DateSeparator, fs.TimeSeparator);
  fs.LongTimeFormat =
      FromQtPattern(ReadableTimePattern(longTime, fs.TimeSeparator, true), fs.DateSeparator, fs.TimeSeparator);
  fs.TimeAMString = locale.amText();
  fs.TimePMString = locale.pmText();
  fs.ShortMonthNames = Names(locale, 12, true, QLocale::ShortFormat);
  fs.LongMonthNames = Names(locale, 12, true, QLocale::LongFormat);
  fs.ShortDayNames = Names(locale, 7, false, QLocale::ShortFormat);
  fs.LongDayNames = Names(locale, 7, false, QLocale::LongFormat);
  return fs;
}

TFormatSettings TFormatSettings::Turkish() {
  TFormatSettings fs = FromLocale(QLocale(QLocale::Turkish, QLocale::Turkey));
  fs.DecimalSeparator = QLatin1Char(',');
  fs.ThousandSeparator = QLatin1Char('.');
  fs.DateSeparator = QLatin1Char('.');
  fs.TimeSeparator = QLatin1Char(':');
  fs.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
  fs.LongDateFormat = QStringLiteral("dd mmmm yyyy dddd");
  fs.ShortTimeFormat = QStringLiteral("hh:nn");
  fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
  fs.TimeAMString = QStringLiteral("ÖÖ");
  fs.TimePMString = QStringLiteral("ÖS");
  return fs;
}

// ---- integers --------------------------------------------------------------

std::optional<int> TryStrToInt(const QString& s) {
  int i = 0;
  while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) negative = s[i++] == QLatin1Char('-');
  int base = 10;
  if (i < s.size() && s[i] == QLatin1Char('$')) {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == QLatin1Char('0') &&
             (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return std::nullopt;
  int64_t value = 0;
  const int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
  for (; i < s.size(); ++i) {
    const int digit = s[i].unicode() < 128 ? QChar(s[i]).digitValue() : -1;
    int d = digit;
    if (base == 16 && d < 0) {
      const char16_t c = s[i].toLower().unicode();
      if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
    }
    if (d < 0 || d >= base) return std::nullopt;
    value = value * base + d;
    if (value > limit) return std::nullopt;
  }
  // Hexadecimal text gives the 32-bit pattern, so $FFFFFFFF is -1.
  if (base == 16) value = static_cast<int32_t>(static_cast<uint32_t>(value));
  return static_cast<int>(negative ? -value : value);
}

int StrToInt(const QString& s) {
  if (auto v = TryStrToInt(s)) return *v;
  throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
}

int StrToIntDef(const QString& s, int fallback) { return TryStrToInt(s).value_or(fallback); }

QString IntToStr(int64_t value) { return QString::number(value); }

// ---- floating point --------------------------------------------------------

namespace {

// A decimal number as 0.Digits × 10^Exponent, Digits without leading or
// trailing zeros (empty for zero).
struct TDecimalText {
  bool Negative = false;
  std::string Digits;
  int64_t Exponent = 0;
};

// Further exponent digits cannot matter: the value is far outside every
// double either way.
constexpr int64_t kExponentCap = 100000;

// Reads [sign] digits [separator digits] [E [sign] digits]; false for
// anything else.
bool ScanDecimal(const QString& t, QChar separator, TDecimalText& out) {
  int i = 0;
  if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) out.Negative = t[i++] == QLatin1Char('-');
  auto isDigit = [&t](int k) { return k < t.size() && t[k] >= QLatin1Char('0') && t[k] <= QLatin1Char('9'); };
  int mantissa = 0;
  int64_t pointAt = 0;
  for (; isDigit(i); ++i, ++mantissa, ++pointAt) out.Digits += char(t[i].unicode());
  if (i < t.size() && t[i] == separator)
    for (++i; isDigit(i); ++i, ++mantissa) out.Digits += char(t[i].unicode());
  if (mantissa == 0) return false;
  int64_t exponent = 0;
  if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
    ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) negative = t[i++] == QLatin1Char('-');
    if (!isDigit(i)) return false;
    for (; isDigit(i); ++i) exponent = std::min(exponent * 10 + (t[i].unicode() - u'0'), kExponentCap);
    if (negative) exponent = -exponent;
  }
  if (i != t.size()) return false;
  const size_t first = out.Digits.find_first_not_of('0');
  if (first == std::string::npos) {
    out.Digits.clear();
    return true;
  }
  out.Digits.erase(out.Digits.find_last_not_of('0') + 1);
  out.Digits.erase(0, first);
  out.Exponent = pointAt - int64_t(first) + exponent;
  return true;
}

// The largest double written with 15 significant digits lies just past it;
// such texts read as the largest double, so every FloatToStr text reads back.
bool RoundsToLargestDouble(const TDecimalText& d) {
  return d.Exponent == std::numeric_limits<double>::max_exponent10 + 1 && d.Digits <= "179769313486232";
}

// Converts without the C library's locale.
std::optional<double> ToDouble(const TDecimalText& d) {
  if (d.Digits.empty()) return d.Negative ? -0.0 : 0.0;
  const std::string text = "0." + d.Digits + "e" + std::to_string(d.Exponent);
  double v = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), v).ec == std::errc::result_out_of_range) {
    if (d.Exponent <= 0)
      v = 0;  // too small: reads as zero
    else if (RoundsToLargestDouble(d))
      v = std::numeric_limits<double>::max();
    else
      return std::nullopt;
  }
  return d.Negative ? -v : v;
}

}  // namespace

std::optional<double> TryStrToFloat(const QString& s, const TFormatSettings& fs) {
  TDecimalText decimal;
  if (!ScanDecimal(s.trimmed(), fs.DecimalSeparator, decimal)) return std::nullopt;
  return ToDouble(decimal);
}

double StrToFloat(const QString& s, const TFormatSettings& fs) {
  if (auto v = TryStrToFloat(s, fs)) return *v;
  throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
}

TSignificantDigits SignificantDigits(double value) {
  char buf[32];  // d.dddddddddddddde±xxx
  const auto written = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  const char* e = std::find(buf, written.ptr, 'e');
  TSignificantDigits out;
  out.Digits = QString::fromLatin1(buf, 1) + QString::fromLatin1(buf + 2, int(e - buf - 2));
  const char* exponent = e + 1 + (e[1] == '+');
  std::from_chars(exponent, written.ptr, out.Exponent);
  return out;
}

QString FloatToStr(double value, const TFormatSettings& fs) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (value == 0) return QStringLiteral("0");
  auto [digits, exponent] = SignificantDigits(value);
  while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) digits.chop(1);
  QString out = value < 0 ? QStringLiteral("-") : QString();
  if (exponent >= 15 || exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) out += fs.DecimalSeparator + digits.mid(1);
    return out + QLatin1Char('E') + QString::number(exponent);
  }
  if (exponent < 0)
    return out + QLatin1Char('0') + fs.DecimalSeparator + QString(-exponent - 1, QLatin1Char('0')) + digits;
  const QString whole = digits.left(exponent + 1).leftJustified(exponent + 1, QLatin1Char('0'));
  const QString fraction = digits.mid(exponent + 1);
  return out + whole + (fraction.isEmpty() ? QString() : fs.DecimalSeparator + fraction);
}

// ---- date and time ---------------------------------------------------------

namespace {

const QDate kEpoch(1899, 12, 30);

bool ValidTime(int h, int n, int s, int z) {
  return h >= 0 && h < 24 && n >= 0 && n < 60 && s >= 0 && s < 60 && z >= 0 && z < 1000;
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999) return std::nullopt;
  const QDate d(year, month, day);
  if (!d.isValid()) return std::nullopt;
  return static_cast<double>(kEpoch.daysTo(d));
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  if (auto d = TryEncodeDate(year, month, day)) return *d;
  throw EConvertError(QStringLiteral("Invalid argument to date encode"));
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  if (!ValidTime(hour, min, sec, msec)) throw EConvertError(QStringLiteral("Invalid argument to time encode"));
  return (((hour * 60 + min) * 60 + sec) * 1000 + msec) / kMSecsPerDay;
}

namespace {

// The days of 1 January 1 and 31 December 9999.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;
constexpr int64_t kMSecsInDay = 86400000;

[[noreturn]] void DateTimeRangeError(TDateTime dt) {
  throw EConvertError(QStringLiteral("%1 is not a date and time within the years 1 to 9999").arg(FloatToStr(dt)));
}

// Splits a date-time into whole days and milliseconds of the day, rounding
// to the nearest millisecond. The whole part is the day and the fraction,
// whatever the sign, the time of day; a time that rounds up to midnight is
// the start of the following day.
void Split(TDateTime dt, int64_t& days, int64_t& msecs) {
  if (!(dt > double(kFirstDay - 1) && dt < double(kLastDay + 1))) DateTimeRangeError(dt);
  const double whole = std::trunc(dt);
  days = static_cast<int64_t>(whole);
  msecs = std::llround(std::fabs(dt - whole) * kMSecsPerDay);
  if (msecs >= kMSecsInDay) {
    msecs -= kMSecsInDay;
    ++days;
  }
  if (days > kLastDay) DateTimeRangeError(dt);
}

struct TDateTimeParts {
  int Year, Month, Day, DayOfWeek;  // Sunday 0
  int Hour, Min, Sec, MSec;
};

TDateTimeParts PartsOf(TDateTime dt) {
  int64_t days, msecs;
  Split(dt, days, msecs);
  TDateTimeParts p;
  const QDate date = kEpoch.addDays(days);
  date.getDate(&p.Year, &p.Month, &p.Day);
  p.DayOfWeek = date.dayOfWeek() % 7;
  p.Hour = int(msecs / 3600000);
  p.Min = int(msecs / 60000 % 60);
  p.Sec = int(msecs / 1000 % 60);
  p.MSec = int(msecs % 1000);
  return p;
}

}  // namespace

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
  const TDateTimeParts p = PartsOf(dt);
  year = p.Year;
  month = p.Month;
  day = p.Day;
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
  const TDateTimeParts p = PartsOf(dt);
  hour = p.Hour;
  min = p.Min;
  sec = p.Sec;
  msec = p.MSec;
}

TDateTime DateTimeFromQt(const QDateTime& dt) {
  const QTime t = dt.time();
  return kEpoch.daysTo(dt.date()) + t.msecsSinceStartOfDay() / kMSecsPerDay;
}

QDateTime DateTimeToQt(TDateTime dt) {
  int64_t days, msecs;
  Split(dt, days, msecs);
  return QDateTime(kEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

TDateTime Now() { return DateTimeFromQt(QDateTime::currentDateTime()); }

TDateTime Today() { return std::floor(Now()); }

namespace {

// Counts how often the character at pos repeats (case-insensitively).
int RunLength(const QString& f, int pos) {
  int n = 1;
  while (pos + n < f.size() && f[pos + n].toLower() == f[pos].toLower()) ++n;
  return n;
}

bool StartsWithCI(const QString& f, int pos, const char* word) {
  return f.mid(pos, int(std::strlen(word))).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool HasAmPm(const QString& f) {
  return f.contains(QStringLiteral("am/pm"), Qt::CaseInsensitive) ||
         f.contains(QStringLiteral("a/p"), Qt::CaseInsensitive) ||
         f.contains(QStringLiteral("ampm"), Qt::CaseInsensitive);
}

void AppendFormatted(QString& out, const QString& f, const TDateTimeParts& parts, const TFormatSettings& fs,
                     int depth) {
  const auto [y, mo, d, dow, h, n, s, z] = parts;
  const bool twelve = HasAmPm(f);
  const int shownHour = twelve ? (h % 12 == 0 ? 12 : h % 12) : h;
  auto pad = [](int v, int w) { return QString::number(v).rightJustified(w, QLatin1Char('0')); };
  auto nested = [&](const QString& inner) {
    if (depth < 2) AppendFormatted(out, inner, parts, fs, depth + 1);
  };
  bool afterHour = false;
  for (int i = 0; i < f.size();) {
    const QChar c = f[i];
    const QChar lc = c.toLower();
    if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      const int end = f.indexOf(c, i + 1);
      const int stop = end < 0 ? f.size() : end;
      out += f.mid(i + 1, stop - i - 1);
      i = stop + 1;
      continue;
    }
    if (lc == QLatin1Char('a')) {
      const bool pm = h >= 12;
      if (StartsWithCI(f, i, "am/pm")) {
        out += f.mid(i + (pm ? 3 : 0), 2);
        i += 5;
        continue;
      }
      if (StartsWithCI(f, i, "a/p")) {
        out += f[i + (pm ? 2 : 0)];
        i += 3;
        continue;
      }
      if (StartsWithCI(f, i, "ampm")) {
        out += pm ? fs.TimePMString : fs.TimeAMString;
        i += 4;
        continue;
      }
    }
    const int run = RunLength(f, i);
    if (lc == QLatin1Char('y')) {
      out += run <= 2 ? pad(y % 100, 2) : pad(y, 4);
    } else if (lc == QLatin1Char('d')) {
      if (run == 1)
        out += QString::number(d);
      else if (run == 2)
        out += pad(d, 2);
      else if (run == 3)
        out += fs.ShortDayNames.value(dow);
      else if (run == 4)
        out += fs.LongDayNames.value(dow);
      else if (run == 5)
        nested(fs.ShortDateFormat);
      else
        nested(fs.LongDateFormat);
    } else if (lc == QLatin1Char('m')) {
      if (afterHour && run <= 2)
        out += run == 1 ? QString::number(n) : pad(n, 2);
      else if (run == 1)
        out += QString::number(mo);
      else if (run == 2)
        out += pad(mo, 2);
      else if (run == 3)
        out += fs.ShortMonthNames.value(mo - 1);
      else
        out += fs.LongMonthNames.value(mo - 1);
    } else if (lc == QLatin1Char('h'))
      out += run == 1 ? QString::number(shownHour) : pad(shownHour, 2);
    else if (lc == QLatin1Char('n'))
      out += run == 1 ? QString::number(n) : pad(n, 2);
    else if (lc == QLatin1Char('s'))
      out += run == 1 ? QString::number(s) : pad(s, 2);
    else if (lc == QLatin1Char('z'))
      out += run >= 3 ? pad(z, 3) : QString::number(z);
    else if (lc == QLatin1Char('t'))
      nested(run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat);
    else if (lc == QLatin1Char('c')) {
      nested(fs.ShortDateFormat);
      if (h || n || s || z) {
        out += QLatin1Char(' ');
        nested(fs.LongTimeFormat);
      }
    } else if (c == QLatin1Char('/')) {
      out += QString(run, fs.DateSeparator);
    } else if (c == QLatin1Char(':')) {
      out += QString(run, fs.TimeSeparator);
    } else
      out += QString(run, c);
    if (lc == QLatin1Char('h'))
      afterHour = true;
    else if (lc != QLatin1Char(':') && !lc.isSpace())
      afterHour = false;
    i += run;
  }
}

}  // namespace

QString FormatDateTime(const QString& format, TDateTime dt, const TFormatSettings& fs) {
  QString out;
  AppendFormatted(out, format.isEmpty() ? QStringLiteral("c") : format, PartsOf(dt), fs, 0);
  return out;
}

QString DateToStr(TDateTime dt, const TFormatSettings& fs) { return FormatDateTime(fs.ShortDateFormat, dt, fs); }
QString TimeToStr(TDateTime dt, const TFormatSettings& fs) { return FormatDateTime(fs.LongTimeFormat, dt, fs); }
QString DateTimeToStr(TDateTime dt, const TFormatSettings& fs) { return FormatDateTime(QStringLiteral("c"), dt, fs); }

namespace {

struct Scanner {
  const QString& s;
  int i = 0;
  void SkipBlanks() {
    while (i < s.size() && s[i].isSpace()) ++i;
  }
  bool Number(int& v, int& len) {
    SkipBlanks();
    const int start = i;
    v = 0;
    while (i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9') && i - start < 9)
      v = v * 10 + (s[i++].unicode() - '0');
    len = i - start;
    return len > 0;
  }
  bool Char(QChar c) {
    SkipBlanks();
    if (i < s.size() && s[i] == c) {
      ++i;
      return true;
    }
    return false;
  }
  bool Done() {
    SkipBlanks();
    return i >= s.size();
  }
};

// The order of day, month and year follows the short date format.
QString DateOrder(const QString& format) {
  QString order;
  for (QChar c : format) {
    const QChar l = c.toLower();
    if ((l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y')) && !order.contains(l)) order += l;
  }
  return order.size() == 3 ? order : QStringLiteral("mdy");
}

bool ScanDate(Scanner& sc, const TFormatSettings& fs, TDateTime& out) {
  int v[3], len[3], count = 0;
  if (!sc.Number(v[0], len[0])) return false;
  count = 1;
  while (count < 3 && sc.Char(fs.DateSeparator)) {
    if (!sc.Number(v[count], len[count])) return false;
    ++count;
  }
  if (count < 2) return false;
  const QString order = DateOrder(fs.ShortDateFormat);
  int y = QDate::currentDate().year(), m = 0, d = 0, yearLen = 4;
  if (count == 3) {
    for (int k = 0; k < 3; ++k) {
      const QChar which = order[k];
      if (which == QLatin1Char('y')) {
        y = v[k];
        yearLen = len[k];
      } else if (which == QLatin1Char('m'))
        m = v[k];
      else
        d = v[k];
    }
  } else {
    const bool dayFirst = order.indexOf(QLatin1Char('d')) < order.indexOf(QLatin1Char('m'));
    d = dayFirst ? v[0] : v[1];
    m = dayFirst ? v[1] : v[0];
  }
  if (yearLen <= 2) {
    // Two-digit years fall within 50 years of now.
    const int now = QDate::currentDate().year();
    y += now / 100 * 100;
    if (y < now - 50)
      y += 100;
    else if (y > now + 49)
      y -= 100;
  }
  const auto date = TryEncodeDate(y, m, d);
  if (date) out = *date;
  return date.has_value();
}

bool ScanTime(Scanner& sc, const TFormatSettings& fs, TDateTime& out) {
  int h = 0, n = 0, s = 0, z = 0, len;
  if (!sc.Number(h, len)) return false;
  if (sc.Char(fs.TimeSeparator)) {
    if (!sc.Number(n, len)) return false;
    if (sc.Char(fs.TimeSeparator)) {
      if (!sc.Number(s, len)) return false;
      if (sc.Char(fs.DecimalSeparator) && !sc.Number(z, len)) return false;
    }
  }
  sc.SkipBlanks();
  const QString rest = sc.s.mid(sc.i);
  auto suffix = [&](const QString& word) { return !word.isEmpty() && rest.startsWith(word, Qt::CaseInsensitive); };
  if (suffix(fs.TimeAMString) || suffix(QStringLiteral("AM"))) {
    if (h > 12) return false;
    if (h == 12) h = 0;
    sc.i += suffix(fs.TimeAMString) ? fs.TimeAMString.size() : 2;
  } else if (suffix(fs.TimePMString) || suffix(QStringLiteral("PM"))) {
    if (h > 12) return false;
    if (h < 12) h += 12;
    sc.i += suffix(fs.TimePMString) ? fs.TimePMString.size() : 2;
  }
  if (!ValidTime(h, n, s, z)) return false;
  out = EncodeTime(h, n, s, z);
  return true;
}

}  // namespace

TDateTime StrToDate(const QString& s, const TFormatSettings& fs) {
  Scanner sc{s};
  TDateTime d;
  if (ScanDate(sc, fs, d) && sc.Done()) return d;
  throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(s));
}

TDateTime StrToTime(const QString& s, const TFormatSettings& fs) {
  Scanner sc{s};
  TDateTime t;
  if (ScanTime(sc, fs, t) && sc.Done()) return t;
  throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(s));
}

std::optional<TDateTime> TryStrToDateTime(const QString& s, const TFormatSettings& fs) {
  Scanner sc{s};
  TDateTime d = 0, t = 0;
  if (ScanDate(sc, fs, d)) {
    if (sc.Done()) return d;
    if (ScanTime(sc, fs, t) && sc.Done()) return d + (d < 0 ? -t : t);
    return std::nullopt;
  }
  sc.i = 0;
  if (ScanTime(sc, fs, t) && sc.Done()) return t;
  return std::nullopt;
}

TDateTime StrToDateTime(const QString& s, const TFormatSettings& fs) {
  if (auto v = TryStrToDateTime(s, fs)) return *v;
  throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(s));
}
