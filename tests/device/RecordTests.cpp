#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <iostream>

#include "DeviceTestSupport.h"
#include "device/DeviceWindow.h"
#include "device/HistoryPage.h"
#include "device/RecordReports.h"
#include "device/SimulatedZarvo.h"
#include "grid/GridView.h"

namespace {

using namespace devtest;

// Runs one SQL text on the file through a connection of its own; the first
// column of what it answers.
QStringList Query(const QString& path, const QString& sql, bool mustWork = true) {
  QStringList out;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-reader"));
    db.setDatabaseName(path);
    QSqlQuery q(db);
    const bool worked = db.open() && q.exec(sql);
    if (mustWork) {
      EXPECT_TRUE(worked) << sql.toStdString();
    }
    while (q.next()) out << q.value(0).toString();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("test-reader"));
  return out;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The program itself on its simulated device, with its record in path.
std::unique_ptr<QProcess> StartProgram(const QString& path) {
  auto program = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  program->setProcessEnvironment(env);
  program->start(QStringLiteral(CIHAZ_PROGRAM), {QStringLiteral("--record"), path});
  EXPECT_TRUE(program->waitForStarted());
  return program;
}

TSessionStart Start(const QString& serial = QStringLiteral("ZRV4-7")) {
  return {
      serial, QStringLiteral("KR4"), 4, QStringLiteral("1.0.0"), QStringLiteral("sim"), QDateTime::currentDateTime()};
}

TCallRow Call(int line, const QString& number) {
  return {line, number, TRecordStore::MomentText(QDateTime::currentDateTime()), QStringLiteral("V.23"),
          QStringLiteral("iyi")};
}

struct ReportLines {
  QStringList lines;
  TRecordStore::TReport Sink() {
    return [this](const QString& line) { lines << line; };
  }
};

// --- a session's verdict through the simulated device ------------------------------

struct VerdictRow {
  const char* name;
  bool everyLine;  // until every line had a call, or only the first call
  const char* verdict;
};

void PrintTo(const VerdictRow& row, std::ostream* os) { *os << row.name; }

class SimulatedSession : public ::testing::TestWithParam<VerdictRow> {};

INSTANTIATE_TEST_SUITE_P(Verdicts, SimulatedSession,
                         ::testing::Values(VerdictRow{"CallsOnEveryLinePass", true, "GEÇTİ"},
                                           VerdictRow{"SilentLinesFail", false, "KALDI"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(SimulatedSession, EndsWithTheVerdictOfItsLines) {
  const VerdictRow& row = GetParam();
  const RecordFileForTest record;
  EventRecorder events;
  QString serial;
  {
    TSimulatedZarvo zarvo(5);
    zarvo.SetManualStepping(true);
    zarvo.Advise(&events);
    zarvo.Start();
    QString model;
    zarvo.Command(ZarvoCommandText(TZarvoCommand::zcDeviceModel), model);
    serial = zarvo.Serial();
    const TTestSession& session = *zarvo.Record().Session();
    const auto everyLineCalled = [&] {
      for (int line = 1; line <= 4; ++line)
        if (session.Line(line).calls == 0) return false;
      return true;
    };
    for (int i = 0; i < 20000 && (row.everyLine ? !everyLineCalled() : events.calls.isEmpty()); ++i) zarvo.Step();
    ASSERT_FALSE(events.calls.isEmpty());
    // Live: the lines that had their call passed, the session is not over.
    zarvo.ShowAbout();
    TGridView* lines = zarvo.DeviceWindow()->Lines();
    const int first = events.calls[0][1].toInt();
    EXPECT_EQ(lines->CellText(6, first - 1), QStringLiteral("GEÇTİ"));
    EXPECT_TRUE(zarvo.DeviceWindow()->Value(QStringLiteral("Oturum")).endsWith(QStringLiteral("EKSİK")));
  }
  const TRecordStore store(record.path);
  const std::vector<TSessionRow> sessions = store.Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].serial, serial);
  EXPECT_EQ(sessions[0].verdict, QString::fromUtf8(row.verdict));
  if (row.everyLine)
    EXPECT_EQ(sessions[0].lineVerdicts, QStringLiteral("GGGG"));
  else
    EXPECT_EQ(sessions[0].lineVerdicts.count(u'K'), 3) << sessions[0].lineVerdicts.toStdString();
  int counted = 0;
  for (const QString& n : sessions[0].lineCalls.split(u'/')) counted += n.toInt();
  EXPECT_EQ(counted, events.calls.size());
  EXPECT_EQ(int(store.Calls(sessions[0].id).size()), events.calls.size());
}

TEST(TestSessionVerdict, ADamagedMessageFailsItsLineEvenAfterAGoodCall) {
  TTestSession session(2);
  session.LineToChange(1).calls = 1;
  session.FoldLevels({1, 1});
  session.FoldLevels({24, 24});
  session.LineToChange(2).calls = 1;
  EXPECT_EQ(session.VerdictsSummary(true), QStringLiteral("GG"));
  ++session.LineToChange(2).damaged;
  EXPECT_EQ(session.VerdictsSummary(true), QStringLiteral("GK"));
  EXPECT_EQ(session.Verdict(true), TVerdict::vdIncomplete);
  EXPECT_EQ(session.Verdict(false), TVerdict::vdFailed);
  // Levels beyond the device's lines are not its own.
  session.FoldLevels({1, 1, 99});
  EXPECT_EQ(session.Line(2).highest, 24);
}

// --- the record file: a killed program, faults, migration ----------------------------

TEST(RecordFile, AKilledProgramKeepsEveryCommittedCallAndAWholeFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kayit.sqlite"));
  const std::unique_ptr<QProcess> program = StartProgram(path);
  // Killed as soon as the first call is committed, long before the next one rings.
  const auto committed = [&] {
    return QFile::exists(path) && !Query(path, QStringLiteral("SELECT number FROM calls"), false).isEmpty();
  };
  ASSERT_TRUE(WaitFor(committed, 20000));
  program->kill();
  program->waitForFinished();
  const QStringList numbers = Query(path, QStringLiteral("SELECT number FROM calls"));
  ASSERT_EQ(numbers.size(), 1);

  ReportLines report;
  {
    TRecordStore store(path, report.Sink());
    EXPECT_EQ(store.Access(), TRecordStore::raWrite);
    // The session the killed program left open is ended by what it recorded.
    const std::vector<TSessionRow> sessions = store.Sessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_FALSE(sessions[0].ended.isEmpty());
    EXPECT_EQ(sessions[0].verdict, QStringLiteral("KALDI"));
    ASSERT_EQ(store.Calls(sessions[0].id).size(), 1u);
    EXPECT_EQ(store.Calls(sessions[0].id)[0].number, numbers[0]);
  }
  EXPECT_EQ(Query(path, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
  EXPECT_TRUE(report.lines.isEmpty()) << report.lines.join('\n').toStdString();
}

struct FaultRow {
  const char* name;
  // Makes the fault; what it answers lives until the test ends.
  std::function<std::shared_ptr<void>(const QString& path)> prepare;
  TRecordStore::TAccess access;
  const char* report;  // the one report line, as a pattern
};

void PrintTo(const FaultRow& row, std::ostream* os) { *os << row.name; }

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// A record with one session of two calls.
void RecordOneSession(const QString& path) {
  TRecordStore store(path, {});
  const qint64 id = store.BeginSession(Start());
  for (int i = 0; i < 300; ++i) store.AddCall(id, Call(1, QStringLiteral("0532%1").arg(i, 7, 10, QLatin1Char('0'))));
}

class RecordFaults : public ::testing::TestWithParam<FaultRow> {};

INSTANTIATE_TEST_SUITE_P(
    Faults, RecordFaults,
    ::testing::Values(
        FaultRow{"NotADatabaseIsSetAside",
                 [](const QString& p) {
                   WriteBytes(p, QByteArray("Bu bir veritabanı değil\n").repeated(200));
                   return nullptr;
                 },
                 TRecordStore::raWrite,
                 "Kayıt dosyası bozuktu; .*kayit.sqlite.bozuk-[0-9]{8}-[0-9]{6} olarak kenara"
                 " alındı, yeni kayıt başlatıldı"},
        FaultRow{"FailedIntegrityCheckIsSetAside",
                 [](const QString& p) {
                   RecordOneSession(p);
                   Query(p, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
                   QFile f(p);
                   EXPECT_TRUE(f.resize(f.size() / 2));
                   return nullptr;
                 },
                 TRecordStore::raWrite, "Kayıt dosyası bozuktu; .* olarak kenara alındı, yeni kayıt başlatıldı"},
        FaultRow{"NewerSchemaIsOnlyRead",
                 [](const QString& p) {
                   RecordOneSession(p);
                   Query(p, QStringLiteral("PRAGMA user_version = 99"));
                   return nullptr;
                 },
                 TRecordStore::raReadOnly,
                 "Kayıt dosyası bu programdan yeni bir sürümle yazılmış \\(şema 99\\); yalnızca okunuyor: .*"},
        FaultRow{"HeldByAnotherInstanceKeepsNone",
                 [](const QString& p) {
                   // The program runs on its simulated device and writes the record.
                   std::shared_ptr<QProcess> other = StartProgram(p);
                   EXPECT_TRUE(WaitFor([&] { return QFile::exists(p + QStringLiteral(".lock")); }, 10000));
                   return other;
                 },
                 TRecordStore::raNone,
                 "Kayıt dosyası başka bir Cihaz Test tarafından kullanılıyor: .*; bu çalışma kaydedilmiyor"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(RecordFaults, AreReportedOnceAndTheRecordDoesWhatItStillCan) {
  const FaultRow& row = GetParam();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kayit.sqlite"));
  const std::shared_ptr<void> keep = row.prepare(path);
  const QByteArray before = ReadAll(path);
  ReportLines report;
  {
    TRecordStore store(path, report.Sink());
    EXPECT_EQ(store.Access(), row.access);
    const qint64 id = store.BeginSession(Start(QStringLiteral("ZRV4-NEW")));
    store.AddCall(id, Call(2, QStringLiteral("05321112233")));
    const std::vector<TSessionRow> sessions = store.Sessions(QStringLiteral("ZRV4-NEW"));
    EXPECT_EQ(sessions.size(), row.access == TRecordStore::raWrite ? 1u : 0u);
    if (row.access == TRecordStore::raReadOnly) {
      EXPECT_EQ(store.Sessions().size(), 1u);  // the history still reads
    }
  }
  ASSERT_EQ(report.lines.size(), 1) << report.lines.join('\n').toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + QString::fromUtf8(row.report) + QStringLiteral("$"))
                  .match(report.lines[0])
                  .hasMatch())
      << report.lines[0].toStdString();
  if (row.access == TRecordStore::raWrite) {
    // The damaged file is kept beside the fresh one, byte for byte.
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("kayit.sqlite.bozuk-*")}, QDir::Files);
    ASSERT_FALSE(aside.isEmpty());
    EXPECT_EQ(ReadAll(dir.filePath(aside.filter(QRegularExpression(QStringLiteral("-[0-9]{6}$"))).value(0))), before);
    EXPECT_EQ(Query(path, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
  }
}

TEST(RecordFile, AFullDiskIsReportedOnceAndTheWritesAreRetriedLater) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kayit.sqlite"));
  ReportLines report;
  TRecordStore store(path, report.Sink());
  const qint64 id = store.BeginSession(Start());
  // SQLite's own page limit: the writes fail as on a full disk.
  QSqlQuery limit(QSqlDatabase::database(store.ConnectionName()));
  ASSERT_TRUE(limit.exec(QStringLiteral("PRAGMA page_count")) && limit.next());
  const int pages = limit.value(0).toInt();
  limit.finish();
  ASSERT_TRUE(limit.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
  const QString longName = QString(3000, u'x');
  for (int i = 0; i < 20; ++i) store.AddCall(id, Call(1, QStringLiteral("0532%1").arg(i) + longName));
  EXPECT_GT(store.Waiting(), 0u);
  ASSERT_EQ(report.lines.size(), 1) << report.lines.join('\n').toStdString();
  EXPECT_TRUE(report.lines[0].startsWith(QStringLiteral("Kayıt yazılamadı (database or disk is full)")))
      << report.lines[0].toStdString();
  ASSERT_TRUE(limit.exec(QStringLiteral("PRAGMA max_page_count = 1000000")));
  store.AddCall(id, Call(2, QStringLiteral("05329999999")));
  EXPECT_EQ(store.Waiting(), 0u);
  const std::vector<TCallRow> calls = store.Calls(id);
  ASSERT_EQ(calls.size(), 21u);
  EXPECT_TRUE(calls[0].number.startsWith(QStringLiteral("05320x")));
  EXPECT_EQ(calls[20].number, QStringLiteral("05329999999"));
  EXPECT_EQ(report.lines.size(), 1);
}

TEST(RecordFile, AFolderThatCannotBeWrittenKeepsNoRecordAndSaysSo) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // the child starts afresh: Qt's threads do not survive a fork
  QTemporaryDir dir;
  ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
  const QString path = dir.filePath(QStringLiteral("kayit.sqlite"));
  // File modes do not stop root, so the child drops it first.
  EXPECT_EXIT(
      {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::exit(3);
        ReportLines report;
        TRecordStore store(dir.filePath(QStringLiteral("kayit.sqlite")), report.Sink());
        store.AddCall(store.BeginSession(Start()), Call(1, QStringLiteral("0532")));
        std::cerr << report.lines.join('\n').toStdString();
        std::exit(store.Access() == TRecordStore::raNone && report.lines.size() == 1 ? 0 : 4);
      },
      ::testing::ExitedWithCode(0), "Kayıt klasörüne yazılamıyor: .*; kayıt tutulmuyor");
  ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
  EXPECT_FALSE(QFile::exists(path));
}

// A file of the first version: no summaries with the sessions yet.
TEST(RecordFile, AFirstVersionFileIsMigratedWithTheSummariesOfItsSessions) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("kayit.sqlite"));
  for (const char* sql :
       {"CREATE TABLE devices (id INTEGER PRIMARY KEY, serial TEXT NOT NULL UNIQUE, model TEXT, line_count INTEGER,"
        " first_seen TEXT, last_seen TEXT)",
        "CREATE TABLE sessions (id INTEGER PRIMARY KEY, device_id INTEGER NOT NULL REFERENCES devices(id),"
        " started TEXT NOT NULL, ended TEXT, program_version TEXT, device_kind TEXT, verdict TEXT NOT NULL)",
        "CREATE TABLE calls (id INTEGER PRIMARY KEY, session_id INTEGER NOT NULL REFERENCES sessions(id),"
        " line INTEGER, number TEXT, at TEXT, standard TEXT, check_verdict TEXT)",
        "CREATE TABLE line_readings (session_id INTEGER NOT NULL REFERENCES sessions(id), line INTEGER NOT NULL,"
        " lowest INTEGER, highest INTEGER, last INTEGER, samples INTEGER, PRIMARY KEY (session_id, line))",
        "CREATE TABLE line_commands (id INTEGER PRIMARY KEY, session_id INTEGER NOT NULL REFERENCES sessions(id),"
        " at TEXT, command TEXT, result TEXT)",
        "CREATE TABLE errors (id INTEGER PRIMARY KEY, session_id INTEGER REFERENCES sessions(id), at TEXT, text TEXT)",
        "INSERT INTO devices VALUES (1, 'ZRV2-OLD', 'KR2', 2, '2025-01-02 10:00:00', '2025-01-02 10:05:00')",
        "INSERT INTO sessions VALUES (1, 1, '2025-01-02 10:00:00', '2025-01-02 10:05:00', '0.9', 'sim', 'KALDI')",
        "INSERT INTO calls VALUES (1, 1, 1, '05321234567', '2025-01-02 10:01:00.000', 'V.23', 'iyi')",
        "INSERT INTO calls VALUES (2, 1, 2, '', '2025-01-02 10:02:00.000', 'V.23', 'sağlama hatalı')",
        "INSERT INTO line_readings VALUES (1, 1, 1, 24, 1, 900)",
        "INSERT INTO line_readings VALUES (1, 2, 1, 24, 1, 900)", "PRAGMA user_version = 1"})
    Query(path, QString::fromUtf8(sql));
  ReportLines report;
  TRecordStore store(path, report.Sink());
  EXPECT_EQ(store.Access(), TRecordStore::raWrite);
  EXPECT_TRUE(report.lines.isEmpty());
  const std::vector<TSessionRow> sessions = store.Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].lineCalls, QStringLiteral("1/0"));
  EXPECT_EQ(sessions[0].lineVerdicts, QStringLiteral("GK"));
  EXPECT_EQ(sessions[0].seconds, 300);
  EXPECT_EQ(Query(path, QStringLiteral("PRAGMA user_version")), QStringList{QString::number(TRecordStore::kVersion)});
  EXPECT_EQ(Query(path, QStringLiteral("SELECT name FROM sqlite_master WHERE name = 'calls_by_session'")).size(), 1);
  // And it is written on as a current one.
  store.AddCall(store.BeginSession(Start()), Call(1, QStringLiteral("0532")));
  EXPECT_EQ(store.Sessions().size(), 2u);
}

}  // namespace

