#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
TMessageDlgHook& Hook() {
  static TMessageDlgHook hook;
  return hook;
}
}  // namespace

QString MessageDlgTitle(TMsgDlgType type) {
  return type == mtInformation ? QStringLiteral("Bilgi") : QStringLiteral("Uyarı");
}

void SetMessageDlgHook(TMessageDlgHook hook) { Hook() = std::move(hook); }

void MessageDlg(const QString& text, TMsgDlgType type) {
  const QString title = MessageDlgTitle(type);
  if (Hook()) {
    Hook()(title, text, type);
    return;
  }
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(type == mtInformation ? QMessageBox::Information : QMessageBox::Warning, title, shown,
                  QMessageBox::NoButton, QApplication::activeWindow());
  box.addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole);
  box.exec();
}
