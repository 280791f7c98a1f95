#include "platform/MessageWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QTimerEvent>
#include <QWidget>
#include <algorithm>
#include <map>

#include "platform/Application.h"

namespace {

// Windows never runs a window timer faster than this.
constexpr uint32_t kMinimumTimerMs = 10;

std::map<HWND, TMessageWindow*>& Windows() {
  static std::map<HWND, TMessageWindow*> windows;
  return windows;
}

HWND NextHandle() {
  static HWND last = 0;
  do ++last;
  while (last == 0 || Windows().count(last));
  return last;
}

HWND foreground = 0;

const QEvent::Type kPostedMessageEvent = QEvent::Type(QEvent::registerEventType());

class TPostedMessage : public QEvent {
 public:
  explicit TPostedMessage(const TMessage& m) : QEvent(kPostedMessageEvent), message(m) {}
  TMessage message;
};

}  // namespace

TMessageWindow::TMessageWindow() : handle_(NextHandle()) { Windows()[handle_] = this; }

TMessageWindow::~TMessageWindow() {
  Windows().erase(handle_);
  if (foreground == handle_) foreground = 0;
}

TMessageWindow* TMessageWindow::FromHandle(HWND handle) {
  auto it = Windows().find(handle);
  return it == Windows().end() ? nullptr : it->second;
}

LRESULT TMessageWindow::Perform(uint32_t msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TMessageWindow::WndProc(TMessage& Message) { DefWindowProc(Message); }

void TMessageWindow::DefWindowProc(TMessage& Message) { Message.Result = 0; }

bool TMessageWindow::SetTimer(uintptr_t id, uint32_t ms) {
  KillTimer(id);
  const int qtTimer = startTimer(int(std::clamp<uint32_t>(ms, kMinimumTimerMs, INT32_MAX)), Qt::PreciseTimer);
  if (qtTimer == 0) return false;
  timers_[id] = qtTimer;
  timerIds_[qtTimer] = id;
  return true;
}

bool TMessageWindow::KillTimer(uintptr_t id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return false;
  killTimer(it->second);
  timerIds_.erase(it->second);
  timers_.erase(it);
  return true;
}

void TMessageWindow::timerEvent(QTimerEvent* event) {
  auto it = timerIds_.find(event->timerId());
  if (it == timerIds_.end()) return;
  const WPARAM id = it->second;
  Dispatch(this, [&] { Perform(WM_TIMER, id, 0); });
}

void TMessageWindow::customEvent(QEvent* event) {
  if (event->type() != kPostedMessageEvent) return;
  const TMessage m = static_cast<TPostedMessage*>(event)->message;
  Dispatch(this, [&] { Perform(m.Msg, m.WParam, m.LParam); });
}

LRESULT SendMessage(HWND window, uint32_t msg, WPARAM wParam, LPARAM lParam) {
  TMessageWindow* w = TMessageWindow::FromHandle(window);
  return w ? w->Perform(msg, wParam, lParam) : 0;
}

bool PostMessage(HWND window, uint32_t msg, WPARAM wParam, LPARAM lParam) {
  TMessageWindow* w = TMessageWindow::FromHandle(window);
  if (!w) return false;
  QCoreApplication::postEvent(w, new TPostedMessage(TMessage{msg, wParam, lParam, 0}));
  return true;
}

void BroadcastMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) {
  // A receiver may create or destroy windows; visit the handles present now.
  std::vector<HWND> handles;
  for (const auto& entry : Windows()) handles.push_back(entry.first);
  for (HWND h : handles) SendMessage(h, msg, wParam, lParam);
}

bool IsWindow(HWND window) { return TMessageWindow::FromHandle(window) != nullptr; }

uint32_t RegisterWindowMessage(const QString& name) {
  static QHash<QString, uint32_t> registered;
  constexpr uint32_t kFirstRegistered = 0xC000;
  // Windows compares registered names without regard to case.
  const QString key = name.toCaseFolded();
  auto it = registered.constFind(key);
  if (it != registered.constEnd()) return *it;
  const uint32_t number = kFirstRegistered + uint32_t(registered.size());
  registered.insert(key, number);
  return number;
}

HWND GetForegroundWindow() { return foreground; }

bool SetForegroundWindow(HWND window) {
  if (!IsWindow(window)) return false;
  foreground = window;
  return true;
}

void SetForegroundWindow(QWidget* window) {
  if (!window) return;
  foreground = 0;
  window->raise();
  window->activateWindow();
}
