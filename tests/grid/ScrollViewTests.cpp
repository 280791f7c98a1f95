#include <gtest/gtest.h>

#include <QCursor>
#include <QScrollBar>
#include <QTest>

#include "TestSupport.h"
#include "grid/ScrollView.h"

namespace {

// Records the hooks and messages of the view in call order.
class TLoggedView : public TScrollView {
 public:
  QStringList Log;
  bool Forward = true;  // run the real ScrollBy
  using TCustomScrollView::HorzScrollRect;
  using TCustomScrollView::VertScrollRect;
  using TCustomScrollView::VertScrollUnit;

  void ScrollPositionChanged(TScrollBarKind kind) override { Log << QStringLiteral("changed %1").arg(int(kind)); }
  void ScrollBy(int dx, int dy) override {
    Log << QStringLiteral("scroll %1,%2").arg(dx).arg(dy);
    if (Forward) TScrollView::ScrollBy(dx, dy);
  }

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL)
      Log << QStringLiteral("%1 %2").arg(m.Msg == WM_VSCROLL ? "WM_VSCROLL" : "WM_HSCROLL").arg(LoWord(m.WParam));
    TScrollView::WndProc(m);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
  }
};

LRESULT SendScroll(TScrollView& v, uint32_t msg, int code) { return v.Perform(msg, MakeLong(uint16_t(code), 0), 0); }

TEST(ControlScrollBar, SetPositionClampsToTheRange) {
  TLoggedView v;
  TControlScrollBar* bar = v.VertScrollBar();
  EXPECT_EQ(bar->Max(), 100);
  bar->SetPosition(110);
  EXPECT_EQ(bar->Position(), 100);
  bar->SetPosition(-3);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(bar->PreviousPosition(), 100);
  bar->SetMax(3);
  bar->SetMin(5);
  for (int p : {-1, 4, 9}) {
    bar->SetPosition(p);
    EXPECT_EQ(bar->Position(), 5) << p;
  }
  bar->SetMax(-7);
  bar->SetMin(-2);
  EXPECT_EQ(bar->Max(), 0);
  EXPECT_EQ(bar->Min(), 0);
}

TEST(ControlScrollBar, EverySetPositionNotifiesThenScrollsEvenWithoutMoving) {
  TLoggedView v;
  v.VertScrollBar()->SetPosition(4);
  v.VertScrollBar()->SetPosition(4);
  v.HorzScrollBar()->SetPosition(7);
  EXPECT_EQ(v.Log, (QStringList{"changed 1", "scroll 0,-4", "changed 1", "scroll 0,0", "changed 0", "scroll -7,0"}));
  EXPECT_EQ(v.VertScrollDelta, 0);
  EXPECT_EQ(v.HorzScrollDelta, -7);
}

TEST(ControlScrollBar, LoweringMaxBelowPositionMovesNothing) {
  TLoggedView v;
  v.VertScrollBar()->SetPosition(50);
  v.Log.clear();
  v.VertScrollBar()->SetMax(20);
  EXPECT_EQ(v.VertScrollBar()->Position(), 20);
  EXPECT_TRUE(v.Log.isEmpty());
}

TEST(ControlScrollBar, SetParamsKeepsPositionForZeroAndPushesOnce) {
  TLoggedView v;
  v.HandleNeeded();
  TControlScrollBar* bar = v.VertScrollBar();
  bar->SetPosition(30);
  v.Log.clear();
  bar->SetParams(0, 0, 60, 10, true, true);
  EXPECT_EQ(bar->Position(), 30);
  EXPECT_TRUE(v.Log.isEmpty());
  EXPECT_EQ(v.ScrollBarWidget(SB_VERT)->maximum(), 51);
  EXPECT_EQ(v.ScrollBarWidget(SB_VERT)->value(), 30);

  bar->SetParams(12, 0, 60, 10, false, true);
  EXPECT_EQ(v.Log, (QStringList{"changed 1", "scroll 0,18"}));  // at once, inside the lock
  EXPECT_EQ(v.ScrollBarWidget(SB_VERT)->value(), 12);
  EXPECT_FALSE(v.ScrollBarWidget(SB_VERT)->isEnabled());
}

