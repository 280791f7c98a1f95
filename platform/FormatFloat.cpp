#include "platform/FormatFloat.h"

#include <cmath>
#include <vector>

namespace {

// value = 0.digits × 10^exponent; no digits for zero.
struct Decimal {
  QString digits;
  int exponent = 0;
};

Decimal ToDecimal(double value) {
  if (value == 0) return {};
  const TSignificantDigits significant = SignificantDigits(value);
  return {significant.Digits, significant.Exponent + 1};
}

// Keeps `decimals` digits after the point, rounding half away from zero.
Decimal Rounded(Decimal d, int decimals) {
  const int keep = d.exponent + decimals;
  if (keep < 0) return {};
  if (keep >= d.digits.size()) return d;
  const bool up = d.digits[keep] >= QLatin1Char('5');
  d.digits.truncate(keep);
  if (!up) return d;
  int i = keep - 1;
  while (i >= 0 && d.digits[i] == QLatin1Char('9')) d.digits[i--] = QLatin1Char('0');
  if (i >= 0) {
    d.digits[i] = QChar(d.digits[i].unicode() + 1);
  } else {
    d.digits.prepend(QLatin1Char('1'));
    ++d.exponent;
  }
  return d;
}

QString IntegerDigits(const Decimal& d) {
  if (d.exponent <= 0) return QString();
  QString s = d.digits.left(d.exponent).leftJustified(d.exponent, QLatin1Char('0'));
  while (s.startsWith(QLatin1Char('0'))) s.remove(0, 1);
  return s;
}

QString FractionDigits(const Decimal& d, int count) {
  QString s;
  for (int k = 0; k < count; ++k) {
    const int at = d.exponent + k;
    s += at >= 0 && at < d.digits.size() ? d.digits[at] : QLatin1Char('0');
  }
  return s;
}

struct Token {
  enum Kind { IntDigit, FracDigit, Point, Exponent, Literal } kind;
  QString text;       // literal text, or the exponent letter
  bool zero = false;  // '0' rather than '#'
  bool plus = false;  // exponent always signed
  int width = 0;      // exponent digits
};

struct Section {
  std::vector<Token> tokens;
  int intCount = 0;
  int intMin = 0;
  int fracCount = 0;
  int fracMin = 0;
  bool thousands = false;
  bool scientific = false;
};

Section Parse(const QString& f) {
  Section s;
  bool afterPoint = false;
  int firstZero = -1;
  for (int i = 0; i < f.size(); ++i) {
    const QChar c = f[i];
    if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      const int end = f.indexOf(c, i + 1);
      const int stop = end < 0 ? f.size() : end;
      s.tokens.push_back({Token::Literal, f.mid(i + 1, stop - i - 1)});
      i = stop;
    } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
      const bool zero = c == QLatin1Char('0');
      if (afterPoint) {
        s.tokens.push_back({Token::FracDigit, {}, zero});
        ++s.fracCount;
        if (zero) s.fracMin = s.fracCount;
      } else {
        s.tokens.push_back({Token::IntDigit, {}, zero});
        if (zero && firstZero < 0) firstZero = s.intCount;
        ++s.intCount;
      }
    } else if (c == QLatin1Char('.')) {
      if (!afterPoint) s.tokens.push_back({Token::Point, {}});
      afterPoint = true;
    } else if (c == QLatin1Char(',')) {
      s.thousands = true;
    } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < f.size() &&
               (f[i + 1] == QLatin1Char('+') || f[i + 1] == QLatin1Char('-'))) {
      Token t{Token::Exponent, QString(c)};
      t.plus = f[i + 1] == QLatin1Char('+');
      i += 2;
      while (i < f.size() && f[i] == QLatin1Char('0') && t.width < 4) {
        ++t.width;
        ++i;
      }
      --i;
      s.tokens.push_back(t);
      s.scientific = true;
    } else {
      s.tokens.push_back({Token::Literal, QString(c)});
    }
  }
  s.intMin = firstZero < 0 ? 0 : s.intCount - firstZero;
  return s;
}

QStringList Sections(const QString& format) {
  QStringList sections;
  QString current;
  QChar quote;
  for (QChar c : format) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      quote = c;
    } else if (c == QLatin1Char(';')) {
      sections << current;
      current.clear();
      continue;
    }
    current += c;
  }
  sections << current;
  return sections;
}

QString FormatSection(const Section& s, double magnitude, bool negative, const TFormatSettings& fs) {
  Decimal d = ToDecimal(magnitude);
  int exponent = 0;
  if (s.scientific && !d.digits.isEmpty()) {
    const int intDigits = std::max(1, s.intCount);
    exponent = d.exponent - intDigits;
    d.exponent = intDigits;
    d = Rounded(d, s.fracCount);
    if (d.exponent > intDigits) {
      ++exponent;
      d.exponent = intDigits;
    }
  } else {
    d = Rounded(d, s.fracCount);
  }
  QString whole = IntegerDigits(d);
  if (whole.size() < s.intMin) whole = whole.rightJustified(s.intMin, QLatin1Char('0'));
  QString fraction = FractionDigits(d, s.fracCount);
  while (fraction.size() > s.fracMin && fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);

  const bool allZero = QString(whole + fraction).count(QLatin1Char('0')) == whole.size() + fraction.size();
  QString out = negative && !allZero ? QStringLiteral("-") : QString();
  auto emitDigit = [&](int index) {
    out += whole[index];
    const int fromRight = whole.size() - 1 - index;
    if (s.thousands && fromRight > 0 && fromRight % 3 == 0) out += fs.ThousandSeparator;
  };
  int intSeen = 0, fracSeen = 0;
  for (const Token& t : s.tokens) {
    switch (t.kind) {
      case Token::IntDigit: {
        // The first placeholder takes every digit the others have no room for.
        const int position = s.intCount - 1 - intSeen++;
        const int index = whole.size() - 1 - position;
        if (intSeen == 1)
          for (int k = 0; k < index; ++k) emitDigit(k);
        if (index >= 0) emitDigit(index);
        break;
      }
      case Token::Point:
        if (s.intCount == 0) out += whole;
        if (!fraction.isEmpty()) out += fs.DecimalSeparator;
        break;
      case Token::FracDigit:
        if (fracSeen < fraction.size()) out += fraction[fracSeen];
        ++fracSeen;
        break;
      case Token::Exponent:
        out += t.text;
        if (exponent < 0)
          out += QLatin1Char('-');
        else if (t.plus)
          out += QLatin1Char('+');
        out += QString::number(std::abs(exponent)).rightJustified(t.width, QLatin1Char('0'));
        break;
      case Token::Literal:
        out += t.text;
        break;
    }
  }
  return out;
}

}  // namespace

QString FormatFloat(const QString& format, double value, const TFormatSettings& fs) {
  if (format.isEmpty() || !std::isfinite(value)) return FloatToStr(value, fs);
  const QStringList sections = Sections(format);
  if (value < 0 && sections.size() > 1 && !sections[1].isEmpty())
    return FormatSection(Parse(sections[1]), -value, false, fs);
  if (value == 0 && sections.size() > 2 && !sections[2].isEmpty())
    return FormatSection(Parse(sections[2]), 0, false, fs);
  return FormatSection(Parse(sections[0]), std::fabs(value), value < 0, fs);
}
