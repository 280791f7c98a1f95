#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <functional>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Timers.h"

namespace {

// Paints its whole client area in the current colour and records what it
// was asked to paint.
class TPaintProbe : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TColor PaintColor = clRed;
  int Paints = 0;
  TRect LastClip;
  QStringList Log;
  uint32_t ExtraStyle = 0;
  uint32_t ExtraExStyle = 0;
  uint32_t ClassBitsOff = 0;
  QString Fail;  // the handler that raises an error

 protected:
  void FailIf(const char* handler) const {
    if (Fail == QLatin1String(handler)) throw EConvertError(Fail);
  }
  void CreateParams(TCreateParams& Params) override {
    FailIf("CreateParams");
    TCustomControl::CreateParams(Params);
    Params.Style |= ExtraStyle;
    Params.ExStyle |= ExtraExStyle;
    Params.WindowClassStyle &= ~ClassBitsOff;
  }
  void Paint() override {
    FailIf("Paint");
    ++Paints;
    LastClip = Canvas()->ClipRect();
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(ClientRect());
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Log << QStringLiteral("down %1 %2,%3%4").arg(int(b)).arg(x).arg(y).arg(s & ssDouble ? " dbl" : "");
    FailIf("MouseDown");
    TCustomControl::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    Log << QStringLiteral("up %1 %2,%3").arg(int(b)).arg(x).arg(y);
    TCustomControl::MouseUp(b, s, x, y);
  }
  void Click() override { Log << QStringLiteral("click"); }
  void DblClick() override { Log << QStringLiteral("dblclick"); }
  void KeyDown(Word& key, TShiftState s) override {
    Log << QStringLiteral("keydown %1%2").arg(key).arg(s & ssCtrl ? " ctrl" : "");
    FailIf("KeyDown");
  }
  void KeyPress(QChar& key) override { Log << QStringLiteral("char %1").arg(key.unicode()); }
  void WMSetFocus() override { Log << QStringLiteral("setfocus"); }
  void DoEnter() override { Log << QStringLiteral("enter"); }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL)
      Log << QStringLiteral("%1 %2").arg(m.Msg == WM_VSCROLL ? "vscroll" : "hscroll").arg(LoWord(m.WParam));
    if (m.Msg == WM_VSCROLL) FailIf("Scroll");
    TCustomControl::WndProc(m);
  }
  void TextChanged() override { FailIf("TextChanged"); }
  void ColorChanged() override { FailIf("ColorChanged"); }
  void FontChanged() override { FailIf("FontChanged"); }
  void Resize() override {
    FailIf("Resize");
    TCustomControl::Resize();
  }
};

TColor PixelOf(TCustomControl& c, int x, int y) { return FromQColor(QColor::fromRgb(c.Image().pixel(x, y))); }

TEST(CustomControl, PaintRunsOnlyForTheInvalidRegion) {
  TPaintProbe c;
  c.SetBounds(0, 0, 100, 60);
  c.HandleNeeded();
  c.Update();
  EXPECT_EQ(c.Paints, 1);
  EXPECT_EQ(c.LastClip, TRect(0, 0, 100, 60));
  EXPECT_EQ(PixelOf(c, 99, 59), clRed);

  c.PaintColor = clBlue;
  c.InvalidateRect(TRect(10, 20, 30, 25));
  c.Update();
  EXPECT_EQ(c.Paints, 2);
  EXPECT_EQ(c.LastClip, TRect(10, 20, 30, 25));
  EXPECT_EQ(PixelOf(c, 10, 20), clBlue);
  EXPECT_EQ(PixelOf(c, 29, 24), clBlue);
  EXPECT_EQ(PixelOf(c, 30, 24), clRed);  // never erased, never repainted
  EXPECT_EQ(PixelOf(c, 29, 25), clRed);

  c.Update();  // nothing invalid: no paint
  EXPECT_EQ(c.Paints, 2);
}

TEST(CustomControl, PaintEventsDrawTheBackingImage) {
  TPaintProbe c;
  c.SetBounds(0, 0, 40, 30);
  c.show();
  ASSERT_TRUE(WaitFor([&] { return c.Paints > 0; }));
  const QImage shown = c.grab().toImage();
  EXPECT_EQ(FromQColor(QColor::fromRgb(shown.pixel(20, 15))), clRed);
}

