#pragma once
// The last raw messages a device received and the commands it was given,
// for its own window: what a technician reads when a device misbehaves.

#include <QDateTime>
#include <QString>
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
