#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "DeviceTestSupport.h"
#include "ScriptedModem.h"
#include "device/DeviceError.h"
#include "device/SerialZarvo.h"

namespace {

using namespace devtest;

// Short waits, so that the tests of silence and ringing are quick.
TModemLine::TTimings Fast() {
  TModemLine::TTimings t;
  t.answerMs = 300;
  t.dialMs = 5000;
  t.reportQuietMs = 100;
  t.ringHoldMs = 400;
  return t;
}

QHash<QString, QStringList> UsualModem() {
  return {{"AT+GMM", {"U.S. Robotics 56K FAX USB", "OK"}}, {"AT+GSN", {"UR5600123", "OK"}}};
}

// A modem control on scripted modems, started, with its events recorded.
struct ModemBench {
  explicit ModemBench(int modems = 1, QHash<QString, QStringList> answers = UsualModem()) {
    QStringList paths;
    for (int i = 0; i < modems; ++i) {
      this->modems.push_back(std::make_unique<ScriptedModem>(QStringLiteral("modem%1").arg(i + 1)));
      this->modems.back()->answers = answers;
      paths << this->modems.back()->Path();
    }
    zarvo = std::make_unique<TSerialZarvo>(paths, Fast());
    zarvo->Advise(&events);
    zarvo->Start();
  }
  ScriptedModem& Modem(int line = 1) { return *modems[size_t(line - 1)]; }
  QString Command(const QString& c) {
    QString r;
    EXPECT_EQ(zarvo->Command(c, r), S_OK) << c.toStdString();
    return r;
  }
  // Polls as the main window does until the device answers with a model.
  bool WaitReady(int ms = 3000) {
    return WaitFor([&] { return !Command("devicemodel").isEmpty(); }, ms);
  }
  bool WaitCalls(int n, int ms = 2000) {
    return WaitFor([&] { return events.calls.size() >= n; }, ms);
  }