// --- the history and the reports ---------------------------------------------------

namespace {

void EndedSession(TRecordStore& store, const QString& serial, const QStringList& numbers) {
  const qint64 id = store.BeginSession(Start(serial));
  for (const QString& n : numbers) store.AddCall(id, Call(1, n));
  store.EndSession(id, QDateTime::currentDateTime(), TTestSession(4));
}

// RFC 4180 as a spreadsheet reads it: quoted fields, doubled quotes, CR LF.
QList<QStringList> ParseCsv(const QByteArray& bytes) {
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  const QString text = QString::fromUtf8(bytes.mid(3));
  QList<QStringList> rows{{}};
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted && c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
      field += c;
      ++i;
    } else if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && c == u',') {
      rows.last() << std::exchange(field, {});
    } else if (!quoted && c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      rows.last() << std::exchange(field, {});
      rows << QStringList();
      ++i;
    } else {
      field += c;
    }
  }
  EXPECT_TRUE(rows.last().isEmpty() && field.isEmpty());  // every row ends in CR LF
  rows.removeLast();
  return rows;
}

struct ProgramRun {
  int status;
  QString error;
};

ProgramRun RunProgram(const QStringList& arguments) {
  QProcess program;
  program.start(QStringLiteral(CIHAZ_PROGRAM), arguments);
  program.waitForFinished(20000);
  return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardError())};
}

}  // namespace

