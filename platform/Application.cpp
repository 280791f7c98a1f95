#include "platform/Application.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>

TApplication* Application = nullptr;

TApplication::TApplication() { Application = this; }

TApplication::~TApplication() {
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const QString& title) {
  title_ = title;
  QGuiApplication::setApplicationDisplayName(title);
}

void TApplication::HandleException(TObject* Sender, const Exception& E) {
  if (!OnException) {
    std::fprintf(stderr, "%s\n", E.Message().toLocal8Bit().constData());
    return;
  }
  try {
    OnException(Sender, E);
  } catch (const std::exception& inner) {
    // An error in the error report itself must not escape either.
    std::fprintf(stderr, "%s\n", inner.what());
  }
}

void TApplication::BringToFront() {
  QWidget* target = QApplication::activeWindow();
  if (!target || !target->isVisible() || !target->isEnabled()) target = mainForm_;
  if (!target || !target->isVisible()) return;
  target->raise();
  target->activateWindow();
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

int TApplication::Run() {
  if (terminated_) return 0;
  return QApplication::exec();
}

void TApplication::Terminate() {
  terminated_ = true;
  QCoreApplication::quit();
}
