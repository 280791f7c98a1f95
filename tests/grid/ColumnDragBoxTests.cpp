// Dragging a column header: the arrows' shapes, the box's pixels, its place
// over the header and under the pointer, the order of its reports, giving a
// drag up, and the grid's decisions (start, zone, arrows, drop).

#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>
#include <algorithm>

#include "GridControlTestSupport.h"
#include "TestSupport.h"
#include "grid/ColumnDragBox.h"

namespace {

// The 9 × 9 window as rows of '#' (part of the window) and '.'.
QStringList ShapeOf(const QRegion& shape) {
  QStringList rows;
  for (int y = 0; y < TDragArrow::kSize; ++y) {
    QString row;
    for (int x = 0; x < TDragArrow::kSize; ++x) row += shape.contains(QPoint(x, y)) ? QChar('#') : QChar('.');
    rows << row;
  }
  return rows;
}

TColor Pixel(const TCustomControl& c, int x, int y) { return FromQColor(QColor::fromRgb(c.Image().pixel(x, y))); }

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}
void Move(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
void Release(QWidget* w, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
  SendMouse(w, QEvent::MouseButtonRelease, p, button, Qt::NoButton);
}

QString PointText(TPoint p) { return QStringLiteral("%1,%2").arg(p.X).arg(p.Y); }

// ---- arrows ----------------------------------------------------------------------

TEST(DragArrow, IsNineByNineAndUnshapedUntilGivenADirection) {
  TDragArrow arrow;
  EXPECT_EQ(arrow.Direction(), TDragArrow::NoShape);
  EXPECT_EQ(arrow.Width(), 9);
  EXPECT_EQ(arrow.Height(), 9);
  EXPECT_TRUE(arrow.mask().isEmpty());
  EXPECT_FALSE(arrow.isVisible());
}

TEST(DragArrow, ShapesPointUpAndDown) {
  const QStringList up{
      "....#....", "...###...", "..#####..", ".#######.", "#########",
      "...###...", "...###...", "...###...", "...###...",
  };
  QStringList down = up;
  std::reverse(down.begin(), down.end());
  TDragArrow arrow;
  arrow.SetDirection(TDragArrow::PointsUp);
  EXPECT_EQ(ShapeOf(arrow.mask()), up);
  arrow.SetDirection(TDragArrow::PointsDown);
  EXPECT_EQ(ShapeOf(arrow.mask()), down);
}

TEST(DragArrow, OtherDirectionsAreIgnoredAndNoShapeGivesTheWholeSquareBack) {
  TDragArrow arrow;
  arrow.SetDirection(TDragArrow::PointsDown);
  const QRegion down = arrow.mask();
  arrow.SetDirection(TDragArrow::TArrowDirection(3));
  arrow.SetDirection(TDragArrow::TArrowDirection(-1));
  EXPECT_EQ(arrow.Direction(), TDragArrow::PointsDown);
  EXPECT_EQ(arrow.mask(), down);
  arrow.SetDirection(TDragArrow::NoShape);
  EXPECT_TRUE(arrow.mask().isEmpty());
}

TEST(DragArrow, ShownItIsPureRedAndTheWindowKeepsOnlyTheShape) {
  QWidget owner;
  TDragArrow arrow(&owner);
  arrow.SetDirection(TDragArrow::PointsUp);
  arrow.PlaceAt(TPoint(96, 188));
  arrow.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&arrow));
  arrow.Repaint();
  EXPECT_EQ(arrow.geometry(), QRect(96, 188, 9, 9));
  EXPECT_TRUE(arrow.isWindow());
  EXPECT_TRUE(arrow.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Pixel(arrow, 4, 0), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(arrow, 4, 8), RGB(255, 0, 0));
  ASSERT_NE(arrow.windowHandle(), nullptr);
  const QRegion windowShape = arrow.windowHandle()->mask();
  EXPECT_TRUE(windowShape.contains(QPoint(4, 7)));
  EXPECT_FALSE(windowShape.contains(QPoint(0, 7))) << "beside the stem belongs to the windows below";
  EXPECT_FALSE(windowShape.contains(QPoint(0, 0)));
}

// ---- the box -------------------------------------------------------------------