TEST(ControlScrollBar, ModelWaitsForTheWindowThenPushesEverything) {
  TLoggedView v;
  v.VertScrollBar()->SetMax(40);
  v.VertScrollBar()->SetPageSize(5);
  v.VertScrollBar()->SetPosition(9);
  EXPECT_FALSE(v.HandleAllocated());
  v.HandleNeeded();
  EXPECT_EQ(v.ScrollBarWidget(SB_VERT)->maximum(), 36);
  EXPECT_EQ(v.ScrollBarWidget(SB_VERT)->value(), 9);
  EXPECT_TRUE(v.ScrollBarShown(SB_VERT));
  v.VertScrollBar()->SetVisible(false);
  EXPECT_FALSE(v.ScrollBarShown(SB_VERT));
}

TEST(ControlScrollBar, LineRequestsTravelAsMessagesOnlyWhenThereIsRange) {
  TLoggedView v;
  v.VertScrollBar()->SetMax(0);
  v.VertScrollBar()->LineDown();
  EXPECT_TRUE(v.Log.isEmpty());
  v.VertScrollBar()->SetMax(1);
  v.Log.clear();
  v.VertScrollBar()->LineDown();
  EXPECT_EQ(v.Log, (QStringList{"WM_VSCROLL 1", "changed 1", "scroll 0,-1"}));
  v.Log.clear();
  v.HorzScrollBar()->PageStep = 4;
  v.HorzScrollBar()->PageDown();
  EXPECT_EQ(v.Log, (QStringList{"WM_HSCROLL 3", "changed 0", "scroll -4,0"}));
}

struct ScrollCode {
  const char* name;
  int code;
  int expected;
};

void PrintTo(const ScrollCode& c, std::ostream* os) { *os << c.name; }

class ScrollMessages : public ::testing::TestWithParam<ScrollCode> {};

