#include "device/TestRecorder.h"

namespace {

QString& RecordFileChoice() {
  static QString path;
  return path;
}

}  // namespace

void SetRecordFile(const QString& path) { RecordFileChoice() = path; }

QString RecordFile() { return RecordFileChoice(); }

TTestRecorder::TTestRecorder(TRecordStore::TReport report) : report_(std::move(report)) {
  saveLevels_.setInterval(kSaveLevelsMs);
  QObject::connect(&saveLevels_, &QTimer::timeout, [this] { Save(); });
}

TTestRecorder::~TTestRecorder() { End(); }

void TTestRecorder::Open(const QString& path) {
  if (!path.isEmpty()) store_ = std::make_unique<TRecordStore>(path, report_);
}

void TTestRecorder::Seen(const TDeviceFacts& facts) {
  if (session_ && session_->facts.serial == facts.serial) return;
  End();
  const QDateTime now = QDateTime::currentDateTime();
  const qint64 id = store_ ? store_->BeginSession({facts.serial, facts.model, facts.lineCount,
                                                   QStringLiteral(CIHAZ_VERSION), facts.kind, now})
                           : 0;
  session_ = TRunning{facts, id, now, TTestSession(facts.lineCount)};
  saveLevels_.start();
  if (OnSessionChange) OnSessionChange();
}

void TTestRecorder::Gone() {
  if (!session_) return;
  End();
  if (OnSessionChange) OnSessionChange();
}

void TTestRecorder::End() {
  if (!session_) return;
  saveLevels_.stop();
  if (store_) store_->EndSession(session_->id, QDateTime::currentDateTime(), session_->lines);
  session_.reset();
}

void TTestRecorder::Call(int line, const QString& number, const QString& standard, const QString& check) {
  if (!session_) return;
  if (session_->lines.HasLine(line)) {
    TLineResult& r = session_->lines.LineToChange(line);
    ++(number.isEmpty() ? r.damaged : r.calls);
    session_->unsaved = true;
  }
  if (store_)
    store_->AddCall(session_->id,
                    {line, number, TRecordStore::MomentText(QDateTime::currentDateTime()), standard, check});
}

void TTestRecorder::Command(const QString& command, const QString& result) {
  if (session_ && store_) store_->AddCommand(session_->id, command, result);
}

// Errors while no device answers (why it does not) belong to no session.
void TTestRecorder::Error(const QString& text) {
  if (store_) store_->AddError(session_ ? session_->id : 0, QDateTime::currentDateTime(), text);
}

// Five reports a second would be five writes: they are folded here.
void TTestRecorder::Levels(const std::vector<int>& levels) {
  if (!session_) return;
  session_->lines.FoldLevels(levels);
  session_->unsaved = true;
}

// The calls per line are in the calls themselves; the session's summary of
// them and the level figures follow every few seconds and at the end.
void TTestRecorder::Save() {
  if (!session_ || !session_->unsaved || !store_) return;
  session_->unsaved = false;
  store_->SaveLines(session_->id, session_->lines);
}
