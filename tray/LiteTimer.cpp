#include "tray/LiteTimer.h"

#include "platform/Application.h"

#include <QCoreApplication>

TLiteTimerHandler*& TLiteTimerHandler::Current() {
  static TLiteTimerHandler* current = nullptr;
  static const bool cleanup = (qAddPostRoutine([] {
    delete current;
    current = nullptr;
  }), true);
  (void)cleanup;
  return current;
}

TLiteTimerHandler* TLiteTimerHandler::Instance() { return Current(); }

uint32_t TLiteTimerHandler::NewIdentifier() const {
  // Identities are not reused while other timers still hold them.
  static uint32_t last = 0;
  do ++last;
  while (last == 0 || timers_.count(last));
  return last;
}

uint32_t TLiteTimerHandler::Register(TLiteTimer* timer) {
  if (!Current()) Current() = new TLiteTimerHandler;
  const uint32_t id = Current()->NewIdentifier();
  Current()->timers_[id] = timer;
  return id;
}

void TLiteTimerHandler::Release(uint32_t identifier) {
  TLiteTimerHandler* handler = Current();
  if (!handler) return;
  handler->timers_.erase(identifier);
  if (!handler->timers_.empty()) return;
  Current() = nullptr;
  // A timer may be destroyed by its own handler, while this window is
  // still delivering the tick.
  if (handler->delivering_) handler->deleteLater();
  else delete handler;
}

void TLiteTimerHandler::WndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    DefWindowProc(Message);
    return;
  }
  auto it = timers_.find(uint32_t(Message.WParam));
  if (it == timers_.end()) return;
  ++delivering_;
  it->second->Expired();
  --delivering_;
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
  if (v) StartTimer();
  else StopTimer(true);
}

void TLiteTimer::SetInterval(uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (!enabled_) return;
  // A zero interval pauses the timer; it stays enabled for the next period.
  if (ms != 0) SetPlatformTimer();
  else KillPlatformTimer();
}

void TLiteTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  if (!enabled_) return;
  // Without a handler the ticks would be wasted; a new handler resumes them.
  if (!onTimer_) KillPlatformTimer();
  else if (!Running() && interval_ != 0) SetPlatformTimer();
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
