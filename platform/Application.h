#pragma once
// The application object and the exception boundary of every handler the
// platform drives (timer ticks, device events, buttons, menus, messages).

#include <QString>
#include <functional>

#include "platform/Classes.h"
#include "platform/Exceptions.h"

class QWidget;

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
  Q_OBJECT
 public:
  TApplication();
  ~TApplication() override;

  const QString& Title() const { return title_; }
  void SetTitle(const QString& title);

  // The window whose closing ends the program.
  QWidget* MainForm() const { return mainForm_; }
  void SetMainForm(QWidget* form) { mainForm_ = form; }
  // False when start-up should leave the main window hidden (the tray icon may ask for it).
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }

  // Raises OnException; without a handler the message goes to standard error.
  void HandleException(TObject* Sender, const Exception& E);
  // Makes the most recently active visible window the foreground window.
  void BringToFront();
  // Standard controls take the classic desktop look and system colours.
  void UseClassicLook();
  void ProcessMessages();
  int Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Whether the program is the active one on the desktop.
  bool Active() const { return active_; }

  TExceptionEvent OnException;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 private:
  // The program gained or lost activation: the events fire, then every
  // windowed control gets WM_ACTIVATEAPP (WParam 1 active, 0 not).
  void ActiveChanged(bool active);

  QString title_;
  QWidget* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  bool active_ = false;
  TApplication* previous_ = nullptr;  // an application object made inside another's lifetime
};

extern TApplication* Application;

// Runs one handler inside the exception boundary: an error ends the handler
// and is reported through the application; nothing crosses the event loop.
template <typename F>
void Dispatch(TObject* Sender, F&& handler) {
  try {
    handler();
  } catch (const Exception& e) {
    if (Application) Application->HandleException(Sender, e);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(Sender, Exception(QString::fromLocal8Bit(e.what())));
  }
}
