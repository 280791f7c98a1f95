#pragma once
// Caller-ID messages as exchanges send them: the FSK data messages (single
// and multiple data message formats, with their checksum) and the DTMF digit
// strings. Only decoding and checking here; no signal handling.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <optional>

// What one caller-ID message says.
struct TCallerIdReport {
  QString number;      // empty when withheld or unavailable
  QString name;        // empty when not sent
  QString dateTime;    // "MMDDHHMM" as sent, empty when not sent
  QChar numberAbsent;  // 'P' withheld (private), 'O' unavailable; null when a number came
  QChar nameAbsent;    // the same for the name
  bool isCall = true;  // false for message-waiting and other notices

  bool operator==(const TCallerIdReport&) const = default;
};

// Caller ID and message waiting, in the single and multiple data message
// formats of both standards: the types a message may start with.
bool IsMessageType(quint8 type);

enum class TFrameCheck { fcGood, fcBadChecksum, fcBadLength };

// Checks a whole data message: type, length, payload and checksum byte.
// The length byte must match and all bytes must add up to 0 modulo 256.
TFrameCheck CheckFrame(const QByteArray& frame);

// Reads the fields of a good frame. Unknown parameters are skipped; a
// parameter that runs past the payload, or a frame shorter than type,
// length and checksum, answers nullopt.
std::optional<TCallerIdReport> DecodeFrame(const QByteArray& frame);

struct TFrameReading {
  TFrameCheck check = TFrameCheck::fcGood;
  std::optional<TCallerIdReport> report;  // set when the check is good
};
// Checks and decodes a data message; a good checksum over parameters that
// run past the message, or over a call without number or reason, reads as
// fcBadLength.
TFrameReading ReadFrame(const QByteArray& frame);

// The longest DTMF caller-ID string, markers included: the longest real
// one is well under it, and a longer one is broken.
constexpr int kMaxDtmfLength = 32;

// A DTMF caller-ID string, start and end markers included ("A0532…C",
// "D1#", "B10C"); nullopt when it is not one.
std::optional<TCallerIdReport> DecodeDtmf(const QString& digits);

// The longest number and name that reach the call list; the frame log keeps
// the raw bytes of whatever came.
constexpr int kMaxNumberLength = 32;
constexpr int kMaxNameLength = 50;

// text without control characters, cut to maxLength characters: what a
// device sends is shown to the user and stored, never trusted.
QString PrintableText(const QString& text, int maxLength);

// Sets the number from a number field: "O" and "P" stand for the reason it is missing.
void SetNumberField(TCallerIdReport& report, const QString& text);
// The same for the name.
void SetNameField(TCallerIdReport& report, const QString& text);

// A call that says neither its number nor why it has none: an incomplete
// message, never a call.
bool LacksNumber(const TCallerIdReport& report);

// "iyi", "sağlama hatalı", "eksik": a check's verdict for the frame log.
QString CheckText(TFrameCheck check);

// "04 12 30 39": the frame's bytes for the frame log.
QString HexText(const QByteArray& bytes);
// The bytes of a line of hexadecimal digits (blanks between bytes allowed);
// nullopt when the line is anything else.
std::optional<QByteArray> ParseHexLine(const QString& line);

// "numara 0532…, ad AHMET, tarih 03211405": the fields for the frame log.
QString FieldsText(const TCallerIdReport& report);
// The reason a number is missing, in words: "gizli numara" …
QString AbsenceText(QChar reason);
