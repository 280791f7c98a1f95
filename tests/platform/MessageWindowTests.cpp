#include <gtest/gtest.h>

#include <QWidget>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/MessageWindow.h"
#include "platform/WindowHooks.h"

namespace {

// Records every message its procedure sees as "msg:wparam".
class TRecordingWindow : public TMessageWindow {
 public:
  QStringList log;
  std::function<void(TMessage&)> onMessage;

 protected:
  void WndProc(TMessage& m) override {
    log << QStringLiteral("%1:%2").arg(m.Msg).arg(m.WParam);
    if (onMessage)
      onMessage(m);
    else
      DefWindowProc(m);
  }
};

QString Entry(uint32_t msg, WPARAM w) { return QStringLiteral("%1:%2").arg(msg).arg(w); }

TEST(MessageWindow, SendRunsTheProcedureAtOnceAndAnswersItsResult) {
  TRecordingWindow w;
  w.onMessage = [](TMessage& m) { m.Result = LRESULT(m.WParam + m.LParam); };
  EXPECT_EQ(SendMessage(w.Handle(), WM_USER, 40, 2), 42);
  EXPECT_EQ(w.Perform(WM_USER, 1, 1), 2);
  EXPECT_EQ(w.log, (QStringList{Entry(WM_USER, 40), Entry(WM_USER, 1)}));
}

TEST(MessageWindow, StaleHandlesNameNoWindow) {
  HWND stale;
  {
    TRecordingWindow w;
    stale = w.Handle();
    EXPECT_TRUE(IsWindow(stale));
  }
  TRecordingWindow later;
  EXPECT_NE(later.Handle(), stale);  // handles are not reused
  EXPECT_FALSE(IsWindow(stale));
  EXPECT_EQ(SendMessage(stale, WM_USER), 0);
  EXPECT_FALSE(PostMessage(stale, WM_USER));
  EXPECT_FALSE(SetForegroundWindow(stale));
}

TEST(MessageWindow, PostedMessagesWaitForTheEventLoopAndKeepTheirOrder) {
  TRecordingWindow w;
  EXPECT_TRUE(PostMessage(w.Handle(), WM_USER, 1));
  EXPECT_TRUE(PostMessage(w.Handle(), WM_USER, 2));
  EXPECT_TRUE(w.log.isEmpty());
  EXPECT_TRUE(WaitFor([&] { return w.log.size() == 2; }));
  EXPECT_EQ(w.log, (QStringList{Entry(WM_USER, 1), Entry(WM_USER, 2)}));
}

TEST(MessageWindow, MessagesPostedToAWindowThatGoesAreDropped) {
  int delivered = 0;
  auto w = std::make_unique<TRecordingWindow>();
  w->onMessage = [&](TMessage&) { ++delivered; };
  PostMessage(w->Handle(), WM_USER);
  w.reset();
  Pump(20);
  EXPECT_EQ(delivered, 0);
}

TEST(MessageWindow, TimersTickWithTheirIdentifierUntilKilled) {
  TRecordingWindow w;
  int first = 0, second = 0;
  w.onMessage = [&](TMessage& m) {
    ASSERT_EQ(m.Msg, WM_TIMER);
    (m.WParam == 7 ? first : second)++;
  };
  EXPECT_TRUE(w.SetTimer(7, 10));
  EXPECT_TRUE(w.SetTimer(0xFFFFFFFF, 10));
  EXPECT_TRUE(w.TimerRunning(7));
  EXPECT_TRUE(WaitFor([&] { return first >= 2 && second >= 2; }));
  EXPECT_TRUE(w.KillTimer(7));
  EXPECT_FALSE(w.TimerRunning(7));
  const int stopped = first;
  const int other = second;
  EXPECT_TRUE(WaitFor([&] { return second > other + 2; }));  // the other timer goes on
  EXPECT_EQ(first, stopped);
  EXPECT_FALSE(w.KillTimer(7));   // harmless the second time
  EXPECT_FALSE(w.KillTimer(99));  // and for a timer that never ran
}

TEST(MessageWindow, SettingARunningTimerAgainRestartsItsPeriod) {
  TRecordingWindow w;
  int ticks = 0;
  w.onMessage = [&](TMessage&) { ++ticks; };
  w.SetTimer(1, 200);
  Pump(120);
  w.SetTimer(1, 200);  // one timer, counting from now
  Pump(120);
  EXPECT_EQ(ticks, 0);
  EXPECT_TRUE(WaitFor([&] { return ticks == 1; }));
}

TEST(MessageWindow, ErrorsInATimerTickReachTheApplicationAndTheTimerGoesOn) {
  QStringList errors;
  Application->OnException = [&](TObject*, const Exception& e) { errors << e.Message(); };
  TRecordingWindow w;
  int ticks = 0;
  w.onMessage = [&](TMessage&) {
    if (++ticks == 1) throw EConvertError("tick failed");
  };
  w.SetTimer(3, 10);
  EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
  Application->OnException = nullptr;
  EXPECT_EQ(errors, QStringList{"tick failed"});
}

TEST(MessageWindow, RegisteredMessagesAreStablePerName) {
  const uint32_t a = RegisterWindowMessage("CihazTestOne");
  const uint32_t b = RegisterWindowMessage("CihazTestTwo");
  EXPECT_GE(a, 0xC000u);
  EXPECT_GE(b, 0xC000u);
  EXPECT_NE(a, b);
  EXPECT_EQ(RegisterWindowMessage("CihazTestOne"), a);
  EXPECT_EQ(RegisterWindowMessage("cihaztestone"), a);
}

TEST(MessageWindow, BroadcastsReachEveryWindow) {
  TRecordingWindow a, b;
  const uint32_t msg = RegisterWindowMessage("CihazBroadcast");
  BroadcastMessage(msg, 5);
  EXPECT_EQ(a.log, QStringList{Entry(msg, 5)});
  EXPECT_EQ(b.log, QStringList{Entry(msg, 5)});
}

TEST(MessageWindow, ForegroundFollowsMessageWindowsAndLeavesForWidgets) {
  TRecordingWindow w;
  EXPECT_TRUE(SetForegroundWindow(w.Handle()));
  EXPECT_EQ(GetForegroundWindow(), w.Handle());
  QWidget form;
  form.show();
  SetForegroundWindow(&form);
  EXPECT_EQ(GetForegroundWindow(), 0u);
}

// ---- Hooks on widget windows and on the application's window ----------------

struct HookLog {
  QStringList lines;
  TWindowHook Hook(const QString& name, std::function<bool(TMessage&)> answer = {}) {
    return [this, name, answer](TMessage& m) {
      lines << QStringLiteral("%1 %2:%3").arg(name).arg(m.Msg, 0, 16).arg(m.WParam, 0, 16);
      return answer ? answer(m) : false;
    };
  }
};

class WindowHooks : public ::testing::Test {
 protected:
  QWidget form;
  HookLog log;
  std::vector<int> formHooks, appHooks;
  void SetUp() override { Application->SetMainForm(&form); }
  void TearDown() override {
    for (int id : formHooks) UnhookWindow(id);
    for (int id : appHooks) UnhookMainWindow(id);
    Application->SetMainForm(nullptr);
  }
  QStringList OnlyWith(const QString& prefix) const { return log.lines.filter(prefix); }
};

TEST_F(WindowHooks, ShowingTheMainFormReachesTheFormThenTheApplication) {
  formHooks.push_back(HookWindow(&form, log.Hook("form")));
  appHooks.push_back(HookMainWindow(log.Hook("app")));
  form.show();
  ASSERT_GE(log.lines.size(), 2);
  EXPECT_EQ(log.lines[0], "form 18:1");         // WM_SHOWWINDOW, shown
  EXPECT_TRUE(log.lines.contains("app 47:0"));  // WM_WINDOWPOSCHANGED
  log.lines.clear();
  form.hide();
  EXPECT_EQ(OnlyWith("form"), QStringList{"form 18:0"});
}

TEST_F(WindowHooks, NewestHookRunsFirstAndAHandledMessageStopsThere) {
  formHooks.push_back(HookWindow(&form, log.Hook("old")));
  formHooks.push_back(HookWindow(&form, log.Hook("new", [](TMessage& m) {
    m.Result = 1;
    return true;
  })));
  TMessage m{WM_USER, 0, 0, 0};
  EXPECT_TRUE(PerformWindow(&form, m));
  EXPECT_EQ(m.Result, 1);
  EXPECT_EQ(log.lines, QStringList{"new 400:0"});
}

TEST_F(WindowHooks, MinimisingAsksTheFormFirstThenTellsTheApplication) {
  form.show();
  formHooks.push_back(HookWindow(&form, log.Hook("form")));
  appHooks.push_back(HookMainWindow(log.Hook("app")));
  form.setWindowState(Qt::WindowMinimized);
  EXPECT_EQ(log.lines, (QStringList{"form 112:f020", "app 5:1"}));  // SC_MINIMIZE, then WM_SIZE minimised
  log.lines.clear();
  form.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(log.lines, QStringList{"app 112:f120"});  // SC_RESTORE
}

TEST_F(WindowHooks, ARefusedMinimiseLeavesTheWindowNormalAndTheApplicationUntold) {
  form.show();
  formHooks.push_back(HookWindow(&form, log.Hook("form", [](TMessage& m) { return m.Msg == WM_SYSCOMMAND; })));
  appHooks.push_back(HookMainWindow(log.Hook("app")));
  form.setWindowState(Qt::WindowMinimized);
  EXPECT_FALSE(form.isMinimized());
  EXPECT_EQ(log.lines, QStringList{"form 112:f020"});
}

TEST_F(WindowHooks, PostedWindowMessagesArriveLaterAndHooksCanBeRemoved) {
  const int id = HookWindow(&form, log.Hook("form"));
  PostWindowMessage(&form, WM_NULL);
  EXPECT_TRUE(log.lines.isEmpty());
  EXPECT_TRUE(WaitFor([&] { return !log.lines.isEmpty(); }));
  EXPECT_EQ(log.lines, QStringList{"form 0:0"});
  UnhookWindow(id);
  TMessage m{WM_USER, 0, 0, 0};
  EXPECT_FALSE(PerformWindow(&form, m));
  EXPECT_EQ(log.lines.size(), 1);
}

TEST_F(WindowHooks, BroadcastsReachTheApplicationHooks) {
  appHooks.push_back(HookMainWindow(log.Hook("app")));
  const uint32_t msg = RegisterWindowMessage("CihazHookBroadcast");
  BroadcastMessage(msg, 0);
  EXPECT_EQ(log.lines, QStringList{QStringLiteral("app %1:0").arg(msg, 0, 16)});
}

}  // namespace