TEST(RecordHistory, AfterARestartTheWindowListsTheEarlierSessionsAndMarksTheDevicesOwn) {
  const RecordFileForTest record;
  {
    TRecordStore store(record.path, {});
    EndedSession(store, QStringLiteral("ZRV4-000ESKİ"), {QStringLiteral("05321234567")});
    EndedSession(store, QStringLiteral("ZRV4-000ESKİ"), {});
  }
  const auto run = [](TSimulatedZarvo& zarvo) {
    zarvo.SetManualStepping(true);
    zarvo.Start();
    QString model;
    zarvo.Command(ZarvoCommandText(TZarvoCommand::zcDeviceModel), model);
  };
  {
    TSimulatedZarvo earlier(5);
    run(earlier);
    for (int i = 0; i < 2000 && earlier.Record().Session()->CallsSummary() == QStringLiteral("0/0/0/0"); ++i)
      earlier.Step();
  }
  TSimulatedZarvo zarvo(5);
  run(zarvo);
  zarvo.ShowAbout();
  TDeviceWindow* window = zarvo.DeviceWindow();
  window->Pages()->setCurrentWidget(window->History());
  THistoryPage* history = window->History();
  TGridView* sessions = history->Sessions();
  ASSERT_EQ(sessions->RowCount(), 4);
  const QStringList serials{zarvo.Serial(), zarvo.Serial(), QStringLiteral("ZRV4-000ESKİ"),
                            QStringLiteral("ZRV4-000ESKİ")};
  const QStringList verdicts{QStringLiteral("EKSİK"), QStringLiteral("KALDI"), QStringLiteral("KALDI"),
                             QStringLiteral("KALDI")};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(sessions->CellText(THistoryPage::hcSerial, r), serials[r]);
    EXPECT_EQ(sessions->CellText(THistoryPage::hcVerdict, r), verdicts[r]);
  }
  EXPECT_EQ(sessions->CellText(THistoryPage::hcDuration, 0), QStringLiteral("sürüyor"));
  EXPECT_EQ(sessions->Cell(THistoryPage::hcLines, 1).AsInteger(),
            THistoryPage::LinesPicture(history->ShownSessions()[1].lineVerdicts));

  // The device's own earlier session on pale yellow, another device's on white.
  const QImage image = sessions->grab().toImage();
  const auto background = [&](int row) {
    const TRect r = sessions->GetCellRect(THistoryPage::hcSerial, row);
    return QColor(image.pixel(r.Right - 3, r.Top + 2));
  };
  EXPECT_EQ(background(1), QColor(255, 255, 192));
  EXPECT_NE(background(0), QColor(255, 255, 192));  // the chosen row keeps its highlight
  EXPECT_EQ(background(2), QColor(Qt::white));

  // The chosen session's calls below it.
  sessions->MoveToRow(3);
  ASSERT_EQ(history->Calls()->RowCount(), 1);
  EXPECT_EQ(history->Calls()->CellText(1, 0), QStringLiteral("05321234567"));

  // Sorted by a click on a header; the calls follow the session on the current row.
  const TRect header = sessions->GetCellRect(THistoryPage::hcSerial, 0, gaHeader);
  QTest::mouseClick(sessions, Qt::LeftButton, {}, QPoint(header.Left + 10, sessions->HeaderRect().Top + 5));
  EXPECT_EQ(sessions->CellText(THistoryPage::hcSerial, 0), QStringLiteral("ZRV4-000ESKİ"));
  ASSERT_TRUE(history->ChosenSession());
  QStringList shown, stored;
  for (int r = 0; r < history->Calls()->RowCount(); ++r) shown << history->Calls()->CellText(1, r);
  for (const TCallRow& c : zarvo.Record().Store()->Calls(history->ChosenSession()->id)) stored << c.number;
  EXPECT_EQ(shown, stored);
  EXPECT_EQ(history->ChosenSession()->serial, sessions->CellText(THistoryPage::hcSerial, sessions->Row()));

  // Typing a serial finds its session.
  sessions->MoveToRow(0);
  sessions->setFocus();
  QTest::keyClicks(sessions, zarvo.Serial().left(6));
  EXPECT_EQ(sessions->CellText(THistoryPage::hcSerial, sessions->Row()), zarvo.Serial());
}

