#pragma once
// Helpers shared by the test programs.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>
#include <ostream>

// Lets GoogleTest print wide texts readably on failure.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 2000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return done();
}

// Runs the event loop for ms milliseconds.
inline void Pump(int ms) {
  WaitFor([] { return false; }, ms);
}

// Shows the window and waits until it is the active one.
inline bool ShowActive(QWidget& window, int timeoutMs = 5000) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window, timeoutMs);
}

// ShowActive, then moves the keyboard focus to the control and waits for it;
// false when either does not come in time.
template <typename Control>
bool ShowFocused(QWidget& window, Control& control, int timeoutMs = 5000) {
  if (!ShowActive(window, timeoutMs)) return false;
  control.SetFocus();
  return WaitFor([&control] { return control.Focused(); });
}
