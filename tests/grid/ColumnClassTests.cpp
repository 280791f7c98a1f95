#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "ColumnTestSupport.h"
#include "TestSupport.h"
#include "grid/Cells.h"
#include "grid/ColumnClasses.h"
#include "platform/Exceptions.h"

namespace {

struct KindRow {
  const char* name;
  std::function<TCustomColumn*()> make;
  TValueKind kind;
  TSortType sortType;
  const char* defaultValue;
  const char* editor;
  const char* display;
  const char* play;
};

void PrintTo(const KindRow& row, std::ostream* os) { *os << row.name; }

class ColumnKindTable : public ::testing::TestWithParam<KindRow> {};

}  // namespace

TEST_P(ColumnKindTable, KindFixesValueSortDefaultsAndCompanions) {
  const KindRow& row = GetParam();
  std::unique_ptr<TCustomColumn> column(row.make());
  EXPECT_EQ(QString::fromLatin1(column->metaObject()->className()), QString::fromLatin1(row.name));
  EXPECT_EQ(column->ValueKind(), row.kind);
  EXPECT_EQ(column->SortType(), row.sortType);
  EXPECT_EQ(column->DefaultValue(), QString::fromLatin1(row.defaultValue));
  EXPECT_EQ(column->EditorClass(), QString::fromLatin1(row.editor));
  EXPECT_EQ(column->DisplayClass(), QString::fromLatin1(row.display));
  EXPECT_EQ(column->PlayClass(), QString::fromLatin1(row.play));
  EXPECT_EQ(int(column->Options()), 0x236);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, ColumnKindTable,
                         ::testing::Values(KindRow{"TTextualColumn", [] { return new TTextualColumn; }, vkText,
                                                   stAlphabetic, "", "TTextualEditor", "TTextualColumnDisplay", ""},
                                           KindRow{"TComboBoxColumn", [] { return new TComboBoxColumn; }, vkText,
                                                   stAlphabetic, "", "TComboBoxEditor", "TTextualColumnDisplay", ""},
                                           KindRow{"TNumericColumn", [] { return new TNumericColumn; }, vkFloat,
                                                   stNumeric, "0", "TSpinEditor", "TNumericColumnDisplay", ""},
                                           KindRow{"TCheckBoxColumn", [] { return new TCheckBoxColumn; }, vkBoolean,
                                                   stNumeric, "", "TCheckBoxEditor", "TCheckBoxColumnDisplay",
                                                   "TCheckBoxColumnPlay"},
                                           KindRow{"THtmlColumn", [] { return new THtmlColumn; }, vkText, stAlphabetic,
                                                   "", "", "THtmlColumnDisplay", ""},
                                           KindRow{"TImageColumn", [] { return new TImageColumn; }, vkInteger,
                                                   stNumeric, "0", "", "TImageColumnDisplay", ""},
                                           KindRow{"TProgressColumn", [] { return new TProgressColumn; }, vkFloat,
                                                   stNumeric, "0", "", "TProgressColumnDisplay", ""},
                                           KindRow{"TRateColumn", [] { return new TRateColumn; }, vkInteger, stNumeric,
                                                   "0", "", "TRateColumnDisplay", ""},
                                           KindRow{"TIncrementColumn", [] { return new TIncrementColumn; }, vkRowNumber,
                                                   stAlphabetic, "", "", "TIncrementColumnDisplay", ""},
                                           KindRow{"TGraphicColumn", [] { return new TGraphicColumn; }, vkGraphic,
                                                   stAlphabetic, "", "", "TGraphicColumnDisplay", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateColumn, DefaultValueIsTheConstructionDayAndKeysAreDigitsAndTheDateSeparator) {
  TDateColumn column;
  EXPECT_EQ(column.ValueKind(), vkDateTime);
  EXPECT_EQ(column.SortType(), stDate);
  EXPECT_EQ(column.DefaultValue(), DateToStr(std::trunc(Now())));
  EXPECT_EQ(column.EditorClass(), "TDatePickerEditor");
  EXPECT_TRUE(column.AcceptsKey(QLatin1Char('7')));
  EXPECT_TRUE(column.AcceptsKey(QLatin1Char('.')));
  EXPECT_FALSE(column.AcceptsKey(QLatin1Char('/')));
  EXPECT_FALSE(column.AcceptsKey(QLatin1Char('a')));
}

TEST(TextualColumn, FormatTextWrapsAndKeysAboveTheBlankStartEditing) {
  TTextualColumn column;
  column.SetTextBefore("(");
  column.SetTextAfter(")");
  EXPECT_EQ(column.FormatText("abc"), "(abc)");
  EXPECT_FALSE(column.AcceptsKey(QChar(32)));
  EXPECT_FALSE(column.AcceptsKey(QChar(9)));
  EXPECT_TRUE(column.AcceptsKey(QChar(33)));
  EXPECT_TRUE(column.AcceptsKey(QChar(0x011F)));
}

TEST(NumericColumn, FormatMaskFormatsTheNumberAndAppendsTheUnit) {
  TNumericColumn column;
  column.SetTextAfter(" kg");
  EXPECT_EQ(column.FormatText("3"), "3 kg");
  column.SetFormatMask("0.00");
  const TFormatSettings saved = FormatSettings;
  FormatSettings.DecimalSeparator = QLatin1Char('.');
  EXPECT_EQ(column.FormatText("3"), "3.00 kg");
  EXPECT_TRUE(column.AcceptsKey(QLatin1Char('.')));
  FormatSettings = saved;
  EXPECT_EQ(column.FormatText("2,5"), "2,50 kg");
  EXPECT_THROW(column.FormatText("x"), EConvertError);
  for (char key : {'+', '-', '0', '9', ','}) EXPECT_TRUE(column.AcceptsKey(QLatin1Char(key))) << key;
  for (char key : {'.', 'e', ' '}) EXPECT_FALSE(column.AcceptsKey(QLatin1Char(key))) << key;
}

TEST(ColumnClasses, OtherKindsNeverStartEditingByTyping) {
  TCheckBoxColumn check;
  TProgressColumn progress;
  EXPECT_FALSE(check.AcceptsKey(QLatin1Char('a')));
  EXPECT_FALSE(progress.AcceptsKey(QLatin1Char('1')));
  EXPECT_EQ(progress.FormatText("5"), "5");
}

TEST(ColumnClasses, OwnDefaults) {
  TComboBoxColumn combo;
  EXPECT_EQ(combo.DropDownCount(), 8);
  EXPECT_EQ(combo.Style(), cbsDropDown);
  TProgressColumn progress;
  EXPECT_EQ(progress.Max(), 100);
  EXPECT_EQ(progress.Margin(), 2);
  EXPECT_EQ(progress.BorderColor(), 8421504);
  EXPECT_EQ(progress.ProgressColor(), clHighlight);
  EXPECT_EQ(progress.ProgressStyle(), ColumnKinds::psSolid);
  TImageColumn image;
  EXPECT_TRUE(image.Transparent());
  TRateColumn rate;
  EXPECT_EQ(rate.Max(), 5);
  TGraphicColumn graphic;
  EXPECT_EQ(graphic.BorderWidth(), 1);
  EXPECT_EQ(graphic.Margin(), 4);
}

TEST(ColumnClasses, DisplaySettersRepaintTheDataSliceAndStoreOnlySettersDoNot) {
  FakeColumnGrid grid;
  TColumns columns(&grid);
  auto* progress = new TProgressColumn;
  auto* rate = new TRateColumn;
  auto* date = new TDateColumn;
  columns.Add(progress);
  columns.Add(rate);
  columns.Add(date);
  progress->SetMax(50);
  progress->SetShowText(true);
  progress->SetProgressColor(clRed);
  progress->SetProgressStyle(ColumnKinds::psCylinder);
  rate->SetMax(5);  // unchanged
  rate->SetMax(7);
  date->SetEmptyCaption("-");
  date->SetHideWhenEmpty(true);
  ASSERT_EQ(grid.invalidated.size(), 4u);
  EXPECT_EQ(grid.invalidated[0], std::make_pair(static_cast<TCustomColumn*>(progress), gaData));
  EXPECT_EQ(grid.invalidated[2].first, rate);
  EXPECT_EQ(grid.invalidated[3].first, date);
}

TEST(ColumnClasses, ATransparentRateColumnTakesEachNewSymbolsBottomLeftColour) {
  TRateColumn rate;
  TBitmap symbol(5, 5);
  symbol.SetPixel(0, 4, clFuchsia);
  rate.SetGlyph(symbol);
  EXPECT_FALSE(rate.Glyph()->Transparent());
  rate.SetTransparent(true);
  rate.SetEmptyGlyph(symbol);
  EXPECT_TRUE(rate.EmptyGlyph()->Transparent());
  EXPECT_EQ(rate.EmptyGlyph()->TransparentColor(), clFuchsia);
}

TEST(ColumnClasses, AssignCopiesEachKindsOwnPropertiesAfterTheBase) {
  TComboBoxColumn source;
  source.SetWidth(55);
  source.SetTextBefore("<");
  source.SetAutoExecute(true);
  source.SetItems({"a", "b"});
  source.SetStyle(cbsDropDownList);
  source.SetDropDownCount(3);
  TComboBoxColumn target;
  target.Assign(&source);
  EXPECT_EQ(target.Width(), 55);
  EXPECT_EQ(target.TextBefore(), "<");
  EXPECT_TRUE(target.AutoExecute());
  EXPECT_EQ(target.Items(), (QStringList{"a", "b"}));
  EXPECT_EQ(target.Style(), cbsDropDownList);
  EXPECT_EQ(target.DropDownCount(), 3);

  TNumericColumn numeric;
  numeric.SetFormatMask("0.0");
  numeric.SetMin(-4);
  numeric.SetMax(4);
  TNumericColumn numericCopy;
  numericCopy.Assign(&numeric);
  EXPECT_EQ(numericCopy.FormatMask(), "0.0");
  EXPECT_EQ(numericCopy.Min(), -4);
  EXPECT_EQ(numericCopy.Max(), 4);

  // Across kinds only the base part is copied.
  TTextualColumn textual;
  textual.Assign(&numeric);
  EXPECT_EQ(textual.TextAfter(), "");
  EXPECT_THROW(textual.Assign(numeric.Font()), EConvertError);
}

TEST(ColumnClasses, ACheckBoxColumnSortsAllRowsAsEqualNumbers) {
  TColumns columns;
  TCells cells(nullptr, &columns);
  columns.ColumnListChanged = [&](TObject* s, int k, int a, int b) { cells.ColumnListChanged(s, k, a, b); };
  auto* check = new TCheckBoxColumn;
  columns.Add(check);
  cells.AddRows(3);
  cells.Cell(0, 1).SetAsBoolean(true);
  EXPECT_EQ(cells.Cell(0, 1).AsFloat(), 0.0);
  cells.Sort(0, check->SortType(), false);
  EXPECT_EQ(cells.RowCount(), 3);
  EXPECT_TRUE(cells.SortValid());
}
