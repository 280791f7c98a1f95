#include "platform/Application.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <cstdio>

#include "platform/Controls.h"
#include "platform/Graphics.h"

TApplication* Application = nullptr;

TApplication::TApplication() : previous_(Application) {
  Application = this;
  RegisterFontSubstitutes();
  if (!qApp) return;
  active_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (Application == this) ActiveChanged(state == Qt::ApplicationActive);
  });
}

TApplication::~TApplication() {
  if (Application == this) Application = previous_;
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

void TApplication::UseClassicLook() {
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) QApplication::setStyle(style);
  QPalette palette;
  const auto set = [&](QPalette::ColorRole role, TColor color) { palette.setColor(role, ToQColor(color)); };
  set(QPalette::Window, clBtnFace);
  set(QPalette::WindowText, clWindowText);
  set(QPalette::Base, clWindow);
  set(QPalette::AlternateBase, clBtnFace);
  set(QPalette::Text, clWindowText);
  set(QPalette::Button, clBtnFace);
  set(QPalette::ButtonText, clBtnText);
  set(QPalette::Light, clBtnHighlight);
  set(QPalette::Midlight, cl3DLight);
  set(QPalette::Mid, clBtnShadow);
  set(QPalette::Dark, clBtnShadow);
  set(QPalette::Shadow, cl3DDkShadow);
  set(QPalette::Highlight, clHighlight);
  set(QPalette::HighlightedText, clHighlightText);
  set(QPalette::ToolTipBase, clInfoBk);
  set(QPalette::ToolTipText, clInfoText);
  palette.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(clGrayText));
  palette.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, ToQColor(clGrayText));
  QApplication::setPalette(palette);
}

void TApplication::ActiveChanged(bool active) {
  if (active == active_) return;
  active_ = active;
  const TNotifyEvent& event = active ? OnActivate : OnDeactivate;
  if (event) Dispatch(this, [&] { event(this); });
  ForEachWinControl([active](TWinControl* c) { Dispatch(c, [&] { c->Perform(WM_ACTIVATEAPP, active); }); });
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
