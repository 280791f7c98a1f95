#pragma once
// A light timer: no owner, no window of its own. Every timer of the program
// shares one hidden window that receives the timer messages and finds the
// timer directly from the message's timer identifier.

#include <cstdint>

#include "platform/Classes.h"
#include "platform/SharedMessageWindow.h"

class TLiteTimer;

// The shared window: created with the first timer, destroyed with the last.
class TLiteTimerHandler : public TSharedMessageWindow<TLiteTimerHandler, TLiteTimer> {
  Q_OBJECT
 protected:
  void WndProc(TMessage& Message) override;
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
