// Caller-ID messages as a line or a modem delivers them: data messages in
// the single and multiple data formats (checksum included or not) and DTMF
// strings. No crash, no call from a message whose checksum fails, and what
// a call carries is fit to be shown.
//
// The first byte chooses frame or DTMF; the rest is the message.

#include <QRegularExpression>

#include "FuzzSupport.h"
#include "device/CallerIdMessage.h"

namespace {

void CheckReport(const TCallerIdReport& r, const QString& what) {
  auto printable = [](const QString& text, int maxLength) {
    return text.size() <= maxLength && PrintableText(text, maxLength) == text;
  };
  if (!printable(r.number, kMaxNumberLength) || !printable(r.name, kMaxNameLength))
    FuzzFailure(QStringLiteral("%1: number '%2' or name '%3' unfit to show").arg(what, r.number, r.name));
  if (!r.numberAbsent.isNull() && r.numberAbsent != u'P' && r.numberAbsent != u'O')
    FuzzFailure(QStringLiteral("%1: absence reason '%2'").arg(what, r.numberAbsent));
  if (!r.number.isEmpty() && !r.numberAbsent.isNull())
    FuzzFailure(QStringLiteral("%1: both a number and a reason for its absence").arg(what));
  if (LacksNumber(r)) FuzzFailure(QStringLiteral("%1: a call without number or reason").arg(what));
  FieldsText(r);
}

void Frame(const QByteArray& bytes) {
  const QString what = HexText(bytes.left(64));
  DecodeFrame(bytes);  // public: any bytes at all
  const TFrameReading reading = ReadFrame(bytes);
  if ((reading.check == TFrameCheck::fcGood) != reading.report.has_value())
    FuzzFailure(QStringLiteral("%1: check and report disagree").arg(what));
  if (reading.report && CheckFrame(bytes) != TFrameCheck::fcGood)
    FuzzFailure(QStringLiteral("%1: a report from a message that fails its check").arg(what));
  if (reading.report) CheckReport(*reading.report, what);
}

void Dtmf(const QByteArray& bytes) {
  const QString text = QString::fromLatin1(bytes);
  const std::optional<TCallerIdReport> report = DecodeDtmf(text);
  if (!report) return;
  static const QRegularExpression digitString(QRegularExpression::anchoredPattern(QStringLiteral("[0-9A-D#*]+")));
  if (!digitString.match(text).hasMatch()) FuzzFailure(QStringLiteral("DTMF '%1' is no digit string").arg(text));
  if (!report->number.isEmpty() && !text.contains(report->number))
    FuzzFailure(QStringLiteral("DTMF '%1' gave number '%2'").arg(text, report->number));
  CheckReport(*report, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 300) return -1;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
  if (data[0] & 1)
    Dtmf(bytes);
  else
    Frame(bytes);
  return 0;
}
