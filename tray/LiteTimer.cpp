#include "tray/LiteTimer.h"

#include <QCoreApplication>

#include "platform/Application.h"

void TLiteTimerHandler::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    DefWindowProc(Message);
    return;
  }
  DeliverTo(uint32_t(Message.WParam), [](TLiteTimer* timer) { timer->Expired(); });
}

TLiteTimer::TLiteTimer() : identifier_(TLiteTimerHandler::Register(this)) {}

TLiteTimer::TLiteTimer(uint32_t interval, TNotifyEvent onTimer) : TLiteTimer() {
  interval_ = interval;
  onTimer_ = std::move(onTimer);
}

TLiteTimer::~TLiteTimer() {
  if (enabled_) StopTimer(true);
  TLiteTimerHandler::Release(identifier_);
}

void TLiteTimer::SetEnabled(bool v) {
  if (v)
    StartTimer();
  else
    StopTimer(true);
}

void TLiteTimer::SetInterval(uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (!enabled_) return;
  // A zero interval pauses the timer; it stays enabled for the next period.
  if (ms != 0)
    SetPlatformTimer();
  else
    KillPlatformTimer();
}

void TLiteTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  if (!enabled_) return;
  // Without a handler the ticks would be wasted; a new handler resumes them.
  if (!onTimer_)
    KillPlatformTimer();
  else if (!Running() && interval_ != 0)
    SetPlatformTimer();
}

bool TLiteTimer::StartTimer() {
  if (interval_ == 0) return false;
  if (enabled_) StopTimer(true);
  if (!SetPlatformTimer()) return false;
  enabled_ = true;
  return true;
}

void TLiteTimer::StopTimer(bool clear) {
  if (clear) enabled_ = false;
  KillPlatformTimer();
}

bool TLiteTimer::Running() const {
  TLiteTimerHandler* handler = TLiteTimerHandler::Instance();
  return handler && handler->TimerRunning(identifier_);
}

bool TLiteTimer::SetPlatformTimer() {
  TLiteTimerHandler* handler = TLiteTimerHandler::Instance();
  return handler && handler->SetTimer(identifier_, interval_);
}

void TLiteTimer::KillPlatformTimer() {
  if (TLiteTimerHandler* handler = TLiteTimerHandler::Instance()) handler->KillTimer(identifier_);
}

void TLiteTimer::Expired() {
  if (oneShot_) StopTimer(true);
  if (onTimer_) Dispatch(this, [this] { onTimer_(this); });
}
