#include "platform/WindowHooks.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindowStateChangeEvent>
#include <memory>
#include <vector>

#include "platform/Application.h"

namespace {

struct THookEntry {
  int id;
  bool onApplication;
  QPointer<QWidget> window;
  TWindowHook hook;
  bool Serves(QWidget* w) const { return w ? !onApplication && window == w : onApplication; }
};

const QEvent::Type kWindowMessageEvent = QEvent::Type(QEvent::registerEventType());

class TWindowMessageEvent : public QEvent {
 public:
  explicit TWindowMessageEvent(const TMessage& m) : QEvent(kWindowMessageEvent), message(m) {}
  TMessage message;
};

void SendToApplication(uint32_t msg, WPARAM wParam);
bool IsMainForm(QWidget* window);

class TApplicationWindow : public TMessageWindow {
 protected:
  void WndProc(TMessage& Message) override;
};

// Watches the application's events and turns those of hooked windows and
// of the main form into messages.
class TWindowRouter : public QObject {
 public:
  std::vector<THookEntry> hooks;
  int lastId = 0;

  bool eventFilter(QObject* watched, QEvent* event) override;
  bool RunHooks(QWidget* window, TMessage& m);

 private:
  bool Route(QWidget* window, bool isMain, QEvent* event);
  bool StateChanged(QWidget* window, bool isMain, const QWindowStateChangeEvent& event);
  bool IsHooked(QWidget* window) const;

  bool restoring_ = false;
};

std::unique_ptr<TApplicationWindow>& AppWindow() {
  static std::unique_ptr<TApplicationWindow> window;
  return window;
}

// Lives as long as the application object; none before or after it.
TWindowRouter*& ExistingRouter() {
  static TWindowRouter* router = nullptr;
  return router;
}

TWindowRouter& Router() {
  TWindowRouter*& router = ExistingRouter();
  if (!router) {
    router = new TWindowRouter;
    router->setParent(qApp);
    qApp->installEventFilter(router);
    qAddPostRoutine([] {
      ExistingRouter() = nullptr;
      AppWindow().reset();
    });
  }
  return *router;
}

void TApplicationWindow::WndProc(TMessage& Message) {
  if (!Router().RunHooks(nullptr, Message)) DefWindowProc(Message);
}

bool TWindowRouter::RunHooks(QWidget* window, TMessage& m) {
  // A hook may remove hooks; walk a copy, newest first.
  const std::vector<THookEntry> current(hooks.rbegin(), hooks.rend());
  for (const THookEntry& entry : current) {
    if (entry.Serves(window) && entry.hook(m)) return true;
  }
  return false;
}

bool TWindowRouter::IsHooked(QWidget* window) const {
  for (const THookEntry& entry : hooks)
    if (entry.Serves(window)) return true;
  return false;
}

void SendToApplication(uint32_t msg, WPARAM wParam) {
  Dispatch(nullptr, [&] { SendMessage(ApplicationHandle(), msg, wParam, 0); });
}

bool IsMainForm(QWidget* window) { return Application && Application->MainForm() == window; }

bool TWindowRouter::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  auto* window = static_cast<QWidget*>(watched);
  if (!window->isWindow()) return false;
  const bool isMain = IsMainForm(window);
  if (!isMain && !IsHooked(window)) return false;
  return Route(window, isMain, event);
}

bool TWindowRouter::Route(QWidget* window, bool isMain, QEvent* event) {
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide: {
      // The window system's own showing and hiding (minimising, restoring)
      // is no WM_SHOWWINDOW.
      if (event->spontaneous()) return false;
      TMessage m{WM_SHOWWINDOW, event->type() == QEvent::Show ? 1u : 0u, 0, 0};
      Dispatch(nullptr, [&] { RunHooks(window, m); });
      if (isMain && event->type() == QEvent::Show) SendToApplication(WM_WINDOWPOSCHANGED, 0);
      return false;  // Qt's own showing and hiding has happened already
    }
    case QEvent::Move:
    case QEvent::Resize:
      // Qt delivers the first geometry before the window shows.
      if (isMain && window->isVisible()) SendToApplication(WM_WINDOWPOSCHANGED, 0);
      return false;
    case QEvent::WindowStateChange:
      return StateChanged(window, isMain, static_cast<QWindowStateChangeEvent&>(*event));
    default:
      if (event->type() != kWindowMessageEvent) return false;
      Dispatch(nullptr, [&] { RunHooks(window, static_cast<TWindowMessageEvent*>(event)->message); });
      return true;
  }
}

bool TWindowRouter::StateChanged(QWidget* window, bool isMain, const QWindowStateChangeEvent& event) {
  if (restoring_) return true;
  const bool wasMinimized = event.oldState() & Qt::WindowMinimized;
  const bool minimized = window->windowState() & Qt::WindowMinimized;
  if (minimized && !wasMinimized) {
    TMessage m{WM_SYSCOMMAND, SC_MINIMIZE, 0, 0};
    bool handled = false;
    Dispatch(nullptr, [&] { handled = RunHooks(window, m); });
    if (handled) {
      // The minimising was refused: undo what the window manager did.
      restoring_ = true;
      window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
      restoring_ = false;
      return true;
    }
    if (isMain) SendToApplication(WM_SIZE, SIZE_MINIMIZED);
  } else if (wasMinimized && !minimized && isMain) {
    SendToApplication(WM_SYSCOMMAND, SC_RESTORE);
  }
  return false;
}

}  // namespace

HWND ApplicationHandle() {
  Router();
  if (!AppWindow()) AppWindow() = std::make_unique<TApplicationWindow>();
  return AppWindow()->Handle();
}

int HookMainWindow(TWindowHook hook) {
  TWindowRouter& r = Router();
  ApplicationHandle();
  r.hooks.push_back({++r.lastId, true, nullptr, std::move(hook)});
  return r.lastId;
}

int HookWindow(QWidget* window, TWindowHook hook) {
  TWindowRouter& r = Router();
  r.hooks.push_back({++r.lastId, false, window, std::move(hook)});
  return r.lastId;
}

// Windows that outlive the application may still unhook themselves.
static void RemoveHook(int id) {
  if (TWindowRouter* router = ExistingRouter())
    std::erase_if(router->hooks, [id](const THookEntry& e) { return e.id == id; });
}

void UnhookMainWindow(int id) { RemoveHook(id); }
void UnhookWindow(int id) { RemoveHook(id); }

bool PerformWindow(QWidget* window, TMessage& Message) { return Router().RunHooks(window, Message); }

void PostWindowMessage(QWidget* window, uint32_t msg, WPARAM wParam, LPARAM lParam) {
  Router();
  if (window) QCoreApplication::postEvent(window, new TWindowMessageEvent(TMessage{msg, wParam, lParam, 0}));
}
