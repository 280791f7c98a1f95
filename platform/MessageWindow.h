#pragma once
// Hidden message windows: a window procedure, synchronous and posted
// messages, and window timers keyed by (window, identifier).

#include <QObject>
#include <QString>
#include <cstdint>
#include <unordered_map>

#include "platform/Classes.h"
#include "platform/Messages.h"

// A window's identity. Handles are never reused while the program runs,
// so a stale handle simply names no window.
using HWND = uint32_t;

class TMessageWindow : public QObject, public TObject {
  Q_OBJECT
 public:
  TMessageWindow();
  ~TMessageWindow() override;

  HWND Handle() const { return handle_; }
  static TMessageWindow* FromHandle(HWND handle);

  // Runs the window procedure at once and answers its result.
  LRESULT Perform(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Starts (or restarts with the new period) the timer with this
  // identifier; its ticks arrive as WM_TIMER with the identifier in WParam.
  bool SetTimer(uintptr_t id, uint32_t ms);
  // Harmless when no such timer runs; answers whether one was running.
  bool KillTimer(uintptr_t id);
  bool TimerRunning(uintptr_t id) const { return timers_.count(id) != 0; }

 protected:
  virtual void WndProc(TMessage& Message);
  void DefWindowProc(TMessage& Message);

  void timerEvent(QTimerEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  HWND handle_;
  std::unordered_map<uintptr_t, int> timers_;    // identifier -> Qt timer
  std::unordered_map<int, uintptr_t> timerIds_;  // Qt timer -> identifier
};

// 0 when the handle names no window.
LRESULT SendMessage(HWND window, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message for the event loop; false when the handle names no window.
bool PostMessage(HWND window, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Sends the message to every message window, oldest first.
void BroadcastMessage(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool IsWindow(HWND window);

// The same name always gives the same number, from 0xC000 upwards.
uint32_t RegisterWindowMessage(const QString& name);

// The foreground window as far as message windows are concerned: setting a
// widget window activates it and leaves no message window in front.
HWND GetForegroundWindow();
bool SetForegroundWindow(HWND window);
class QWidget;
void SetForegroundWindow(QWidget* window);
