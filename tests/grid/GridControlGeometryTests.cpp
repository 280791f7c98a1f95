#include <gtest/gtest.h>

#include <climits>

#include "GridControlTestSupport.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"

namespace {

// Three columns of 96, 60 and 50 pixels in a 300 × 200 client, header on.
struct ReportGrid : TTestGrid {
  ReportGrid() {
    AddColumn(QStringLiteral("Hat no."), 96);
    AddColumn(QStringLiteral("Arayan numara"), 60);
    AddColumn(QStringLiteral("Saat"), 50);
    SetRows(5);
  }
};

TEST(GridControl, DefaultsAndOptionBits) {
  TTestGrid g;
  EXPECT_EQ(g.BorderStyle(), bsNone);  // the test grid drops the border
  TCustomGridViewControl* base = &g;
  EXPECT_EQ(base->GridLinesStyle(), lsNormal);
  EXPECT_EQ(base->GridStyle(), gsReport);
  EXPECT_EQ(base->HeaderSize(), 18);
  EXPECT_EQ(base->HeaderStyle(), hsAuto);
  EXPECT_TRUE(base->HideScrollBar());
  EXPECT_EQ(base->InputSize(), 16);
  EXPECT_EQ(base->Options(), goHeader | goHighlightTextSelection);
  EXPECT_EQ(base->RowSize(), 16);
  EXPECT_EQ(base->SelectionMoveDirection(), mdDown);
  EXPECT_EQ(base->SlideSize(), 80);
  EXPECT_FALSE(base->WantReturns());
  EXPECT_EQ(base->AnchorRow(), -1);
  EXPECT_EQ(base->InputColumn(), -1);
  EXPECT_EQ(base->EditCol(), -1);
  EXPECT_EQ(base->EditRow(), -1);
  EXPECT_EQ(base->GridState(), 0);
  EXPECT_TRUE(base->TabStop());
  EXPECT_EQ(uint32_t(goDissableColumnMoving), 1u << 5);
  EXPECT_EQ(uint32_t(goIndicator), 1u << 12);
  EXPECT_EQ(uint32_t(goUseDefaultValues), 1u << 16);
  EXPECT_EQ(uint16_t(TCustomGridViewControl::UpdateLocked), 0x400);
}

TEST(GridControl, WindowGetsStaticEdgeAndFirstScrollSteps) {
  ThemeLook look(false);
  TCustomGridViewControl bare;
  bare.HandleNeeded();
  EXPECT_EQ(bare.HorzScrollBar()->PageStep, 10);
  EXPECT_EQ(bare.HorzScrollBar()->LineStep, 5);
  EXPECT_EQ(bare.VertScrollBar()->PageStep, 10);
  TTestGrid g;
  EXPECT_EQ(g.ClientWidth(), 300);
  g.SetBorderStyle(bsSingle);
  EXPECT_EQ(g.ClientWidth(), 298);  // a one-pixel static edge each side
}

// Setters a constructor may call never make the window.
TEST(GridControl, SettersBeforeTheWindowLeaveItUnmade) {
  TCustomGridViewControl g;
  g.SetOptions(g.Options() | goGrid | goIndicator);
  g.SetGridStyle(gsSlides);
  g.SetRowSize(20);
  g.SetCaption(QStringLiteral("Boş"));
  EXPECT_FALSE(g.HandleAllocated());
}

TEST(GridControl, AbstractCellOperationsRaiseOnTheBareControl) {
  TCustomGridViewControl g;
  QString text;
  EXPECT_THROW(g.GetCellText(0, 0, text), EAbstractError);
  EXPECT_THROW(g.RowCount(), EAbstractError);
  EXPECT_THROW(g.AddRows(1), EAbstractError);
  EXPECT_THROW(g.SortColumn(0, true), EAbstractError);
}

TEST(GridControlGeometry, RowPitchAndCellWidthFollowTheGridLine) {
  ReportGrid g;
  g.SetRowSize(20);
  g.SetOptions(g.Options() | goGrid);
  EXPECT_EQ(g.RowTop(1) - g.RowTop(0), 21);
  EXPECT_EQ(g.GetCellRect(0, 0), TRect(0, 18, 95, 38));
  EXPECT_EQ(g.GetCellRect(1, 2), TRect(96, 18 + 42, 155, 18 + 42 + 20));
  EXPECT_EQ(g.RowRect(1), TRect(0, 39, 206, 60));
  g.SetGridLinesStyle(lsHorizontalOnly);
  EXPECT_EQ(g.GetCellRect(0, 0), TRect(0, 18, 96, 38));
  g.SetGridLinesStyle(lsNormal);
  g.SetOptions(g.Options() & ~TGridOptions(goGrid));
  EXPECT_EQ(g.GetCellRect(0, 0), TRect(0, 18, 96, 38));
  EXPECT_EQ(g.RowTop(1) - g.RowTop(0), 20);
}

TEST(GridControlGeometry, AreaRectangles) {
  ReportGrid g;
  g.SetOptions(g.Options() | goGrid | goInput | goFooter);
  EXPECT_EQ(g.HeaderRect(), TRect(0, 0, 206, 18));
  EXPECT_EQ(g.InputRect(), TRect(0, 18, 206, 18 + 16 + 6 + 1));
  EXPECT_EQ(g.FooterRect(), TRect(0, 200 - 22 - 1, 206, 200));
  EXPECT_EQ(g.FooterRect().Bottom - g.FooterRect().Top - 1, 22);  // HeaderSize + 4 and the grid line
  EXPECT_EQ(g.DataRect(), TRect(0, 41, 206, 177));
  EXPECT_EQ(g.IndicatorRect(), TRect(0, 0, 12, 200));
  EXPECT_EQ(g.GetCellRect(1, 0, gaInput), TRect(96, 18, 155, 34));
  g.SetOptions(g.Options() & ~TGridOptions(goHeader));
  EXPECT_EQ(g.InputRect().Top, 0);
  EXPECT_EQ(g.DataRect().Top, 23);
}

TEST(GridControlGeometry, IndicatorShiftsEveryColumnAtOnce) {
  ReportGrid g;
  const TRect before = g.GetCellRect(2, 1);
  g.SetOptions(g.Options() | goIndicator);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(g.Columns()->Items(c)->Left(), (c == 0 ? 0 : c == 1 ? 96 : 156) + 12);
  EXPECT_EQ(g.GetCellRect(2, 1).Left, before.Left + 12);
  EXPECT_EQ(g.HeaderRect().Left, 12);
  EXPECT_EQ(g.Columns()->Items(1)->PartRect(gaHeader), TRect(108, 0, 168, 18));
  g.SetOptions(g.Options() & ~TGridOptions(goIndicator));
  EXPECT_EQ(g.GetCellRect(2, 1), before);
}

TEST(GridControlGeometry, VisibleRowCountCountsWholeRowsAndNeverGoesNegative) {
  ReportGrid g;
  g.SetRowSize(20);
  g.SetOptions(g.Options() | goGrid);
  EXPECT_EQ(g.VisibleRowCount(), (200 - 18) / 21);
  g.SetHeaderSize(500);
  EXPECT_EQ(g.VisibleRowCount(), 0);
}

TEST(GridControlGeometry, SizesOfZeroOrBelowAreIgnored) {
  ReportGrid g;
  for (int bad : {0, -5}) {
    g.SetRowSize(bad);
    g.SetSlideSize(bad);
  }
  EXPECT_EQ(g.RowSize(), 16);
  EXPECT_EQ(g.SlideSize(), 80);
  g.SetGridStyle(gsSlides);
  EXPECT_EQ(g.CellAtPoint(TPoint(5, 100)).Y, 1);  // no division by zero
}

TEST(GridControlGeometry, ExtremeSizesAndRowsStayWithinRange) {
  ReportGrid g;
  g.SetHeaderSize(INT_MAX);
  g.SetInputSize(INT_MAX);
  g.SetRowSize(INT_MAX);
  g.SetOptions(g.Options() | goInput | goFooter | goGrid);
  EXPECT_EQ(g.HeaderSize(), 1000000);
  EXPECT_EQ(g.VisibleRowCount(), 0);
  EXPECT_LT(g.RowTop(INT_MAX), INT_MAX);
  EXPECT_GT(g.RowTop(INT_MIN), INT_MIN);
  g.InvalidateRow(INT_MAX);
  g.InvalidateCell(1, INT_MIN);
  g.PaintAll();
  EXPECT_EQ(g.HitTest(TPoint(50, 50)), gaHeader);
}

struct HitCase {
  const char* name;
  TGridOptions options;
  TPoint point;
  TGridArea expected;
};

class GridControlHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(GridControlHitTest, FindsTheFirstSwitchedOnArea) {
  ReportGrid g;
  g.SetOptions(GetParam().options);
  EXPECT_EQ(g.HitTest(GetParam().point), GetParam().expected);
}

const TGridOptions kAll = goHeader | goInput | goFooter | goIndicator | goGrid;
// With kAll: header (12,0)-(218,18), input (12,18)-(218,41), data from 41 to
// 177, footer (12,177)-(218,200), indicator (0,0)-(12,200).
INSTANTIATE_TEST_SUITE_P(Areas, GridControlHitTest,
                         ::testing::Values(HitCase{"HeaderTop", goHeader, TPoint(5, 0), gaHeader},
                                           HitCase{"HeaderLastPixelRowIsNoArea", goHeader, TPoint(5, 17), gaNone},
                                           HitCase{"DataBelowHeader", goHeader, TPoint(5, 18), gaData},
                                           HitCase{"HeaderRightPixelIsNoArea", goHeader, TPoint(205, 5), gaNone},
                                           HitCase{"WithoutHeaderItIsData", TGridOptions(), TPoint(5, 5), gaData},
                                           HitCase{"Input", kAll, TPoint(20, 30), gaInput},
                                           HitCase{"DataWithAll", kAll, TPoint(20, 50), gaData},
                                           HitCase{"Footer", kAll, TPoint(20, 190), gaFooter},
                                           HitCase{"Indicator", kAll, TPoint(3, 100), gaIndicator},
                                           HitCase{"IndicatorOff", goHeader, TPoint(3, 0), gaHeader},
                                           HitCase{"RightOfColumns", kAll, TPoint(250, 100), gaNone}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridControlGeometry, SlidesLayoutIsAllData) {
  ReportGrid g;
  g.SetGridStyle(gsSlides);
  EXPECT_EQ(g.HitTest(TPoint(299, 199)), gaData);
  EXPECT_EQ(g.DataRect(), g.ClientRect());
  EXPECT_EQ(g.FooterRect(), TRect());
}

TEST(GridControlGeometry, ColumnAtXLeavesTheRightEndToTheNeighbour) {
  ReportGrid g;
  const std::pair<int, int> cases[] = {{0, 0}, {95, 0}, {96, 1}, {155, 1}, {156, 2}, {205, 2}, {206, -1}, {-1, -1}};
  for (auto [x, col] : cases) EXPECT_EQ(g.ColumnAtX(x), col) << x;
  g.Columns()->Items(1)->SetVisible(false);
  EXPECT_EQ(g.ColumnAtX(100), 2);
  EXPECT_EQ(g.ColumnAtX(150), -1);
}

TEST(GridControlGeometry, CellAtPointGivesMinusOneOutsideTheColumns) {
  ReportGrid g;
  g.SetRowSize(20);
  g.SetOptions(g.Options() | goGrid);
  EXPECT_EQ(g.CellAtPoint(TPoint(96, 18)), TPoint(1, 0));
  EXPECT_EQ(g.CellAtPoint(TPoint(100, 18 + 21)), TPoint(1, 1));
  EXPECT_EQ(g.CellAtPoint(TPoint(250, 18 + 45)), TPoint(-1, 2));
}

TEST(GridControlGeometry, SlideCellsSitAtTheirBounds) {
  ReportGrid g;
  g.SetGridStyle(gsSlides);
  g.SetOptions(g.Options() | goGrid);
  TSlideBounds* b = g.Columns()->Items(1)->SlideBounds();
  b->SetLeft(10);
  b->SetTop(20);
  b->SetWidth(100);
  b->SetHeight(30);
  EXPECT_EQ(g.GetCellRect(1, 2), TRect(10, 81 * 2 + 20, 110, 81 * 2 + 50));
  EXPECT_EQ(g.CellAtPoint(TPoint(10, 81 + 20)), TPoint(1, 1));
  EXPECT_EQ(g.CellAtPoint(TPoint(110, 81 + 20)), TPoint(-1, 1));  // right end excluded
  EXPECT_EQ(g.CellAtPoint(TPoint(50, 81 + 50)), TPoint(-1, 1));   // bottom end excluded
}

// Slide bounds from a stored form may be any integer; the cell they give
// keeps within the grid's range instead of wrapping round.
TEST(GridControlGeometry, ExtremeSlideBoundsStayWithinRange) {
  ReportGrid g;
  g.SetGridStyle(gsSlides);
  TSlideBounds* b = g.Columns()->Items(1)->SlideBounds();
  b->SetLeft(INT_MAX);
  b->SetWidth(INT_MAX);
  b->SetTop(INT_MIN);
  b->SetHeight(INT_MAX);
  EXPECT_EQ(g.GetCellRect(1, 0), TRect(1000000, -1000000, 2000000, 0));
  EXPECT_EQ(g.CellAtPoint(TPoint(5, 5)).X, -1);
  g.InvalidateCell(1, 0);
  g.PaintAll();
}

TEST(GridControlGeometry, NoVisibleColumnLeavesOnlyIndicatorAndNothing) {
  ReportGrid g;
  g.SetOptions(g.Options() | goIndicator | goFooter);
  for (int c = 0; c < 3; ++c) g.Columns()->Items(c)->SetVisible(false);
  EXPECT_EQ(g.TotalWidth(), 0);
  EXPECT_TRUE(IsRectEmpty(g.HeaderRect()));
  EXPECT_TRUE(IsRectEmpty(g.DataRect()));
  EXPECT_TRUE(IsRectEmpty(g.FooterRect()));
  EXPECT_EQ(g.HitTest(TPoint(5, 50)), gaIndicator);
  EXPECT_EQ(g.HitTest(TPoint(50, 50)), gaNone);
}

// ---- invalidation

TRect InvalidBounds(TTestGrid& g) { return TRect::FromQt(g.InvalidRegion().boundingRect()); }

TEST(GridControlInvalidation, AreasOnlyWhenSwitchedOn) {
  ReportGrid g;
  g.PaintAll();
  g.InvalidateArea(gaFooter);
  g.InvalidateArea(gaInput);
  g.InvalidateArea(gaIndicator);
  EXPECT_TRUE(g.InvalidRegion().isEmpty());
  g.InvalidateArea(gaHeader);
  EXPECT_EQ(InvalidBounds(g), g.HeaderRect());
  g.PaintAll();
  g.SetOptions(g.Options() | goFooter);
  g.PaintAll();
  g.InvalidateArea(gaFooter);
  EXPECT_EQ(InvalidBounds(g), g.FooterRect());
}

TEST(GridControlInvalidation, CellWithItsGridLinesAndColumnParts) {
  ReportGrid g;
  g.SetOptions(g.Options() | goGrid);
  g.PaintAll();
  g.InvalidateCell(1, 1);
  EXPECT_EQ(InvalidBounds(g), TRect(96, 18 + 17, 156, 18 + 34));
  g.PaintAll();
  g.SetOptions(g.Options() | goInput);
  g.PaintAll();
  g.InvalidateColumnPart(g.Columns()->Items(2), gaInput);
  EXPECT_EQ(InvalidBounds(g), TRect(156, 18, 206, 41));
  g.PaintAll();
  g.InvalidateColumnPart(nullptr, gaInput);
  EXPECT_TRUE(g.InvalidRegion().isEmpty());
}

TEST(GridControlInvalidation, OutlineRowKeepsRepaintsAskedBefore) {
  ReportGrid g;
  g.SetOptions(g.Options() | goGrid);
  g.PaintAll();
  g.InvalidateCell(1, 2);
  g.InvalidateRow(2, true);
  const QRegion region = g.InvalidRegion();
  const TRect row(0, g.RowTop(2), g.DataRect().Right, g.RowRect(2).Bottom);
  EXPECT_TRUE(region.contains(QPoint(120, row.Top + 5)));  // the cell stays invalid
  EXPECT_TRUE(region.contains(QPoint(0, row.Top + 5)));
  EXPECT_TRUE(region.contains(QPoint(row.Right - 1, row.Top + 5)));
  EXPECT_TRUE(region.contains(QPoint(40, row.Top)));
  EXPECT_TRUE(region.contains(QPoint(40, row.Bottom - 1)));
  EXPECT_FALSE(region.contains(QPoint(40, row.Top + 5)));  // the rest of the interior is not asked for
  g.PaintAll();
  g.InvalidateRow(2);
  EXPECT_EQ(InvalidBounds(g), row);
}

TEST(GridControlInvalidation, RowsOfAnEmptyGridAreIgnored) {
  ReportGrid g;
  g.SetRows(0);
  g.PaintAll();
  g.InvalidateRow(0);
  g.RepaintSelection();
  EXPECT_TRUE(g.InvalidRegion().isEmpty());
}

class GridControlClearRows : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(GridControlClearRows, RepaintsTheOldCurrentCellUnlessItWasTheOrigin) {
  ReportGrid g;
  g.SetRows(8);
  g.PaintAll();
  const auto [col, row] = GetParam();
  g.SetStateForTest({.current = TPoint(col, row)});
  g.ClearRows();
  EXPECT_EQ(g.Col(), 0);
  EXPECT_EQ(g.Row(), 0);
  if (col == 0 && row == 0)
    EXPECT_TRUE(g.InvalidRegion().isEmpty());
  else
    EXPECT_EQ(InvalidBounds(g), g.GetCellRect(col, row));
}

INSTANTIATE_TEST_SUITE_P(OldCells, GridControlClearRows,
                         ::testing::Values(std::pair{0, 0}, std::pair{0, 5}, std::pair{2, 0}, std::pair{1, 3}));

// ---- scroll bars

TEST(GridControlScrollBars, VerticalRangeFollowsRowsAndHides) {
  ReportGrid g;  // 11 whole rows of 16 fit under the header
  EXPECT_EQ(g.VisibleRowCount(), 11);
  g.SetRows(11);
  EXPECT_EQ(g.VertScrollRange(), 0);
  EXPECT_FALSE(g.VertScrollBar()->Visible());
  EXPECT_FALSE(g.VertScrollBar()->Enabled());
  // Kept off even when asked to stay: a bar without range would be hidden
  // by the platform again at every paint, which would then paint again.
  g.SetHideScrollBar(false);
  g.PaintAll();
  EXPECT_FALSE(g.ScrollBarShown(SB_VERT));
  EXPECT_TRUE(g.InvalidRegion().isEmpty());
  g.SetRows(50);
  EXPECT_TRUE(g.VertScrollBar()->Enabled());
  EXPECT_EQ(g.VertScrollBar()->Max(), 50 - g.VisibleRowCount());
  EXPECT_EQ(g.VertScrollBar()->PageSize(), 1);
  g.VertScrollBar()->SetPosition(7);
  g.UpdateVertScrollBar();
  EXPECT_EQ(g.VertScrollBar()->Position(), 7);
}

TEST(GridControlScrollBars, HorizontalRangeAndPageStep) {
  ReportGrid g;
  g.UpdateHorzScrollBar();
  EXPECT_EQ(g.HorzScrollRange(), 0);
  EXPECT_FALSE(g.HorzScrollBar()->Visible());
  g.AddColumn(QStringLiteral("Cihaz seri no."), 200);  // 406 wide
  g.UpdateHorzScrollBar();
  EXPECT_TRUE(g.HorzScrollBar()->Visible());
  EXPECT_EQ(g.HorzScrollRange(), 406 - g.ClientWidth());
  EXPECT_EQ(g.HorzScrollBar()->Max(), g.HorzScrollRange());
  EXPECT_EQ(g.HorzScrollBar()->PageSize(), 5);
  EXPECT_EQ(g.HorzScrollBar()->PageStep, qRound(g.ClientWidth() * 0.05));
  g.SetGridStyle(gsSlides);
  g.UpdateHorzScrollBar();
  EXPECT_FALSE(g.HorzScrollBar()->Visible());
}

TEST(GridControlScrollBars, SlidesCountWholeSlides) {
  ReportGrid g;
  g.SetGridStyle(gsSlides);
  g.SetRows(10);
  EXPECT_EQ(g.VertScrollBar()->Max(), 10 - 200 / 80);
  EXPECT_TRUE(g.ScrollBarShown(SB_VERT));
  g.SetRows(1);
  EXPECT_EQ(g.VertScrollBar()->Max(), 0);
  EXPECT_FALSE(g.VertScrollBar()->Enabled());
  g.PaintAll();
  EXPECT_TRUE(g.InvalidRegion().isEmpty());
}

// ---- column notices

TEST(GridControlColumnNotices, InputTextRepaintsOnlyTheInputSlice) {
  ReportGrid g;
  g.SetOptions(g.Options() | goInput);
  g.PaintAll();
  g.Columns()->Items(1)->SetInputText(QStringLiteral("05"));
  EXPECT_EQ(InvalidBounds(g), TRect(96, 18, 156, 18 + 22));
  g.PaintAll();
  g.Columns()->Items(1)->SetAlignment(taCenter);
  EXPECT_EQ(InvalidBounds(g), g.ClientRect());
}

TEST(GridControlColumnNotices, SortOfASortedColumnSortsAndFires) {
  ReportGrid g;
  QStringList fired;
  g.OnSortColumn = [&](TObject*, int col, bool asc) { fired << QStringLiteral("%1:%2").arg(col).arg(asc); };
  g.Columns()->Items(2)->SetSorted(true);
  g.Columns()->Items(2)->SetSortKind(skDescending);
  EXPECT_EQ(g.sorted, (QStringList{"2:asc", "2:desc"}));
  EXPECT_EQ(fired, (QStringList{"2:1", "2:0"}));
  g.Columns()->Items(2)->SetSorted(false);
  EXPECT_EQ(g.sorted.size(), 2);
}

TEST(GridControlColumnNotices, WidthChangeUpdatesTheHorizontalBar) {
  ReportGrid g;
  g.Columns()->Items(0)->SetWidth(400);
  EXPECT_TRUE(g.HorzScrollBar()->Visible());
  EXPECT_EQ(g.HorzScrollBar()->Max(), 510 - g.ClientWidth());
}

// ---- invariants that fire --------------------------------------------------------

// Each row breaks one invariant behind the grid's back; the next public
// operation must stop on the check that names it.
struct BrokenInvariant {
  const char* name;
  const char* check;
  void (*breakIt)(ReportGrid& g, TTextualColumn& loose);
};

class GridControlInvariants : public ::testing::TestWithParam<BrokenInvariant> {};

TEST_P(GridControlInvariants, AreCheckedInTestBuilds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const BrokenInvariant& k = GetParam();
  auto breakAndOperate = [&k] {
    ReportGrid g;
    TTextualColumn loose;
    k.breakIt(g, loose);
    g.ClearRowSelection();
  };
  EXPECT_DEATH(breakAndOperate(), k.check);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, GridControlInvariants,
    ::testing::Values(
        BrokenInvariant{"TwoEditors", "OneEditorOnItsCell",
                        [](ReportGrid& g, TTextualColumn&) {
                          g.SetStateForTest({.gridState = TCustomGridViewControl::EditingCell |
                                                          TCustomGridViewControl::EditingInput});
                        }},
        BrokenInvariant{"AFlagShort", "OneFlagPerRow",
                        [](ReportGrid& g, TTextualColumn&) { g.SetStateForTest({.rowFlags = 4}); }},
        BrokenInvariant{"EditCellPastTheRows", "CellsValidOrNone",
                        [](ReportGrid& g, TTextualColumn&) { g.SetStateForTest({.editedCell = TPoint(1, 5)}); }},
        BrokenInvariant{"InputColumnWithoutItsEditor", "InputRowMatchesEditor",
                        [](ReportGrid& g, TTextualColumn&) { g.SetStateForTest({.inputColumn = 1}); }},
        BrokenInvariant{"HotHeaderOfAnotherList", "HeldColumnsAreLive",
                        [](ReportGrid& g, TTextualColumn& loose) { g.SetStateForTest({.hotHeader = &loose}); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridControlColumnNotices, ClearingColumnsDropsEveryReference) {
  ReportGrid g;
  g.SetStateForTest({.editedCell = TPoint(1, 1),
                     .inputColumn = 2,
                     .hotHeader = g.Columns()->Items(0),
                     .pressedHeader = g.Columns()->Items(1)});
  g.Columns()->Clear();
  EXPECT_EQ(g.HotHeaderColumn(), nullptr);
  EXPECT_EQ(g.PressedHeaderColumn(), nullptr);
  EXPECT_EQ(g.InputColumn(), -1);
  EXPECT_EQ(g.Editor(), nullptr);
  EXPECT_EQ(g.EditCol(), -1);
  EXPECT_EQ(g.GridState() & TCustomGridViewControl::EditingCell, 0);
  g.PaintAll();  // nothing left to paint but empty space
  EXPECT_EQ(g.At(100, 100), ColorToRGB(clWindow));
}

}  // namespace