// A grid at (100, 50) on screen with three 80-pixel columns, 20-pixel
// headers, and the box of the middle column.
struct DragFixture : ::testing::Test {
  static constexpr TColor kHeaderColor = RGB(200, 220, 240);
  TTestGrid grid{150, 120};
  TColumnDragBox box{&grid};
  TCustomColumn* first = grid.AddColumn(QStringLiteral("Saat"), 80);
  TCustomColumn* middle = grid.AddColumn(QStringLiteral("Hat"), 80);
  TCustomColumn* last = grid.AddColumn(QStringLiteral("Numara"), 80);
  QStringList log;

  DragFixture() {
    grid.SetBounds(100, 50, 150, 120);
    grid.SetHeaderSize(20);
    grid.UpdateHorzScrollBar();
    middle->Header()->SetColor(kHeaderColor);
    box.OnDragMove = [this](TColumnDragBox* sender, TPoint p) {
      log << QStringLiteral("move %1 box at %2").arg(PointText(p), PointText(sender->BoundsRect().TopLeft()));
    };
    box.OnDrop = [this](TColumnDragBox* sender, TPoint p) {
      log << QStringLiteral("drop %1 %2").arg(PointText(p), sender->isVisible() ? "shown" : "hidden");
    };
  }
  void Start() {
    box.PlaceOnHeader(middle);
    box.StartDrag(middle);
  }
  // Pixels of the box's inside that are not the header colour.
  int InkInside() const {
    int n = 0;
    for (int y = 2; y < box.ClientHeight() - 2; ++y)
      for (int x = 1; x < box.ClientWidth() - 2; ++x) n += Pixel(box, x, y) != kHeaderColor;
    return n;
  }
};

TEST_F(DragFixture, FirstPlaceIsTheHeaderWhereTheGridShowsIt) {
  box.PlaceOnHeader(middle);
  EXPECT_EQ(box.geometry(), QRect(180, 50, 80, 20));
  grid.HorzScrollBar()->SetPosition(30);
  ASSERT_EQ(grid.HorzPos(), 30);
  box.PlaceOnHeader(middle);
  EXPECT_EQ(box.geometry(), QRect(150, 50, 80, 20)) << "scrolled by 30 pixels, the header is 30 pixels further left";
}

TEST_F(DragFixture, StartShowsTheBoxAndTakesTheMouse) {
  EXPECT_FALSE(box.isVisible());
  Start();
  EXPECT_TRUE(box.isVisible());
  EXPECT_TRUE(box.isWindow());
  EXPECT_TRUE(box.Dragging());
  EXPECT_TRUE(box.MouseCapture());
  EXPECT_EQ(box.Column(), middle);
  EXPECT_EQ(box.PartDisplay()->Column, middle);
}

TEST_F(DragFixture, StartWithoutAColumnDoesNothing) {
  box.StartDrag(nullptr);
  box.PlaceOnHeader(nullptr);
  EXPECT_FALSE(box.isVisible());
  EXPECT_FALSE(box.Dragging());
  EXPECT_FALSE(box.MouseCapture());
}

TEST_F(DragFixture, MoveReportsThePointerThenCentresTheBoxAboveIt) {
  Start();
  Move(&box, QPoint(10, 5));  // screen (190, 55)
  EXPECT_EQ(log, QStringList{"move 190,55 box at 180,50"}) << "reported before the box moves";
  EXPECT_EQ(box.geometry(), QRect(190 - 40, 55 - 20 + 4, 80, 20));
  Move(&box, QPoint(0, 0));  // screen (150, 39)
  EXPECT_EQ(log.last(), QStringLiteral("move 150,39 box at 150,39"));
  EXPECT_EQ(box.geometry(), QRect(110, 23, 80, 20));
}

TEST_F(DragFixture, LeftReleaseHidesTheBoxThenReportsTheDrop) {
  Start();
  Release(&box, QPoint(5, 5), Qt::RightButton);
  EXPECT_TRUE(log.isEmpty()) << "only the left button drops";
  EXPECT_TRUE(box.isVisible());
  Release(&box, QPoint(5, 5));
  EXPECT_EQ(log, QStringList{"drop 185,55 hidden"});
  EXPECT_FALSE(box.Dragging());
  EXPECT_FALSE(box.MouseCapture());
  Move(&box, QPoint(7, 7));
  Release(&box, QPoint(7, 7));
  EXPECT_EQ(log, QStringList{"drop 185,55 hidden"}) << "once the drag is over the box reports nothing";
}