  ErrorReport errors;
  std::vector<std::unique_ptr<ScriptedModem>> modems;
  std::unique_ptr<TSerialZarvo> zarvo;
  EventRecorder events;
};

// --- the initialising dialogue -------------------------------------------------

struct InitRow {
  const char* name;
  QHash<QString, QStringList> answers;
  bool echo;
  QStringList sent;
  const char* callerIdCommand;
  const char* model;
  const char* serial;  // "@port": the port's own name
  QStringList errors;
};

void PrintTo(const InitRow& row, std::ostream* os) { *os << row.name; }

class ModemInitialisation : public ::testing::TestWithParam<InitRow> {};

INSTANTIATE_TEST_SUITE_P(
    Dialogues, ModemInitialisation,
    ::testing::Values(
        InitRow{"CallerIdByVcid",
                UsualModem(),
                false,
                {"ATE0", "AT+VCID=1", "AT+GMM", "AT+GSN"},
                "AT+VCID=1",
                "U.S. Robotics 56K FAX USB",
                "UR5600123",
                {}},
        InitRow{"FallsBackToHashCid",
                {{"AT+VCID=1", {"ERROR"}}, {"AT+GMM", {"CX93001", "OK"}}, {"AT+GSN", {"77", "OK"}}},
                false,
                {"ATE0", "AT+VCID=1", "AT#CID=1", "AT+GMM", "AT+GSN"},
                "AT#CID=1",
                "CX93001",
                "77",
                {}},
        InitRow{"ModelFromAti3",
                {{"AT+GMM", {"ERROR"}}, {"ATI3", {"Conexant HSF 56k", "OK"}}, {"AT+GSN", {"9", "OK"}}},
                false,
                {"ATE0", "AT+VCID=1", "AT+GMM", "ATI3", "AT+GSN"},
                "AT+VCID=1",
                "Conexant HSF 56k",
                "9",
                {}},
        InitRow{"SerialFromThePortWhenRefused",
                {{"AT+GMM", {"M", "OK"}}, {"AT+GSN", {"ERROR"}}},
                false,
                {"ATE0", "AT+VCID=1", "AT+GMM", "AT+GSN"},
                "AT+VCID=1",
                "M",
                "@port",
                {}},
        InitRow{"NoCallerIdAtAllIsReported",
                {{"AT+VCID=1", {"ERROR"}}, {"AT#CID=1", {"ERROR"}}, {"AT+GMM", {"M", "OK"}}, {"AT+GSN", {"S", "OK"}}},
                false,
                {"ATE0", "AT+VCID=1", "AT#CID=1", "AT+GMM", "AT+GSN"},
                "",
                "M",
                "S",
                {"Hat 1: modem arayan numara göstermeyi açmadı (@port)"}},
        // A serial number that reads as a damaged hexadecimal message is still the answer.
        InitRow{"HexadecimalSerialIsTheAnswer",
                {{"AT+GMM", {"M", "OK"}}, {"AT+GSN", {"82010000", "OK"}}},
                false,
                {"ATE0", "AT+VCID=1", "AT+GMM", "AT+GSN"},
                "AT+VCID=1",
                "M",
                "82010000",
                {}},
        InitRow{"EchoIsNotTakenForAnswers",
                UsualModem(),
                true,
                {"ATE0", "AT+VCID=1", "AT+GMM", "AT+GSN"},
                "AT+VCID=1",
                "U.S. Robotics 56K FAX USB",
                "UR5600123",
                {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(ModemInitialisation, SwitchesCallerIdOnAndAsksWhoItIs) {
  const InitRow& row = GetParam();
  ScriptedModem modem;
  modem.answers = row.answers;
  modem.echo = row.echo;
  ErrorReport errors;
  TSerialZarvo zarvo({modem.Path()}, Fast());
  QString model;
  EXPECT_EQ(zarvo.Command("devicemodel", model), S_OK);
  EXPECT_EQ(model, QString());  // not before Start
  zarvo.Start();
  ASSERT_TRUE(WaitFor([&] { return zarvo.Command("devicemodel", model) == S_OK && !model.isEmpty(); }, 3000));
  auto port = [&](QString s) { return s.replace(QStringLiteral("@port"), modem.Path()); };
  EXPECT_EQ(modem.received, row.sent);
  EXPECT_EQ(zarvo.Line(1).CallerIdCommand(), QString::fromUtf8(row.callerIdCommand));
  EXPECT_EQ(model, QString::fromUtf8(row.model));
  QString serial;
  EXPECT_EQ(zarvo.Command("serial", serial), S_OK);
  EXPECT_EQ(serial, port(QString::fromUtf8(row.serial)));
  QStringList expectedErrors;
  for (const QString& e : row.errors) expectedErrors << port(e);
  EXPECT_EQ(errors.lines, expectedErrors);
}

TEST(ModemInitialisation, ADeafModemIsNoDeviceAndIsAskedAgainByThePoll) {
  ScriptedModem modem;
  modem.answers = {{"ATE0", {}}};
  TSerialZarvo zarvo({modem.Path()}, Fast());
  zarvo.Start();
  ASSERT_TRUE(WaitFor([&] { return !zarvo.Line(1).Initialising(); }, 2000));
  EXPECT_EQ(modem.received, QStringList{"ATE0"});  // the rest of the dialogue is not sent into silence
  QString model;
  zarvo.Command("devicemodel", model);
  EXPECT_EQ(model, QString());
  modem.answers = UsualModem();  // it wakes up
  ASSERT_TRUE(WaitFor([&] { return zarvo.Command("devicemodel", model) == S_OK && !model.isEmpty(); }, 3000));
  EXPECT_EQ(modem.received.first(2), (QStringList{"ATE0", "ATE0"}));
}

// --- what the modem reports ----------------------------------------------------

struct ReportRow {
  const char* name;
  QByteArray sent;
  QStringList calls;  // "number|date-time|other text"; "@year" is this year
  QStringList errors;
};

void PrintTo(const ReportRow& row, std::ostream* os) { *os << row.name; }

class ModemReports : public ::testing::TestWithParam<ReportRow> {};

const QByteArray kLongLine(700, 'A');

INSTANTIATE_TEST_SUITE_P(
    Reports, ModemReports,
    ::testing::Values(
        ReportRow{"FormattedWithName",
                  "\r\nDATE = 0321\r\nTIME = 1405\r\nNMBR = 05321234567\r\nNAME = AHMET YILMAZ\r\n\r\n",
                  {"05321234567|21.03.@year 14:05:00|modem; ad: AHMET YILMAZ"},
                  {}},
        ReportRow{"FormattedWithoutBlanksEndedByQuiet",
                  "DATE=1231\r\nTIME=2359\r\nNMBR=02125551234\r\n",
                  {"02125551234|31.12.@year 23:59:00|modem"},
                  {}},
        ReportRow{"WithheldNumber",
                  "DATE = 0321\r\nTIME = 1405\r\nNMBR = P\r\n",
                  {"Gizli numara|21.03.@year 14:05:00|modem; gizli numara"},
                  {}},
        ReportRow{"UnavailableNumber", "NMBR = O\r\nNAME = O\r\n", {"Numara yok||modem; numara alınamadı"}, {}},
        ReportRow{"InternationalNumber", "NMBR = +4930123456\r\n", {"+4930123456||modem"}, {}},
        ReportRow{"TwoReportsBackToBack", "NMBR = 111\r\nNMBR = 222\r\n", {"111||modem", "222||modem"}, {}},
        ReportRow{"RingsAroundAReport",
                  "RING\r\n\r\nDATE = 0101\r\nTIME = 0000\r\nNMBR = 333\r\n\r\nRING\r\n",
                  {"333|01.01.@year 00:00:00|modem"},
                  {}},
        ReportRow{"UnformattedMultipleData",
                  "802201083033323131343035020d2b393035333231323334353637070741484d4554205926\r\n",
                  {"+905321234567|21.03.@year 14:05:00|modem; ad: AHMET Y"},
                  {}},
        ReportRow{"UnformattedSingleDataWithBlanks",
                  "04 12 30 39 33 30 31 32 32 34 36 30 39 35 35 35 31 32 31 32 51\r\n",
                  {"6095551212|30.09.@year 12:24:00|modem"},
                  {}},
        ReportRow{"BadChecksumIsAnErrorNotACall",
                  "041230393330313232343630393535353132313252\r\n",
                  {},
                  {"Hat 1: bozuk arayan numara mesajı (modem, sağlama hatalı)"}},
        ReportRow{"CutShortIsAnErrorNotACall",
                  "8022010830333231\r\n",
                  {},
                  {"Hat 1: bozuk arayan numara mesajı (modem, eksik)"}},
        ReportRow{"MessageWaitingIsNoCall", "820301010178\r\n", {}, {}},
        ReportRow{"GarbageIsIgnored", QByteArray("\x01\x02\xff zzz\r\nHELLO\r\n1234\r\n", 22), {}, {}},
        ReportRow{"OverlongLineIsDroppedAndTheNextReportRead", kLongLine + "\r\nNMBR = 444\r\n", {"444||modem"}, {}},
        ReportRow{
            "ReportInsideAnOverlongLineIsDropped", kLongLine + "NMBR = 555\r\nNMBR = 666\r\n", {"666||modem"}, {}},
        ReportRow{"OverlongNumberLineIsDroppedWhole",
                  "RING\r\nNMBR = " + QByteArray(600, '5') + "\r\nNMBR = 888\r\n",
                  {"888||modem"},
                  {}},
        ReportRow{"NameWithoutNumberIsIncomplete",
                  "NAME =\r\nRING\r\n",
                  {},
                  {"Hat 1: bozuk arayan numara mesajı (modem, eksik)"}},
        ReportRow{"ControlCharactersLeftOut",
                  QByteArray("NMBR = 05\x01"
                             "32\r\nNAME = AH\x07MET\r\n"),
                  {"0532||modem; ad: AHMET"},
                  {}},
        ReportRow{"NumberCutAt32", "NMBR = " + QByteArray(40, '7') + "\r\n", {QString(32, u'7') + "||modem"}, {}},
        ReportRow{"UnknownReasonReadsUnavailable", "800304012f49\r\n", {"Numara yok||modem; numara alınamadı"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(ModemReports, BecomeCallsOrErrors) {
  const ReportRow& row = GetParam();
  ModemBench bench;
  ASSERT_TRUE(bench.WaitReady());
  bench.Modem().Send(row.sent);
  WaitFor(
      [&] { return bench.events.calls.size() + bench.errors.lines.size() >= row.calls.size() + row.errors.size(); });
  Pump(300);  // longer than a report's quiet time: nothing more comes
  QStringList calls;
  for (const QStringList& c : bench.events.calls) {
    EXPECT_EQ(c[0], QStringLiteral("UR5600123"));
    EXPECT_EQ(c[1], QStringLiteral("1"));
    calls << QStringList{c[2], c[3], c[4]}.join('|');
  }
  QStringList expected;
  for (QString c : row.calls) {
    // Without a date from the exchange the call carries the time it came.
    if (c.section('|', 1, 1).isEmpty())
      c = c.section('|', 0, 0) + '|' + calls.value(expected.size()).section('|', 1, 1) + '|' + c.section('|', 2);
    expected << c.replace(QStringLiteral("@year"), QString::number(QDate::currentDate().year()));
  }
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(bench.errors.lines, row.errors);
}

TEST(ModemReports, ReportWithoutDateCarriesTheTimeItCame) {
  ModemBench bench;
  ASSERT_TRUE(bench.WaitReady());
  const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
  bench.Modem().Send("NMBR = 777\r\n");
  ASSERT_TRUE(bench.WaitCalls(1));
  const QDateTime when = QDateTime::fromString(bench.events.calls[0][3], QStringLiteral("dd.MM.yyyy HH:mm:ss"));
  EXPECT_TRUE(when >= before && when <= QDateTime::currentDateTime()) << bench.events.calls[0][3].toStdString();
}

// What a modem line makes of a byte stream fed in reads of the given sizes
// (the last size repeats), a report closed by a final RING.
QStringList StreamEvents(const QByteArray& stream, const std::vector<int>& reads) {
  QStringList out;
  TModemLine::TEvents events;
  events.message = [&out](const QString& raw, const std::optional<TCallerIdReport>& report, TFrameCheck check) {
    out << QStringLiteral("message %1 [%2] %3").arg(raw, report ? FieldsText(*report) : QString(), CheckText(check));
  };
  events.note = [&out](const QString& raw, const QString& note) { out << QStringLiteral("note %1 %2").arg(raw, note); };
  events.error = [&out](const QString& error) { out << QStringLiteral("error ") + error; };
  TModemLine line(1, QStringLiteral("unopened"), Fast(), std::move(events));
  const QByteArray all = stream + "\r\nRING\r\n";
  for (qsizetype at = 0, i = 0; at < all.size();
       at += reads[size_t(i)], i = std::min<qsizetype>(i + 1, reads.size() - 1))
    line.Receive(all.mid(at, reads[size_t(i)]));
  return out;
}

TEST(ModemStream, HowTheBytesAreCutIntoReadsChangesNothing) {
  const QByteArray longNumber = "RING\r\nNMBR = " + QByteArray(600, '5') + "\r\nNMBR = 1\r\n";
  const QList<QByteArray> streams{
      longNumber, "DATE = 0321\r\nTIME = 1405\r\nNMBR = 05321234567\r\nNAME = AHMET\r\n",
      kLongLine + "NMBR = 555\r\n" + kLongLine + kLongLine + "\r\n041230393330313232343630393535353132313252\r\n",
      QByteArray(512, 'B') + "\r\n" + QByteArray(513, 'C') + "\n0400FC\r\n"};
  for (const QByteArray& stream : streams) {
    const QStringList whole = StreamEvents(stream, {int(stream.size()) + 8});
    EXPECT_EQ(StreamEvents(stream, {1}), whole) << stream.left(40).toStdString();
    EXPECT_EQ(StreamEvents(stream, {7, 500, 3}), whole) << stream.left(40).toStdString();
    EXPECT_EQ(StreamEvents(stream, {20, 600, 513}), whole) << stream.left(40).toStdString();
  }
  const QStringList events = StreamEvents(longNumber, {int(longNumber.size()) + 8});
  ASSERT_EQ(events.filter(QStringLiteral("message")).size(), 1);
  EXPECT_TRUE(events.filter(QStringLiteral("message")).first().contains(QStringLiteral("[numara 1]")));
  EXPECT_EQ(events.filter(QStringLiteral("çok uzun satır")).size(), 1);
}

// --- levels --------------------------------------------------------------------

TEST(ModemLevels, IdleRingingAndBackFiveTimesASecond) {
  ModemBench bench;
  ASSERT_TRUE(bench.WaitReady());
  QList<qint64> times;
  QElapsedTimer clock;
  clock.start();
  const int before = bench.events.levels.size();
  ASSERT_TRUE(WaitFor(
      [&] {
        if (bench.events.levels.size() > before + times.size()) times << clock.elapsed();
        return times.size() == 6;
      },
      4000));
  // Not more often than five a second; the times are sampled by polling on a
  // busy machine, so allow a fifth for the jitter (ten a second would give 500 ms).
  EXPECT_GE(times.last() - times.first(), 5 * TDeviceControl::kLevelIntervalMs * 4 / 5);
  EXPECT_EQ(bench.events.LatestLevels(), (QStringList{"1", "0", "0", "0", "0", "0", "0", "0"}));
  bench.Modem().Send("\r\nRING\r\n");
  ASSERT_TRUE(WaitFor([&] { return bench.events.Level(1) == "24"; }, 1000));
  ASSERT_TRUE(WaitFor([&] { return bench.events.Level(1) == "1"; }, 1500));  // no RING for a while
}

// --- line commands -------------------------------------------------------------

struct LineRow {
  const char* name;
  QString command;
  QString sent;         // what the modem gets; empty: nothing
  const char* refusal;  // the error the command fails with, or empty
  int levelAfter;
};

void PrintTo(const LineRow& row, std::ostream* os) { *os << row.name; }

class ModemLineCommands : public ::testing::TestWithParam<LineRow> {};

INSTANTIATE_TEST_SUITE_P(
    Commands, ModemLineCommands,
    ::testing::Values(
        LineRow{"TakeLine", "LineStatus1", "ATH1", "", TModemLine::kOffHookLevel},
        LineRow{"ReleaseLine", "LineStatus0", "ATH0", "", TModemLine::kIdleLevel},
        LineRow{"Dial", "dial05321234567", "ATDT05321234567;", "", TModemLine::kOffHookLevel},
        LineRow{"DialWithBlanks", "dial0532 123 45 67", "ATDT05321234567;", "", TModemLine::kOffHookLevel},
        LineRow{"DialServiceCodeWithPauses", "dial*21#,,0532", "ATDT*21#,,0532;", "", TModemLine::kOffHookLevel},
        LineRow{"DialTheFieldsFirstText", "dial05..", "", "Çevrilemeyen numara: '05..' (yalnız 0-9, *, # ve virgül)",
                TModemLine::kIdleLevel},
        LineRow{"DialNothing", "dial", "", "Çevrilemeyen numara: '' (yalnız 0-9, *, # ve virgül)",
                TModemLine::kIdleLevel},
        LineRow{"DialWithACommandInside", "dial0532;ATZ", "",
                "Çevrilemeyen numara: '0532;ATZ' (yalnız 0-9, *, # ve virgül)", TModemLine::kIdleLevel},
        LineRow{"DialWithALineFeedAfter", "dial0532\n", "",
                "Çevrilemeyen numara: '0532\n' (yalnız 0-9, *, # ve virgül)", TModemLine::kIdleLevel},
        LineRow{"Unknown", "LineStatus2", "", "Bilinmeyen komut: 'LineStatus2'", TModemLine::kIdleLevel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(ModemLineCommands, BecomeHookAndDialCommands) {
  const LineRow& row = GetParam();
  ModemBench bench;
  ASSERT_TRUE(bench.WaitReady());
  const int before = bench.Modem().received.size();
  EXPECT_EQ(Hosted(*bench.zarvo).ErrorOf(row.command), QString::fromUtf8(row.refusal));
  if (row.sent.isEmpty())
    Pump(150);
  else
    WaitFor([&] { return bench.Modem().received.size() > before; });
  const QStringList sent = bench.Modem().received.mid(before);
  EXPECT_EQ(sent, row.sent.isEmpty() ? QStringList() : QStringList{row.sent});
  ASSERT_TRUE(WaitFor([&] { return bench.events.Level(1) == QString::number(row.levelAfter); }, 1000));
  EXPECT_TRUE(bench.errors.lines.isEmpty());
}

TEST(ModemLineCommands, RefusalByTheModemGoesToTheErrorReport) {
  ModemBench bench;
  ASSERT_TRUE(bench.WaitReady());
  bench.Modem().answers.insert("ATDT0532;", {"NO DIALTONE"});
  EXPECT_EQ(bench.Command("dial0532"), QString());
  ASSERT_TRUE(WaitFor([&] { return !bench.errors.lines.isEmpty(); }, 1000));
  EXPECT_EQ(bench.errors.lines, QStringList{"Hat 1: modem ATDT0532; komutunu reddetti (NO DIALTONE)"});
  EXPECT_FALSE(bench.zarvo->Line(1).OffHook());
}

TEST(ModemLineCommands, WhileDiallingTheLineReadsHigher) {
  ModemBench bench;
  ASSERT_TRUE(bench.WaitReady());
  bench.Modem().answers.insert("ATDT0532;", {});  // dialling takes a while
  bench.Command("dial0532");
  ASSERT_TRUE(WaitFor([&] { return bench.events.Level(1) == "18"; }, 1000));
  bench.Modem().SendLines({"OK"});
  ASSERT_TRUE(WaitFor([&] { return bench.events.Level(1) == "12"; }, 1000));
}

TEST(ModemLineCommands, BeforeTheModemIsReadyFailClearly) {
  ScriptedModem modem;
  TSerialZarvo zarvo({modem.Path()}, Fast());
  Hosted hosted(zarvo);
  for (const char* command : {"LineStatus1", "LineStatus0", "dial0532"})
    EXPECT_EQ(hosted.ErrorOf(QString::fromLatin1(command)), QStringLiteral("Hat 1: modem hazır değil")) << command;
  EXPECT_TRUE(modem.received.isEmpty());
}

// --- the port vanishing and coming back ---------------------------------------

TEST(ModemPort, VanishingEmptiesTheModelAndThePollBringsItBack) {
  ModemBench bench;
  ASSERT_TRUE(bench.WaitReady());
  bench.Modem().Unplug();
  ASSERT_TRUE(WaitFor([&] { return bench.Command("devicemodel").isEmpty(); }, 2000));
  EXPECT_EQ(bench.Command("serial"), QString());
  Pump(600);  // polls while it is away find nothing
  EXPECT_EQ(bench.Command("devicemodel"), QString());

  bench.Modem().Plug();
  ASSERT_TRUE(bench.WaitReady());
  EXPECT_EQ(bench.Modem().received.first(2), (QStringList{"ATE0", "AT+VCID=1"}));  // the dialogue again
  bench.Modem().Send("NMBR = 888\r\n");
  ASSERT_TRUE(bench.WaitCalls(1));
  EXPECT_EQ(bench.events.calls[0][2], QStringLiteral("888"));
  // Said once while it was away, not at every poll.
  EXPECT_EQ(bench.errors.lines,
            QStringList{QStringLiteral("Hat 1: %1 portu yok; modem takılı mı?").arg(bench.Modem().Path())});
}

TEST(ModemPort, APortThatCannotBeOpenedIsAClearError) {
  try {
    TSerialZarvo zarvo({QStringLiteral("/nonexistent/ttyUSB9")});
    FAIL();
  } catch (const EDeviceError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("cannot open serial port /nonexistent/ttyUSB9: ")))
        << e.Message().toStdString();
  }
}

// --- several modems, one line each --------------------------------------------

TEST(ModemLines, EachModemIsOneLineOfTheDevice) {
  ModemBench bench(2);
  bench.Modem(2).answers["AT+GSN"] = QStringList{"UR5600456", "OK"};
  bench.Modem(2).answers["AT+GMM"] = QStringList{"Zoom 3095", "OK"};
  // The second modem answered before its script changed: ask it again.
  bench.Modem(2).Unplug();
  ASSERT_TRUE(WaitFor([&] { return bench.Command("devicemodel").isEmpty(); }, 2000));
  bench.Modem(2).Plug();
  ASSERT_TRUE(bench.WaitReady());
  EXPECT_EQ(bench.Command("devicemodel"), QStringLiteral("U.S. Robotics 56K FAX USB / Zoom 3095 (2 hat)"));
  EXPECT_EQ(bench.Command("serial"), QStringLiteral("UR5600123, UR5600456"));
  bench.Modem(2).Send("NMBR = 02121234567\r\n");
  ASSERT_TRUE(bench.WaitCalls(1));
  EXPECT_EQ(bench.events.calls[0].mid(0, 3), (QStringList{"UR5600456", "2", "02121234567"}));
  ASSERT_TRUE(WaitFor([&] { return bench.events.LatestLevels().mid(0, 3) == QStringList{"1", "1", "0"}; }, 1000));
  // Line commands go to line 1's modem.
  bench.Command("LineStatus1");
  ASSERT_TRUE(WaitFor([&] { return bench.events.LatestLevels().mid(0, 2) == QStringList{"12", "1"}; }, 1000));
  EXPECT_EQ(bench.Modem(1).received.last(), QStringLiteral("ATH1"));
  EXPECT_NE(bench.Modem(2).received.last(), QStringLiteral("ATH1"));
}

}  // namespace
