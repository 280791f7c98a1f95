// Dragging a column header through a shown grid: when a drag starts, what
// the arrows and the cursor show, what a drop does, and a drag given up when
// the program loses activation. The mouse goes through the grid's window,
// so once the box holds the capture the later moves and the release reach
// the box as they would on a desktop.

#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>
#include <functional>

#include "GridViewTestSupport.h"
#include "grid/ColumnDragBox.h"

namespace {

constexpr uint16_t DraggingColumn = TCustomGridViewControl::DraggingColumn;
constexpr uint16_t PressingHeader = TCustomGridViewControl::PressingHeader;

// What the platform reports when the program gains or loses activation.
void ApplicationState(Qt::ApplicationState state) {
  QMetaObject::invokeMethod(qApp, "applicationStateChanged", Qt::DirectConnection, Q_ARG(Qt::ApplicationState, state));
}

// A borderless grid of three 80-pixel columns "A", "B", "C" with 20-pixel
// headers, shown at the top-left corner of the screen.
struct GridDrag : ::testing::Test {
  TLoggedGridView grid;
  TTextualColumn* a = grid.AddText(QStringLiteral("A"), 80);
  TTextualColumn* b = grid.AddText(QStringLiteral("B"), 80);
  TTextualColumn* c = grid.AddText(QStringLiteral("C"), 80);
  QStringList headerClicks;
  bool held = false;

  GridDrag() {
    ApplicationState(Qt::ApplicationActive);
    grid.SetHeaderSize(20);
    grid.Fill(3);
    grid.OnHeaderClick = [this](TObject*, int i) { headerClicks << QString::number(i); };
  }
  ~GridDrag() override {
    // The test tool remembers held buttons across windows: let go, or the
    // next test's press reads as a double click.
    if (held) Release(TPoint(0, 140));
    ApplicationState(Qt::ApplicationActive);
  }

  void Show(int width = 300, int height = 150) { grid.ShowAt(width, height); }

  // Events go to the window, which hands them to whoever holds the mouse.
  QWindow* Window() const { return grid.window()->windowHandle(); }
  QPoint InWindow(TPoint p) const { return grid.mapTo(grid.window(), grid.At(p)); }
  void Press(TPoint p) {
    QTest::mousePress(Window(), Qt::LeftButton, Qt::NoModifier, InWindow(p));
    held = true;
  }
  void MoveTo(TPoint p) { QTest::mouseMove(Window(), InWindow(p)); }
  void Release(TPoint p) {
    QTest::mouseRelease(Window(), Qt::LeftButton, Qt::NoModifier, InWindow(p));
    held = false;
  }

  // Presses B's header at (120, 10) and moves 5 pixels right: a drag.
  void StartDraggingB() {
    Press(TPoint(120, 10));
    MoveTo(TPoint(125, 10));
    ASSERT_TRUE(grid.GridState() & DraggingColumn);
  }
  void Drag(TPoint from, TPoint to) {
    Press(from);
    MoveTo(TPoint(from.X + 5, from.Y));
    MoveTo(to);
    Release(to);
  }

  // Captions in display order; a hidden column in brackets.
  QString Order() const {
    QStringList names;
    for (int p = 0; p < grid.Columns()->Count(); ++p) {
      const TCustomColumn* col = grid.Columns()->DisplayItems(p);
      const QString name = col->Header()->Caption();
      names << (col->Visible() ? name : QStringLiteral("[%1]").arg(name));
    }
    return names.join(' ');
  }
  TPoint ScreenOf(TPoint client) const { return grid.ClientToScreen(client); }
  TCursor BoxCursor() const { return grid.DragBox()->Cursor(); }

