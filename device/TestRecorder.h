#pragma once
// A device control's test record: the session of the device it sees now,
// its verdict kept live, and every event written to the record store as it
// happens. The record's own faults are reported, never raised: the device
// works on whatever the record does.

#include <QDateTime>
#include <QTimer>
#include <memory>
#include <optional>

#include "device/RecordStore.h"
#include "device/TestSession.h"

// The record file every device control opens when it starts; empty keeps
// no record (the default, so that only the program's start chooses a file).
void SetRecordFile(const QString& path);
QString RecordFile();

struct TDeviceFacts {
  QString serial;
  QString model;
  int lineCount = 0;
  QString kind;
};

class TTestRecorder {
 public:
  static constexpr int kSaveLevelsMs = 5000;

  explicit TTestRecorder(TRecordStore::TReport report);
  ~TTestRecorder();

  // Opens the record file; an empty path keeps none.
  void Open(const QString& path);
  TRecordStore* Store() const { return store_.get(); }

  // The device answers as facts say: a new serial ends the session before.
  void Seen(const TDeviceFacts& facts);
  // The device went away: its session ends.
  void Gone();

  bool Running() const { return session_.has_value(); }
  const TTestSession* Session() const { return session_ ? &session_->lines : nullptr; }
  QString SessionSerial() const { return session_ ? session_->facts.serial : QString(); }
  QDateTime SessionStart() const { return session_ ? session_->started : QDateTime(); }

  // number: as the call list shows it; empty when the message was damaged.
  void Call(int line, const QString& number, const QString& standard, const QString& check);
  void Command(const QString& command, const QString& result);
  void Error(const QString& text);
  void Levels(const std::vector<int>& levels);

  // Called when a session starts or ends.
  std::function<void()> OnSessionChange;

 private:
  struct TRunning {
    TDeviceFacts facts;
    qint64 id = 0;
    QDateTime started;
    TTestSession lines;
    bool unsaved = false;  // calls or levels since the last save
  };

  void End();
  void Save();

  TRecordStore::TReport report_;
  std::unique_ptr<TRecordStore> store_;
  std::optional<TRunning> session_;
  QTimer saveLevels_;
};
