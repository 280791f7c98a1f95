#include "platform/Timers.h"

#include "platform/Application.h"

TTimer::TTimer(TComponentBase* AOwner) : TComponent(AOwner) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
  Update();
}

TTimer::~TTimer() {
  if (clock_) clock_->Cancel(this);
}

void TTimer::SetClock(ITimerClock* clock) {
  if (clock_) clock_->Cancel(this);
  timer_.stop();
  clock_ = clock;
  Update();
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  OnTimer = std::move(handler);
  Update();
}

// A timer runs only while enabled, with a handler and a non-zero interval.
void TTimer::Update() {
  const bool run = enabled_ && interval_ > 0 && OnTimer;
  if (clock_) {
    clock_->Cancel(this);
    if (run) clock_->Schedule(this, interval_);
    return;
  }
  timer_.stop();
  if (run) timer_.start(interval_);
}

void TTimer::Tick() {
  if (OnTimer) Dispatch(this, [this] { OnTimer(this); });
}