// Counts the paint events a shown control gets and the areas they cover,
// in client coordinates.
class TPaintEventCounter : public QObject {
 public:
  explicit TPaintEventCounter(TWinControl& c) : c_(c) { c.installEventFilter(this); }
  int Events = 0;
  QRegion Painted;

  // Lets the window settle, then forgets what it painted so far.
  void Settle() {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&c_));
    Pump(50);
    Events = 0;
    Painted = QRegion();
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++Events;
      Painted |= static_cast<QPaintEvent*>(e)->region().translated(-c_.ClientOrigin().ToQt());
    }
    return false;
  }

 private:
  TWinControl& c_;
};

// A shown probe with a static edge, its paint events counted from rest.
class ShownProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    c.ExtraExStyle = WS_EX_STATICEDGE;
    c.SetBounds(0, 0, 120, 80);
    c.show();
    counter.Settle();
  }
  TPaintProbe c;
  TPaintEventCounter counter{c};
};

TEST_F(ShownProbe, OneInvalidationGivesOnePaintEventAndOnePaint) {
  const int paints = c.Paints;
  c.InvalidateRect(TRect(10, 20, 30, 25));
  ASSERT_TRUE(WaitFor([&] { return c.Paints > paints; }));
  Pump(50);
  EXPECT_EQ(c.Paints, paints + 1);
  EXPECT_EQ(counter.Events, 1);
  EXPECT_EQ(counter.Painted, QRegion(10, 20, 20, 5));
}

// Drawing outside Paint shows at once, and only where it drew.
struct OutsideDrawCase {
  const char* name;
  std::function<void(TCanvas&)> draw;
  QRect touched;  // client coordinates
};
void PrintTo(const OutsideDrawCase& c, std::ostream* os) { *os << c.name; }

class DrawingOutsidePaint : public ShownProbe, public ::testing::WithParamInterface<OutsideDrawCase> {};

