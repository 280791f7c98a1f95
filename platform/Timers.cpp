#include "platform/Timers.h"

#include "platform/Application.h"

TTimer::TTimer(TComponentBase* AOwner) : TComponent(AOwner) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
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
  timer_.stop();
  if (enabled_ && interval_ > 0 && OnTimer) timer_.start(interval_);
}

void TTimer::Tick() {
  if (OnTimer) Dispatch(this, [this] { OnTimer(this); });
}
