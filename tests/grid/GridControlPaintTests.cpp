#include <gtest/gtest.h>

#include <QPainter>
#include <set>

#include "GridControlTestSupport.h"
#include "TestSupport.h"
#include "grid/Providers.h"

namespace {

const TColor kWindow = ColorToRGB(clWindow);
const TColor kFace = ColorToRGB(clBtnFace);
const TColor kHighlight = ColorToRGB(clHighlight);
const TColor kLight = ColorToRGB(clBtnHighlight);
const TColor kShadow = ColorToRGB(clBtnShadow);
const TColor kFrame = ColorToRGB(clWindowFrame);

// Columns of 96, 60 and 50 pixels, rows 20 high with grid lines (a 21-pixel
// pitch) under an 18-pixel header: row r spans 18 + 21r … 18 + 21r + 19 and
// its grid line lies at 18 + 21r + 20.
struct PaintGrid : TTestGrid {
  explicit PaintGrid(int rows = 3, int width = 300, int height = 200) : TTestGrid(width, height) {
    AddColumn(QStringLiteral("Hat no."), 96);
    AddColumn(QStringLiteral("Arayan numara"), 60);
    AddColumn(QStringLiteral("Saat"), 50);
    SetRowSize(20);
    SetOptions(Options() | goGrid);
    SetRows(rows);
  }
  static int Top(int r) { return 18 + 21 * r; }
};

struct LineCase {
  const char* name;
  TGridLinesStyle style;
  TColor innerVertical;  // right line of the first column
  TColor lastVertical;   // right line of the last column, data rows
  TColor lastBottom;     // bottom line of the last row
  TColor emptyVertical;  // right line of the last column below the rows
};

class GridControlGridLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(GridControlGridLines, StyleDecidesColourAndPlace) {
  const LineCase& c = GetParam();
  for (bool themed : {false, true}) {
    ThemeLook look(themed);
    PaintGrid g;
    g.SetGridLinesStyle(c.style);
    g.PaintAll();
    EXPECT_EQ(g.At(95, PaintGrid::Top(0) + 5), c.innerVertical) << themed;
    EXPECT_EQ(g.At(205, PaintGrid::Top(1) + 5), c.lastVertical) << themed;
    EXPECT_EQ(g.At(40, PaintGrid::Top(2) + 20), c.lastBottom) << themed;
    EXPECT_EQ(g.At(40, PaintGrid::Top(0) + 20), kFace) << themed;
    EXPECT_EQ(g.At(205, PaintGrid::Top(4) + 5), c.emptyVertical) << themed;
    EXPECT_EQ(g.At(40, PaintGrid::Top(0) + 5), kWindow) << themed;
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, GridControlGridLines,
                         ::testing::Values(LineCase{"Normal", lsNormal, kFace, kFace, kFace, kFace},
                                           LineCase{"Framed", lsFramed, kFace, clBlack, clBlack, kFace},
                                           LineCase{"HorizontalOnly", lsHorizontalOnly, kWindow, kWindow, kFace,
                                                    kWindow}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridControlPaint, EmptyRowsReachTheDataBottomAndReportTheirRow) {
  ThemeLook look(false);
  PaintGrid g;
  std::set<int> emptyRows;
  bool emptyStates = true;
  g.OnCellColoring = [&](TObject*, int, int row, TColor& cell, TColor&, TCellState state) {
    if (row < g.RowCount()) return;
    emptyRows.insert(row);
    emptyStates = emptyStates && state == TCellState();
    if (row == 4) cell = clRed;
  };
  g.PaintAll();
  EXPECT_EQ(emptyRows, (std::set<int>{3, 4, 5, 6, 7, 8}));  // row 8 starts at 186, below it nothing
  EXPECT_TRUE(emptyStates);
  EXPECT_EQ(g.At(40, PaintGrid::Top(4) + 5), clRed);
  EXPECT_EQ(g.At(95, PaintGrid::Top(8) + 5), kFace);
}

TEST(GridControlPaint, EveryDataCellIsFocusedWhileTheGridHasFocus) {
  PaintGrid g;
  int cells = 0, focused = 0, selected = 0;
  g.OnCellColoring = [&](TObject*, int, int row, TColor&, TColor&, TCellState state) {
    if (row >= g.RowCount()) return;
    ++cells;
    focused += state.testFlag(csFocused);
    selected += state.testFlag(csSelected);
  };
  g.focus = true;
  g.PaintAll();
  EXPECT_EQ(cells, 9);
  EXPECT_EQ(focused, 9);
  EXPECT_EQ(selected, 1);
  cells = focused = selected = 0;
  g.focus = false;
  g.PaintAll();
  EXPECT_EQ(cells, 9);
  EXPECT_EQ(focused + selected, 0);
}

TEST(GridControlPaint, EmptyGridShowsCaptionFourPixelsBelowTheDataTop) {
  ThemeLook look(false);
  PaintGrid g(0);
  g.focus = true;
  g.SetCaption(QStringLiteral("Kayıt yok"));
  g.PaintAll();
  const int top = 18 + 4;
  const int height = g.Canvas()->TextHeight(QStringLiteral("Kayıt yok"));
  EXPECT_EQ(g.CountOf(TRect(0, 18, 300, top), clBlack), 0);
  EXPECT_GT(g.CountOf(TRect(0, top, 300, top + height), clBlack), 10);
  EXPECT_EQ(g.CountOf(TRect(0, top + height, 300, 200), clBlack), 0);
  // Centred: as much ink left of the middle as right of it, give or take a glyph.
  const int left = g.CountOf(TRect(0, top, 150, top + height), clBlack);
  const int right = g.CountOf(TRect(150, top, 300, top + height), clBlack);
  EXPECT_GT(left, 0);
  EXPECT_GT(right, 0);
  EXPECT_EQ(g.At(95, 30), kFace);  // empty cells keep their grid lines
}

TEST(GridControlPaint, CaptionChangeRepaintsTheDataBand) {
  PaintGrid g(0);
  g.SetOptions(g.Options() | goIndicator);
  g.PaintAll();
  g.SetCaption(QStringLiteral("Boş"));
  EXPECT_EQ(TRect::FromQt(g.InvalidRegion().boundingRect()), TRect(12, 18, 300, 200));
}

TEST(GridControlPaint, OpenEditorCellIsOnlyFramed) {
  ThemeLook look(false);
  PaintGrid g;
  g.PaintAll();
  g.colors[{1, 1}] = clRed;
  g.SetStateForTest({.editedCell = TPoint(1, 1)});
  g.InvalidateCell(1, 1);
  g.PaintInvalid();
  const TRect cell = g.GetCellRect(1, 1);
  EXPECT_EQ(g.At(cell.Left, cell.Top), clRed);
  EXPECT_EQ(g.At(cell.Right - 1, cell.Bottom - 1), clRed);
  EXPECT_EQ(g.At(cell.Left + 20, cell.Top + 5), kWindow);
  g.SetStateForTest({.editedCell = TPoint(-1, -1)});
  g.InvalidateCell(1, 1);
  g.PaintInvalid();
  EXPECT_EQ(g.At(cell.Left + 20, cell.Top + 5), clRed);
}

TEST(GridControlPaint, BackgroundLeftToTheHandlerContentStillDrawn) {
  ThemeLook look(false);
  PaintGrid g;
  g.PaintAll();
  g.colors[{0, 0}] = clRed;
  g.SetText(0, 0, QStringLiteral("MMMMMM"));
  QStringList order;
  g.OnDrawCellBackground = [&](TObject*, int c, int r, const TRect&, TCellState, bool& defaultDrawing) {
    if (c == 0 && r == 0) defaultDrawing = false;
  };
  g.InvalidateCell(0, 0);
  g.PaintInvalid();
  const TRect cell = g.GetCellRect(0, 0);
  EXPECT_EQ(g.CountOf(cell, clRed), 0);
  EXPECT_GT(g.CountOf(cell, clBlack), 5);
}

struct DrawingCase {
  const char* name;
  TDrawingOptions drawing;
  bool content;
  bool custom;
};

class GridControlDrawingOptions : public ::testing::TestWithParam<DrawingCase> {};

TEST_P(GridControlDrawingOptions, DecideContentAndCustomDrawing) {
  ThemeLook look(false);
  PaintGrid g;
  g.focus = true;
  g.SetOptions(g.Options() | goHideFocus);
  g.Columns()->Items(0)->SetDrawingOptions(GetParam().drawing);
  g.SetText(0, 1, QStringLiteral("MMMMMM"));
  QStringList custom;
  g.OnCustomDrawCell = [&](TObject*, int c, int r, const TRect& rect, TCellState state) {
    custom << QStringLiteral("%1,%2 %3 %4").arg(c).arg(r).arg(rect.Left).arg(int(state.toInt()));
  };
  g.PaintAll();
  const TRect cell = g.GetCellRect(0, 1);
  EXPECT_EQ(g.CountOf(cell, clBlack) > 5, GetParam().content);
  // goHideFocus keeps csFocused out; the current cell (0, 0) is selected.
  EXPECT_EQ(custom.contains(QStringLiteral("0,1 0 0")), GetParam().custom);
  EXPECT_EQ(custom.contains(QStringLiteral("0,0 0 %1").arg(int(TCellState(csSelected).toInt()))), GetParam().custom);
}

INSTANTIATE_TEST_SUITE_P(Kinds, GridControlDrawingOptions,
                         ::testing::Values(DrawingCase{"Normal", doNormal, true, false},
                                           DrawingCase{"BackgroundOnly", doBackgroundOnly, false, true},
                                           DrawingCase{"Custom", doCustom, true, true},
                                           DrawingCase{"CustomOnly", doCustomOnly, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridControlPaint, SortedColumnIsGreyWhateverColouringChose) {
  ThemeLook look(false);
  PaintGrid g;
  g.focus = true;
  g.SetOptions(g.Options() | goIndicateSortedColumn);
  g.Columns()->Items(1)->SetSorted(true);
  g.SetStateForTest({.current = TPoint(1, 0)});
  g.OnCellColoring = [](TObject*, int, int, TColor& cell, TColor&, TCellState) { cell = clYellow; };
  g.PaintAll();
  EXPECT_EQ(g.At(120, PaintGrid::Top(1) + 5), RGB(245, 245, 245));
  EXPECT_EQ(g.At(40, PaintGrid::Top(1) + 5), clYellow);
  EXPECT_EQ(g.At(120, PaintGrid::Top(0) + 5), clYellow);  // selected: colouring decides
  g.SetOptions(g.Options() & ~TGridOptions(goIndicateSortedColumn));
  g.PaintAll();
  EXPECT_EQ(g.At(120, PaintGrid::Top(1) + 5), clYellow);
}

struct SelectionCase {
  const char* name;
  bool focus;
  TGridOptions extra;
  TColor back;
  TColor text;
};

TColor Blend() {
  // A quarter of the highlight over the window colour, each channel rounded.
  const TColor h = kHighlight, w = kWindow;
  const auto mix = [](int a, int b) { return int(std::lround(0.25 * b + 0.75 * a)); };
  return RGB(mix(GetRValue(w), GetRValue(h)), mix(GetGValue(w), GetGValue(h)), mix(GetBValue(w), GetBValue(h)));
}

class GridControlSelectionColours : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(GridControlSelectionColours, FollowFocusAndOptions) {
  const SelectionCase& c = GetParam();
  ThemeLook look(false);
  PaintGrid g;
  g.focus = c.focus;
  g.SetOptions(g.Options() | c.extra | goHideFocus);
  g.Columns()->Items(1)->Font()->SetColor(clGreen);
  g.SetStateForTest({.current = TPoint(1, 1)});
  g.PaintAll();
  EXPECT_EQ(ColorToRGB(g.GetCellBackColor(1, 1)), c.back);
  EXPECT_EQ(g.At(98, PaintGrid::Top(1) + 1), c.back);
  EXPECT_EQ(ColorToRGB(g.GetCellTextColor(1, 1)), ColorToRGB(c.text));
  EXPECT_EQ(ColorToRGB(g.GetCellTextColor(1, 2)), clGreen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridControlSelectionColours,
    ::testing::Values(SelectionCase{"Focused", true, {}, kHighlight, clHighlightText},
                      SelectionCase{"AlphaBlended", true, goAlphaBlendedSelection, Blend(), clHighlightText},
                      SelectionCase{"UnfocusedShown", false, goAlwaysShowSelection, kFace, clGreen},
                      SelectionCase{"UnfocusedHidden", false, {}, kWindow, clGreen}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridControlPaint, BoldSelectionOnlyWithItsOption) {
  PaintGrid g;
  g.focus = true;
  g.SetStateForTest({.current = TPoint(1, 1)});
  g.PrepareCellFont(1, 1);
  EXPECT_FALSE(g.Canvas()->Font()->Style().testFlag(fsBold));
  g.SetOptions(g.Options() | goBoldTextSelection);
  g.PrepareCellFont(1, 1);
  EXPECT_TRUE(g.Canvas()->Font()->Style().testFlag(fsBold));
  g.PrepareCellFont(0, 1);
  EXPECT_FALSE(g.Canvas()->Font()->Style().testFlag(fsBold));
}

struct CellTextCase {
  const char* name;
  const char16_t* text;
  bool rightToLeft;
  bool boldAfterFirstPaint;  // the same text again in another font
};

class GridControlCellText : public ::testing::TestWithParam<CellTextCase> {};

// Cell texts are kept shaped between paints: what is painted must be what
// the painter draws from the string itself, after a font change too.
TEST_P(GridControlCellText, KeptShapesDrawAsTheString) {
  const CellTextCase& c = GetParam();
  const QString text = QString::fromUtf16(c.text);
  PaintGrid g;
  if (c.rightToLeft) g.SetBiDiMode(bdRightToLeftReadingOnly);
  g.PaintAll();
  QImage expected = g.Image().copy();
  g.SetText(0, 0, text);
  g.PaintAll();
  TFont* font = g.Columns()->Items(0)->Font();
  if (c.boldAfterFirstPaint) {
    font->SetStyle(fsBold);
    g.PaintAll();
  }
  g.PaintAll();

  const TRect cell = g.GetCellRect(0, 0);
  const QRect box(cell.Left + 2, cell.Top, cell.Width() - 4, cell.Height());
  const QFont qfont = font->ToQFont();
  const QFontMetrics fm(qfont);
  QPainter p(&expected);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setFont(qfont);
  p.setPen(ToQColor(font->Color()));
  p.setClipRect(box);
  p.setLayoutDirection(c.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  p.drawText(QPointF(box.left(), box.top() + (box.height() - fm.height()) / 2 + fm.ascent()), text);
  p.end();
  EXPECT_TRUE(expected == g.Image());
}

INSTANTIATE_TEST_SUITE_P(Texts, GridControlCellText,
                         ::testing::Values(CellTextCase{"Plain", u"Arayan 0532", false, false},
                                           CellTextCase{"TrailingSpaces", u"satır   ", false, false},
                                           CellTextCase{"MixedScripts", u"رقم 0532 ğüş", false, false},
                                           CellTextCase{"MixedScriptsRightToLeft", u"رقم 0532 ğüş", true, false},
                                           CellTextCase{"LatinRightToLeft", u"Hat no. 7", true, false},
                                           CellTextCase{"FontChangedAfterAPaint", u"Arayan 0532", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Pixels along the top edge of r that are not `background`.
int MarksOnTopEdge(const TTestGrid& g, const TRect& r, TColor background) {
  return r.Right - r.Left - g.CountOf(TRect(r.Left, r.Top, r.Right, r.Top + 1), background);
}

TEST(GridControlPaint, FocusRectangleOnTheCurrentCell) {
  ThemeLook look(false);
  PaintGrid g;
  g.focus = true;
  g.SetStateForTest({.current = TPoint(0, 2)});
  g.PaintAll();
  const TRect cell = g.GetCellRect(0, 2);
  EXPECT_GT(MarksOnTopEdge(g, cell, kHighlight), 10);  // dotted, inverting
  EXPECT_EQ(g.At(cell.Left + 10, cell.Top + 5), kHighlight);
  g.SetOptions(g.Options() | goHideFocus);
  g.PaintAll();
  EXPECT_EQ(MarksOnTopEdge(g, cell, kHighlight), 0);
  g.SetOptions((g.Options() & ~TGridOptions(goHideFocus)) | goAlphaBlendedSelection);
  g.PaintAll();
  EXPECT_EQ(g.CountOf(TRect(cell.Left, cell.Top, cell.Right, cell.Top + 1), kHighlight), cell.Right - cell.Left);
  EXPECT_EQ(g.At(cell.Left + 10, cell.Top + 5), Blend());
}

TEST(GridControlPaint, NoFocusRectangleForAHiddenCurrentColumn) {
  ThemeLook look(false);
  PaintGrid g;
  g.focus = true;
  g.SetStateForTest({.current = TPoint(1, 1)});
  g.Columns()->Items(1)->SetVisible(false);
  g.PaintAll();
  // Column 2 now starts where the hidden column stood.
  const TRect cell = g.GetCellRect(2, 1);
  EXPECT_EQ(cell.Left, 96);
  EXPECT_EQ(MarksOnTopEdge(g, TRect(96, cell.Top, 145, cell.Bottom), kWindow), 0);
}

TEST(GridControlPaint, FullRowFocusBandAndSelectedRows) {
  ThemeLook look(false);
  PaintGrid g;
  g.focus = true;
  g.SetOptions(g.Options() | goSelectFullRow);
  g.SetStateForTest({.current = TPoint(0, 1)});
  g.SetStateForTest({.selectedRow = 1});
  g.PaintAll();
  const int top = PaintGrid::Top(1);
  EXPECT_EQ(g.At(120, top + 8), kHighlight);  // the selected row, not only the current cell
  EXPECT_GT(MarksOnTopEdge(g, TRect(0, top, 205, top + 1), kHighlight), 100);  // one band over the whole row
  EXPECT_EQ(g.At(120, PaintGrid::Top(2) + 8), kWindow);
}

TEST(GridControlPaint, IndicatorCellsByKind) {
  ThemeLook look(false);
  PaintGrid g;
  g.SetOptions(g.Options() | goIndicator | goInput | goFooter);
  g.PaintAll();
  const TRect input = g.InputRect(), footer = g.FooterRect();
  EXPECT_EQ(g.At(0, 0), kLight);  // raised header corner
  EXPECT_EQ(g.At(11, 17), kShadow);
  EXPECT_EQ(g.At(5, 8), kFace);
  EXPECT_EQ(g.At(5, input.Top + 3), kWindow);  // the input row's cell takes the grid colour
  EXPECT_EQ(g.At(0, footer.Top), kLight);
  EXPECT_EQ(g.At(11, footer.Bottom - 1), kShadow);
  EXPECT_EQ(g.At(5, g.DataRect().Top + 21 * 2 + 3), kFace);  // an idle row's cell
  g.SetHeaderStyle(hsOldStyle);
  g.PaintAll();
  EXPECT_EQ(g.At(11, 17), kFrame);
  EXPECT_EQ(g.At(11, footer.Bottom - 1), kFrame);
}

TEST(GridControlPaint, InputAndFooterStripsAreRaisedFaces) {
  ThemeLook look(false);
  PaintGrid g;
  g.SetOptions(g.Options() | goInput | goFooter);
  g.PaintAll();
  const TRect input = g.InputRect(), footer = g.FooterRect();
  const int strip = input.Bottom - 6;
  EXPECT_EQ(g.At(0, strip), kLight);
  EXPECT_EQ(g.At(input.Right - 1, input.Bottom - 1), kShadow);
  EXPECT_EQ(g.At(50, strip + 2), kFace);
  EXPECT_EQ(g.At(0, footer.Top), kLight);
  EXPECT_EQ(g.At(50, footer.Top + 3), kShadow);
  EXPECT_EQ(g.At(50, footer.Top + 1), kFace);
}

// Under themes the strips, the indicator's header cell and the filler are
// themed items; with headers not in the automatic style they stay classic.
TEST(GridControlPaint, ThemedLookDrawsStripsAndCornerAsThemedItems) {
  ThemeLook look(true);
  PaintGrid g;
  g.SetOptions(g.Options() | goIndicator | goInput | goFooter);
  g.PaintAll();
  const TRect input = g.InputRect(), footer = g.FooterRect();
  const QImage themed = g.Image().copy();
  g.SetHeaderStyle(hsDefault);
  g.PaintAll();
  const QImage classic = g.Image().copy();
  const auto differs = [&](const TRect& r) { return themed.copy(r.ToQt()) != classic.copy(r.ToQt()); };
  EXPECT_TRUE(differs(TRect(0, input.Bottom - 6, input.Right, input.Bottom)));
  EXPECT_TRUE(differs(TRect(12, footer.Top, footer.Right, footer.Top + 4)));
  EXPECT_TRUE(differs(TRect(0, 0, 12, 18)));
  EXPECT_EQ(g.At(0, input.Bottom - 6), kLight);  // hsDefault: the raised face
  EXPECT_EQ(g.At(0, 0), kLight);
  // The data cells look the same either way.
  EXPECT_FALSE(differs(TRect(12, g.DataRect().Top, 200, g.DataRect().Top + 40)));
}

TEST(GridControlPaint, PartlyVisibleLastRowStaysOutOfTheFooter) {
  ThemeLook look(false);
  PaintGrid g(20);
  g.SetHeaderStyle(hsOldStyle);
  g.SetOptions(g.Options() | goIndicator | goFooter);
  g.PaintAll();
  // Data ends at 177; row 7 (165 … 186) is cut there, its old-style
  // indicator's dark bottom edge (185) must not show in the footer.
  EXPECT_EQ(g.DataRect().Bottom, 177);
  EXPECT_EQ(g.At(5, 185), kFace);
  EXPECT_EQ(g.At(40, 179), kFace);  // the footer strip, not a cell
}

TEST(GridControlPaint, FillerRightOfTheColumnsInBothLooks) {
  {
    ThemeLook look(false);
    PaintGrid g;
    g.PaintAll();
    EXPECT_EQ(g.At(250, 5), kWindow);
    EXPECT_EQ(g.At(250, 100), kWindow);
  }
  ThemeLook look(true);
  PaintGrid g;
  g.PaintAll();
  EXPECT_NE(g.At(250, 5), kWindow);  // a themed empty header item
  EXPECT_EQ(g.At(250, 100), kWindow);
  g.SetOptions(g.Options() & ~TGridOptions(goHeader));
  g.PaintAll();
  EXPECT_EQ(g.At(250, 5), kWindow);
}

// A themed header part is handed to the style only as far as it shows; the
// cut ends stay out of sight, so a strip repainted alone looks as before.
TEST(GridControlPaint, AWideThemedHeaderRepaintedInAStripLooksTheSame) {
  ThemeLook look(true);
  PaintGrid g;
  g.Columns()->Items(0)->SetWidth(kMaxColumnWidth);
  g.PaintAll();
  const QImage whole = g.Image().copy();
  g.InvalidateRect(TRect(100, 0, 120, g.HeaderSize()));
  g.PaintInvalid();
  EXPECT_TRUE(whole == g.Image());
}

TEST(GridControlPaint, ThemedBorderOnlyWithThemesSingleBorderAndAutoHeaders) {
  ThemeLook look(true);
  PaintGrid g;
  g.SetBorderStyle(bsSingle);
  EXPECT_TRUE(g.ThemedBorder());
  EXPECT_EQ(g.BorderWidth(), 1);
  g.SetHeaderStyle(hsDefault);
  EXPECT_EQ(g.BorderWidth(), 0);
  g.SetHeaderStyle(hsAuto);
  SetThemesActive(false);
  EXPECT_EQ(g.BorderWidth(), 0);
}

TEST(GridControlPaint, SlidesWithTheCurrentSlideFramedTwice) {
  for (bool themed : {false, true}) {
    ThemeLook look(themed);
    PaintGrid g;
    g.SetGridStyle(gsSlides);
    g.SetSlideSize(50);
    g.UpdateVertScrollBar();  // three slides of 51 fit: no bar
    TSlideBounds* b = g.Columns()->Items(0)->SlideBounds();
    b->SetLeft(10);
    b->SetTop(10);
    b->SetWidth(80);
    b->SetHeight(20);
    g.colors[{0, 2}] = clRed;
    g.SetStateForTest({.current = TPoint(g.Col(), 1)});
    g.PaintAll();
    EXPECT_EQ(g.At(1, 52), kHighlight) << themed;  // slide 1 starts at 51
    EXPECT_EQ(g.At(2, 53), kHighlight) << themed;
    EXPECT_EQ(g.At(3, 54), kWindow) << themed;
    EXPECT_EQ(g.At(g.ClientWidth() - 2, 99), kHighlight) << themed;
    EXPECT_EQ(g.At(1, 1), kWindow) << themed;   // slide 0 is not current
    EXPECT_EQ(g.At(100, 50), kFace) << themed;  // the line between slides
    EXPECT_EQ(g.At(15, 102 + 15), clRed) << themed;
    EXPECT_EQ(g.At(15, 180), kWindow) << themed;  // below the last slide
  }
}

// ---- culling

TEST(GridControlCulling, OneInvalidCellPaintsOneCell) {
  PaintGrid g(50);
  g.PaintAll();
  EXPECT_GE(g.paintCellCalls, 24);
  g.InvalidateCell(1, 4);
  EXPECT_EQ(g.PaintInvalid(), 1);
  g.InvalidateRow(3);
  EXPECT_EQ(g.PaintInvalid(), 3);
}

TEST(GridControlCulling, ScrollingOneRowPaintsOneRowAndMatchesAFullPaint) {
  for (bool themed : {false, true}) {
    ThemeLook look(themed);
    PaintGrid g(50, 300, 18 + 21 * 8);
    for (int r = 0; r < 50; ++r) g.SetText(r % 3, r, QStringLiteral("satır %1").arg(r));
    g.PaintAll();
    g.VertScrollBar()->SetPosition(1);
    EXPECT_EQ(g.PaintInvalid(), 3) << themed;
    const QImage scrolled = g.Image().copy();
    g.PaintAll();
    EXPECT_TRUE(scrolled == g.Image()) << themed;
  }
}

TEST(GridControlCulling, NothingButTheBasePaintsWhileResizingAColumn) {
  PaintGrid g;
  g.SetStateForTest({.gridState = uint16_t(g.GridState() | TCustomGridViewControl::ResizingColumn)});
  g.PaintAll();
  EXPECT_EQ(g.paintCellCalls, 0);
}

}  // namespace
