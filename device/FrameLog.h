#pragma once
// The last raw messages a real device received, for its own window: what a
// technician reads when a device misbehaves.

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <deque>
#include <functional>

struct TFrameLogEntry {
  QDateTime at;
  int line = 0;
  QString source;   // "V.23", "modem" …
  QString raw;      // hexadecimal bytes, DTMF digits or the modem's lines
  QString fields;   // decoded fields, or what went wrong
  QString verdict;  // "iyi", "sağlama hatalı", "eksik" …
};

class TFrameLog {
 public:
  static constexpr size_t kKept = 100;

  void Add(TFrameLogEntry entry);
  const std::deque<TFrameLogEntry>& Entries() const { return entries_; }
  // Called after every addition.
  std::function<void()> OnChange;

 private:
  std::deque<TFrameLogEntry> entries_;
};

class QTreeWidget;
class QLabel;

// The device control's own window: the device's state in one line above
// the frame log, newest entry first.
class TFrameWindow : public QWidget {
 public:
  TFrameWindow(const TFrameLog& log, std::function<QString()> state);
  void Refresh();
  QTreeWidget* Table() const { return table_; }
  QLabel* StateLabel() const { return state_; }

 private:
  const TFrameLog& log_;
  std::function<QString()> stateText_;
  QLabel* state_;
  QTreeWidget* table_;
};
