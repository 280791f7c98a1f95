#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "platform/Application.h"
#include "tray/LiteTimer.h"

namespace {

TEST(LiteTimer, TicksWithItselfAsSenderUntilDisabled) {
  int ticks = 0;
  TObject* sender = nullptr;
  TLiteTimer timer(10, [&](TObject* s) {
    sender = s;
    ++ticks;
  });
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
  EXPECT_EQ(sender, &timer);
  timer.SetEnabled(false);
  const int stopped = ticks;
  Pump(40);
  EXPECT_EQ(ticks, stopped);
  EXPECT_FALSE(timer.Enabled());
}

TEST(LiteTimer, ZeroIntervalStaysSilentUntilANonZeroIntervalStartsIt) {
  int ticks = 0;
  TLiteTimer timer(0, [&](TObject*) { ++ticks; });
  EXPECT_FALSE(timer.StartTimer());
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.Enabled());
  Pump(30);
  EXPECT_EQ(ticks, 0);

  // A running timer set to zero pauses but stays enabled.
  timer.SetInterval(10);
  timer.SetEnabled(true);
  timer.SetInterval(0);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(timer.Running());
  Pump(30);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(200);
  EXPECT_TRUE(timer.Running());
  EXPECT_TRUE(WaitFor([&] { return ticks == 1; }, 1000));
}

TEST(LiteTimer, SettingTheSameIntervalDoesNotRestartThePeriod) {
  int ticks = 0;
  TLiteTimer timer(150, [&](TObject*) { ++ticks; });
  QElapsedTimer clock;
  clock.start();
  timer.SetEnabled(true);
  Pump(100);
  timer.SetInterval(150);
  EXPECT_TRUE(WaitFor([&] { return ticks == 1; }));
  EXPECT_LT(clock.elapsed(), 225);  // a restart would have pushed the tick to 250 ms
}

TEST(LiteTimer, ANewIntervalRestartsThePeriod) {
  int ticks = 0;
  TLiteTimer timer(200, [&](TObject*) { ++ticks; });
  timer.SetEnabled(true);
  Pump(120);
  timer.SetInterval(201);
  Pump(120);
  EXPECT_EQ(ticks, 0);
  EXPECT_TRUE(WaitFor([&] { return ticks == 1; }));
}

TEST(LiteTimer, OneShotFiresOnceAndReportsDisabledInItsHandler) {
  int ticks = 0;
  bool enabledInHandler = true;
  TLiteTimer timer(10, nullptr);
  timer.SetOnTimer([&](TObject*) {
    ++ticks;
    enabledInHandler = timer.Enabled();
  });
  timer.SetOneShot(true);
  timer.SetEnabled(true);
  EXPECT_TRUE(WaitFor([&] { return ticks == 1; }));
  Pump(50);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(enabledInHandler);
  EXPECT_FALSE(timer.Enabled());
}

TEST(LiteTimer, RemovingTheHandlerPausesAndANewHandlerResumes) {
  int first = 0, second = 0;
  TLiteTimer timer(10, [&](TObject*) { ++first; });
  timer.SetEnabled(true);
  timer.SetOnTimer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(timer.Running());
  Pump(30);
  EXPECT_EQ(first, 0);
  timer.SetOnTimer([&](TObject*) { ++second; });
  EXPECT_TRUE(WaitFor([&] { return second >= 1; }));
}

TEST(LiteTimer, ErrorsInAHandlerReachTheApplicationWithTheTimerAsSender) {
  TObject* sender = nullptr;
  Application->OnException = [&](TObject* s, const Exception&) { sender = s; };
  TLiteTimer timer(10, [](TObject*) { throw EConvertError("bad tick"); });
  timer.SetEnabled(true);
  EXPECT_TRUE(WaitFor([&] { return sender != nullptr; }));
  Application->OnException = nullptr;
  EXPECT_EQ(sender, &timer);
}

TEST(LiteTimer, EachTimerHasItsOwnIdentityAndTicksOnlyItsOwnHandler) {
  int a = 0, b = 0;
  TLiteTimer slow(1000, [&](TObject*) { ++a; });
  TLiteTimer fast(10, [&](TObject*) { ++b; });
  EXPECT_NE(slow.Identifier(), fast.Identifier());
  slow.SetEnabled(true);
  fast.SetEnabled(true);
  EXPECT_TRUE(WaitFor([&] { return b >= 3; }));
  EXPECT_EQ(a, 0);
}

TEST(LiteTimer, TheSharedWindowGoesWithTheLastTimerAndComesBackWithTheNext) {
  ASSERT_EQ(TLiteTimerHandler::Instance(), nullptr);
  auto first = std::make_unique<TLiteTimer>();
  auto second = std::make_unique<TLiteTimer>();
  TLiteTimerHandler* shared = TLiteTimerHandler::Instance();
  ASSERT_NE(shared, nullptr);
  const HWND oldWindow = shared->Handle();
  first.reset();
  EXPECT_EQ(TLiteTimerHandler::Instance(), shared);
  second.reset();
  EXPECT_EQ(TLiteTimerHandler::Instance(), nullptr);
  EXPECT_FALSE(IsWindow(oldWindow));

  int ticks = 0;
  TLiteTimer again(10, [&](TObject*) { ++ticks; });
  ASSERT_NE(TLiteTimerHandler::Instance(), nullptr);
  EXPECT_NE(TLiteTimerHandler::Instance()->Handle(), oldWindow);
  again.SetEnabled(true);
  EXPECT_TRUE(WaitFor([&] { return ticks >= 1; }));
}

TEST(LiteTimer, AHandlerMayDestroyTheLastTimer) {
  auto timer = std::make_unique<TLiteTimer>(10, nullptr);
  int ticks = 0;
  timer->SetOnTimer([&](TObject*) {
    ++ticks;
    timer.reset();
  });
  timer->SetEnabled(true);
  EXPECT_TRUE(WaitFor([&] { return !timer; }));
  Pump(30);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(TLiteTimerHandler::Instance(), nullptr);
}

TEST(LiteTimer, TimerMessagesForUnknownIdentifiersAreIgnored) {
  int ticks = 0;
  TLiteTimer timer(1000, [&](TObject*) { ++ticks; });
  const HWND shared = TLiteTimerHandler::Instance()->Handle();
  SendMessage(shared, WM_TIMER, timer.Identifier() + 1000);
  EXPECT_EQ(ticks, 0);
  SendMessage(shared, WM_TIMER, timer.Identifier());
  EXPECT_EQ(ticks, 1);
}

}  // namespace
