#include "device/CallerIdMessage.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Message types.
constexpr quint8 kSingleDataCallerId = 0x04;
constexpr quint8 kMultipleDataCallerId = 0x80;

// Parameter types of the multiple data message.
constexpr quint8 kDateTime = 0x01;
constexpr quint8 kNumber = 0x02;
constexpr quint8 kNumberAbsent = 0x04;
constexpr quint8 kName = 0x07;
constexpr quint8 kNameAbsent = 0x08;

constexpr int kDateTimeLength = 8;

QString Latin1(const QByteArray& bytes) { return QString::fromLatin1(bytes).trimmed(); }

// Only 'P' says withheld; anything else a sender puts there means unavailable.
QChar AbsenceReason(const QByteArray& value) { return value.startsWith('P') ? u'P' : u'O'; }

// A number that came wins over a reason for its absence sent beside it.
TCallerIdReport Settled(TCallerIdReport r) {
  if (!r.number.isEmpty()) r.numberAbsent = QChar();
  if (!r.name.isEmpty()) r.nameAbsent = QChar();
  return r;
}

TCallerIdReport DecodeSingleData(const QByteArray& payload) {
  TCallerIdReport r;
  r.dateTime = PrintableText(Latin1(payload.left(kDateTimeLength)), kDateTimeLength);
  SetNumberField(r, Latin1(payload.mid(kDateTimeLength)));
  return r;
}

std::optional<TCallerIdReport> DecodeMultipleData(const QByteArray& payload) {
  TCallerIdReport r;
  for (qsizetype pos = 0; pos < payload.size();) {
    if (pos + 2 > payload.size()) return std::nullopt;
    const quint8 type = quint8(payload[pos]);
    const int length = quint8(payload[pos + 1]);
    if (pos + 2 + length > payload.size()) return std::nullopt;
    const QByteArray value = payload.mid(pos + 2, length);
    switch (type) {
      case kDateTime:
        r.dateTime = PrintableText(Latin1(value), kDateTimeLength);
        break;
      case kNumber:
        SetNumberField(r, Latin1(value));
        break;
      case kNumberAbsent:
        r.numberAbsent = AbsenceReason(value);
        break;
      case kName:
        SetNameField(r, Latin1(value));
        break;
      case kNameAbsent:
        r.nameAbsent = AbsenceReason(value);
        break;
      default:
        break;
    }
    pos += 2 + length;
  }
  return Settled(r);
}

}  // namespace

bool IsMessageType(quint8 type) {
  return type == 0x04 || type == 0x06 || type == 0x80 || type == 0x82 || type == 0x86 || type == 0x89;
}

QString PrintableText(const QString& text, int maxLength) {
  QString out;
  for (QChar c : text)
    if (c.isPrint() && out.size() < maxLength) out += c;
  return out.trimmed();
}

bool LacksNumber(const TCallerIdReport& report) {
  return report.isCall && report.number.isEmpty() && report.numberAbsent.isNull();
}

void SetNumberField(TCallerIdReport& report, const QString& text) {
  if (text == QLatin1String("O") || text == QLatin1String("P"))
    report.numberAbsent = text[0];
  else
    report.number = PrintableText(text, kMaxNumberLength);
}

void SetNameField(TCallerIdReport& report, const QString& text) {
  if (text == QLatin1String("O") || text == QLatin1String("P"))
    report.nameAbsent = text[0];
  else
    report.name = PrintableText(text, kMaxNameLength);
}

QString CheckText(TFrameCheck check) {
  switch (check) {
    case TFrameCheck::fcGood:
      return QStringLiteral("iyi");
    case TFrameCheck::fcBadChecksum:
      return QStringLiteral("sağlama hatalı");
    case TFrameCheck::fcBadLength:
      return QStringLiteral("eksik");
  }
  return {};
}

TFrameCheck CheckFrame(const QByteArray& frame) {
  if (frame.size() < 3 || quint8(frame[1]) != frame.size() - 3) return TFrameCheck::fcBadLength;
  quint8 sum = 0;
  for (char c : frame) sum += quint8(c);
  return sum == 0 ? TFrameCheck::fcGood : TFrameCheck::fcBadChecksum;
}

