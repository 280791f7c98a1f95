#include <gtest/gtest.h>

#include "ManualClock.h"
#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/Timers.h"

namespace {

// Routes the application's error event into a list for one test.
struct ErrorLog {
  QStringList lines;
  TObject* lastSender = nullptr;
  ErrorLog() {
    Application->OnException = [this](TObject* s, const Exception& e) {
      lastSender = s;
      lines << e.Message();
    };
  }
  ~ErrorLog() { Application->OnException = nullptr; }
};

TEST(Dispatch, ErrorsEndTheHandlerAndReachOnException) {
  ErrorLog log;
  TTimer sender;
  QStringList steps;
  Dispatch(&sender, [&] {
    steps << "before";
    throw EConvertError("boom");
    steps << "after";
  });
  Dispatch(&sender, [&] { throw std::runtime_error("plain"); });
  EXPECT_EQ(steps, QStringList{"before"});
  EXPECT_EQ(log.lines, (QStringList{"boom", "plain"}));
  EXPECT_EQ(log.lastSender, &sender);
}

TEST(Timer, TicksOnlyWhileEnabledWithHandlerAndInterval) {
  ErrorLog log;
  TTimer timer;
  int ticks = 0;
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 2) throw EConvertError("second tick fails");
  });
  EXPECT_TRUE(WaitFor([&] { return ticks >= 3; }));
  EXPECT_EQ(log.lines, QStringList{"second tick fails"});  // the timer keeps running after an error
  timer.SetEnabled(false);
  const int stopped = ticks;
  Pump(40);
  EXPECT_EQ(ticks, stopped);
  timer.SetInterval(0);
  timer.SetEnabled(true);
  Pump(40);
  EXPECT_EQ(ticks, stopped);
}

TEST(Timer, AHandMovedClockTicksItInsteadOfTheEventLoop) {
  ManualClock clock;
  TTimer timer;
  int ticks = 0;
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  timer.SetClock(&clock);
  Pump(40);
  EXPECT_EQ(ticks, 0) << "the event loop no longer ticks it";
  clock.Advance(35);
  EXPECT_EQ(ticks, 3);
  timer.SetEnabled(false);
  clock.Advance(50);
  EXPECT_EQ(ticks, 3);
  timer.SetEnabled(true);  // a new period starts when enabled again
  clock.Advance(9);
  EXPECT_EQ(ticks, 3);
  clock.Advance(1);
  EXPECT_EQ(ticks, 4);
  timer.SetClock(nullptr);
  EXPECT_TRUE(WaitFor([&] { return ticks >= 6; }));
}

TEST(Components, OwnerDestroysOwnedComponentsLastFirst) {
  QStringList order;
  struct Probe : TComponent {
    QStringList* order;
    QString name;
    Probe(TComponent* o, QStringList* l, QString n) : TComponent(o), order(l), name(std::move(n)) {}
    ~Probe() override { *order << name; }
  };
  auto* owner = new TComponent;
  new Probe(owner, &order, "a");
  auto* b = new Probe(owner, &order, "b");
  new Probe(owner, &order, "c");
  delete b;  // leaves its owner's list
  EXPECT_EQ(owner->ComponentCount(), 2);
  delete owner;
  EXPECT_EQ(order, (QStringList{"b", "c", "a"}));
}

TEST(Colors, SystemColorsResolveFromTheFixedPalette) {
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
  EXPECT_EQ(ColorToRGB(clWindow), RGB(255, 255, 255));
  EXPECT_EQ(ColorToRGB(clHighlight), RGB(10, 36, 106));
  EXPECT_EQ(ColorToRGB(clInfoBk), RGB(255, 255, 225));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);  // unknown index
}

TEST(Fonts, PointsAndPixelHeightsAgree) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  font.SetSize(12);
  EXPECT_EQ(font.Height(), -16);
  font.SetSize(12);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(font.ToQFont().pixelSize(), 16);
}

TEST(Fonts, AssigningAnEqualFontTellsNobody) {
  TFont source, font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.Assign(&source);
  EXPECT_EQ(changes, 0);
  source.SetStyle(fsBold);
  font.Assign(&source);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(font.Style().testFlag(fsBold));
  source.SetColor(clRed);
  font.Assign(&source);
  font.Assign(&source);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(font.Color(), clRed);
}

TEST(Bitmaps, TransparentColourClearsOnlyMatchingPixels) {
  TBitmap bmp(3, 2);
  bmp.SetPixel(0, 1, clRed);
  bmp.SetPixel(2, 0, clRed);
  bmp.SetPixel(1, 0, clBlue);
  bmp.SetTransparent(true);
  const QImage img = bmp.MaskedImage();
  EXPECT_EQ(qAlpha(img.pixel(0, 1)), 0);
  EXPECT_EQ(qAlpha(img.pixel(2, 0)), 0);
  EXPECT_EQ(img.pixel(1, 0), QColor(0, 0, 255).rgb());
  EXPECT_EQ(img.pixel(1, 1), QColor(255, 255, 255).rgb());
  EXPECT_EQ(bmp.Pixel(5, 5), clNone);
}

TEST(Dialogs, TurkishTitlesAndTheHook) {
  QStringList shown;
  SetMessageDlgHook([&](const QString& title, const QString& text, TMsgDlgType) { shown << title + "|" + text; });
  MessageDlg("a", mtInformation);
  MessageDlg("b", mtWarning);
  SetMessageDlgHook(nullptr);
  EXPECT_EQ(shown, (QStringList{"Bilgi|a", "Uyarı|b"}));
}

}  // namespace