TEST(RecordReports, CsvReadsBackWithTurkishLettersAndQuotesAndNeverAsFormulas) {
  QTemporaryDir dir;
  TRecordStore store(dir.filePath(QStringLiteral("kayit.sqlite")), {});
  const QStringList numbers{QStringLiteral("=HYPERLINK(\"http://x\",\"tıkla\")"), QStringLiteral("+905321234567"),
                            QStringLiteral("0532 \"123\", 45"), QStringLiteral("@SUM(A1)")};
  EndedSession(store, QStringLiteral("ZRV4-\"ĞÜŞ,İÖÇ\""), numbers);
  const QString csv = dir.filePath(QStringLiteral("kayitlar.csv"));
  ExportSessionsCsv(csv, store, store.Sessions());

  const QList<QStringList> sessions = ParseCsv(ReadAll(csv));
  ASSERT_EQ(sessions.size(), 2);
  EXPECT_EQ(sessions[0][1], QStringLiteral("Seri no"));
  EXPECT_EQ(sessions[1][1], QStringLiteral("ZRV4-\"ĞÜŞ,İÖÇ\""));
  EXPECT_EQ(sessions[1][9], QStringLiteral("KALDI"));
  const QList<QStringList> calls = ParseCsv(ReadAll(dir.filePath(QStringLiteral("kayitlar-cagrilar.csv"))));
  ASSERT_EQ(calls.size(), 5);
  const QStringList expected{QStringLiteral("'=HYPERLINK(\"http://x\",\"tıkla\")"), QStringLiteral("'+905321234567"),
                             QStringLiteral("0532 \"123\", 45"), QStringLiteral("'@SUM(A1)")};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[i + 1].size(), 7);
    EXPECT_EQ(calls[i + 1][3], expected[i]);
  }
}

