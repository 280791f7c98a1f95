#pragma once
// A window timer as a component: ticks arrive on the user-interface thread,
// each inside the exception boundary.

#include <QTimer>

#include "platform/Classes.h"

class TTimer : public TComponent {
  Q_OBJECT
 public:
  explicit TTimer(TComponentBase* AOwner = nullptr);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  void SetOnTimer(TNotifyEvent handler);
  // Raises OnTimer as a tick would; tests drive timers through it.
  void Tick();

  TNotifyEvent OnTimer;

 private:
  void Update();

  QTimer timer_;
  bool enabled_ = true;
  int interval_ = 1000;
};
