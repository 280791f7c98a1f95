#include "device/RecordStore.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QStandardPaths>

namespace {

// The first schema; every later one is reached by the steps in Migrate, so
// a new file takes the same road as an old one.
const char* const kSchemaV1[] = {
    "CREATE TABLE devices (id INTEGER PRIMARY KEY, serial TEXT NOT NULL UNIQUE, model TEXT, line_count INTEGER,"
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
};

// Version 2 keeps each session's duration, calls and verdicts per line with
// it, so the history reads one row per session.
const char* const kToV2[] = {
    "ALTER TABLE sessions ADD COLUMN seconds INTEGER",
    "UPDATE sessions SET seconds = CAST(round((julianday(ended) - julianday(started)) * 86400) AS INTEGER)",
    "ALTER TABLE sessions ADD COLUMN line_calls TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE sessions ADD COLUMN line_verdicts TEXT NOT NULL DEFAULT ''",
    "CREATE INDEX calls_by_session ON calls (session_id)",
    "CREATE INDEX sessions_by_device ON sessions (device_id)",
};

// What the history lists of a session, and what a report adds to it. The
// device's serial and model come from the few devices, read once.
const QString kBriefColumns =
    QStringLiteral("s.id, s.device_id, s.started, s.seconds, s.verdict, s.line_calls, s.line_verdicts");
const QString kFullColumns = kBriefColumns + QStringLiteral(", s.ended, s.program_version, s.device_kind");

// Sets a session's duration from its start and end.
const QString kSetSeconds =
    QStringLiteral("seconds = CAST(round((julianday(ended) - julianday(started)) * 86400) AS INTEGER)");

QString NewConnectionName() {
  static QAtomicInteger<int> next;
  return QStringLiteral("kayit-%1").arg(next.fetchAndAddRelaxed(1));
}

QString ErrorText(const QSqlError& error) {
  return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// What a session's calls, damaged messages and line figures say, read back
// from its rows: the summary of a session written before summaries were kept
// or by a program that was killed.
TTestSession SessionFromRows(QSqlDatabase& db, qint64 session, int lineCount) {
  TTestSession lines(lineCount);
  QSqlQuery calls(db);
  calls.prepare(QStringLiteral("SELECT line, number, check_verdict FROM calls WHERE session_id = ?"));
  calls.addBindValue(session);
  calls.exec();
  while (calls.next()) {
    const int line = calls.value(0).toInt();
    if (!lines.HasLine(line)) continue;
    if (calls.value(1).toString().isEmpty())
      ++lines.LineToChange(line).damaged;
    else
      ++lines.LineToChange(line).calls;
  }
  QSqlQuery readings(db);
  readings.prepare(
      QStringLiteral("SELECT line, lowest, highest, last, samples FROM line_readings WHERE session_id = ?"));
  readings.addBindValue(session);
  readings.exec();
  while (readings.next()) {
    const int line = readings.value(0).toInt();
    if (!lines.HasLine(line)) continue;
    TLineResult& r = lines.LineToChange(line);
    r.lowest = readings.value(1).toInt();
    r.highest = readings.value(2).toInt();
    r.last = readings.value(3).toInt();
    r.samples = readings.value(4).toInt();
  }
  return lines;
}

}  // namespace

QString DefaultRecordFile() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/kayit.sqlite");
}

