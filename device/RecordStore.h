#pragma once
// The test record: every device tested, each of its test sessions, and what
// each session saw (calls, line figures, line commands, errors), in one
// SQLite file. One program writes it at a time; every event is its own
// transaction, so a killed program loses at most the event it was writing.
// Faults never stop the device's work: they are reported once and the
// record does what it still can (read only, nothing, or retry later).

#include <QDateTime>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "device/TestSession.h"
#include "platform/Exceptions.h"

class ERecordError : public Exception {
 public:
  using Exception::Exception;
};

struct TSessionStart {
  QString serial;
  QString model;
  int lineCount = 0;
  QString version;
  QString deviceKind;
  QDateTime at;
};

struct TSessionRow {
  qint64 id = 0;
  QString serial;
  QString model;
  int lineCount = 0;
  QString started;      // "yyyy-MM-dd HH:mm:ss"
  QString ended;        // empty while running
  qint64 seconds = -1;  // the duration, -1 while running
  QString version;
  QString deviceKind;
  QString verdict;       // "GEÇTİ", "KALDI", "EKSİK"
  QString lineCalls;     // "3/0/1/2"
  QString lineVerdicts;  // "GKEG"
};

struct TCallRow {
  int line = 0;
  QString number;  // as the call list showed it; empty for a damaged message
  QString at;      // "yyyy-MM-dd HH:mm:ss.zzz"
  QString standard;
  QString check;  // "iyi", "sağlama hatalı" …
};

struct TLineRow {
  int line = 0;
  int lowest = 0;
  int highest = 0;
  int last = 0;
  int samples = 0;
};

class TRecordStore {
 public:
  static constexpr int kVersion = 2;
  // Writes that failed wait for the next one; beyond this many the oldest go.
  static constexpr size_t kMaxWaiting = 10000;
  enum TAccess { raNone, raReadOnly, raWrite };
  using TReport = std::function<void(const QString& line)>;

  // Opens or creates the file for writing. A file another instance holds, a
  // corrupt file, a newer schema or a folder that cannot be written are
  // reported through report and leave less access; nothing raises.
  TRecordStore(const QString& path, TReport report);
  // Opens an existing file only to read; raises ERecordError when it cannot.
  explicit TRecordStore(const QString& path);
  ~TRecordStore();
  TRecordStore(const TRecordStore&) = delete;
  TRecordStore& operator=(const TRecordStore&) = delete;

  TAccess Access() const { return access_; }
  const QString& Path() const { return path_; }
  // The connection's name, for a test that changes its limits.
  const QString& ConnectionName() const { return connection_; }
  // Writes that failed and wait for the next attempt.
  size_t Waiting() const { return waiting_.size(); }

  // Answers the new session's number; the session is written, or waits to be.
  qint64 BeginSession(const TSessionStart& start);
  void AddCall(qint64 session, const TCallRow& call);
  void AddCommand(qint64 session, const QString& command, const QString& result);
  // session 0: an error while no session runs.
  void AddError(qint64 session, const QDateTime& at, const QString& text);
  // The line figures and the running summary of a session.
  void SaveLines(qint64 session, const TTestSession& lines);
  void EndSession(qint64 session, const QDateTime& at, const TTestSession& lines);

  // sdBrief reads what the history lists (no end, version or kind).
  enum TSessionDetail { sdBrief, sdFull };
  // Newest first; only those of serial when it is given.
  std::vector<TSessionRow> Sessions(const QString& serial = {}, int limit = -1, TSessionDetail detail = sdFull) const;
  std::optional<TSessionRow> Session(qint64 id) const;
  std::vector<TCallRow> Calls(qint64 session) const;
  std::vector<TLineRow> Lines(qint64 session) const;

  static QString TimeText(const QDateTime& at);    // "yyyy-MM-dd HH:mm:ss"
  static QString MomentText(const QDateTime& at);  // with milliseconds

 private:
  struct TStatement {
    QString sql;
    QVariantList values;
  };
  using TWrite = std::vector<TStatement>;

  void OpenForWriting();
  bool Connect(bool readOnly);
  void Disconnect();
  bool LooksHealthy();
  void SetAside();
  void Migrate(int from);
  void EndUnfinishedSessions();
  void Write(TWrite write);
  // Answers why the write failed; empty when it is committed.
  QString Run(const TWrite& write);
  QSqlQuery& Prepared(const QString& sql);
  QSqlQuery Select(const QString& sql, const QVariantList& values) const;
  std::vector<TSessionRow> ReadSessions(const QString& filter, const QVariantList& values, TSessionDetail detail) const;
  void Report(const QString& line) const;
  static TWrite LineStatements(qint64 session, const TTestSession& lines, bool running);

  QString path_;
  QString connection_;
  TReport report_;
  TAccess access_ = raNone;
  std::unique_ptr<QLockFile> lock_;
  QSqlDatabase db_;
  std::map<QString, std::unique_ptr<QSqlQuery>> prepared_;  // each kind of write prepared once
  std::deque<TWrite> waiting_;
  bool writeFaultReported_ = false;
  qint64 nextSession_ = 1;
};

// Where the record is kept unless the command line says otherwise.
QString DefaultRecordFile();
