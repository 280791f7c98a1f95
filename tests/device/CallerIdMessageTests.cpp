#include <gtest/gtest.h>

#include "TestSupport.h"
#include "device/CallerIdMessage.h"

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

TCallerIdReport Call(QString number, QString name = {}, QString dateTime = {}) {
  TCallerIdReport r;
  r.number = std::move(number);
  r.name = std::move(name);
  r.dateTime = std::move(dateTime);
  return r;
}

TCallerIdReport Withheld(QChar reason, QString dateTime = {}) {
  TCallerIdReport r;
  r.numberAbsent = reason;
  r.dateTime = std::move(dateTime);
  return r;
}

struct FrameRow {
  const char* name;
  const char* hex;
  TFrameCheck check;
  std::optional<TCallerIdReport> report;
};

void PrintTo(const FrameRow& row, std::ostream* os) { *os << row.name; }

class FrameReading : public ::testing::TestWithParam<FrameRow> {};

// Frames written out by hand from the message formats, checksums included,
// so that the checksum rule and the field layout are tested independently.
INSTANTIATE_TEST_SUITE_P(
    Messages, FrameReading,
    ::testing::Values(
        // The single data message example of the format's documentation: 30 Sep 12:24, 609 555 1212.
        FrameRow{"SingleDataExample", "041230393330313232343630393535353132313251", TFrameCheck::fcGood,
                 Call("6095551212", {}, "09301224")},
        FrameRow{"SingleDataWithheld", "040930333231313430355013", TFrameCheck::fcGood, Withheld(u'P', "03211405")},
        FrameRow{"SingleDataUnavailable", "040930333231313430354F14", TFrameCheck::fcGood, Withheld(u'O', "03211405")},
        FrameRow{"MultipleDataInternationalWithName",
                 "802201083033323131343035020d2b393035333231323334353637070741484d4554205926", TFrameCheck::fcGood,
                 Call("+905321234567", "AHMET Y", "03211405")},
        FrameRow{"MultipleDataAbsenceParameters", "8006040150080150CC", TFrameCheck::fcGood,
                 [] {
                   TCallerIdReport r = Withheld(u'P');
                   r.nameAbsent = u'P';
                   return r;
                 }()},
        FrameRow{"MultipleDataUnknownParameterSkipped", "800911023132020331323366", TFrameCheck::fcGood, Call("123")},
        FrameRow{"MessageWaitingIsNoCall", "820301010178", TFrameCheck::fcGood,
                 [] {
                   TCallerIdReport r;
                   r.isCall = false;
                   return r;
                 }()},
        FrameRow{"ChecksumOffByOne", "041230393330313232343630393535353132313252", TFrameCheck::fcBadChecksum,
                 std::nullopt},
        FrameRow{"BitFlippedInNumber", "041230393330313232343630393535353133313251", TFrameCheck::fcBadChecksum,
                 std::nullopt},
        FrameRow{"CutShort", "04123039333031323234363039", TFrameCheck::fcBadLength, std::nullopt},
        FrameRow{"LongerThanItsLength", "040130CB00", TFrameCheck::fcBadLength, std::nullopt},
        FrameRow{"OnlyTypeAndLength", "0400", TFrameCheck::fcBadLength, std::nullopt},
        FrameRow{"ParameterRunsPastMessage", "8004020931320E", TFrameCheck::fcBadLength, std::nullopt},
        // A call that says neither its number nor why it has none is incomplete, never a call.
        FrameRow{"EmptySingleDataIsIncomplete", "0400FC", TFrameCheck::fcBadLength, std::nullopt},
        FrameRow{"NameWithoutNumberIsIncomplete", "8007070541484d4554fe", TFrameCheck::fcBadLength, std::nullopt},
        FrameRow{"OnlyControlCharactersIsIncomplete", "80040202010275", TFrameCheck::fcBadLength, std::nullopt},
        FrameRow{"UnknownReasonReadsUnavailable", "800304012f49", TFrameCheck::fcGood, Withheld(u'O')},
        FrameRow{"NumberWinsOverAReasonBesideIt", "800904015002043035333252", TFrameCheck::fcGood, Call("0532")},
        FrameRow{"ControlCharactersLeftOut", "8010020630350133320007064148074d45541a", TFrameCheck::fcGood,
                 Call("0532", "AHMET")},
        FrameRow{"NumberCutAt32",
                 "802a02283131313131313131313131313131313131313131313131313131313131313131313131313131313184",
                 TFrameCheck::fcGood, Call(QString(32, u'1'))}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(FrameReading, ChecksTheFrameAndReadsItsFields) {
  const FrameRow& row = GetParam();
  const TFrameReading reading = ReadFrame(Hex(row.hex));
  EXPECT_EQ(reading.check, row.check);
  ASSERT_EQ(reading.report.has_value(), row.report.has_value());
  if (row.report) {
    EXPECT_EQ(reading.report->number, row.report->number);
    EXPECT_EQ(reading.report->name, row.report->name);
    EXPECT_EQ(reading.report->dateTime, row.report->dateTime);
    EXPECT_EQ(reading.report->numberAbsent, row.report->numberAbsent);
    EXPECT_EQ(reading.report->nameAbsent, row.report->nameAbsent);
    EXPECT_EQ(reading.report->isCall, row.report->isCall);
  }
}

struct DtmfRow {
  const char* name;
  const char* digits;
  std::optional<TCallerIdReport> report;
};

void PrintTo(const DtmfRow& row, std::ostream* os) { *os << row.name; }

class DtmfReading : public ::testing::TestWithParam<DtmfRow> {};

INSTANTIATE_TEST_SUITE_P(Strings, DtmfReading,
                         ::testing::Values(DtmfRow{"NumberEndedByC", "A05321234567C", Call("05321234567")},
                                           DtmfRow{"NumberEndedByHash", "A05321234567#", Call("05321234567")},
                                           DtmfRow{"NumberWithRedirection", "A0532D0212C", Call("0532")},
                                           DtmfRow{"NumberWithInformation", "A0532B00C", Call("0532")},
                                           DtmfRow{"InformationWithheld", "B10C", Withheld(u'P')},
                                           DtmfRow{"InformationUnavailable", "B00C", Withheld(u'O')},
                                           DtmfRow{"EmptyNumberWithheld", "AB10C", Withheld(u'P')},
                                           DtmfRow{"ReasonPrivate", "D1#", Withheld(u'P')},
                                           DtmfRow{"ReasonInternational", "D2#", Withheld(u'O')},
                                           DtmfRow{"NumberFramedByD", "D05321234567C", Call("05321234567")},
                                           // Dialled on a keypad: no start marker, never a call.
                                           DtmfRow{"DialledDigitsWithHash", "05321234567#", std::nullopt},
                                           DtmfRow{"NoEndMarker", "A0532", std::nullopt},
                                           DtmfRow{"UnknownReason", "D7#", std::nullopt},
                                           DtmfRow{"Empty", "", std::nullopt},
                                           DtmfRow{"TrailingLineFeed", "D88C\n", std::nullopt},
                                           DtmfRow{"NumberWithTrailingLineFeed", "A0532C\n", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(DtmfReading, ReadsMarkedStringsOnly) {
  const DtmfRow& row = GetParam();
  const std::optional<TCallerIdReport> report = DecodeDtmf(QString::fromLatin1(row.digits));
  ASSERT_EQ(report.has_value(), row.report.has_value());
  if (report) {
    EXPECT_EQ(*report, *row.report);
  }
}

TEST(FrameDecoding, TooShortForTypeLengthAndChecksumIsNoMessage) {
  EXPECT_EQ(DecodeFrame(QByteArray()), std::nullopt);
  EXPECT_EQ(DecodeFrame(Hex("04")), std::nullopt);
  EXPECT_EQ(DecodeFrame(Hex("0400")), std::nullopt);
}

TEST(HexLines, OnlyWholeBytesOfHexadecimalDigitsAreFrames) {
  EXPECT_EQ(ParseHexLine(QStringLiteral("04 12 30")), Hex("041230"));
  EXPECT_EQ(ParseHexLine(QStringLiteral("  80aBcD ")), Hex("80abcd"));
  EXPECT_EQ(ParseHexLine(QStringLiteral("041")), std::nullopt);  // half a byte
  EXPECT_EQ(ParseHexLine(QStringLiteral("04 1 2")), std::nullopt);
  EXPECT_EQ(ParseHexLine(QStringLiteral("RING")), std::nullopt);
  EXPECT_EQ(ParseHexLine(QStringLiteral("NMBR = 0532")), std::nullopt);
  EXPECT_EQ(ParseHexLine(QString()), std::nullopt);
  EXPECT_EQ(HexText(Hex("04ff00")), QStringLiteral("04 FF 00"));
}

TEST(FieldTexts, SayWhatTheMessageCarried) {
  EXPECT_EQ(FieldsText(Call("0532", "AHMET", "03211405")), QStringLiteral("numara 0532, ad AHMET, tarih 03211405"));
  EXPECT_EQ(FieldsText(Withheld(u'P')), QStringLiteral("gizli numara"));
  EXPECT_EQ(FieldsText(Withheld(u'O')), QStringLiteral("numara alınamadı"));
  TCallerIdReport notice;
  notice.isCall = false;
  EXPECT_EQ(FieldsText(notice), QStringLiteral("arama dışı bildirim"));
}

}  // namespace