TEST(RecordReports, TheProgramWritesAOnePagePdfAndTheCsvOrSaysWhyNotInOneLine) {
  QTemporaryDir dir;
  const QString record = dir.filePath(QStringLiteral("kayit.sqlite"));
  {
    TRecordStore store(record, {});
    QStringList many;
    for (int i = 0; i < 120; ++i) many << QStringLiteral("0532%1").arg(i, 7, 10, QLatin1Char('0'));
    EndedSession(store, QStringLiteral("ZRV4-RAPOR"), many);
    EndedSession(store, QStringLiteral("ZRV4-BAŞKA"), {});
  }
  const QString pdf = dir.filePath(QStringLiteral("rapor.pdf"));
  ProgramRun run =
      RunProgram({QStringLiteral("--record"), record, QStringLiteral("--report"), QStringLiteral("ZRV4-RAPOR"), pdf});
  ASSERT_EQ(run.status, 0) << run.error.toStdString();
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  ASSERT_TRUE(info.waitForFinished());
  EXPECT_TRUE(
      QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished());
  const QString words = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(words.contains(QStringLiteral("ZRV4-RAPOR")));
  EXPECT_TRUE(words.contains(QStringLiteral("KALDI")));
  EXPECT_TRUE(words.contains(QRegularExpression(QStringLiteral("… ve [0-9]+ çağrı daha")))) << words.toStdString();

  const QString csv = dir.filePath(QStringLiteral("rapor.csv"));
  run = RunProgram({QStringLiteral("--record"), record, QStringLiteral("--export-records"), csv,
                    QStringLiteral("--serial"), QStringLiteral("ZRV4-BAŞKA")});
  ASSERT_EQ(run.status, 0) << run.error.toStdString();
  const QList<QStringList> rows = ParseCsv(ReadAll(csv));
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[1][1], QStringLiteral("ZRV4-BAŞKA"));

  run = RunProgram({QStringLiteral("--record"), record, QStringLiteral("--report"), QStringLiteral("YOK"),
                    dir.filePath(QStringLiteral("yok.pdf"))});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.error.trimmed().split(u'\n').filter(QStringLiteral("cihaz-test:")),
            QStringList{QStringLiteral("cihaz-test: no session of serial 'YOK' is recorded")});
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("yok.pdf"))));
  run = RunProgram({QStringLiteral("--record"), dir.filePath(QStringLiteral("yok.sqlite")),
                    QStringLiteral("--export-records"), csv});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.error.startsWith(QStringLiteral("cihaz-test: no record file "))) << run.error.toStdString();
}
