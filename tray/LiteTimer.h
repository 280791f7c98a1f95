#pragma once
// A light timer: no owner, no window of its own. Every timer of the program
// shares one hidden window that receives the timer messages and finds the
// timer directly from the message's timer identifier.

#include "platform/Classes.h"
#include "platform/MessageWindow.h"

#include <cstdint>
#include <unordered_map>

class TLiteTimer;

// The shared window: created with the first timer, destroyed with the last.
class TLiteTimerHandler : public TMessageWindow {
  Q_OBJECT
public:
  // The current shared window; none while no timer exists.
  static TLiteTimerHandler* Instance();

protected:
  void WndProc(TMessage& Message) override;

private:
  friend class TLiteTimer;
  static uint32_t Register(TLiteTimer* timer);
  static void Release(uint32_t identifier);
  static TLiteTimerHandler*& Current();
  uint32_t NewIdentifier() const;

  std::unordered_map<uint32_t, TLiteTimer*> timers_;
  int delivering_ = 0;
};

class TLiteTimer : public TObject {
public:
  TLiteTimer();
  TLiteTimer(uint32_t interval, TNotifyEvent onTimer);
  ~TLiteTimer() override;
  TLiteTimer(const TLiteTimer&) = delete;
  TLiteTimer& operator=(const TLiteTimer&) = delete;

  // The timer's identity, also the identifier of its platform timer.
  uint32_t Identifier() const { return identifier_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  bool OneShot() const { return oneShot_; }
  void SetOneShot(bool v) { oneShot_ = v; }
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);

  // False at once with a zero interval.
  bool StartTimer();
  // Stops the platform timer; with clear, the timer is also no longer enabled.
  void StopTimer(bool clear);
  // Whether the platform timer is counting right now.
  bool Running() const;

private:
  friend class TLiteTimerHandler;
  void Expired();
  bool SetPlatformTimer();
  void KillPlatformTimer();

  uint32_t identifier_;
  bool enabled_ = false;
  uint32_t interval_ = 1000;
  bool oneShot_ = false;
  TNotifyEvent onTimer_;
};
