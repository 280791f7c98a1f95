#pragma once
// A clock that tests move by hand, so timer-driven behaviour is checked to
// the millisecond without waiting.

#include <map>
#include <vector>

#include "platform/Timers.h"

// Declare it before the objects whose timers it drives, so it outlives them.
class ManualClock : public ITimerClock {
 public:
  void Schedule(TTimer* Timer, int Interval) override { running_[Timer] = {Interval, now_ + Interval}; }
  void Cancel(TTimer* Timer) override { running_.erase(Timer); }
  void Drive(std::initializer_list<TTimer*> timers) {
    for (TTimer* t : timers) t->SetClock(this);
  }

  // Moves time on by ms, ticking every timer whose moment comes, in order.
  void Advance(int ms) {
    for (int step = 0; step < ms; ++step) {
      ++now_;
      std::vector<TTimer*> due;
      for (auto& [timer, entry] : running_)
        if (entry.due <= now_) due.push_back(timer);
      for (TTimer* timer : due) {
        auto it = running_.find(timer);
        if (it == running_.end() || it->second.due > now_) continue;  // a tick before stopped or restarted it
        it->second.due += it->second.interval;
        timer->Tick();
      }
    }
  }
  int Now() const { return now_; }

 private:
  struct Entry {
    int interval;
    int due;
  };
  std::map<TTimer*, Entry> running_;
  int now_ = 0;
};
