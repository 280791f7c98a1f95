#include <gtest/gtest.h>

#include <QSystemTrayIcon>
#include <cstddef>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/Shell.h"

namespace {

class TNotifiedWindow : public TMessageWindow {
 public:
  QStringList log;

 protected:
  void WndProc(TMessage& m) override { log << QStringLiteral("%1 %2 %3").arg(m.Msg).arg(m.WParam).arg(m.LParam); }
};

TEST(Shell, TheRecordHasTheShellsLayout) {
  EXPECT_EQ(sizeof(TNotifyIconData), 488u);
  EXPECT_EQ(TNotifyIconData().cbSize, 488u);
  EXPECT_EQ(offsetof(TNotifyIconData, hIcon), 20u);
  EXPECT_EQ(offsetof(TNotifyIconData, szTip), 24u);
  EXPECT_EQ(offsetof(TNotifyIconData, dwState), 152u);
  EXPECT_EQ(offsetof(TNotifyIconData, szInfo), 160u);
  EXPECT_EQ(offsetof(TNotifyIconData, uTimeoutOrVersion), 416u);
  EXPECT_EQ(offsetof(TNotifyIconData, szInfoTitle), 420u);
  EXPECT_EQ(offsetof(TNotifyIconData, dwInfoFlags), 484u);
}

TEST(Shell, TextFieldsAreCutWithATerminatorAndClearedBehind) {
  char field[8];
  std::memset(field, 'x', sizeof field);
  SetAnsiField(field, sizeof field, QStringLiteral("Çağrı gelen hat"));
  EXPECT_EQ(QByteArray(field, 8), QByteArray("\xC7"
                                             "a\xF0r\xFD g\0",
                                             8));  // Windows-1254 bytes
  EXPECT_EQ(AnsiField(field, sizeof field), QStringLiteral("Çağrı g"));
  SetAnsiField(field, sizeof field, QStringLiteral("ab"));
  EXPECT_EQ(QByteArray(field, 8), QByteArray("ab\0\0\0\0\0\0", 8));
}

TEST(Shell, TheRecorderKeepsCopiesAndSendsNotificationsToTheRecordsWindow) {
  auto recorder = std::make_shared<TShellRecorder>();
  SetShellBackend(recorder);
  TNotifiedWindow window;
  TNotifyIconData data;
  data.Wnd = window.Handle();
  data.uID = 17;
  data.uCallbackMessage = WM_USER + 1024;
  data.uFlags = NIF_MESSAGE;
  EXPECT_TRUE(ShellNotifyIcon(NIM_ADD, data));
  data.uFlags = NIF_TIP;  // later changes do not touch what was recorded
  recorder->Answer = false;
  EXPECT_FALSE(ShellNotifyIcon(NIM_MODIFY, data));
  ASSERT_EQ(recorder->Requests.size(), 2u);
  EXPECT_EQ(recorder->Requests[0].message, NIM_ADD);
  EXPECT_EQ(recorder->Requests[0].data.uFlags, NIF_MESSAGE);
  EXPECT_EQ(recorder->Requests[1].message, NIM_MODIFY);

  recorder->Notify(17, WM_LBUTTONDOWN);
  recorder->Notify(99, WM_LBUTTONDOWN);  // no such icon: nobody hears it
  EXPECT_EQ(window.log, QStringList{QStringLiteral("2048 17 %1").arg(WM_LBUTTONDOWN)});
  SetShellBackend(nullptr);
}

TEST(Shell, TaskbarCreatedIsOneRegisteredMessageBroadcastToEveryWindow) {
  EXPECT_EQ(TaskbarCreatedMessage(), RegisterWindowMessage("TaskbarCreated"));
  EXPECT_GE(TaskbarCreatedMessage(), 0xC000u);
  TNotifiedWindow a, b;
  BroadcastTaskbarCreated();
  const QString expected = QStringLiteral("%1 0 0").arg(TaskbarCreatedMessage());
  EXPECT_EQ(a.log, QStringList{expected});
  EXPECT_EQ(b.log, QStringList{expected});
}

TEST(Shell, WithoutANotificationAreaTheDesktopShellAnswersFalseQuietly) {
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());  // offscreen has none
  static QStringList warnings;
  warnings.clear();
  QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
  SetShellBackend(nullptr);
  TNotifyIconData data;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  const bool added = ShellNotifyIcon(NIM_ADD, data);
  const bool modified = ShellNotifyIcon(NIM_MODIFY, data);
  const bool deleted = ShellNotifyIcon(NIM_DELETE, data);
  qInstallMessageHandler(previous);
  EXPECT_FALSE(added);
  EXPECT_FALSE(modified);
  EXPECT_FALSE(deleted);
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

}  // namespace