std::optional<TCallerIdReport> DecodeFrame(const QByteArray& frame) {
  if (frame.size() < 3) return std::nullopt;
  const QByteArray payload = frame.mid(2, frame.size() - 3);
  const quint8 type = quint8(frame[0]);
  if (type == kSingleDataCallerId) return DecodeSingleData(payload);
  if (type == kMultipleDataCallerId) return DecodeMultipleData(payload);
  TCallerIdReport notice;
  notice.isCall = false;
  return notice;
}

TFrameReading ReadFrame(const QByteArray& frame) {
  TFrameReading reading{CheckFrame(frame), std::nullopt};
  if (reading.check != TFrameCheck::fcGood) return reading;
  reading.report = DecodeFrame(frame);
  if (!reading.report || LacksNumber(*reading.report)) {
    reading.check = TFrameCheck::fcBadLength;
    reading.report.reset();
  }
  return reading;
}

std::optional<TCallerIdReport> DecodeDtmf(const QString& digits) {
  // "A<number>[D<redirect>][B<info>]C|#", "B<info>C", "D<1|2|3>#", "D<number>C".
  // The variant without a start marker is not taken: digits dialled on a
  // telephone keypad would read as calls.
  // Whole texts only: "$" would also match before a final line feed.
  static const QRegularExpression marked(
      QRegularExpression::anchoredPattern(QStringLiteral("A(\\d*)(?:D\\d*)?(?:B(\\d\\d))?[C#]")));
  static const QRegularExpression info(QRegularExpression::anchoredPattern(QStringLiteral("B(\\d\\d)C")));
  static const QRegularExpression reason(QRegularExpression::anchoredPattern(QStringLiteral("D([123])#")));
  static const QRegularExpression framedByD(QRegularExpression::anchoredPattern(QStringLiteral("D(\\d+)C")));
  if (digits.size() > kMaxDtmfLength) return std::nullopt;
  TCallerIdReport r;
  // Information codes: 00 number unavailable, 10 withheld.
  auto absenceFromInfo = [](const QString& code) { return code == QLatin1String("10") ? u'P' : u'O'; };
  if (auto m = marked.match(digits); m.hasMatch()) {
    r.number = m.captured(1);
    if (r.number.isEmpty()) r.numberAbsent = absenceFromInfo(m.captured(2));
  } else if (auto m = info.match(digits); m.hasMatch()) {
    r.numberAbsent = absenceFromInfo(m.captured(1));
  } else if (auto m = reason.match(digits); m.hasMatch()) {
    r.numberAbsent = m.captured(1) == QLatin1String("1") ? u'P' : u'O';
  } else if (auto m = framedByD.match(digits); m.hasMatch()) {
    r.number = m.captured(1);
  } else {
    return std::nullopt;
  }
  return r;
}

QString HexText(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ').toUpper()); }

std::optional<QByteArray> ParseHexLine(const QString& line) {
  static const QRegularExpression hex(QStringLiteral("^(?:[0-9A-Fa-f]{2} ?)+$"));
  const QString trimmed = line.trimmed();
  if (!hex.match(trimmed).hasMatch()) return std::nullopt;
  return QByteArray::fromHex(trimmed.toLatin1());
}

QString AbsenceText(QChar reason) {
  if (reason == u'P') return QStringLiteral("gizli numara");
  if (reason == u'O') return QStringLiteral("numara alınamadı");
  return QStringLiteral("numara yok (%1)").arg(reason);
}

QString FieldsText(const TCallerIdReport& report) {
  if (!report.isCall) return QStringLiteral("arama dışı bildirim");
  QStringList parts;
  parts << (report.numberAbsent.isNull() ? QStringLiteral("numara %1").arg(report.number)
                                         : AbsenceText(report.numberAbsent));
  if (!report.name.isEmpty()) parts << QStringLiteral("ad %1").arg(report.name);
  if (!report.dateTime.isEmpty()) parts << QStringLiteral("tarih %1").arg(report.dateTime);
  return parts.join(QStringLiteral(", "));
}