  void ExpectNoDragLeft() const {
    EXPECT_FALSE(grid.GridState() & DraggingColumn);
    EXPECT_FALSE(grid.GridState() & PressingHeader);
    EXPECT_EQ(grid.DragColumn(), nullptr);
    EXPECT_EQ(grid.DropTargetColumn(), nullptr);
    EXPECT_EQ(grid.DownPoint(), TPoint(-1, -1));
    EXPECT_FALSE(grid.DragBox()->isVisible());
    EXPECT_FALSE(grid.DragBox()->MouseCapture());
    EXPECT_FALSE(grid.TopArrow()->isVisible());
    EXPECT_FALSE(grid.BottomArrow()->isVisible());
    EXPECT_EQ(grid.Cursor(), crDefault);
  }
};

TEST_F(GridDrag, ArrowsAndBoxAreHiddenTopLevelChildrenWithTheirShapes) {
  Show();
  for (TFlyoutControl* w : {static_cast<TFlyoutControl*>(grid.DragBox()), static_cast<TFlyoutControl*>(grid.TopArrow()),
                            static_cast<TFlyoutControl*>(grid.BottomArrow())}) {
    EXPECT_EQ(w->parent(), &grid);
    EXPECT_FALSE(w->isVisible());
  }
  EXPECT_EQ(grid.TopArrow()->Direction(), TDragArrow::PointsDown);
  EXPECT_EQ(grid.BottomArrow()->Direction(), TDragArrow::PointsUp);
}

// ---- starting ------------------------------------------------------------------

struct StartCase {
  const char* name;
  TPoint move;  // from the press at (120, 10), B's header
  std::function<void(GridDrag&)> setUp;
  bool starts;
};

void Nothing(GridDrag&) {}

class GridDragStart : public GridDrag, public ::testing::WithParamInterface<StartCase> {};

TEST_P(GridDragStart, OnlyAClickableHeaderMovedMoreThanThreePixels) {
  const StartCase& k = GetParam();
  k.setUp(*this);
  Show();
  Press(TPoint(120, 10));
  MoveTo(TPoint(120 + k.move.X, 10 + k.move.Y));
  EXPECT_EQ(bool(grid.GridState() & DraggingColumn), k.starts);
  EXPECT_EQ(grid.DragBox()->isVisible(), k.starts);
  EXPECT_EQ(grid.DragBox()->MouseCapture(), k.starts) << "the box takes the mouse from the start";
  EXPECT_EQ(grid.DragBox()->Column(), k.starts ? b : nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, GridDragStart,
    ::testing::Values(
        StartCase{"ThreeRight", TPoint(3, 0), Nothing, false}, StartCase{"FourRight", TPoint(4, 0), Nothing, true},
        StartCase{"FourLeft", TPoint(-4, 0), Nothing, true},
        StartCase{"ThreeUpThreeLeft", TPoint(-3, -3), Nothing, false},
        StartCase{"FourDown", TPoint(0, 4), Nothing, true},
        StartCase{"MovingDisabled", TPoint(30, 0),
                  [](GridDrag& t) { t.grid.SetOptions(t.grid.Options() | goDissableColumnMoving); }, false},
        StartCase{"HeaderNotClickable", TPoint(30, 0),
                  [](GridDrag& t) { t.b->SetOptions(t.b->Options() & ~TColumnOptions(coCanClick)); }, false},
        StartCase{"DesignMode", TPoint(30, 0), [](GridDrag& t) { t.grid.Include(csDesigning); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridDrag, TheBoxFirstCoversTheHeaderWhereAScrolledGridShowsIt) {
  for (TTextualColumn* col : {a, b, c}) col->SetWidth(120);
  Show(200, 150);
  grid.HorzScrollBar()->SetPosition(50);
  ASSERT_EQ(grid.HorzPos(), 50);
  Press(TPoint(100, 10));  // B's header: client 70 to 190
  MoveTo(TPoint(105, 10));
  ASSERT_TRUE(grid.DragBox()->isVisible());
  const TPoint origin = ScreenOf(TPoint(70, 0));
  EXPECT_EQ(grid.DragBox()->geometry(), QRect(origin.X, origin.Y, 120, 20));
}

TEST_F(GridDrag, TheBoxFollowsThePointerCentredWithItsBottomJustBelowIt) {
  Show();
  StartDraggingB();
  MoveTo(TPoint(150, 60));
  const TPoint p = ScreenOf(TPoint(150, 60));
  EXPECT_EQ(grid.DragBox()->geometry(), QRect(p.X - 40, p.Y - 20 + 4, 80, 20));
}

// ---- while dragging ------------------------------------------------------------

struct PlaceCase {
  const char* name;
  TPoint pointer;
  int arrowsAtX;  // where B would land, in the client; -1 for no arrows
};

class GridDragPlace : public GridDrag, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(GridDragPlace, ArrowsMarkWhereTheColumnLandsElseTheCursorSaysNo) {
  const PlaceCase& k = GetParam();
  Show();
  StartDraggingB();
  MoveTo(k.pointer);
  const bool shown = k.arrowsAtX >= 0;
  EXPECT_EQ(grid.TopArrow()->isVisible(), shown);
  EXPECT_EQ(grid.BottomArrow()->isVisible(), shown);
  EXPECT_EQ(grid.Cursor(), shown ? crDefault : TCursor(crColumnNoDrag));
  EXPECT_EQ(BoxCursor(), grid.Cursor()) << "the box under the pointer shows the same cursor";
  if (!shown) return;
  const TPoint s = ScreenOf(TPoint(k.arrowsAtX, 0));
  EXPECT_EQ(grid.TopArrow()->geometry(), QRect(s.X - 4, s.Y - 12, 9, 9));
  EXPECT_EQ(grid.BottomArrow()->geometry(), QRect(s.X - 4, s.Y + 19, 9, 9));
  EXPECT_EQ(grid.DropTargetColumn(), grid.Columns()->Items(grid.ColumnAtX(k.pointer.X)));
}

INSTANTIATE_TEST_SUITE_P(Pointers, GridDragPlace,
                         ::testing::Values(PlaceCase{"OverA", TPoint(30, 10), 0},
                                           PlaceCase{"OverCRightOfB", TPoint(200, 5), 240},
                                           PlaceCase{"OneHeaderBelowC", TPoint(200, 39), 240},
                                           PlaceCase{"BelowTheZone", TPoint(200, 40), -1},
                                           PlaceCase{"BesideTheColumns", TPoint(260, 10), -1},
                                           PlaceCase{"AboveTheGrid", TPoint(30, -5), -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridDrag, ArrowsFollowAScrolledTargetAndStopAtTheWindowsEdge) {
  for (TTextualColumn* col : {a, b, c}) col->SetWidth(120);
  Show(200, 150);
  grid.HorzScrollBar()->SetPosition(50);
  Press(TPoint(100, 10));
  MoveTo(TPoint(105, 10));
  MoveTo(TPoint(20, 10));  // over A, whose left border is scrolled 50 pixels out
  ASSERT_TRUE(grid.TopArrow()->isVisible());
  const TPoint aLeft = ScreenOf(TPoint(-50, 0));
  EXPECT_EQ(grid.TopArrow()->geometry().topLeft(), QPoint(aLeft.X - 4, aLeft.Y - 12));
  MoveTo(TPoint(230, 10));  // C lies there, but right of the window
  EXPECT_FALSE(grid.TopArrow()->isVisible());
  EXPECT_EQ(grid.Cursor(), TCursor(crColumnNoDrag));
  Release(TPoint(230, 10));
  EXPECT_EQ(Order(), QStringLiteral("A B C")) << "the drop does what the cursor showed";
  ExpectNoDragLeft();
}

// ---- the drop --------------------------------------------------------------------

struct DropCase {
  const char* name;
  TPoint release;
  bool canHide;
  const char* order;
};

class GridDropTest : public GridDrag, public ::testing::WithParamInterface<DropCase> {};

TEST_P(GridDropTest, MovesHidesOrLeavesTheColumn) {
  const DropCase& k = GetParam();
  if (k.canHide) grid.SetOptions(grid.Options() | goCanHideColumn);
  Show();
  Drag(TPoint(120, 10), k.release);
  EXPECT_EQ(Order(), QString::fromLatin1(k.order));
  ExpectNoDragLeft();
  EXPECT_TRUE(headerClicks.isEmpty()) << "a drop is no header click";
  EXPECT_FALSE(b->Sorted()) << "nor a sort";
  QString text;
  grid.GetCellText(b->Index(), 0, text);
  EXPECT_EQ(text, QStringLiteral("r0c1")) << "cells stay with their column";
}

INSTANTIATE_TEST_SUITE_P(Drops, GridDropTest,
                         ::testing::Values(DropCase{"OntoTheLeftNeighbour", TPoint(20, 10), false, "B A C"},
                                           DropCase{"OntoTheRightNeighbourLandsAfterIt", TPoint(200, 10), false,
                                                    "A C B"},
                                           DropCase{"OntoTheLeftNeighbourBelowItsHeader", TPoint(5, 30), true, "B A C"},
                                           DropCase{"OntoItsOwnHeader", TPoint(90, 10), true, "A B C"},
                                           DropCase{"BelowTheZoneWithHiding", TPoint(120, 60), true, "A [B] C"},
                                           DropCase{"BelowTheZoneWithoutHiding", TPoint(120, 60), false, "A B C"},
                                           DropCase{"BesideTheColumnsWithoutHiding", TPoint(260, 10), false, "A B C"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridDrag, AfterADropTheGridHearsTheMouseAgain) {
  Show();
  Drag(TPoint(120, 10), TPoint(20, 10));
  ASSERT_EQ(Order(), QStringLiteral("B A C"));
  grid.Click(TPoint(120, 10));  // now A's header
  EXPECT_EQ(headerClicks, QStringList{"0"});
  EXPECT_TRUE(a->Sorted());
}

TEST_F(GridDrag, ColumnsReplacedWhileAHeaderIsHeldStartNoDragAndDropNothing) {
  Show();
  Press(TPoint(120, 10));
  grid.Columns()->Clear();
  grid.AddText(QStringLiteral("D"), 200);
  EXPECT_EQ(grid.DragColumn(), nullptr) << "the pressed column is gone";
  MoveTo(TPoint(140, 10));
  EXPECT_FALSE(grid.GridState() & DraggingColumn);
  Release(TPoint(140, 10));

  Press(TPoint(20, 10));
  MoveTo(TPoint(40, 10));
  ASSERT_TRUE(grid.DragBox()->isVisible());
  grid.Columns()->Clear();
  Release(TPoint(40, 60));
  ExpectNoDragLeft();
}

// ---- losing activation -------------------------------------------------------------

TEST_F(GridDrag, LosingActivationGivesTheDragUpAndItsReleaseDoesNothing) {
  Show();
  StartDraggingB();
  MoveTo(TPoint(200, 10));
  ASSERT_TRUE(grid.TopArrow()->isVisible());
  grid.log.clear();
  ApplicationState(Qt::ApplicationInactive);
  ExpectNoDragLeft();
  Release(TPoint(200, 10));
  EXPECT_EQ(Order(), QStringLiteral("A B C"));
  EXPECT_FALSE(c->Sorted()) << "the release over C's header is not a click on it";
  EXPECT_TRUE(headerClicks.isEmpty());
  EXPECT_TRUE(grid.log.isEmpty()) << grid.log.join(", ").toStdString();

  ApplicationState(Qt::ApplicationActive);
  grid.Click(TPoint(200, 10));
  EXPECT_TRUE(c->Sorted()) << "the next click is an ordinary one";
  Drag(TPoint(120, 10), TPoint(20, 10));
  EXPECT_EQ(Order(), QStringLiteral("B A C")) << "and the next drag works";
}

}  // namespace
