#include <gtest/gtest.h>

#include "DisplaysTestSupport.h"
#include "TestSupport.h"
#include "grid/ColumnClasses.h"
#include "grid/Providers.h"
#include "platform/ImageList.h"
#include "platform/SysUtils.h"

namespace {

const TRect kCell(10, 5, 110, 45);
const TRect kText(12, 5, 108, 45);
const QString kLongText = QStringLiteral("Arayan numara ve saat bilgisi");

// ---- text flags ------------------------------------------------------------------

struct FlagsRow {
  const char* name;
  TAlignment alignment;
  TVerticalAlignment vertical;
  TWrapKind wrap;
  bool rightToLeft;
  uint32_t flags;
};
void PrintTo(const FlagsRow& row, std::ostream* os) { *os << row.name; }

class CellTextFlags : public ::testing::TestWithParam<FlagsRow> {};

// The text lands where the platform's text drawing puts it with the flags
// the column's settings stand for, drawn without a background.
TEST_P(CellTextFlags, DrawCellTextPlacesTheTextAsTheColumnSays) {
  const FlagsRow& row = GetParam();
  TTextualColumn column;
  column.SetAlignment(row.alignment);
  column.SetVerticalAlignment(row.vertical);
  column.SetWrapKind(row.wrap);
  Sheet painted(120, 50, RGB(200, 220, 240)), expected(120, 50, RGB(200, 220, 240));
  TColumnDisplay* display = Bind(column, painted, kCell);
  display->RightToLeft = row.rightToLeft;
  display->DrawCellText(kLongText, display->GetTextRect());
  EXPECT_EQ(painted.canvas.Brush()->Style(), bsSolid);

  expected.canvas.Font()->Assign(column.Font());
  expected.canvas.Brush()->SetStyle(bsClear);
  TRect box = kText;
  expected.canvas.DrawText(kLongText, box, row.flags);
  EXPECT_TRUE(painted.Picture() == expected.Picture());
}

INSTANTIATE_TEST_SUITE_P(
    Flags, CellTextFlags,
    ::testing::Values(
        FlagsRow{"LeftTopNone", taLeftJustify, vaTop, wkNone, false, 0x800 | 0x20},
        FlagsRow{"RightMiddleEllipsis", taRightJustify, vaMiddle, wkEllipsis, false, 0x800 | 2 | 4 | 0x8020},
        FlagsRow{"CenterBottomWordWrap", taCenter, vaBottom, wkWordWrap, false, 0x800 | 1 | 8 | 0x10},
        FlagsRow{"CallList", taCenter, vaMiddle, wkEllipsis, false, 0x800 | 1 | 4 | 0x8020},
        FlagsRow{"LeftBottomNoneRightToLeft", taLeftJustify, vaBottom, wkNone, true, 0x800 | 8 | 0x20 | 0x20000},
        FlagsRow{"RightTopWordWrap", taRightJustify, vaTop, wkWordWrap, false, 0x800 | 2 | 0x10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CellText, WordWrappedTextStartsAtTheTopWhateverTheVerticalAlignment) {
  TTextualColumn column;
  column.SetWrapKind(wkWordWrap);
  TRect top, bottom;
  for (TVerticalAlignment vertical : {vaTop, vaBottom}) {
    column.SetVerticalAlignment(vertical);
    Sheet sheet(120, 50);
    Bind(column, sheet, kCell)->DrawCellText(kLongText, kText);
    (vertical == vaTop ? top : bottom) = sheet.Ink(kText);
  }
  EXPECT_EQ(top, bottom);
  EXPECT_LT(top.Top, kText.Top + 4);
  EXPECT_GT(top.Height(), Sheet().canvas.TextHeight(kLongText));  // more than one line
}

TEST(CellText, EllipsisCutsTheTextOnOneLineWithDots) {
  TTextualColumn column;
  column.SetVerticalAlignment(vaTop);
  Sheet sheet(120, 50);
  Bind(column, sheet, kCell)->DrawCellText(kLongText, kText);
  const TRect ink = sheet.Ink(kText);
  EXPECT_LE(ink.Right, kText.Right);
  EXPECT_LE(ink.Height(), sheet.canvas.TextHeight(kLongText));
  // The last marks are the dots: short, on the base line.
  const TRect dots = sheet.Ink(TRect(ink.Right - 2, kText.Top, ink.Right, kText.Bottom));
  EXPECT_LE(dots.Height(), 2);
  EXPECT_GT(dots.Top, ink.Top + ink.Height() / 2);
}

// ---- hint mark and background ----------------------------------------------------------

TEST(CellMarks, HintMarkIsARedCornerTriangle) {
  TTextualColumn column;
  Sheet sheet;
  Bind(column, sheet, kCell)->DrawHintMark();
  const int r = kCell.Right, t = kCell.Top;
  // The three corners and the step of the long side are red; beside them not.
  for (const TPoint& red : {TPoint(r - 5, t), TPoint(r - 1, t), TPoint(r - 1, t + 4), TPoint(r - 2, t + 3)})
    EXPECT_EQ(sheet.At(red.X, red.Y), clRed) << red.X - r << "," << red.Y - t;
  for (const TPoint& other : {TPoint(r - 6, t), TPoint(r - 4, t + 3), TPoint(r, t), TPoint(r - 1, t + 5)})
    EXPECT_EQ(sheet.At(other.X, other.Y), clWhite) << other.X - r << "," << other.Y - t;
  EXPECT_EQ(sheet.CountOf(TRect(0, 0, 160, 80), clRed), 15);
}

TEST(CellMarks, BackgroundIsFilledOrOnlyFramed) {
  TTextualColumn column;
  for (bool fill : {true, false}) {
    Sheet sheet;
    Bind(column, sheet, kCell)->FillBackground(clYellow, fill);
    EXPECT_EQ(sheet.At(kCell.Left, kCell.Top), clYellow);
    EXPECT_EQ(sheet.At(kCell.Right - 1, kCell.Bottom - 1), clYellow);
    EXPECT_EQ(sheet.At(kCell.Left + 5, kCell.Top + 5), fill ? clYellow : clWhite);
    EXPECT_EQ(sheet.At(kCell.Right, kCell.Bottom), clWhite);
  }
}

// ---- texts of each kind ------------------------------------------------------------------

struct KindTextRow {
  const char* name;
  std::function<TCustomColumn*()> make;
  std::function<void(TColumnDisplay*)> load;
  QString text;  // what the cell shows
};
void PrintTo(const KindTextRow& row, std::ostream* os) { *os << row.name; }

class CellKindText : public ::testing::TestWithParam<KindTextRow> {};

TEST_P(CellKindText, PaintValueShowsTheKindsText) {
  const KindTextRow& row = GetParam();
  std::unique_ptr<TCustomColumn> column(row.make());
  Sheet painted, expected;
  TColumnDisplay* display = Bind(*column, painted, kCell);
  row.load(display);
  ASSERT_NO_THROW(display->PaintValue());
  Bind(*column, expected, kCell)->DrawCellText(row.text, kText);
  EXPECT_TRUE(painted.Picture() == expected.Picture());
}

TCustomColumn* Textual() {
  auto* column = new TTextualColumn;
  column->SetTextBefore(QStringLiteral("("));
  column->SetTextAfter(QStringLiteral(")"));
  return column;
}
TCustomColumn* Numeric(const char* mask) {
  auto* column = new TNumericColumn;
  column->SetFormatMask(QString::fromLatin1(mask));
  column->SetTextAfter(QStringLiteral(" kg"));
  return column;
}
TCustomColumn* Date(bool hideWhenEmpty) {
  auto* column = new TDateColumn;
  column->SetHideWhenEmpty(hideWhenEmpty);
  column->SetEmptyCaption(QStringLiteral("boş"));
  return column;
}
const double kMarch5 = EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Kinds, CellKindText,
    ::testing::Values(KindTextRow{"TextBeforeAndAfter", Textual,
                                  [](TColumnDisplay* d) { d->TextValue = QStringLiteral("abc"); },
                                  QStringLiteral("(abc)")},
                      KindTextRow{"NumberByMask", [] { return Numeric("0.00"); },
                                  [](TColumnDisplay* d) { d->FloatValue = 3; }, QStringLiteral("3,00 kg")},
                      KindTextRow{"NumberWithoutMask", [] { return Numeric(""); },
                                  [](TColumnDisplay* d) { d->FloatValue = 2.5; }, QStringLiteral("2,5 kg")},
                      KindTextRow{"EmptyDateHidden", [] { return Date(true); },
                                  [](TColumnDisplay* d) { d->DateTimeValue = 0; }, QStringLiteral("boş")},
                      KindTextRow{"EmptyDateShown", [] { return Date(false); },
                                  [](TColumnDisplay* d) { d->DateTimeValue = 0; }, DateTimeToStr(0)},
                      KindTextRow{"Date", [] { return Date(true); },
                                  [](TColumnDisplay* d) { d->DateTimeValue = kMarch5; }, DateTimeToStr(kMarch5)},
                      KindTextRow{"FirstRowIsOne", [] { return new TIncrementColumn; },
                                  [](TColumnDisplay* d) { d->IntegerValue = 0; }, QStringLiteral("1")},
                      KindTextRow{"LastRowNumber", [] { return new TIncrementColumn; },
                                  [](TColumnDisplay* d) { d->IntegerValue = INT_MAX; }, QStringLiteral("2147483648")}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- check box -------------------------------------------------------------------------

struct CheckBoxRow {
  const char* name;
  bool themed;
  TAlignment alignment;
  TVerticalAlignment vertical;
  TRect box;  // in a cell at (0, 0, 40, 20)
};
void PrintTo(const CheckBoxRow& row, std::ostream* os) { *os << row.name; }

class CheckBoxCell : public ::testing::TestWithParam<CheckBoxRow> {};

TEST_P(CheckBoxCell, BoxHasItsLooksSizeInPlaceAndIsNeverPressedOrHot) {
  const CheckBoxRow& row = GetParam();
  ThemeLook look(row.themed);
  TCheckBoxColumn column;
  column.SetAlignment(row.alignment);
  column.SetVerticalAlignment(row.vertical);
  const TRect cell(0, 0, 40, 20);
  for (bool checked : {false, true}) {
    Sheet painted(40, 20), normal(40, 20), pressedHot(40, 20);
    TColumnDisplay* display = Bind(column, painted, cell);
    display->BooleanValue = checked;
    display->PaintValue();
    EXPECT_EQ(painted.Ink(cell), row.box) << checked;
    TGraphicsProvider::DrawCheckBox(nullptr, &normal.canvas, cell, row.alignment, row.vertical, checked, false, false);
    TGraphicsProvider::DrawCheckBox(nullptr, &pressedHot.canvas, cell, row.alignment, row.vertical, checked, true,
                                    true);
    EXPECT_TRUE(painted.Picture() == normal.Picture()) << checked;
    EXPECT_FALSE(painted.Picture() == pressedHot.Picture()) << checked;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Looks, CheckBoxCell,
    ::testing::Values(CheckBoxRow{"ThemedCentred", true, taCenter, vaMiddle, TRect(14, 4, 27, 17)},
                      CheckBoxRow{"ThemedTopLeft", true, taLeftJustify, vaTop, TRect(2, 2, 15, 15)},
                      CheckBoxRow{"ClassicCentred", false, taCenter, vaMiddle, TRect(15, 5, 26, 16)},
                      CheckBoxRow{"ClassicBottomRight", false, taRightJustify, vaBottom, TRect(27, 7, 38, 18)}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- images --------------------------------------------------------------------------

struct ImageRow {
  const char* name;
  bool images, masked;
  int maskSize;  // 0: no mask list
  int index;
  TColor shown;  // in the middle of the picture's place (2, 6, 10, 14)
};
void PrintTo(const ImageRow& row, std::ostream* os) { *os << row.name; }

class ImageCell : public ::testing::TestWithParam<ImageRow> {};

// Pictures red, blue; masks white, black.
TEST_P(ImageCell, ThePictureOfTheValueShowsThroughItsMask) {
  const ImageRow& row = GetParam();
  TImageList images(nullptr, 8, 8), masks(nullptr, row.maskSize, row.maskSize);
  images.Add(Solid(8, 8, clRed).Image());
  images.Add(Solid(8, 8, clBlue).Image());
  masks.Add(Solid(8, 8, clWhite).Image());
  masks.Add(Solid(8, 8, clBlack).Image());
  TImageColumn column;
  column.SetImages(row.images ? &images : nullptr);
  column.SetMasks(row.maskSize ? &masks : nullptr);
  column.SetMasked(row.masked);
  Sheet sheet(40, 20);
  TColumnDisplay* display = Bind(column, sheet, TRect(0, 0, 40, 20));
  display->IntegerValue = row.index;
  ASSERT_NO_THROW(display->PaintValue());
  EXPECT_EQ(sheet.At(6, 10), row.shown);
  EXPECT_EQ(sheet.Ink(TRect(0, 0, 40, 20)), row.shown == clWhite ? TRect() : TRect(2, 6, 10, 14));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ImageCell,
    ::testing::Values(ImageRow{"Second", true, false, 0, 1, clBlue}, ImageRow{"Negative", true, false, 0, -1, clWhite},
                      ImageRow{"PastTheEnd", true, false, 0, 2, clWhite},
                      ImageRow{"NoList", false, false, 0, 0, clWhite},
                      ImageRow{"MaskedWithoutMasks", true, true, 0, 0, clWhite},
                      ImageRow{"WhiteMask", true, true, 8, 0, RGB(254, 0, 0)},
                      ImageRow{"BlackMaskKeepsTheBackground", true, true, 8, 1, RGB(254, 254, 254)},
                      ImageRow{"MasksOfAnotherSize", true, true, 4, 0, clWhite}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- progress ----------------------------------------------------------------------

// In a cell (0, 0, 100, 20) with margin 2 the box is (2, 2, 98, 18) and the
// bar runs from 4 to at most 96.
struct ProgressRow {
  const char* name;
  double value;
  int max;
  bool hideWhenEmpty;
  bool showText;
  int boxLeft;   // -1: nothing drawn
  int barRight;  // exclusive; equal to the inner left for no bar
};
void PrintTo(const ProgressRow& row, std::ostream* os) { *os << row.name; }

class ProgressCell : public ::testing::TestWithParam<ProgressRow> {};

TEST_P(ProgressCell, BarStaysOnePixelInsideItsBorder) {
  const ProgressRow& row = GetParam();
  TProgressColumn column;
  column.SetColor(clWindow);
  column.SetMax(row.max);
  column.SetHideWhenEmpty(row.hideWhenEmpty);
  column.SetShowText(row.showText);
  Sheet sheet(100, 20, clBtnFace);
  TColumnDisplay* display = Bind(column, sheet, TRect(0, 0, 100, 20));
  display->FloatValue = row.value;
  ASSERT_NO_THROW(display->PaintValue());
  if (row.boxLeft < 0) {
    EXPECT_EQ(sheet.Ink(TRect(0, 0, 100, 20), clBtnFace), TRect());
    return;
  }
  const TColor border = RGB(128, 128, 128), inside = ColorToRGB(clWindow), bar = ColorToRGB(clHighlight);
  EXPECT_EQ(sheet.At(row.boxLeft, 10), border);
  EXPECT_EQ(sheet.At(97, 10), border);
  EXPECT_EQ(sheet.At(row.boxLeft + 1, 10), inside);
  EXPECT_EQ(sheet.At(96, 10), inside);
  EXPECT_EQ(sheet.At(row.barRight, 10), inside);
  if (row.barRight > row.boxLeft + 2) {
    EXPECT_EQ(sheet.At(row.boxLeft + 2, 10), bar);
    EXPECT_EQ(sheet.At(row.barRight - 1, 10), bar);
  }
}

INSTANTIATE_TEST_SUITE_P(Values, ProgressCell,
                         ::testing::Values(ProgressRow{"ZeroHidden", 0, 100, true, false, -1, 0},
                                           ProgressRow{"ZeroShown", 0, 100, false, false, 2, 4},
                                           ProgressRow{"FortyFive", 45, 100, true, false, 2, 45},
                                           ProgressRow{"AtMax", 100, 100, false, false, 2, 96},
                                           ProgressRow{"AboveMax", 250, 100, false, false, 2, 96},
                                           ProgressRow{"Huge", 1e300, 100, false, false, 2, 96},
                                           ProgressRow{"Negative", -20, 100, false, false, 2, 4},
                                           ProgressRow{"MaxZero", 50, 0, false, false, 2, 4},
                                           ProgressRow{"NotANumber", std::nan(""), 100, false, false, 2, 4},
                                           ProgressRow{"TextShiftsTheBox", 45, 100, false, true, 32, 62}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgressCell, TextShowsTheRoundedPercentageByTheColumnsAlignment) {
  TProgressColumn column;
  column.SetShowText(true);
  Sheet painted(100, 20), expected(100, 20);
  TColumnDisplay* display = Bind(column, painted, TRect(0, 0, 100, 20));
  display->FloatValue = 44.5;
  display->PaintValue();
  Bind(column, expected, TRect(0, 0, 100, 20))->DrawCellText(QStringLiteral("45%"), TRect(2, 0, 98, 20));
  EXPECT_TRUE(painted.Picture().copy(0, 0, 32, 20) == expected.Picture().copy(0, 0, 32, 20));
  EXPECT_NE(painted.Ink(TRect(0, 0, 32, 20)), TRect());
}

struct ProgressStyleRow {
  const char* name;
  TProgressStyle style;
  bool transparent;
  // Pixels of a full bar (4 … 95 × 4 … 15) and the box's inside at x = 3.
  TColor left, right, top, bottom, boxInside;
};
void PrintTo(const ProgressStyleRow& row, std::ostream* os) { *os << row.name; }

class ProgressStyles : public ::testing::TestWithParam<ProgressStyleRow> {};

constexpr TColor kColumnColor = RGB(255, 255, 200);
constexpr TColor kProgressColor = RGB(0, 0, 128);

TEST_P(ProgressStyles, StyleDecidesWhereTheColumnColourStarts) {
  const ProgressStyleRow& row = GetParam();
  TProgressColumn column;
  column.SetColor(kColumnColor);
  column.SetProgressColor(kProgressColor);
  column.SetProgressStyle(row.style);
  column.SetTransparent(row.transparent);
  Sheet sheet(100, 20, clBtnFace);
  TColumnDisplay* display = Bind(column, sheet, TRect(0, 0, 100, 20));
  display->FloatValue = 100;
  display->PaintValue();
  EXPECT_EQ(sheet.At(4, 10), row.left);
  EXPECT_EQ(sheet.At(95, 10), row.right);
  EXPECT_EQ(sheet.At(50, 4), row.top);
  EXPECT_EQ(sheet.At(50, 15), row.bottom);
  EXPECT_EQ(sheet.At(3, 10), row.boxInside);
  EXPECT_EQ(sheet.At(2, 10), RGB(128, 128, 128));
}

const TColor kMix = TGraphicsProvider::MixColors(kColumnColor, kProgressColor, 91.0 / 92);
const TColor kVerticalMix = TGraphicsProvider::MixColors(kColumnColor, kProgressColor, 11.0 / 12);
const TColor kMiddleMix = TGraphicsProvider::MixColors(kColumnColor, kProgressColor, 46.0 / 92);

INSTANTIATE_TEST_SUITE_P(
    Styles, ProgressStyles,
    ::testing::Values(ProgressStyleRow{"Solid", ColumnKinds::psSolid, false, kProgressColor, kProgressColor,
                                       kProgressColor, kProgressColor, kColumnColor},
                      ProgressStyleRow{"Gradient", ColumnKinds::psGradient, false, kColumnColor, kMix, kMiddleMix,
                                       kMiddleMix, kColumnColor},
                      ProgressStyleRow{"Cylinder", ColumnKinds::psCylinder, false,
                                       TGraphicsProvider::MixColors(kColumnColor, kProgressColor, 6.0 / 12),
                                       TGraphicsProvider::MixColors(kColumnColor, kProgressColor, 6.0 / 12),
                                       kColumnColor, kVerticalMix, kColumnColor},
                      ProgressStyleRow{"TransparentFrameOnly", ColumnKinds::psSolid, true, kProgressColor,
                                       kProgressColor, kProgressColor, kProgressColor, ColorToRGB(clBtnFace)}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- rate --------------------------------------------------------------------------

struct RateBench {
  TRateColumn column;
  Sheet sheet{60, 10};
  RateBench() {
    column.SetGlyph(Solid(6, 6, clRed));
    column.SetEmptyGlyph(Solid(6, 6, clBlue));
    column.SetAlignment(taLeftJustify);
  }
  // The colour at the middle of each of the first six symbol places.
  std::vector<TColor> Paint(int value, const TRect& cell = TRect(0, 0, 60, 10)) {
    TColumnDisplay* display = Bind(column, sheet, cell);
    display->IntegerValue = value;
    EXPECT_NO_THROW(display->PaintValue());
    std::vector<TColor> places;
    for (int i = 0; i < 6; ++i) places.push_back(sheet.At(cell.Left + 3 + i * 6, 5));
    return places;
  }
};

TEST(RateCell, FullSymbolsUpToTheValueThenEmptyOnesLeftToRight) {
  RateBench bench;
  EXPECT_EQ(bench.Paint(3), (std::vector<TColor>{clRed, clRed, clRed, clBlue, clBlue, clWhite}));
  EXPECT_EQ(bench.sheet.Ink(TRect(0, 0, 60, 10)), TRect(0, 2, 30, 8));
}

TEST(RateCell, ZeroIsHiddenOnlyWhenAsked) {
  RateBench shown;
  EXPECT_EQ(shown.Paint(0)[0], clBlue);
  RateBench hidden;
  hidden.column.SetHideWhenEmpty(true);
  EXPECT_EQ(hidden.Paint(0)[0], clWhite);
}

TEST(RateCell, TransparentSymbolsLeaveOutTheirBottomLeftColour) {
  for (bool transparent : {false, true}) {
    RateBench bench;
    TBitmap glyph = Solid(6, 6, clRed);
    glyph.SetPixel(0, 5, clLime);
    glyph.SetPixel(1, 5, clLime);
    bench.column.SetGlyph(glyph);
    bench.column.SetTransparent(transparent);
    bench.Paint(1);
    EXPECT_EQ(bench.sheet.At(1, 7), transparent ? clWhite : clLime) << transparent;
    EXPECT_EQ(bench.sheet.At(2, 7), clRed) << transparent;
  }
}

TEST(RateCell, AMissingEmptySymbolLeavesItsPlacesBlank) {
  RateBench bench;
  TBitmap glyph = Solid(6, 6, clRed);
  glyph.SetPixel(0, 5, clLime);
  bench.column.SetGlyph(glyph);
  bench.column.SetEmptyGlyph(TBitmap());
  bench.column.SetTransparent(true);
  EXPECT_EQ(bench.Paint(2), (std::vector<TColor>{clRed, clRed, clWhite, clWhite, clWhite, clWhite}));
}

TEST(RateCell, MaskedSymbolsShowWhereTheirMaskIsWhite) {
  RateBench bench;
  bench.column.SetGlyphMask(Solid(6, 6, clWhite));
  bench.column.SetEmptyGlyphMask(Solid(6, 6, clBlack));
  bench.column.SetMasked(true);
  EXPECT_EQ(bench.Paint(1)[0], RGB(254, 0, 0));
  EXPECT_EQ(bench.sheet.At(9, 5), RGB(254, 254, 254));
}

TEST(RateCell, AHugeMaximumPaintsOnlyWhatTheCellShows) {
  RateBench bench;
  bench.column.SetMax(1000000000);
  bench.column.SetAlignment(taRightJustify);
  bench.Paint(999999999);
  EXPECT_EQ(bench.sheet.At(50, 5), clRed);
  EXPECT_EQ(bench.sheet.At(57, 5), clBlue);
}

// ---- graphic -------------------------------------------------------------------------

struct GraphicRow {
  const char* name;
  TRect cell;
  bool stretch;
  TRect picture;  // where the picture lands; empty for nowhere
};
void PrintTo(const GraphicRow& row, std::ostream* os) { *os << row.name; }

class GraphicCell : public ::testing::TestWithParam<GraphicRow> {};

TEST_P(GraphicCell, PictureKeepsItsProportionsCentredOrFillsTheFrame) {
  const GraphicRow& row = GetParam();
  TGraphicColumn column;
  column.SetStrecht(row.stretch);
  const TBitmap picture = Solid(10, 10, clLime);
  Sheet sheet(70, 70);
  TColumnDisplay* display = Bind(column, sheet, row.cell);
  display->Graphic = const_cast<TBitmap*>(&picture);
  ASSERT_NO_THROW(display->PaintValue());
  sheet.canvas.Release();
  TRect green(70, 70, 0, 0);
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 70; ++x)
      if (sheet.At(x, y) == clLime)
        green = TRect(std::min(green.Left, x), std::min(green.Top, y), std::max(green.Right, x + 1),
                      std::max(green.Bottom, y + 1));
  EXPECT_EQ(IsRectEmpty(green) ? TRect() : green, row.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Fits, GraphicCell,
    ::testing::Values(GraphicRow{"WideCellCentresAcross", TRect(0, 0, 60, 20), false, TRect(24, 4, 36, 16)},
                      GraphicRow{"TallCellCentresDown", TRect(0, 0, 20, 60), false, TRect(4, 24, 16, 36)},
                      GraphicRow{"Stretched", TRect(0, 0, 60, 20), true, TRect(4, 4, 56, 16)},
                      GraphicRow{"CellSmallerThanItsMargins", TRect(0, 0, 6, 6), false, TRect()},
                      GraphicRow{"CellAsWideAsItsMargins", TRect(0, 0, 8, 30), false, TRect()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GraphicCell, BorderFramesSurroundThePictureInTheSelectionsColour) {
  struct Row {
    int borderWidth;
    bool selected;
  };
  for (const Row& row : {Row{0, false}, Row{1, false}, Row{2, true}}) {
    TGraphicColumn column;
    column.SetBorderWidth(row.borderWidth);
    Sheet sheet(60, 20);
    TColumnDisplay* display = Bind(column, sheet, TRect(0, 0, 60, 20));
    display->Selected = row.selected;
    display->PaintValue();  // no picture: only the frames
    const TColor frame = row.selected ? ColorToRGB(clHighlightText) : ColorToRGB(clBtnFace);
    EXPECT_EQ(sheet.At(3, 10), row.borderWidth >= 1 ? frame : clWhite) << row.borderWidth;
    EXPECT_EQ(sheet.At(56, 16), row.borderWidth >= 1 ? frame : clWhite) << row.borderWidth;
    EXPECT_EQ(sheet.At(2, 10), row.borderWidth >= 2 ? frame : clWhite) << row.borderWidth;
    EXPECT_EQ(sheet.At(4, 10), clWhite) << row.borderWidth;
  }
}

TEST(GraphicCell, AnEmptyOrForeignGraphicShowsNoPicture) {
  TGraphicColumn column;
  column.SetBorderWidth(0);
  TBitmap empty;
  TObject other;
  for (TObject* graphic : {static_cast<TObject*>(&empty), &other}) {
    Sheet sheet(60, 20);
    TColumnDisplay* display = Bind(column, sheet, TRect(0, 0, 60, 20));
    display->Graphic = graphic;
    display->PaintValue();
    EXPECT_EQ(sheet.Ink(TRect(0, 0, 60, 20)), TRect());
  }
}

}  // namespace