TEST_P(DrawingOutsidePaint, MarksOnlyWhatItTouched) {
  const int paints = c.Paints;
  const QImage before = c.Image().copy();
  GetParam().draw(*c.Canvas());
  ASSERT_TRUE(WaitFor([&] { return counter.Events > 0; }));
  EXPECT_EQ(counter.Painted.boundingRect(), GetParam().touched);
  // Every changed pixel lies in what was marked.
  QRect changed;
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x)
      if (before.pixel(x, y) != c.Image().pixel(x, y)) changed |= QRect(x, y, 1, 1);
  EXPECT_FALSE(changed.isEmpty());
  EXPECT_TRUE(GetParam().touched.contains(changed)) << changed.x() << "," << changed.y();
  EXPECT_EQ(c.Paints, paints);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, DrawingOutsidePaint,
    ::testing::Values(OutsideDrawCase{"InvertingGuideLine",
                                      [](TCanvas& k) {
                                        k.Pen()->SetMode(pmNot);
                                        k.MoveTo(10, 0);
                                        k.LineTo(10, 80);
                                      },
                                      QRect(10, 0, 1, 78)},  // the client area is 78 high
                      OutsideDrawCase{"FocusRectangle", [](TCanvas& k) { k.DrawFocusRect(TRect(5, 6, 25, 16)); },
                                      QRect(5, 6, 20, 10)},
                      OutsideDrawCase{"Fill",
                                      [](TCanvas& k) {
                                        k.Brush()->SetColor(clBlue);
                                        k.FillRect(TRect(40, 30, 50, 35));
                                      },
                                      QRect(40, 30, 10, 5)},
                      OutsideDrawCase{"Pixel", [](TCanvas& k) { k.SetPixels(7, 9, clBlue); }, QRect(7, 9, 1, 1)},
                      OutsideDrawCase{"InvertingCopy",
                                      [](TCanvas& k) {
                                        k.SetCopyMode(DSTINVERT);
                                        k.CopyRect(TRect(60, 10, 70, 20), &k, TRect(60, 10, 70, 20));
                                      },
                                      QRect(60, 10, 10, 10)},
                      OutsideDrawCase{"ClippedText",
                                      [](TCanvas& k) {
                                        TRect r(20, 40, 60, 56);
                                        k.Brush()->SetStyle(bsClear);
                                        k.DrawText(QStringLiteral("Hücre"), r, DT_SINGLELINE | DT_VCENTER);
                                      },
                                      QRect(20, 40, 40, 16)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CustomControl, DrawingOutsidePaintStaysAndInvertsBack) {
  TPaintProbe c;
  c.SetBounds(0, 0, 50, 40);
  c.Repaint();
  TCanvas* canvas = c.Canvas();
  canvas->Pen()->SetMode(pmNot);
  canvas->MoveTo(10, 0);
  canvas->LineTo(10, 40);
  EXPECT_EQ(PixelOf(c, 10, 20), RGB(0, 255, 255));
  canvas->MoveTo(10, 0);
  canvas->LineTo(10, 40);
  canvas->Pen()->SetMode(pmCopy);
  EXPECT_EQ(PixelOf(c, 10, 20), clRed);
  EXPECT_EQ(c.Paints, 1);
}

TEST(CustomControl, ResizeKeepsPixelsAndPaintsOnlyTheNewPartWhenTheClassSaysSo) {
  TPaintProbe c;
  c.ClassBitsOff = CS_HREDRAW | CS_VREDRAW;
  c.HandleNeeded();
  c.SetBounds(0, 0, 40, 30);
  c.Repaint();
  c.PaintColor = clGreen;
  c.SetBounds(0, 0, 60, 30);
  c.Update();
  EXPECT_EQ(c.LastClip, TRect(40, 0, 60, 30));
  EXPECT_EQ(PixelOf(c, 39, 10), clRed);
  EXPECT_EQ(PixelOf(c, 40, 10), clGreen);

  TPaintProbe redraw;
  redraw.SetBounds(0, 0, 40, 30);
  redraw.Repaint();
  int resizes = 0;
  redraw.OnResize = [&](TObject*) { ++resizes; };
  redraw.SetBounds(0, 0, 50, 30);
  EXPECT_EQ(resizes, 1);
  redraw.Update();
  EXPECT_EQ(redraw.LastClip, TRect(0, 0, 50, 30));
}

TEST(CustomControl, ScrollWindowMovesPixelsInsideTheClipAndInvalidatesTheStrip) {
  TPaintProbe c;
  c.SetBounds(0, 0, 40, 40);
  c.Repaint();
  // Rows of distinct colours so that a move is visible.
  for (int y = 0; y < 40; ++y) {
    c.Canvas()->Brush()->SetColor(RGB(y * 5, 0, 0));
    c.Canvas()->FillRect(TRect(0, y, 40, y + 1));
  }
  const TRect clip(0, 10, 30, 40);
  TRect update;
  c.ScrollWindowEx(0, -3, nullptr, &clip, &update, SW_INVALIDATE);
  EXPECT_EQ(update, TRect(0, 37, 30, 40));
  EXPECT_EQ(c.InvalidRegion(), QRegion(0, 37, 30, 3));
  EXPECT_EQ(PixelOf(c, 0, 10), RGB(13 * 5, 0, 0));  // row 13 moved up to 10
  EXPECT_EQ(PixelOf(c, 29, 36), RGB(39 * 5, 0, 0));
  EXPECT_EQ(PixelOf(c, 30, 10), RGB(10 * 5, 0, 0));  // outside the clip: untouched
  EXPECT_EQ(PixelOf(c, 0, 9), RGB(9 * 5, 0, 0));

  c.ScrollWindowEx(4, 0, nullptr, &clip, &update, SW_INVALIDATE);
  EXPECT_EQ(update, TRect(0, 10, 4, 40));
  EXPECT_EQ(PixelOf(c, 4, 10), RGB(13 * 5, 0, 0));
  // The pending strip moved right with the pixels, clipped.
  EXPECT_TRUE(c.InvalidRegion().contains(QRect(4, 37, 26, 3)));
}

// Every way the client area can change size fires Resize once, and the
// backing image has the new client size by then.
struct ClientSizeCase {
  const char* name;
  std::function<void(TPaintProbe&)> change;
  QSize client;  // after the change; the window is 200 x 100, shown
  int resizes;
};
void PrintTo(const ClientSizeCase& c, std::ostream* os) { *os << c.name; }

class ClientSizeChange : public ::testing::TestWithParam<ClientSizeCase> {};

TEST_P(ClientSizeChange, FiresResizeOnceWithTheImageAlreadyFollowing) {
  TPaintProbe c;
  c.SetBounds(0, 0, 200, 100);
  c.show();
  QStringList log;
  c.OnResize = [&](TObject*) {
    log << QStringLiteral("%1x%2 image %3x%4")
               .arg(c.ClientWidth())
               .arg(c.ClientHeight())
               .arg(c.Image().width())
               .arg(c.Image().height());
  };
  GetParam().change(c);
  const QString expected =
      QStringLiteral("%1x%2 image %1x%2").arg(GetParam().client.width()).arg(GetParam().client.height());
  EXPECT_EQ(log, QStringList(GetParam().resizes, expected));
  EXPECT_EQ(QSize(c.ClientWidth(), c.ClientHeight()), GetParam().client);
}

void ShowVerticalRange(TPaintProbe& c) {
  TScrollInfo info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMax = 50;
  info.nPage = 10;
  c.SetScrollInfo(SB_VERT, info, true);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ClientSizeChange,
    ::testing::Values(
        ClientSizeCase{"ScrollRangeShowsTheVerticalBar", ShowVerticalRange, {184, 100}, 1},
        ClientSizeCase{"HorizontalBarShown", [](TPaintProbe& c) { c.ShowScrollBar(SB_HORZ, true); }, {200, 84}, 1},
        ClientSizeCase{"BorderWidens", [](TPaintProbe& c) { c.SetBorderWidth(2); }, {196, 96}, 1},
        ClientSizeCase{"BoundsChange", [](TPaintProbe& c) { c.SetBounds(0, 0, 150, 60); }, {150, 60}, 1},
        ClientSizeCase{"QtResizesTheShownWindow", [](TPaintProbe& c) { c.resize(120, 70); }, {120, 70}, 1},
        ClientSizeCase{"SameSizeAgain", [](TPaintProbe& c) { c.SetBounds(5, 5, 200, 100); }, {200, 100}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WinControl, WindowIsMadeWhenShownWithItsParent) {
  QWidget form;
  auto* child = new TPaintProbe(&form);
  child->ExtraStyle = WS_VSCROLL;
  child->SetBounds(5, 5, 50, 40);
  EXPECT_FALSE(child->HandleAllocated());
  form.show();
  EXPECT_TRUE(child->HandleAllocated());
  EXPECT_TRUE(child->ScrollBarShown(SB_VERT));
  EXPECT_TRUE(child->isVisible());

  TPaintProbe hidden;
  hidden.SetVisible(false);
  hidden.SetParent(&form);
  EXPECT_FALSE(hidden.isVisible());
  hidden.SetParent(nullptr);
}

TEST(WinControl, ClientAreaExcludesEdgeBorderAndScrollBars) {
  TPaintProbe c;
  c.ExtraExStyle = WS_EX_STATICEDGE;
  c.ExtraStyle = WS_VSCROLL;
  c.SetBounds(0, 0, 100, 80);
  c.HandleNeeded();
  EXPECT_EQ(c.ClientWidth(), 100 - 2 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(c.ClientHeight(), 78);
  EXPECT_EQ(c.ClientOrigin(), TPoint(1, 1));
  c.SetBorderWidth(1);
  EXPECT_EQ(c.ClientOrigin(), TPoint(2, 2));
  EXPECT_EQ(c.ClientHeight(), 76);
  EXPECT_EQ(c.Image().size(), QSize(c.ClientWidth(), c.ClientHeight()));
  EXPECT_EQ(c.ScrollBarWidget(SB_VERT)->geometry(), QRect(100 - 2 - 16, 2, 16, 76));
}

TEST(WinControl, ScrollBarsFollowTheWindowsModel) {
  TPaintProbe c;
  c.SetBounds(0, 0, 100, 80);
  c.HandleNeeded();
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMin = 0;
  info.nMax = 10;
  info.nPage = 3;
  info.nPos = 20;
  EXPECT_EQ(c.SetScrollInfo(SB_VERT, info, true), 8);  // the thumb reaches max − page + 1
  EXPECT_TRUE(c.ScrollBarShown(SB_VERT));
  QScrollBar* bar = c.ScrollBarWidget(SB_VERT);
  EXPECT_EQ(bar->maximum(), 8);
  EXPECT_EQ(bar->pageStep(), 3);
  EXPECT_EQ(bar->value(), 8);
  EXPECT_EQ(c.ClientWidth(), 84);

  info.nMax = 2;  // the page covers everything: the bar goes away
  c.SetScrollInfo(SB_VERT, info, true);
  EXPECT_FALSE(c.ScrollBarShown(SB_VERT));
  EXPECT_EQ(c.ClientWidth(), 100);
  c.ShowScrollBar(SB_VERT, true);
  EXPECT_TRUE(c.ScrollBarShown(SB_VERT));
  c.EnableScrollBar(SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_FALSE(bar->isEnabled());

  TScrollInfo read;
  read.fMask = SIF_RANGE | SIF_POS | SIF_TRACKPOS;
  c.GetScrollInfo(SB_VERT, read);
  EXPECT_EQ(read.nMax, 2);
  EXPECT_EQ(read.nPos, 0);
  EXPECT_EQ(read.nTrackPos, 0);
}

TEST(WinControl, ScrollBarClicksArriveAsScrollMessages) {
  TPaintProbe c;
  c.SetBounds(0, 0, 100, 80);
  c.show();
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMax = 50;
  info.nPage = 10;
  info.nPos = 5;
  c.SetScrollInfo(SB_VERT, info, true);
  QScrollBar* bar = c.ScrollBarWidget(SB_VERT);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(c.Log, (QStringList{"vscroll 1", "vscroll 8", "vscroll 2", "vscroll 8"}));
  EXPECT_EQ(bar->value(), 5);  // nobody moved the model, so the bar stays
}

TEST(WinControl, MouseInputArrivesInClientCoordinatesWithClicks) {
  TPaintProbe c;
  c.ExtraExStyle = WS_EX_STATICEDGE;
  c.SetBounds(0, 0, 60, 40);
  c.show();
  QTest::mouseClick(&c, Qt::LeftButton, Qt::NoModifier, QPoint(11, 21));
  QTest::mouseDClick(&c, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mousePress(&c, Qt::MiddleButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_EQ(c.Log.mid(0, 3), (QStringList{"down 0 10,20", "up 0 10,20", "click"}));
  EXPECT_TRUE(c.Log.contains("dblclick"));
  EXPECT_TRUE(c.Log.contains("down 0 4,4 dbl"));
  EXPECT_EQ(c.Log.last(), "down 2 2,2");
}

TEST(WinControl, WithoutDoubleClickClassASecondPressIsPlain) {
  TPaintProbe c;
  c.ClassBitsOff = CS_DBLCLKS;
  c.SetBounds(0, 0, 60, 40);
  c.show();
  QTest::mouseClick(&c, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseDClick(&c, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_FALSE(c.Log.contains("dblclick"));
  EXPECT_EQ(c.Log.count("down 0 5,5"), 2) << c.Log.join("; ").toStdString();
}

TEST(WinControl, KeysBecomeVirtualKeysAndCharacters) {
  TPaintProbe c;
  c.SetTabStop(true);
  c.SetBounds(0, 0, 60, 40);
  c.show();
  c.SetFocus();
  ASSERT_TRUE(WaitFor([&] { return c.Log.contains("enter"); }));
  EXPECT_EQ(c.Log.mid(0, 2), (QStringList{"setfocus", "enter"}));
  c.Log.clear();
  QTest::keyClick(&c, Qt::Key_Up);
  QTest::keyClick(&c, Qt::Key_A);
  QTest::keyClick(&c, Qt::Key_Return);
  QTest::keyClick(&c, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(c.Log.mid(0, 5), (QStringList{"keydown 38", "keydown 65", "char 97", "keydown 13", "char 13"}));
  EXPECT_TRUE(c.Log.contains("keydown 67 ctrl"));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_PageDown), VK_NEXT);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), VK_NUMPAD0 + 5);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F2), VK_F2);
}

// Errors and where they go: the program's own calls see them, the
// platform's calls into the program report them once through OnException.
class ErrorRoutes : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->OnException = [this](TObject*, const Exception& e) { errors << e.Message(); };
    c.SetBounds(0, 0, 100, 60);
    c.SetTabStop(true);
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
  }
  void TearDown() override { Application->OnException = nullptr; }
  TPaintProbe c;
  QStringList errors;
};

struct SetterCase {
  const char* name;
  const char* failing;
  std::function<void(TPaintProbe&)> call;
};
void PrintTo(const SetterCase& c, std::ostream* os) { *os << c.name; }

class SetterErrors : public ErrorRoutes, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(SetterErrors, ReachTheCallerAndAreNotReported) {
  c.Fail = QLatin1String(GetParam().failing);
  bool carriedOn = false;
  EXPECT_THROW(
      {
        GetParam().call(c);
        carriedOn = true;
      },
      EConvertError);
  EXPECT_FALSE(carriedOn);
  EXPECT_TRUE(errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Setters, SetterErrors,
    ::testing::Values(SetterCase{"SetText", "TextChanged", [](TPaintProbe& c) { c.SetText(QStringLiteral("x")); }},
                      SetterCase{"SetColor", "ColorChanged", [](TPaintProbe& c) { c.SetColor(clBlue); }},
                      SetterCase{"FontChange", "FontChanged", [](TPaintProbe& c) { c.Font()->SetHeight(20); }},
                      SetterCase{"SetBounds", "Resize", [](TPaintProbe& c) { c.SetBounds(0, 0, 150, 60); }},
                      SetterCase{"ShowScrollBar", "Resize", [](TPaintProbe& c) { c.ShowScrollBar(SB_VERT, true); }},
                      SetterCase{"Update", "Paint",
                                 [](TPaintProbe& c) {
                                   c.Invalidate();
                                   c.Update();
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ErrorRoutes, APaintThatFailedLeavesTheControlPaintable) {
  c.Fail = QStringLiteral("Paint");
  c.Invalidate();
  EXPECT_THROW(c.Update(), EConvertError);
  c.Fail.clear();
  const int paints = c.Paints;
  c.Repaint();
  EXPECT_EQ(c.Paints, paints + 1);
  EXPECT_EQ(c.LastClip, c.ClientRect());
}

struct EntryCase {
  const char* name;
  std::function<void(TPaintProbe&)> enter;
  QStringList afterwards;  // what the probe logged after the error
};
void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class EntryErrors : public ErrorRoutes, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntryErrors, ReachOnExceptionOnceAndEndTheirOwnWork) {
  c.Log.clear();
  GetParam().enter(c);
  EXPECT_TRUE(WaitFor([&] { return !errors.isEmpty(); }));
  Pump(20);
  EXPECT_EQ(errors.size(), 1) << errors.join(", ").toStdString();
  EXPECT_EQ(c.Log, GetParam().afterwards);
}

void ScrollDown(TPaintProbe& c) {
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMax = 50;
  info.nPage = 10;
  c.SetScrollInfo(SB_VERT, info, true);
  c.Fail = QStringLiteral("Scroll");
  c.ScrollBarWidget(SB_VERT)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

INSTANTIATE_TEST_SUITE_P(Entries, EntryErrors,
                         ::testing::Values(EntryCase{"MousePress",
                                                     [](TPaintProbe& c) {
                                                       c.Fail = QStringLiteral("MouseDown");
                                                       QTest::mousePress(&c, Qt::LeftButton, Qt::NoModifier,
                                                                         QPoint(4, 4));
                                                     },
                                                     {"down 0 4,4"}},
                                           EntryCase{"KeyPressEndsBeforeTheCharacter",
                                                     [](TPaintProbe& c) {
                                                       c.Fail = QStringLiteral("KeyDown");
                                                       QTest::keyClick(&c, Qt::Key_A);
                                                     },
                                                     {"keydown 65"}},
                                           EntryCase{"QtResize",
                                                     [](TPaintProbe& c) {
                                                       c.Fail = QStringLiteral("Resize");
                                                       c.resize(130, 70);
                                                     },
                                                     {}},
                                           EntryCase{"PaintEvent",
                                                     [](TPaintProbe& c) {
                                                       c.Fail = QStringLiteral("Paint");
                                                       c.Invalidate();
                                                     },
                                                     {}},
                                           EntryCase{"ScrollBarSignalStopsBeforeEndScroll", ScrollDown, {"vscroll 1"}},
                                           EntryCase{"ShowEventCreatesTheWindow",
                                                     [](TPaintProbe& c) {
                                                       c.hide();
                                                       auto* child = new TPaintProbe(&c);
                                                       child->Fail = QStringLiteral("CreateParams");
                                                       c.show();
                                                     },
                                                     {}},
                                           EntryCase{"TimerTick",
                                                     [](TPaintProbe&) {
                                                       auto* timer = new TTimer;
                                                       timer->SetInterval(1);
                                                       timer->SetOnTimer([timer](TObject*) {
                                                         timer->SetEnabled(false);
                                                         timer->deleteLater();
                                                         throw EConvertError(QStringLiteral("tick"));
                                                       });
                                                     },
                                                     {}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A windowless button-like control on a custom control.
class TProbeGraphic : public TGraphicControl {
 public:
  QStringList Log;
  void MouseEnter() override { Log << "enter"; }
  void MouseLeave() override { Log << "leave"; }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(TRect(0, 0, 100, 100));  // clipped to its bounds
  }
};

TEST(GraphicControl, PaintsOnItsParentAndTakesItsMouseInput) {
  TPaintProbe parent;
  parent.SetBounds(0, 0, 60, 40);
  parent.show();
  TProbeGraphic button;
  button.SetParent(&parent);
  button.SetBounds(10, 5, 8, 6);
  int clicks = 0;
  button.OnClick = [&](TObject*) { ++clicks; };
  parent.Repaint();
  EXPECT_EQ(PixelOf(parent, 10, 5), clBlue);
  EXPECT_EQ(PixelOf(parent, 17, 10), clBlue);
  EXPECT_EQ(PixelOf(parent, 18, 10), clRed);
  EXPECT_EQ(PixelOf(parent, 9, 5), clRed);

  QTest::mouseMove(&parent, QPoint(12, 7));
  QTest::mouseClick(&parent, Qt::LeftButton, Qt::NoModifier, QPoint(12, 7));
  QTest::mouseMove(&parent, QPoint(40, 30));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.Log, (QStringList{"enter", "leave"}));
  EXPECT_FALSE(parent.Log.contains("click"));

  button.SetVisible(false);
  parent.Update();
  EXPECT_EQ(PixelOf(parent, 10, 5), clRed);
}

TEST(Screen, CursorTableAndApplicationCursor) {
  const QCursor roll = TScreen::LoadCursorResource(QStringLiteral("ROLL"));
  EXPECT_FALSE(roll.pixmap().isNull());
  EXPECT_EQ(roll.hotSpot(), QPoint(15, 15));
  EXPECT_TRUE(TScreen::LoadCursorResource(QStringLiteral("MISSING")).pixmap().isNull());
  Screen->SetCursors(4242, roll);
  EXPECT_EQ(Screen->Cursors(4242).hotSpot(), QPoint(15, 15));
  EXPECT_EQ(Screen->Cursors(crSizeWE).shape(), Qt::SizeHorCursor);

  Screen->SetCursor(crHourGlass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST(WinControl, PopupParametersMakeAFramelessTopMostToolWindow) {
  class TPopup : public TCustomControl {
   protected:
    void CreateParams(TCreateParams& p) override {
      TCustomControl::CreateParams(p);
      p.Style = (p.Style & ~WS_CHILD) | WS_POPUP;
      p.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    }
  };
  QWidget owner;
  TPopup popup;
  popup.setParent(&owner);
  popup.HandleNeeded();
  EXPECT_TRUE(popup.isWindow());
  EXPECT_TRUE(popup.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(popup.windowFlags() & Qt::FramelessWindowHint);
  popup.SetBounds(300, 200, 20, 10);
  EXPECT_EQ(popup.geometry(), QRect(300, 200, 20, 10));
  EXPECT_EQ(popup.Left(), 300);
}

}  // namespace
