#pragma once
// A window timer as a component: ticks arrive on the user-interface thread,
// each inside the exception boundary.

#include <QTimer>

#include "platform/Classes.h"

class TTimer;

// What makes a timer tick: the event loop by default, or a clock its owner
// moves by hand (tests that hold a button for exactly one second).
class ITimerClock {
 public:
  // Timer ticks every Interval milliseconds from now until cancelled.
  virtual void Schedule(TTimer* Timer, int Interval) = 0;
  virtual void Cancel(TTimer* Timer) = 0;

 protected:
  ~ITimerClock() = default;
};

class TTimer : public TComponent {
  Q_OBJECT
 public:
  explicit TTimer(TComponentBase* AOwner = nullptr);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  void SetOnTimer(TNotifyEvent handler);
  // Raises OnTimer as a tick would; tests drive timers through it.
  void Tick();
  // Ticks come from clock instead of the event loop; null gives them back.
  void SetClock(ITimerClock* clock);

  TNotifyEvent OnTimer;

 private:
  void Update();

  QTimer timer_;
  ITimerClock* clock_ = nullptr;
  bool enabled_ = true;
  int interval_ = 1000;
};
