#include "device/FrameLog.h"

void TFrameLog::Add(TFrameLogEntry entry) {
  entries_.push_back(std::move(entry));
  if (entries_.size() > kKept) entries_.pop_front();
  if (OnChange) OnChange();
}
