#include <gtest/gtest.h>

#include "ColumnTestSupport.h"
#include "DisplaysTestSupport.h"
#include "TestSupport.h"
#include "grid/ColumnClasses.h"
#include "grid/Providers.h"

namespace {

class FakePartGrid : public IPartDisplayGrid {
 public:
  THeaderStyle style = hsDefault;
  bool gridLines = true;
  QWidget* ThemeWindow() const override { return nullptr; }
  THeaderStyle HeaderStyle() const override { return style; }
  bool HasGridLines() const override { return gridLines; }
};

const TColor kFace = RGB(220, 230, 240);
const TColor kHighlight = ColorToRGB(clBtnHighlight);
const TColor kShadow = ColorToRGB(clBtnShadow);

// Columns of a grid whose header is (0, 0, 500, 20), input row (0, 20, 500, 39)
// and footer (0, 150, 500, 175), painted on one sheet by one part display.
struct PartBench {
  FakeColumnGrid columnGrid;
  TColumns columns{&columnGrid};
  FakePartGrid grid;
  Sheet sheet{200, 180};
  TColumnPartDisplay display{&grid, &sheet.canvas};
  TFont gridFont;

  TCustomColumn* Add(const QString& caption, int width = 60) {
    auto* column = new TTextualColumn;
    column->SetWidth(width);
    column->Header()->SetCaption(caption);
    column->Header()->SetColor(kFace);
    columns.Add(column);
    return column;
  }
  // The grid sets the column, its slice and the font, then asks for a part.
  void Paint(TCustomColumn* column, uint8_t kind = pkHeader) {
    display.Column = column;
    display.PartRect = column->PartRect(kind == pkHeader ? gaHeader : kind == pkInput ? gaInput : gaFooter);
    sheet.canvas.Font()->Assign(&gridFont);
    display.PaintPart(kind);
  }
  // The header alone on a blank sheet.
  QImage PaintedHeader(TCustomColumn* column) {
    sheet.canvas.Release();
    sheet.image.fill(Qt::white);
    Paint(column);
    return sheet.Picture().copy();
  }
  int CaptionWidth(const TCustomColumn* column) {
    sheet.canvas.Font()->Assign(&gridFont);
    return sheet.canvas.TextWidth(column->Header()->Caption());
  }
};

// ---- header backgrounds ----------------------------------------------------------------

// Colours down one pixel column of the header strip, y = 0 … 19: h button
// highlight, s button shadow, k window frame, f the header's colour, w white.
struct EdgeRow {
  const char* name;
  int visible;  // columns of 60 pixels from x = 0
  THeaderStyle style;
  int x;
  const char* profile;
};
void PrintTo(const EdgeRow& row, std::ostream* os) { *os << row.name; }

class HeaderEdges : public ::testing::TestWithParam<EdgeRow> {};

TEST_P(HeaderEdges, OnlyTheOuterEndsReachTheFullHeight) {
  const EdgeRow& row = GetParam();
  PartBench bench;
  bench.grid.style = row.style;
  for (int i = 0; i < row.visible; ++i) bench.Add(QString());
  for (int i = 0; i < row.visible; ++i) bench.Paint(bench.columns.Items(i));
  for (int y = 0; y < 20; ++y) {
    const char c = row.profile[y];
    const TColor expected = c == 'h'   ? kHighlight
                            : c == 's' ? kShadow
                            : c == 'k' ? ColorToRGB(clWindowFrame)
                            : c == 'f' ? kFace
                                       : clWhite;
    EXPECT_EQ(bench.sheet.At(row.x, y), expected) << "y " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Places, HeaderEdges,
                         ::testing::Values(EdgeRow{"FirstLeft", 3, hsDefault, 0, "hhhhhhhhhhhhhhhhhhhs"},
                                           EdgeRow{"FirstFace", 3, hsDefault, 30, "hffffffffffffffffffs"},
                                           EdgeRow{"FirstRight", 3, hsDefault, 59, "hfssssssssssssssssfs"},
                                           EdgeRow{"MiddleLeft", 3, hsDefault, 60, "hfhhhhhhhhhhhhhhhhfs"},
                                           EdgeRow{"MiddleRight", 3, hsDefault, 119, "hfssssssssssssssssfs"},
                                           EdgeRow{"LastLeft", 3, hsDefault, 120, "hfhhhhhhhhhhhhhhhhfs"},
                                           EdgeRow{"LastRight", 3, hsDefault, 179, "ssssssssssssssssssss"},
                                           EdgeRow{"PastTheLast", 3, hsDefault, 180, "wwwwwwwwwwwwwwwwwwww"},
                                           EdgeRow{"OnlyLeft", 1, hsDefault, 0, "hhhhhhhhhhhhhhhhhhhs"},
                                           EdgeRow{"OnlyFace", 1, hsDefault, 30, "hffffffffffffffffffs"},
                                           EdgeRow{"OnlyRight", 1, hsDefault, 59, "ssssssssssssssssssss"},
                                           EdgeRow{"OldStyleLeft", 3, hsOldStyle, 60, "hhhhhhhhhhhhhhhhhhhk"},
                                           EdgeRow{"OldStyleFace", 3, hsOldStyle, 61, "hffffffffffffffffffk"},
                                           EdgeRow{"OldStyleRight", 3, hsOldStyle, 119, "kkkkkkkkkkkkkkkkkkkk"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the style and look pick the background; the caption follows its indent --------------

enum class Background { Classic, Old, Themed };

struct StyleRow {
  const char* name;
  THeaderStyle style;
  bool themed;
  Background background;
  int indent;
};
void PrintTo(const StyleRow& row, std::ostream* os) { *os << row.name; }

class HeaderStyles : public ::testing::TestWithParam<StyleRow> {};

TEST_P(HeaderStyles, BackgroundAndCaptionIndentFollowTheStyle) {
  const StyleRow& row = GetParam();
  ThemeLook look(row.themed);
  PartBench bench;
  bench.grid.style = row.style;
  bench.Add(QStringLiteral("x"));
  TCustomColumn* column = bench.Add(QStringLiteral("Saat"));
  bench.Paint(column);
  EXPECT_EQ(bench.display.TextIndent(), row.indent);

  PartBench expected;
  expected.grid.style = row.style;
  expected.display.Column = column;
  const TRect r(60, 0, 120, 20);
  if (row.background == Background::Classic) expected.display.DrawHeaderClassic(r, 3, kFace);
  if (row.background == Background::Old) expected.display.DrawHeaderOld(r, kFace);
  if (row.background == Background::Themed) DrawThemed(nullptr, &expected.sheet.canvas, r, TThemeClass::Header, 1, 1);
  expected.sheet.canvas.Font()->Assign(&expected.gridFont);
  TGraphicsProvider::DrawText(&expected.sheet.canvas, TRect(60 + row.indent + 1, 0, 120, 20), taLeftJustify,
                              QStringLiteral("Saat"), false);
  EXPECT_TRUE(bench.sheet.Picture() == expected.sheet.Picture());
}

INSTANTIATE_TEST_SUITE_P(Styles, HeaderStyles,
                         ::testing::Values(StyleRow{"AutoThemed", hsAuto, true, Background::Themed, 11},
                                           StyleRow{"AutoClassic", hsAuto, false, Background::Classic, 2},
                                           StyleRow{"DefaultUnderThemes", hsDefault, true, Background::Classic, 2},
                                           StyleRow{"OldStyleUnderThemes", hsOldStyle, true, Background::Old, 2},
                                           StyleRow{"OldStyleClassic", hsOldStyle, false, Background::Old, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

struct IndentRow {
  const char* name;
  THeaderStyle style;
  bool themed;
  TDisplayMode mode;
  int glyphSize;
  int indent;
  bool hasGlyph;
};
void PrintTo(const IndentRow& row, std::ostream* os) { *os << row.name; }

class HeaderIndent : public ::testing::TestWithParam<IndentRow> {};

TEST_P(HeaderIndent, WideOnlyForThemedTextAndGlyphOnlyWhenShown) {
  const IndentRow& row = GetParam();
  ThemeLook look(row.themed);
  PartBench bench;
  bench.grid.style = row.style;
  bench.display.Column = bench.Add(QStringLiteral("Saat"));
  bench.display.Column->Header()->SetDisplayMode(row.mode);
  bench.display.Column->Header()->SetGlyph(Solid(row.glyphSize, row.glyphSize, clRed));
  EXPECT_EQ(bench.display.TextIndent(), row.indent);
  EXPECT_EQ(bench.display.HasGlyph(), row.hasGlyph);
}

INSTANTIATE_TEST_SUITE_P(Modes, HeaderIndent,
                         ::testing::Values(IndentRow{"ThemedText", hsAuto, true, dmTextOnly, 8, 11, false},
                                           IndentRow{"ThemedImage", hsAuto, true, dmImageOnly, 8, 2, true},
                                           IndentRow{"ThemedTextAndImage", hsAuto, true, dmTextAndImage, 8, 2, true},
                                           IndentRow{"ImageWithoutPicture", hsAuto, true, dmImageOnly, 0, 2, false},
                                           IndentRow{"ClassicText", hsAuto, false, dmTextOnly, 8, 2, false},
                                           IndentRow{"DefaultText", hsDefault, true, dmTextOnly, 8, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderGlyph, GlyphLeavesOutItsBottomLeftColourAndPushesTheCaption) {
  ThemeLook look(false);
  PartBench bench;
  TCustomColumn* column = bench.Add(QStringLiteral("Saat"), 100);
  TBitmap glyph = Solid(8, 8, clRed);
  glyph.SetPixel(0, 7, clLime);
  glyph.SetPixel(1, 7, clLime);
  column->Header()->SetGlyph(glyph);
  column->Header()->SetDisplayMode(dmTextAndImage);
  bench.Paint(column);
  // At (2 + 0 + 1, 10 - 4): the indent, the left edge, one pixel.
  EXPECT_EQ(bench.sheet.At(3, 6), clRed);
  EXPECT_EQ(bench.sheet.At(10, 13), clRed);
  EXPECT_EQ(bench.sheet.At(3, 13), kFace);
  EXPECT_EQ(bench.sheet.At(4, 13), kFace);
  const TRect caption = bench.sheet.Ink(TRect(11, 2, 98, 18), kFace);
  EXPECT_GE(caption.Left, 13);
  EXPECT_LE(caption.Left, 14);
}

// ---- sort arrows -----------------------------------------------------------------------

struct ArrowPixel {
  const char* name;
  int x, y;
  TColor color;  // clNone: as without the arrow
};

struct ArrowRow {
  const char* name;
  bool themed;
  TSortKind kind;
  std::vector<ArrowPixel> pixels;  // relative to the arrow's (x, y)
};
void PrintTo(const ArrowRow& row, std::ostream* os) { *os << row.name; }

class SortArrows : public ::testing::TestWithParam<ArrowRow> {};

TEST_P(SortArrows, ArrowFollowsTheCaptionInItsLook) {
  const ArrowRow& row = GetParam();
  ThemeLook look(row.themed);
  PartBench bench;
  bench.grid.style = hsAuto;
  TCustomColumn* column = bench.Add(QStringLiteral("Saat"), 120);
  column->SetSortKind(row.kind);
  const QImage unsorted = bench.PaintedHeader(column);
  column->SetSorted(true);
  bench.PaintedHeader(column);
  const int x = 2 + bench.CaptionWidth(column) + 19, y = 10 - 4 + (row.themed ? 1 : 0);
  for (const ArrowPixel& p : row.pixels) {
    const TColor untouched = FromQColor(QColor::fromRgb(unsorted.pixel(x + p.x, y + p.y)));
    EXPECT_EQ(bench.sheet.At(x + p.x, y + p.y), p.color == clNone ? untouched : p.color) << p.name;
  }
}

const TColor kGray = ColorToRGB(clGrayText);
const TColor kBack = clNone;

INSTANTIATE_TEST_SUITE_P(Looks, SortArrows,
                         ::testing::Values(ArrowRow{"ClassicAscending",
                                                    false,
                                                    skAscending,
                                                    {{"ShadowBase", 7, 6, kShadow},
                                                     {"ShadowCorner", 0, 6, kShadow},
                                                     {"ShadowStep", 1, 4, kShadow},
                                                     {"ShadowTop", 3, 0, kShadow},
                                                     {"ShadowEndLeftOut", 3, -1, kBack},
                                                     {"LightBase", 7, 5, kHighlight},
                                                     {"LightStep", 5, 2, kHighlight},
                                                     {"LightTop", 4, 0, kHighlight},
                                                     {"LightEndLeftOut", 4, -1, kBack}}},
                                           ArrowRow{"ClassicDescending",
                                                    false,
                                                    skDescending,
                                                    {{"ShadowTopLine", 7, 0, kShadow},
                                                     {"ShadowCorner", 0, 0, kShadow},
                                                     {"ShadowStep", 2, 4, kShadow},
                                                     {"ShadowBottom", 3, 6, kShadow},
                                                     {"ShadowEndLeftOut", 3, 7, kBack},
                                                     {"LightTop", 7, 1, kHighlight},
                                                     {"LightBottom", 4, 6, kHighlight},
                                                     {"LightEndLeftOut", 4, 7, kBack}}},
                                           ArrowRow{"ThemedAscending",
                                                    true,
                                                    skAscending,
                                                    {{"Apex", 4, 0, kGray},
                                                     {"BaseLeft", 0, 4, kGray},
                                                     {"BaseRight", 8, 4, kGray},
                                                     {"Inside", 4, 2, kGray},
                                                     {"AboveApex", 4, -1, kBack},
                                                     {"BesideApex", 2, 0, kBack}}},
                                           ArrowRow{"ThemedDescending",
                                                    true,
                                                    skDescending,
                                                    {{"Apex", 4, 4, kGray},
                                                     {"TopLeft", 0, 0, kGray},
                                                     {"TopRight", 8, 0, kGray},
                                                     {"BelowApex", 4, 5, kBack},
                                                     {"BesideApex", 2, 4, kBack}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SortArrowFit, ArrowIsLeftOutWhenItWouldReachTheRightEdge) {
  ThemeLook look(false);
  for (bool fits : {false, true}) {
    PartBench bench;
    TCustomColumn* column = bench.Add(QStringLiteral("Arayan numara"));
    const int ax = 2 + bench.CaptionWidth(column) + 19;
    column->SetWidth(ax + (fits ? 9 : 8));
    const QImage unsorted = bench.PaintedHeader(column);
    column->SetSorted(true);
    EXPECT_EQ(bench.PaintedHeader(column) == unsorted, !fits) << fits;
  }
}

struct ArrowPlaceRow {
  const char* name;
  TDisplayMode mode;
  bool withText, withGlyph;
  int extra;
};
void PrintTo(const ArrowPlaceRow& row, std::ostream* os) { *os << row.name; }

class SortArrowPlace : public ::testing::TestWithParam<ArrowPlaceRow> {};

TEST_P(SortArrowPlace, ArrowStartsAfterWhatTheHeaderShows) {
  const ArrowPlaceRow& row = GetParam();
  ThemeLook look(false);
  PartBench bench;
  TCustomColumn* column = bench.Add(QStringLiteral("Saat"), 150);
  column->Header()->SetGlyph(Solid(8, 8, clRed));
  column->Header()->SetDisplayMode(row.mode);
  column->SetSorted(true);
  bench.Paint(column);
  const int x = 2 + (row.withGlyph ? 8 : 0) + (row.withText ? bench.CaptionWidth(column) : 0) + row.extra;
  EXPECT_EQ(bench.sheet.At(x, 12), kShadow);  // the arrow's bottom-left corner
  EXPECT_EQ(bench.sheet.At(x - 1, 12), kFace);
}

INSTANTIATE_TEST_SUITE_P(Modes, SortArrowPlace,
                         ::testing::Values(ArrowPlaceRow{"ImageOnly", dmImageOnly, false, true, 19},
                                           ArrowPlaceRow{"TextOnly", dmTextOnly, true, false, 19},
                                           ArrowPlaceRow{"TextAndImage", dmTextAndImage, true, true, 21}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- pressed, hot and the themed pieces ------------------------------------------------------

struct PressedRow {
  const char* name;
  THeaderStyle style;
  bool themed;
  bool onlyColumn;
  TRect inverted;  // empty: the press shows without inverting
};
void PrintTo(const PressedRow& row, std::ostream* os) { *os << row.name; }

class PressedHeader : public ::testing::TestWithParam<PressedRow> {};

TEST_P(PressedHeader, PressIsInvertedUnlessTheThemeShowsIt) {
  const PressedRow& row = GetParam();
  ThemeLook look(row.themed);
  PartBench bench;
  bench.grid.style = row.style;
  bench.columnGrid.dataLeft = 10;
  if (!row.onlyColumn) bench.Add(QStringLiteral("x"));
  TCustomColumn* column = bench.Add(QStringLiteral("Saat"));
  if (!row.onlyColumn) bench.Add(QStringLiteral("y"));
  QImage expected = bench.PaintedHeader(column);
  for (int y = std::max(0, row.inverted.Top); y < row.inverted.Bottom; ++y)
    for (int x = row.inverted.Left; x < row.inverted.Right; ++x) expected.setPixel(x, y, ~expected.pixel(x, y));
  bench.columnGrid.pressed = column;
  EXPECT_TRUE(bench.PaintedHeader(column) == expected);
  if (row.themed && row.style == hsAuto) {
    Sheet state3(200, 180);
    DrawThemed(nullptr, &state3.canvas, column->PartRect(gaHeader), TThemeClass::Header, 1, 3);
    EXPECT_EQ(bench.PaintedHeader(column).pixel(column->ScreenLeft() + 50, 10), state3.Picture().pixel(120, 10));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, PressedHeader,
    ::testing::Values(PressedRow{"ThemedAutoShowsState", hsAuto, true, false, TRect()},
                      PressedRow{"ClassicAutoInverts", hsAuto, false, false, TRect(70, 0, 129, 19)},
                      PressedRow{"DefaultUnderThemesInverts", hsDefault, true, false, TRect(70, 0, 129, 19)},
                      PressedRow{"OldStyleInverts", hsOldStyle, true, false, TRect(70, 0, 129, 19)},
                      PressedRow{"OnlyColumnInvertsOutward", hsDefault, false, true, TRect(9, -1, 70, 20)}),
    [](const auto& info) { return std::string(info.param.name); });

// Fusion draws every header state alike; the Windows style at least sinks a
// pressed one.
TEST(ThemedHeader, StateIsPressedThenHotOutsideDesignThenNormal) {
  ThemeLook look(true);
  struct WindowsStyle {
    WindowsStyle() { SetThemeStyleName(QStringLiteral("Windows")); }
    ~WindowsStyle() { SetThemeStyleName(QStringLiteral("Fusion")); }
  } style;
  Sheet normal(60, 20), pressed(60, 20);
  DrawThemed(nullptr, &normal.canvas, TRect(0, 0, 60, 20), TThemeClass::Header, 1, 1);
  DrawThemed(nullptr, &pressed.canvas, TRect(0, 0, 60, 20), TThemeClass::Header, 1, 3);
  EXPECT_FALSE(normal.Picture() == pressed.Picture());
  struct Row {
    bool pressed, hot, designing;
    int state;
  };
  for (const Row& row : {Row{true, true, false, 3}, Row{false, true, false, 2}, Row{false, true, true, 1},
                         Row{false, false, false, 1}}) {
    PartBench bench;
    bench.grid.style = hsAuto;
    TCustomColumn* column = bench.Add(QString());
    bench.columnGrid.pressed = row.pressed ? column : nullptr;
    bench.columnGrid.hot = row.hot ? column : nullptr;
    bench.columnGrid.designing = row.designing;
    Sheet expected(200, 180);
    DrawThemed(nullptr, &expected.canvas, TRect(0, 0, 60, 20), TThemeClass::Header, 1, row.state);
    EXPECT_TRUE(bench.PaintedHeader(column) == expected.Picture()) << row.state;
  }
}

TEST(ThemedPieces, CornerAndFillerAreEmptyHeaderItems) {
  ThemeLook look(true);
  PartBench bench;
  const TRect corner(0, 0, 12, 20), filler(100, 0, 190, 20);
  bench.display.DrawThemedCorner(corner);
  bench.display.DrawThemedFiller(filler);
  Sheet expected(200, 180);
  DrawThemed(nullptr, &expected.canvas, corner, TThemeClass::Header, 1, 1);
  DrawThemed(nullptr, &expected.canvas, filler, TThemeClass::Header, 2, 1);
  EXPECT_TRUE(bench.sheet.Picture() == expected.Picture());
  EXPECT_NE(bench.sheet.Ink(filler), TRect());
}

// ---- footer and input ----------------------------------------------------------------------

TEST(Footer, FilledInItsColourWithButtonFaceLinesAndTheCaptionByAlignment) {
  for (bool gridLines : {true, false}) {
    PartBench bench;
    bench.grid.gridLines = gridLines;
    TCustomColumn* column = bench.Add(QString());
    column->Footer()->SetColor(kFace);
    column->Footer()->SetCaption(QStringLiteral("Toplam"));
    column->SetAlignment(taRightJustify);
    column->Font()->SetColor(clRed);
    bench.Paint(column, pkFooter);
    // The footer slice is (0, 154, 60, 175).
    const TColor line = gridLines ? ColorToRGB(clBtnFace) : kFace;
    EXPECT_EQ(bench.sheet.At(2, 154), kFace) << gridLines;
    EXPECT_EQ(bench.sheet.At(2, 174), line) << gridLines;
    EXPECT_EQ(bench.sheet.At(59, 160), line) << gridLines;
    EXPECT_EQ(bench.sheet.At(59, 175), gridLines ? line : clWhite) << gridLines;  // the right line runs one past
    const TRect caption = bench.sheet.Ink(TRect(2, 155, 58, 173), kFace);
    EXPECT_GE(caption.Right, 55) << gridLines;
    EXPECT_GT(bench.sheet.CountOf(caption, clRed), 0) << gridLines;
  }
}

struct InputRow {
  const char* name;
  bool active, focused, current, editing, gridLines;
  TColor back, text;
};
void PrintTo(const InputRow& row, std::ostream* os) { *os << row.name; }

class InputCell : public ::testing::TestWithParam<InputRow> {};

const TColor kColumnColor = RGB(250, 240, 200);

// The input slice is (0, 20, 60, 33).
TEST_P(InputCell, ColoursFollowActiveFocusCurrentAndEditor) {
  const InputRow& row = GetParam();
  PartBench bench;
  bench.grid.gridLines = row.gridLines;
  TCustomColumn* column = bench.Add(QString());
  column->SetColor(kColumnColor);
  column->SetInputCaption(QStringLiteral("Ara"));
  column->SetInputOpen(row.editing);
  column->Font()->SetStyle(fsBold);
  bench.columnGrid.current = row.current ? column->Index() : -1;
  bench.display.InputActive = row.active;
  bench.display.Focused = row.focused;
  bench.Paint(column, pkInput);
  EXPECT_EQ(bench.sheet.At(0, 21), row.editing ? kColumnColor : row.back);
  EXPECT_EQ(bench.sheet.At(1, 21), row.back);
  const bool lines = row.gridLines && row.active;
  EXPECT_EQ(bench.sheet.At(59, 25), lines ? ColorToRGB(clHighlight) : row.editing ? kColumnColor : row.back);
  EXPECT_EQ(bench.sheet.At(30, 32), lines ? ColorToRGB(clHighlight) : row.editing ? kColumnColor : row.back);
  const TRect caption = bench.sheet.Ink(TRect(2, 21, 58, 31), row.back);
  EXPECT_GT(bench.sheet.CountOf(caption, row.text), 0);
  // Centred, in the column's font made plain.
  Sheet plain;
  plain.canvas.Font()->Assign(column->Font());
  plain.canvas.Font()->SetStyle({});
  TGraphicsProvider::DrawText(&plain.canvas, TRect(2, 20, 59, 32), taCenter, QStringLiteral("Ara"), false);
  EXPECT_EQ(caption, plain.Ink(TRect(2, 21, 58, 31)));
}

const TColor kGrayText = ColorToRGB(clGrayText);

INSTANTIATE_TEST_SUITE_P(
    States, InputCell,
    ::testing::Values(InputRow{"Inactive", false, true, false, false, true, kColumnColor, kGrayText},
                      InputRow{"ActiveFocused", true, true, false, false, true, ColorToRGB(clHighlight),
                               ColorToRGB(clHighlightText)},
                      InputRow{"ActiveUnfocused", true, false, false, false, true, ColorToRGB(clBtnFace),
                               ColorToRGB(clHighlightText)},
                      InputRow{"ActiveCurrentColumn", true, true, true, false, true, kColumnColor, kGrayText},
                      InputRow{"ActiveWithoutGridLines", true, true, false, false, false, ColorToRGB(clHighlight),
                               ColorToRGB(clHighlightText)},
                      InputRow{"EditorOpenLeavesAFrame", true, true, false, true, true, clWhite, kGrayText}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InputCell, EmptyInputShowsTheCaptionCentredTypedTextFollowsTheAlignment) {
  PartBench bench;
  TCustomColumn* column = bench.Add(QString(), 100);
  column->SetColor(clWhite);
  column->SetAlignment(taRightJustify);
  column->SetInputCaption(QStringLiteral("Ara"));
  bench.Paint(column, pkInput);
  const TRect caption = bench.sheet.Ink(TRect(0, 20, 100, 33));
  EXPECT_LE(std::abs((caption.Left + caption.Right) / 2 - 50), 1);
  EXPECT_GT(bench.sheet.CountOf(caption, kGrayText), 0);

  column->SetInputText(QStringLiteral("0212"));
  bench.sheet.canvas.Release();
  bench.sheet.image.fill(Qt::white);
  bench.Paint(column, pkInput);
  const TRect text = bench.sheet.Ink(TRect(0, 20, 100, 33));
  EXPECT_GE(text.Right, 97);
  EXPECT_LE(text.Right, 99);
}

TEST(PartDisplay, OtherKindsAndNoColumnPaintNothing) {
  PartBench bench;
  bench.Add(QStringLiteral("Saat"));
  for (uint8_t kind : {2, 3, 5}) {
    bench.Paint(bench.columns.Items(0), kind);
    EXPECT_EQ(bench.display.PartKind(), kind);
  }
  bench.display.Column = nullptr;
  bench.display.PaintPart(pkHeader);
  EXPECT_EQ(bench.sheet.Ink(TRect(0, 0, 200, 180)), TRect());
}

}  // namespace