QString TRecordStore::TimeText(const QDateTime& at) { return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QString TRecordStore::MomentText(const QDateTime& at) { return at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")); }

TRecordStore::TRecordStore(const QString& path, TReport report)
    : path_(QFileInfo(path).absoluteFilePath()), connection_(NewConnectionName()), report_(std::move(report)) {
  try {
    OpenForWriting();
  } catch (const ERecordError& e) {
    Disconnect();
    access_ = raNone;
    Report(e.Message());
  }
}

TRecordStore::TRecordStore(const QString& path)
    : path_(QFileInfo(path).absoluteFilePath()), connection_(NewConnectionName()) {
  if (!QFileInfo(path_).isFile()) throw ERecordError(QStringLiteral("no record file %1").arg(path_));
  if (!Connect(true) || !LooksHealthy()) {
    Disconnect();
    throw ERecordError(QStringLiteral("the record file %1 cannot be read").arg(path_));
  }
  access_ = raReadOnly;
}

TRecordStore::~TRecordStore() { Disconnect(); }

void TRecordStore::Report(const QString& line) const {
  if (report_) report_(line);
}

void TRecordStore::OpenForWriting() {
  const QString folder = QFileInfo(path_).absolutePath();
  if (!QDir().mkpath(folder))
    throw ERecordError(QStringLiteral("Kayıt klasörü oluşturulamıyor: %1; kayıt tutulmuyor").arg(folder));
  lock_ = std::make_unique<QLockFile>(path_ + QStringLiteral(".lock"));
  if (!lock_->tryLock(0)) {
    if (lock_->error() == QLockFile::LockFailedError)
      throw ERecordError(
          QStringLiteral("Kayıt dosyası başka bir Cihaz Test tarafından kullanılıyor: %1; bu çalışma kaydedilmiyor")
              .arg(path_));
    throw ERecordError(QStringLiteral("Kayıt klasörüne yazılamıyor: %1; kayıt tutulmuyor").arg(folder));
  }
  if (!Connect(false)) throw ERecordError(QStringLiteral("Kayıt dosyası açılamıyor: %1; kayıt tutulmuyor").arg(path_));
  if (!LooksHealthy()) {
    SetAside();
    if (!Connect(false) || !LooksHealthy())
      throw ERecordError(QStringLiteral("Kayıt dosyası açılamıyor: %1; kayıt tutulmuyor").arg(path_));
  }
  QSqlQuery version = Select(QStringLiteral("PRAGMA user_version"), {});
  const int found = version.next() ? version.value(0).toInt() : 0;
  version = QSqlQuery();
  if (found > kVersion) {
    Disconnect();
    if (!Connect(true)) throw ERecordError(QStringLiteral("Kayıt dosyası açılamıyor: %1").arg(path_));
    access_ = raReadOnly;
    Report(QStringLiteral("Kayıt dosyası bu programdan yeni bir sürümle yazılmış (şema %1); yalnızca okunuyor: %2")
               .arg(found)
               .arg(path_));
    return;
  }
  access_ = raWrite;
  QSqlQuery pragmas(db_);
  // WAL: a reader never waits for the writer, and a killed writer leaves a whole file.
  if (!pragmas.exec(QStringLiteral("PRAGMA journal_mode = WAL")) ||
      !pragmas.exec(QStringLiteral("PRAGMA synchronous = NORMAL")) ||
      !pragmas.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
    throw ERecordError(
        QStringLiteral("Kayıt dosyası hazırlanamıyor: %1 (%2)").arg(path_, ErrorText(pragmas.lastError())));
  Migrate(found);
  EndUnfinishedSessions();
  QSqlQuery last = Select(QStringLiteral("SELECT coalesce(max(id), 0) + 1 FROM sessions"), {});
  if (last.next()) nextSession_ = last.value(0).toLongLong();
}

bool TRecordStore::Connect(bool readOnly) {
  db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
  db_.setDatabaseName(path_);
  db_.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
  if (!db_.open()) return false;
  // The history reads every session: mapped pages spare a read call each.
  QSqlQuery(db_).exec(QStringLiteral("PRAGMA mmap_size = 268435456"));
  return true;
}

void TRecordStore::Disconnect() {
  prepared_.clear();
  if (!db_.isValid()) return;
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connection_);
}

// A file that is no database, or fails SQLite's own check, is not read on.
bool TRecordStore::LooksHealthy() {
  QSqlQuery check(db_);
  return check.exec(QStringLiteral("PRAGMA quick_check")) && check.next() &&
         check.value(0).toString() == QLatin1String("ok");
}

void TRecordStore::SetAside() {
  Disconnect();
  const QString aside =
      path_ + QStringLiteral(".bozuk-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  if (!QFile::rename(path_, aside))
    throw ERecordError(QStringLiteral("Kayıt dosyası bozuk ve kenara alınamıyor: %1; kayıt tutulmuyor").arg(path_));
  // The journal belongs to the damaged file, never to the fresh one.
  for (const char* suffix : {"-wal", "-shm"}) {
    const QString part = path_ + QLatin1String(suffix);
    if (QFile::exists(part)) QFile::rename(part, aside + QLatin1String(suffix));
  }
  Report(QStringLiteral("Kayıt dosyası bozuktu; %1 olarak kenara alındı, yeni kayıt başlatıldı").arg(aside));
}

void TRecordStore::Migrate(int from) {
  struct TStep {
    const char* const* statements;
    size_t count;
  };
  const TStep steps[] = {{kSchemaV1, std::size(kSchemaV1)}, {kToV2, std::size(kToV2)}};
  for (int version = from; version < kVersion; ++version) {
    const TStep& step = steps[version];
    db_.transaction();
    QSqlQuery q(db_);
    for (size_t i = 0; i < step.count; ++i) {
      if (!q.exec(QString::fromLatin1(step.statements[i]))) {
        const QString why = ErrorText(q.lastError());
        db_.rollback();
        throw ERecordError(
            QStringLiteral("Kayıt dosyası %1. sürüme yükseltilemedi: %2 (%3)").arg(version + 1).arg(path_, why));
      }
    }
    if (version + 1 == 2) {
      // Sessions written before the summaries get theirs from their rows.
      QSqlQuery old(db_);
      old.exec(QStringLiteral(
          "SELECT s.id, d.line_count, s.ended IS NULL FROM sessions s JOIN devices d ON d.id = s.device_id"));
      QSqlQuery set(db_);
      set.prepare(QStringLiteral("UPDATE sessions SET line_calls = ?, line_verdicts = ? WHERE id = ?"));
      while (old.next()) {
        const TTestSession lines = SessionFromRows(db_, old.value(0).toLongLong(), old.value(1).toInt());
        set.addBindValue(lines.CallsSummary());
        set.addBindValue(lines.VerdictsSummary(old.value(2).toBool()));
        set.addBindValue(old.value(0));
        set.exec();
      }
    }
    q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1));
    if (!db_.commit())
      throw ERecordError(QStringLiteral("Kayıt dosyası %1. sürüme yükseltilemedi: %2").arg(version + 1).arg(path_));
  }
}

// A session still open belongs to a program that was killed: it ended with
// its last recorded event, and earns the verdict of what it recorded.
void TRecordStore::EndUnfinishedSessions() {
  QSqlQuery open(db_);
  open.exec(QStringLiteral(
      "SELECT s.id, d.line_count, max(s.started, coalesce((SELECT max(substr(at, 1, 19)) FROM calls WHERE session_id ="
      " s.id), ''), coalesce((SELECT max(at) FROM errors WHERE session_id = s.id), ''), coalesce((SELECT max(at) FROM"
      " line_commands WHERE session_id = s.id), '')) FROM sessions s JOIN devices d ON d.id = s.device_id"
      " WHERE s.ended IS NULL"));
  std::vector<TWrite> ends;
  while (open.next()) {
    const qint64 id = open.value(0).toLongLong();
    const TTestSession lines = SessionFromRows(db_, id, open.value(1).toInt());
    ends.push_back({{QStringLiteral("UPDATE sessions SET ended = ?, verdict = ?, line_calls = ?, line_verdicts = ? "
                                    "WHERE id = ?"),
                     {open.value(2).toString(), VerdictText(lines.Verdict(false)), lines.CallsSummary(),
                      lines.VerdictsSummary(false), id}},
                    {QStringLiteral("UPDATE sessions SET ") + kSetSeconds + QStringLiteral(" WHERE id = ?"), {id}}});
  }
  for (TWrite& end : ends) Write(std::move(end));
}

QSqlQuery& TRecordStore::Prepared(const QString& sql) {
  std::unique_ptr<QSqlQuery>& q = prepared_[sql];
  if (!q) {
    q = std::make_unique<QSqlQuery>(db_);
    q->prepare(sql);
  }
  return *q;
}

QSqlQuery TRecordStore::Select(const QString& sql, const QVariantList& values) const {
  QSqlQuery q(db_);
  q.setForwardOnly(true);
  q.prepare(sql);
  for (const QVariant& v : values) q.addBindValue(v);
  q.exec();
  return q;
}

QString TRecordStore::Run(const TWrite& write) {
  // One statement is a transaction of its own.
  const bool bracket = write.size() > 1;
  if (bracket && !db_.transaction()) return ErrorText(db_.lastError());
  for (const TStatement& s : write) {
    QSqlQuery& q = Prepared(s.sql);
    for (int i = 0; i < s.values.size(); ++i) q.bindValue(i, s.values[i]);
    if (!q.exec()) {
      const QString why = ErrorText(q.lastError());
      // Prepared afresh next time: the failure may have been in preparing it.
      prepared_.erase(s.sql);
      if (bracket) db_.rollback();
      return why;
    }
  }
  if (!bracket || db_.commit()) return {};
  const QString why = ErrorText(db_.lastError());
  db_.rollback();
  return why;
}

// Writes in order: those that failed before go first, so the record never
// holds a call of a session it does not hold.
void TRecordStore::Write(TWrite write) {
  if (access_ != raWrite) return;
  if (waiting_.size() == kMaxWaiting) waiting_.pop_front();
  waiting_.push_back(std::move(write));
  while (!waiting_.empty()) {
    if (const QString why = Run(waiting_.front()); !why.isEmpty()) {
      if (!writeFaultReported_)
        Report(
            QStringLiteral("Kayıt yazılamadı (%1); program çalışmaya devam ediyor, yazma yeniden denenecek").arg(why));
      writeFaultReported_ = true;
      return;
    }
    waiting_.pop_front();
  }
  writeFaultReported_ = false;
}

qint64 TRecordStore::BeginSession(const TSessionStart& start) {
  const qint64 id = nextSession_++;
  const QString at = TimeText(start.at);
  Write({{QStringLiteral("INSERT INTO devices (serial, model, line_count, first_seen, last_seen) VALUES (?, ?, ?, ?, ?)"
                         " ON CONFLICT (serial) DO UPDATE SET model = excluded.model,"
                         " line_count = excluded.line_count, last_seen = excluded.last_seen"),
          {start.serial, start.model, start.lineCount, at, at}},
         {QStringLiteral(
              "INSERT INTO sessions (id, device_id, started, program_version, device_kind, verdict,"
              " line_calls, line_verdicts) VALUES (?, (SELECT id FROM devices WHERE serial = ?), ?, ?, ?, ?, ?, ?)"),
          {id, start.serial, at, start.version, start.deviceKind, VerdictText(TVerdict::vdIncomplete),
           TTestSession(start.lineCount).CallsSummary(), TTestSession(start.lineCount).VerdictsSummary(true)}}});
  return id;
}

void TRecordStore::AddCall(qint64 session, const TCallRow& call) {
  Write({{QStringLiteral(
              "INSERT INTO calls (session_id, line, number, at, standard, check_verdict) VALUES (?, ?, ?, ?, ?, ?)"),
          {session, call.line, call.number, call.at, call.standard, call.check}}});
}

void TRecordStore::AddCommand(qint64 session, const QString& command, const QString& result) {
  Write({{QStringLiteral("INSERT INTO line_commands (session_id, at, command, result) VALUES (?, ?, ?, ?)"),
          {session, TimeText(QDateTime::currentDateTime()), command, result}}});
}

void TRecordStore::AddError(qint64 session, const QDateTime& at, const QString& text) {
  Write({{QStringLiteral("INSERT INTO errors (session_id, at, text) VALUES (?, ?, ?)"),
          {session ? QVariant(session) : QVariant(), TimeText(at), text}}});
}

TRecordStore::TWrite TRecordStore::LineStatements(qint64 session, const TTestSession& lines, bool running) {
  TWrite write;
  for (int line = 1; line <= lines.LineCount(); ++line) {
    const TLineResult& r = lines.Line(line);
    if (r.samples == 0) continue;
    write.push_back({QStringLiteral("INSERT OR REPLACE INTO line_readings (session_id, line, lowest, highest, last,"
                                    " samples) VALUES (?, ?, ?, ?, ?, ?)"),
                     {session, line, r.lowest, r.highest, r.last, r.samples}});
  }
  write.push_back({QStringLiteral("UPDATE sessions SET line_calls = ?, line_verdicts = ? WHERE id = ?"),
                   {lines.CallsSummary(), lines.VerdictsSummary(running), session}});
  return write;
}

void TRecordStore::SaveLines(qint64 session, const TTestSession& lines) { Write(LineStatements(session, lines, true)); }

void TRecordStore::EndSession(qint64 session, const QDateTime& at, const TTestSession& lines) {
  TWrite write = LineStatements(session, lines, false);
  write.push_back(
      {QStringLiteral("UPDATE sessions SET ended = ?, verdict = ?, ") + kSetSeconds + QStringLiteral(" WHERE id = ?"),
       {TimeText(at), VerdictText(lines.Verdict(false)), session}});
  write.push_back(
      {QStringLiteral("UPDATE devices SET last_seen = ? WHERE id = (SELECT device_id FROM sessions WHERE id = ?)"),
       {TimeText(at), session}});
  Write(std::move(write));
}

std::vector<TSessionRow> TRecordStore::Sessions(const QString& serial, int limit, TSessionDetail detail) const {
  QString where;
  QVariantList values;
  if (!serial.isNull()) {
    where = QStringLiteral(" WHERE s.device_id = (SELECT id FROM devices WHERE serial = ?)");
    values << serial;
  }
  values << limit;
  return ReadSessions(where + QStringLiteral(" ORDER BY s.id DESC LIMIT ?"), values, detail);
}

std::optional<TSessionRow> TRecordStore::Session(qint64 id) const {
  std::vector<TSessionRow> one = ReadSessions(QStringLiteral(" WHERE s.id = ?"), {id}, sdFull);
  if (one.empty()) return std::nullopt;
  return std::move(one.front());
}

std::vector<TSessionRow> TRecordStore::ReadSessions(const QString& filter, const QVariantList& values,
                                                    TSessionDetail detail) const {
  std::vector<TSessionRow> rows;
  if (access_ == raNone) return rows;
  struct TDevice {
    QString serial;
    QString model;
    int lineCount = 0;
  };
  QHash<qint64, TDevice> devices;
  QSqlQuery d = Select(QStringLiteral("SELECT id, serial, model, line_count FROM devices"), {});
  while (d.next())
    devices.insert(d.value(0).toLongLong(), {d.value(1).toString(), d.value(2).toString(), d.value(3).toInt()});
  const bool full = detail == sdFull;
  QSqlQuery q = Select(
      QStringLiteral("SELECT ") + (full ? kFullColumns : kBriefColumns) + QStringLiteral(" FROM sessions s") + filter,
      values);
  while (q.next()) {
    TSessionRow r;
    const TDevice& device = devices[q.value(1).toLongLong()];
    r.id = q.value(0).toLongLong();
    r.serial = device.serial;
    r.model = device.model;
    r.lineCount = device.lineCount;
    r.started = q.value(2).toString();
    r.seconds = q.value(3).isNull() ? -1 : q.value(3).toLongLong();
    r.verdict = q.value(4).toString();
    r.lineCalls = q.value(5).toString();
    r.lineVerdicts = q.value(6).toString();
    if (full) {
      r.ended = q.value(7).toString();
      r.version = q.value(8).toString();
      r.deviceKind = q.value(9).toString();
    }
    rows.push_back(std::move(r));
  }
  return rows;
}

std::vector<TCallRow> TRecordStore::Calls(qint64 session) const {
  std::vector<TCallRow> rows;
  if (access_ == raNone) return rows;
  QSqlQuery q = Select(
      QStringLiteral("SELECT line, number, at, standard, check_verdict FROM calls WHERE session_id = ? ORDER BY id"),
      {session});
  while (q.next())
    rows.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                    q.value(4).toString()});
  return rows;
}

std::vector<TLineRow> TRecordStore::Lines(qint64 session) const {
  std::vector<TLineRow> rows;
  if (access_ == raNone) return rows;
  QSqlQuery q = Select(QStringLiteral("SELECT line, lowest, highest, last, samples FROM line_readings WHERE"
                                      " session_id = ? ORDER BY line"),
                       {session});
  while (q.next())
    rows.push_back(
        {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt()});
  return rows;
}