TEST_P(ScrollMessages, MoveThePositionByTheRequestCode) {
  TLoggedView v;
  TControlScrollBar* bar = v.VertScrollBar();
  bar->SetMax(50);
  bar->SetMin(2);
  bar->SetPosition(20);
  bar->LineStep = 3;
  bar->PageStep = 10;
  SendScroll(v, WM_VSCROLL, GetParam().code);
  EXPECT_EQ(bar->Position(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, ScrollMessages,
                         ::testing::Values(ScrollCode{"LineUp", SB_LINEUP, 17}, ScrollCode{"LineDown", SB_LINEDOWN, 23},
                                           ScrollCode{"PageUp", SB_PAGEUP, 10}, ScrollCode{"PageDown", SB_PAGEDOWN, 30},
                                           ScrollCode{"TopRaisedToMin", SB_TOP, 2}, ScrollCode{"Bottom", SB_BOTTOM, 50},
                                           ScrollCode{"EndScroll", SB_ENDSCROLL, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScrollView, EveryScrollMessageReshowsTheBarAndAnswersTheDialogCode) {
  TLoggedView v;
  v.SetBounds(0, 0, 100, 80);
  v.HandleNeeded();
  v.ShowScrollBar(SB_VERT, false);
  v.Log.clear();
  SendScroll(v, WM_VSCROLL, SB_ENDSCROLL);
  EXPECT_EQ(v.Log, QStringList{"WM_VSCROLL 8"});
  EXPECT_TRUE(v.ScrollBarShown(SB_VERT));
  EXPECT_EQ(v.Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
  EXPECT_EQ(v.Perform(WM_ERASEBKGND), 1);
}

TEST(ScrollView, ThumbMessagesUseTheTrackedPosition) {
  TLoggedView v;
  v.HandleNeeded();
  v.VertScrollBar()->SetMax(200000);
  v.VertScrollBar()->SetPosition(100000);
  SendScroll(v, WM_VSCROLL, SB_THUMBPOSITION);  // the message's own 16 bits are not used
  EXPECT_EQ(v.VertScrollBar()->Position(), 100000);
}

TEST(ScrollView, DraggingTheThumbTracksThroughScrollMessages) {
  TLoggedView v;
  v.SetBounds(0, 0, 100, 100);
  v.VertScrollBar()->SetParams(0, 0, 200000, 10, true, true);
  v.show();
  v.Log.clear();
  QScrollBar* bar = v.ScrollBarWidget(SB_VERT);
  bar->setSliderDown(true);
  bar->setSliderPosition(150000);
  EXPECT_EQ(v.VertScrollBar()->Position(), 150000);
  bar->setSliderDown(false);
  EXPECT_EQ(v.Log.filter("WM_VSCROLL"), (QStringList{"WM_VSCROLL 5", "WM_VSCROLL 4", "WM_VSCROLL 8"}));
  EXPECT_EQ(v.VertScrollBar()->Position(), 150000);
}

// Rows painted in distinct colours, so that moves can be traced.
void PaintRows(TCustomControl& c) {
  for (int y = 0; y < c.ClientHeight(); ++y) {
    c.Canvas()->Brush()->SetColor(RGB(y, 255 - y, 7));
    c.Canvas()->FillRect(TRect(0, y, c.ClientWidth(), y + 1));
  }
}

TColor PixelOf(TCustomControl& c, int x, int y) { return FromQColor(QColor::fromRgb(c.Image().pixel(x, y))); }

TEST(ScrollView, HorizontalMoveShiftsOnlyTheScrollRectangle) {
  TLoggedView v;
  v.SetBounds(0, 0, 120, 100);
  v.VertScrollBar()->SetMax(0);  // nothing to scroll: the platform hides the bar
  v.HandleNeeded();
  v.Update();
  ASSERT_EQ(v.ClientWidth(), 120);
  ASSERT_EQ(v.ClientHeight(), 84);
  // Columns in distinct colours this time.
  for (int x = 0; x < 120; ++x) {
    v.Canvas()->Brush()->SetColor(RGB(x, 0, 0));
    v.Canvas()->FillRect(TRect(x, 0, x + 1, 84));
  }
  v.HorzScrollRect = TRect(20, 0, 120, 84);
  v.HorzScrollBar()->SetPosition(7);
  EXPECT_EQ(PixelOf(v, 20, 50), RGB(27, 0, 0));
  EXPECT_EQ(PixelOf(v, 112, 50), RGB(119, 0, 0));
  EXPECT_EQ(PixelOf(v, 19, 50), RGB(19, 0, 0));  // outside the rectangle
  EXPECT_EQ(v.InvalidRegion(), QRegion(113, 0, 7, 84));
  EXPECT_EQ(v.ScrollBarWidget(SB_HORZ)->value(), 7);

  TLoggedView empty;
  empty.SetBounds(0, 0, 50, 50);
  empty.Update();
  PaintRows(empty);
  const QImage before = empty.Image().copy();
  empty.HorzScrollBar()->SetPosition(5);
  EXPECT_EQ(empty.Image(), before);
  EXPECT_TRUE(empty.InvalidRegion().isEmpty());
}

TEST(ScrollView, VerticalMoveUsesTheRowUnitAndPaintsTheStrip) {
  TLoggedView v;
  v.SetBounds(0, 0, 60, 100);
  v.HorzScrollBar()->SetMax(0);
  v.HandleNeeded();
  v.Update();
  ASSERT_EQ(v.ClientHeight(), 100);
  PaintRows(v);
  v.VertScrollRect = TRect(0, 10, 44, 100);
  v.VertScrollUnit = 21;
  v.VertScrollBar()->SetPosition(1);
  EXPECT_EQ(PixelOf(v, 0, 10), RGB(31, 255 - 31, 7));
  EXPECT_EQ(PixelOf(v, 0, 9), RGB(9, 255 - 9, 7));
  EXPECT_EQ(v.InvalidRegion(), QRegion(0, 79, 44, 21));
  v.Update();
  EXPECT_EQ(PixelOf(v, 0, 79), clWhite);
  EXPECT_EQ(PixelOf(v, 0, 78), RGB(99, 255 - 99, 7));
}

// Roll scrolling driven by real middle-button events.
struct RollFixture : ::testing::Test {
  QWidget window;
  TLoggedView* view = nullptr;
  void SetUp() override {
    window.setGeometry(50, 50, 300, 300);
    view = new TLoggedView;
    view->SetParent(&window);
    view->SetBounds(10, 10, 200, 200);
    view->VertScrollBar()->SetMax(100);
    view->VertScrollBar()->SetPosition(50);
    view->Forward = false;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    view->Log.clear();
  }
  void TearDown() override { Screen->SetCursor(crDefault); }
};

TEST_F(RollFixture, MiddlePressShowsTheShadowAtThePressPoint) {
  QTest::mousePress(view, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 60));
  EXPECT_TRUE(view->Rolling());
  EXPECT_EQ(view->RollOrigin(), TPoint(40, 60));
  const TPoint screen = view->ClientToScreen(TPoint(40, 60));
  EXPECT_TRUE(view->RollShadow()->isVisible());
  EXPECT_EQ(view->RollShadow()->geometry(), QRect(screen.X - 7, screen.Y - 11, 32, 32));
  EXPECT_EQ(view->RollShadow()->Cursor(), crRoll);
  EXPECT_TRUE(view->RollTimer()->Enabled());
  EXPECT_EQ(view->RollTimer()->Interval(), 1);
  QTest::mouseRelease(view, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 60));
  EXPECT_FALSE(view->Rolling());
  EXPECT_FALSE(view->RollShadow()->isVisible());
  EXPECT_FALSE(view->RollTimer()->Enabled());
}

TEST_F(RollFixture, DirectionAndCursorFollowThePointerBeyondFivePixels) {
  QTest::mousePress(view, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 60));
  QTest::mouseMove(view, QPoint(90, 55));  // 5 above: neutral
  EXPECT_EQ(Screen->Cursor(), crRoll);
  view->RollTick();
  EXPECT_EQ(view->VertScrollBar()->Position(), 50);
  QTest::mouseMove(view, QPoint(40, 54));  // 6 above: up, one line per tick
  EXPECT_EQ(Screen->Cursor(), crRollUp);
  EXPECT_EQ(view->RollShadow()->Cursor(), crRollUp);
  EXPECT_TRUE(view->RollingUp());
  EXPECT_FALSE(view->RollingDown());
  view->RollTick();
  view->RollTick();
  EXPECT_EQ(view->VertScrollBar()->Position(), 48);
  QTest::mouseMove(view, QPoint(40, 70));
  EXPECT_EQ(Screen->Cursor(), crRollDown);
  EXPECT_TRUE(view->RollingDown());
  EXPECT_FALSE(view->RollingUp());
  view->RollTick();
  EXPECT_EQ(view->VertScrollBar()->Position(), 49);
  EXPECT_EQ(view->Log.count("WM_VSCROLL 0"), 2);
  EXPECT_EQ(view->Log.count("WM_VSCROLL 1"), 1);
  QTest::mouseRelease(view, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 70));
}

TEST_F(RollFixture, TickIntervalShrinksWithThePointerDistance) {
  QTest::mousePress(view, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 100));
  for (auto [dy, interval] : {std::pair{6, 94}, {30, 70}, {-60, 40}, {99, 1}, {-120, 1}}) {
    QCursor::setPos(view->ClientToScreen(TPoint(40, 100 + dy)).ToQt());
    view->RollTick();
    EXPECT_EQ(view->RollTimer()->Interval(), interval) << dy;
  }
  QTest::mouseRelease(view, Qt::MiddleButton, Qt::NoModifier, QPoint(40, 100));
}

TEST_F(RollFixture, AnyButtonUpResetsCursorAndCapture) {
  Screen->SetCursor(crRollDown);
  view->SetMouseCapture(true);
  QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_FALSE(view->MouseCapture());
}

TEST(ScrollView, RegistersTheRollCursors) {
  TScrollView v;
  for (int id : {crRoll, crRollUp, crRollDown}) {
    EXPECT_FALSE(Screen->Cursors(id).pixmap().isNull()) << id;
    EXPECT_EQ(Screen->Cursors(id).hotSpot(), QPoint(15, 15)) << id;
  }
}

}  // namespace
