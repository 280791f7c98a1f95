#include <gtest/gtest.h>

#include <typeindex>

#include "DisplaysTestSupport.h"
#include "TestSupport.h"
#include "grid/ColumnClasses.h"

namespace {

// ---- every kind gets its painter ---------------------------------------------------

struct KindRow {
  const char* name;
  std::function<TCustomColumn*()> make;
  std::type_index display;
  bool play;
};
void PrintTo(const KindRow& row, std::ostream* os) { *os << row.name; }

class KindCompanions : public ::testing::TestWithParam<KindRow> {};

TEST_P(KindCompanions, ANewColumnHasItsKindsDisplayAndPlay) {
  const KindRow& row = GetParam();
  std::unique_ptr<TCustomColumn> column(row.make());
  ASSERT_NE(column->Display(), nullptr);
  EXPECT_EQ(std::type_index(typeid(*column->Display())), row.display);
  EXPECT_EQ(column->Display()->Column(), column.get());
  EXPECT_EQ(column->Play() != nullptr, row.play);
  if (row.play) {
    EXPECT_NE(dynamic_cast<TCheckBoxColumnPlay*>(column->Play()), nullptr);
  }
}

template <typename Column>
TCustomColumn* Make() {
  return new Column;
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, KindCompanions,
    ::testing::Values(KindRow{"Textual", Make<TTextualColumn>, typeid(TTextualColumnDisplay), false},
                      KindRow{"ComboBox", Make<TComboBoxColumn>, typeid(TTextualColumnDisplay), false},
                      KindRow{"Numeric", Make<TNumericColumn>, typeid(TNumericColumnDisplay), false},
                      KindRow{"Date", Make<TDateColumn>, typeid(TDateColumnDisplay), false},
                      KindRow{"CheckBox", Make<TCheckBoxColumn>, typeid(TCheckBoxColumnDisplay), true},
                      KindRow{"Html", Make<THtmlColumn>, typeid(THtmlColumnDisplay), false},
                      KindRow{"Image", Make<TImageColumn>, typeid(TImageColumnDisplay), false},
                      KindRow{"Progress", Make<TProgressColumn>, typeid(TProgressColumnDisplay), false},
                      KindRow{"Rate", Make<TRateColumn>, typeid(TRateColumnDisplay), false},
                      KindRow{"Increment", Make<TIncrementColumn>, typeid(TIncrementColumnDisplay), false},
                      KindRow{"Graphic", Make<TGraphicColumn>, typeid(TGraphicColumnDisplay), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Displays, AnUnboundDisplayPaintsNothingAndRaisesNothing) {
  for (TCustomColumn* raw : {Make<TTextualColumn>(), Make<TCheckBoxColumn>(), Make<THtmlColumn>(),
                             Make<TProgressColumn>(), Make<TRateColumn>(), Make<TGraphicColumn>()}) {
    std::unique_ptr<TCustomColumn> column(raw);
    EXPECT_NO_THROW(column->Display()->PaintValue());
    EXPECT_NO_THROW(column->Display()->DrawHintMark());
    EXPECT_NO_THROW(column->Display()->FillBackground(clRed, true));
  }
}

// ---- the check box play ------------------------------------------------------------

struct BoxRow {
  const char* name;
  bool themed;
  TAlignment alignment;
  TVerticalAlignment vertical;
  TRect box;  // cell-relative, in a 40 × 20 cell
};
void PrintTo(const BoxRow& row, std::ostream* os) { *os << row.name; }

class CheckBoxPlay : public ::testing::TestWithParam<BoxRow> {
 protected:
  void SetUp() override {
    column.SetAlignment(GetParam().alignment);
    column.SetVerticalAlignment(GetParam().vertical);
    play()->CellRect = kCell;
    play()->OnChange = [this](TObject* sender) { changes += sender == play(); };
  }
  TColumnPlay* play() { return column.Play(); }

  const TRect kCell = TRect(30, 40, 70, 60);
  TCheckBoxColumn column;
  int changes = 0;
};

// The box reacting to clicks is the box on screen.
TEST_P(CheckBoxPlay, BoxIsWhereTheDisplayPaintsIt) {
  const BoxRow& row = GetParam();
  ThemeLook look(row.themed);
  auto* play = dynamic_cast<TCheckBoxColumnPlay*>(column.Play());
  ASSERT_NE(play, nullptr);
  EXPECT_EQ(play->CheckBoxRect(), row.box);
  Sheet sheet(80, 70);
  Bind(column, sheet, kCell)->PaintValue();
  TRect painted = sheet.Ink(kCell);
  OffsetRect(painted, -kCell.Left, -kCell.Top);
  EXPECT_EQ(painted, row.box);
}

TEST_P(CheckBoxPlay, APressInsideTheBoxInvertsAndSignalsOnlyThere) {
  const BoxRow& row = GetParam();
  ThemeLook look(row.themed);
  const TRect& b = row.box;
  for (const TPoint& outside :
       {TPoint(b.Left - 1, b.Top), TPoint(b.Right, b.Top), TPoint(b.Left, b.Top - 1), TPoint(b.Left, b.Bottom)})
    play()->MouseDown(outside);
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(play()->BooleanValue);
  play()->MouseDown(b.TopLeft());
  EXPECT_TRUE(play()->BooleanValue);
  play()->MouseDown(TPoint(b.Right - 1, b.Bottom - 1));
  EXPECT_FALSE(play()->BooleanValue);
  EXPECT_EQ(changes, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, CheckBoxPlay,
    ::testing::Values(BoxRow{"ClassicTopLeft", false, taLeftJustify, vaTop, TRect(2, 2, 13, 13)},
                      BoxRow{"ClassicCentred", false, taCenter, vaMiddle, TRect(15, 5, 26, 16)},
                      BoxRow{"ClassicBottomRight", false, taRightJustify, vaBottom, TRect(27, 7, 38, 18)},
                      BoxRow{"ThemedTopLeft", true, taLeftJustify, vaTop, TRect(2, 2, 15, 15)},
                      BoxRow{"ThemedBottomRight", true, taRightJustify, vaBottom, TRect(25, 5, 38, 18)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckBoxPlayKeys, TheBlankInvertsOtherKeysDoNothing) {
  TCheckBoxColumn column;
  int changes = 0;
  column.Play()->OnChange = [&](TObject*) { ++changes; };
  for (QChar key : {QChar(u'a'), QChar(u'\r'), QChar(u'x')}) column.Play()->KeyPress(key);
  EXPECT_EQ(changes, 0);
  column.Play()->KeyPress(QChar(u' '));
  EXPECT_TRUE(column.Play()->BooleanValue);
  column.Play()->KeyPress(QChar(u' '));
  EXPECT_FALSE(column.Play()->BooleanValue);
  EXPECT_EQ(changes, 2);
}

TEST(CheckBoxPlayStart, TakesTheDisplaysValueLetsItPaintThenHoldsTrue) {
  ThemeLook look(false);
  TCheckBoxColumn column;
  Sheet sheet(40, 20);
  TColumnDisplay* display = Bind(column, sheet, TRect(0, 0, 40, 20));
  display->BooleanValue = false;
  column.Play()->BooleanValue = true;
  int changes = 0;
  column.Play()->OnChange = [&](TObject*) { ++changes; };
  column.Play()->Start();
  EXPECT_TRUE(column.Play()->BooleanValue);
  EXPECT_FALSE(display->BooleanValue);
  EXPECT_EQ(sheet.Ink(TRect(0, 0, 40, 20)), TRect(2, 5, 13, 16));  // the display's unchecked box
  EXPECT_EQ(sheet.CountOf(TRect(0, 0, 40, 20), clBlack), 0);
  EXPECT_EQ(changes, 0);
}

}  // namespace