TEST_F(DragFixture, GivingUpHidesLetsTheMouseGoAndNoLateDropArrives) {
  Start();
  box.CancelDrag();
  EXPECT_FALSE(box.isVisible());
  EXPECT_FALSE(box.MouseCapture());
  EXPECT_FALSE(box.Dragging());
  Move(&box, QPoint(5, 5));
  Release(&box, QPoint(5, 5));
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(DragFixture, LosingActivationGivesTheDragUp) {
  Start();
  box.Perform(WM_ACTIVATEAPP, 1);
  EXPECT_TRUE(box.Dragging());
  EXPECT_TRUE(box.isVisible());
  box.Perform(WM_ACTIVATEAPP, 0);
  EXPECT_FALSE(box.Dragging());
  EXPECT_FALSE(box.isVisible());
  EXPECT_FALSE(box.MouseCapture());
  Release(&box, QPoint(5, 5));
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(DragFixture, AReceiverThatGivesTheDragUpLeavesTheBoxWhereItWas) {
  box.OnDragMove = [this](TColumnDragBox*, TPoint) { box.CancelDrag(); };
  Start();
  Move(&box, QPoint(30, 10));
  EXPECT_EQ(box.geometry(), QRect(180, 50, 80, 20));
  EXPECT_FALSE(box.isVisible());
}

TEST_F(DragFixture, FrameIsRaisedInsideABlackOuterRowAndColumn) {
  Start();
  box.Repaint();
  const int w = 80, h = 20;
  for (int x = 0; x < w; ++x) EXPECT_EQ(Pixel(box, x, h - 1), clBlack) << "bottom row at " << x;
  for (int y = 0; y < h; ++y) EXPECT_EQ(Pixel(box, w - 1, y), clBlack) << "right column at " << y;
  const TColor light = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
  EXPECT_EQ(Pixel(box, 0, 0), light);
  EXPECT_EQ(Pixel(box, 40, 0), light);
  EXPECT_EQ(Pixel(box, 0, 10), light);
  EXPECT_EQ(Pixel(box, 0, h - 3), light);
  EXPECT_EQ(Pixel(box, 0, h - 2), shadow) << "the bottom-left corner takes the shadow";
  EXPECT_EQ(Pixel(box, w - 2, 0), shadow) << "the top-right corner takes the shadow";
  EXPECT_EQ(Pixel(box, w - 2, 10), shadow);
  EXPECT_EQ(Pixel(box, 40, h - 2), shadow);
  EXPECT_EQ(Pixel(box, w - 4, 10), kHeaderColor);
  EXPECT_EQ(Pixel(box, 1, 1), kHeaderColor);
}

TEST_F(DragFixture, ShowsTheCaptionAndOnlyTheCaption) {
  Start();
  middle->Header()->SetCaption(QString());
  box.Repaint();
  EXPECT_EQ(InkInside(), 0);
  middle->Header()->SetCaption(QStringLiteral("Hat no."));
  box.Repaint();
  EXPECT_GT(InkInside(), 10);
  int leftmostInk = box.ClientWidth();
  for (int y = 2; y < box.ClientHeight() - 2; ++y)
    for (int x = 1; x < box.ClientWidth() - 2; ++x)
      if (Pixel(box, x, y) != kHeaderColor) leftmostInk = std::min(leftmostInk, x);
  EXPECT_GE(leftmostInk, 3) << "the caption starts after the indent";
}

TEST_F(DragFixture, IsNeverDrawnInvertedEvenWhileTheHeaderIsPressed) {
  const ThemeLook classic(false);  // the classic look inverts a pressed header
  grid.SetStateForTest({.pressedHeader = middle});
  middle->Header()->SetCaption(QString());
  Start();
  box.Repaint();
  EXPECT_EQ(Pixel(box, 40, 10), kHeaderColor);
  EXPECT_EQ(Pixel(box, 0, 0), ColorToRGB(clBtnHighlight));
}

TEST_F(DragFixture, ColumnsClearedDuringTheDragAreNotPainted) {
  Start();
  grid.Columns()->Clear();
  box.Repaint();
  EXPECT_EQ(box.Column(), nullptr);
  EXPECT_EQ(Pixel(box, 40, 10), ColorToRGB(clBtnFace));
}

// ---- the grid's decisions --------------------------------------------------------

struct StartCase {
  const char* name;
  TPoint now;
  bool starts;
};

class DragStartTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(DragStartTest, MoreThanThreePixelsOnEitherAxis) {
  EXPECT_EQ(DragStarts(TPoint(50, 10), GetParam().now), GetParam().starts);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, DragStartTest,
    ::testing::Values(StartCase{"NoMove", TPoint(50, 10), false}, StartCase{"ThreeRight", TPoint(53, 10), false},
                      StartCase{"FourRight", TPoint(54, 10), true}, StartCase{"ThreeLeft", TPoint(47, 10), false},
                      StartCase{"FourLeft", TPoint(46, 10), true}, StartCase{"ThreeUp", TPoint(50, 7), false},
                      StartCase{"FourDown", TPoint(50, 14), true}, StartCase{"ThreeBothWays", TPoint(53, 13), false},
                      StartCase{"FourOnOneAxisOnly", TPoint(51, 6), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DropZone, IsTheHeaderAndOneHeaderBelowItCutAtTheClientWidth) {
  EXPECT_EQ(DropZone(240, 300, 18), TRect(0, 0, 240, 36));
  EXPECT_EQ(DropZone(400, 250, 18), TRect(0, 0, 250, 36)) << "columns beyond the window are not in the zone";
}

TEST(DropZone, OfAGridFollowsItsColumnsScrollAndClientWidth) {
  TTestGrid grid(250, 150);
  grid.SetHeaderSize(20);
  grid.AddColumn(QStringLiteral("A"), 120);
  grid.AddColumn(QStringLiteral("B"), 120);
  EXPECT_EQ(DropZone(grid), TRect(0, 0, 240, 40));
  grid.AddColumn(QStringLiteral("C"), 120);
  EXPECT_EQ(DropZone(grid), TRect(0, 0, 250, 40));
}

struct ZoneCase {
  const char* name;
  TPoint q;
  int target;
  bool shown;
  TDropOutcome withHiding;
  TDropOutcome withoutHiding;
};

// Zone (0, 0, 250, 40); the dragged column is at display place 2.
class DropDecisionTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(DropDecisionTest, TheCursorAndTheDropAgree) {
  const ZoneCase& c = GetParam();
  const TRect zone(0, 0, 250, 40);
  EXPECT_EQ(ShowsDropPlace(c.q, zone, c.target), c.shown);
  const TDropOutcome hiding = DropOutcome(c.q, zone, 2, c.target, true);
  const TDropOutcome keeping = DropOutcome(c.q, zone, 2, c.target, false);
  EXPECT_EQ(hiding.Action, c.withHiding.Action);
  EXPECT_EQ(hiding.ToPosition, c.withHiding.ToPosition);
  EXPECT_EQ(keeping.Action, c.withoutHiding.Action);
  EXPECT_EQ(keeping.ToPosition, c.withoutHiding.ToPosition);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DropDecisionTest,
    ::testing::Values(ZoneCase{"OntoAnotherHeader", TPoint(10, 5), 0, true, {daMove, 0}, {daMove, 0}},
                      ZoneCase{"OneHeaderBelow", TPoint(10, 39), 1, true, {daMove, 1}, {daMove, 1}},
                      ZoneCase{"OntoItsOwnHeader", TPoint(200, 5), 2, true, {}, {}},
                      ZoneCase{"BesideTheColumns", TPoint(200, 5), -1, false, {}, {}},
                      ZoneCase{"BelowTheZone", TPoint(10, 40), 0, false, {daHide, -1}, {}},
                      ZoneCase{"AboveTheGrid", TPoint(10, -1), 0, false, {daHide, -1}, {}},
                      // A column scrolled out of view right of the window: no arrows, so no move.
                      ZoneCase{"RightOfTheWindow", TPoint(250, 5), 3, false, {daHide, -1}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArrowPlaces, TipsMeetTheTargetsLeftBorderAboveAndBelowTheHeader) {
  const TArrowPlaces places = ArrowPlaces(TPoint(100, 200), 20);
  EXPECT_EQ(places.Top, TPoint(96, 188));
  EXPECT_EQ(places.Bottom, TPoint(96, 219));
}

}  // namespace
