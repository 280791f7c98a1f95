// The test record: writing one call through the record store (its own
// transaction, in a WAL database) against a bare prepared INSERT of the same
// row on the same connection, and reading the history of 100,000 sessions
// into the device window's grid.

#include <benchmark/benchmark.h>

#include <QSqlQuery>
#include <QTemporaryDir>

#include "WidgetBenchMain.h"
#include "device/HistoryPage.h"
#include "device/RecordStore.h"
#include "grid/GridView.h"

namespace {

constexpr int kHistorySessions = 100000;

TCallRow Call() {
  return {2, QStringLiteral("05321234567"), QStringLiteral("2026-12-09 10:00:00.000"), QStringLiteral("V.23"),
          QStringLiteral("iyi")};
}

struct TRecordFile {
  QTemporaryDir dir;
  TRecordStore store{dir.filePath(QStringLiteral("kayit.sqlite")), [](const QString&) {}};
  qint64 session = store.BeginSession({QStringLiteral("ZRV4-1"), QStringLiteral("KR4"), 4, QStringLiteral("1.0.0"),
                                       QStringLiteral("sim"), QDateTime::currentDateTime()});
};

void BM_RecordCall(benchmark::State& state) {
  TRecordFile file;
  const TCallRow call = Call();
  for (auto _ : state) file.store.AddCall(file.session, call);
}
BENCHMARK(BM_RecordCall);

void BM_BareInsert(benchmark::State& state) {
  TRecordFile file;
  const TCallRow call = Call();
  QSqlQuery insert(QSqlDatabase::database(file.store.ConnectionName()));
  insert.prepare(QStringLiteral(
      "INSERT INTO calls (session_id, line, number, at, standard, check_verdict) VALUES (?, ?, ?, ?, ?, ?)"));
  for (auto _ : state) {
    insert.bindValue(0, file.session);
    insert.bindValue(1, call.line);
    insert.bindValue(2, call.number);
    insert.bindValue(3, call.at);
    insert.bindValue(4, call.standard);
    insert.bindValue(5, call.check);
    if (!insert.exec()) state.SkipWithError("insert failed");
  }
}
BENCHMARK(BM_BareInsert);

// 100,000 ended sessions of 2,000 devices, written in one transaction.
void FillHistory(TRecordStore& store) {
  QSqlDatabase db = QSqlDatabase::database(store.ConnectionName());
  db.transaction();
  QSqlQuery device(db);
  device.prepare(QStringLiteral("INSERT INTO devices (serial, model, line_count) VALUES (?, 'KR4', 4)"));
  for (int d = 0; d < 2000; ++d) {
    device.bindValue(0, QStringLiteral("ZRV4-%1").arg(d, 6, 10, QLatin1Char('0')));
    device.exec();
  }
  QSqlQuery session(db);
  session.prepare(QStringLiteral(
      "INSERT INTO sessions (device_id, started, ended, program_version, device_kind, verdict, line_calls,"
      " line_verdicts) VALUES (?, ?, ?, '1.0.0', 'sim', ?, '3/1/0/2', ?)"));
  const QDateTime start(QDate(2026, 1, 1), QTime(8, 0));
  for (int s = 0; s < kHistorySessions; ++s) {
    session.bindValue(0, s % 2000 + 1);
    session.bindValue(1, TRecordStore::TimeText(start.addSecs(s * 60)));
    session.bindValue(2, TRecordStore::TimeText(start.addSecs(s * 60 + 45)));
    session.bindValue(3, s % 3 ? QStringLiteral("GEÇTİ") : QStringLiteral("KALDI"));
    session.bindValue(4, s % 3 ? QStringLiteral("GGGG") : QStringLiteral("GGKG"));
    session.exec();
  }
  db.commit();
}

void BM_OpenHistory100k(benchmark::State& state) {
  TRecordFile file;
  FillHistory(file.store);
  for (auto _ : state) {
    THistoryPage page;
    page.SetStore(&file.store);
    page.Reload();
    if (page.Sessions()->RowCount() < kHistorySessions) state.SkipWithError("history incomplete");
  }
}
BENCHMARK(BM_OpenHistory100k)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
