#include <gtest/gtest.h>

#include <QTimer>

#include "GridViewTestSupport.h"
#include "platform/Streaming.h"

namespace {

struct TextGrid : TLoggedGridView {
  explicit TextGrid(int rows = 20, int height = 200) {
    AddText(QStringLiteral("A"), 80);
    AddText(QStringLiteral("B"), 80);
    Fill(rows);
    ShowAt(300, height);
    log.clear();
  }
};

// ---- rows and cells ---------------------------------------------------------------

TEST(GridViewRows, BadIndicesChangeNothingAndRaiseNothing) {
  TextGrid g(3);
  const auto unchanged = [&g] {
    return g.RowCount() == 3 && g.CellText(0, 0) == QStringLiteral("r0c0") && g.CellText(1, 2) == "r2c1";
  };
  g.InsertRow(3);
  g.InsertRow(-1);
  g.DeleteRow(-1);
  g.DeleteRow(3);
  g.MoveRow(0, 3);
  g.MoveRow(-1, 0);
  g.SetCellText(2, 0, QStringLiteral("x"));
  g.SetCellText(0, 3, QStringLiteral("x"));
  g.SetCellText(-1, 0, QStringLiteral("x"));
  EXPECT_TRUE(unchanged());
  EXPECT_EQ(g.CellText(0, -1), QString());
  EXPECT_EQ(g.CellText(5, 0), QString());
  EXPECT_THROW(g.Cell(0, 3), Exception);
  EXPECT_THROW(g.GetCellColor(-1, 0), Exception);
  EXPECT_THROW(g.GetCellColor(0, 7), Exception);
}

TEST(GridViewRows, InsertDeleteMoveKeepSelectionFlagsInStep) {
  TextGrid g(4);
  g.SelectCell(0, 1, {});
  g.InsertRow(0);
  EXPECT_EQ(g.Row(), 2);
  EXPECT_EQ(g.RowFlagCount(), 5);
  EXPECT_EQ(g.CellText(0, 0), QString());
  EXPECT_EQ(g.CellText(0, 1), QStringLiteral("r0c0"));
  g.MoveRow(1, 4);
  EXPECT_EQ(g.CellText(0, 4), QStringLiteral("r0c0"));
  g.DeleteRow(4);
  EXPECT_EQ(g.RowCount(), 4);
  EXPECT_EQ(g.RowFlagCount(), 4);
  EXPECT_TRUE(g.GetCells()->IsConsistent());
}

// Each surviving row keeps its record: the current and the edited row move
// up by the deleted rows above them, and the footers are worked out again.
TEST(GridViewRows, DeletingTheSelectedRowsAtOnceKeepsEveryRecordInPlace) {
  TextGrid g(10);
  g.Columns()->Items(1)->SetOptions(g.Columns()->Items(1)->Options() | coEditing);
  g.Columns()->Items(0)->SetFormulaKind(fkSum);
  for (int r = 0; r < 10; ++r) g.SetCellText(0, r, QString::number(r));
  g.SelectCell(0, 4, {});
  g.EditCell(1, 6, QStringLiteral("typed"));
  for (int r : {1, 3, 4, 8}) g.SetRowSelected(r, true);
  EXPECT_EQ(g.DeleteSelectedRows(), 4);
  QStringList left;
  for (int r = 0; r < g.RowCount(); ++r) left << g.CellText(0, r);
  EXPECT_EQ(left, (QStringList{"0", "2", "5", "6", "7", "9"}));
  EXPECT_EQ(g.Row(), 2) << "the row after the deleted current one";
  ASSERT_TRUE(g.GridState() & TCustomGridViewControl::EditingCell);
  EXPECT_EQ(g.EditRow(), 3) << "the edited record";
  EXPECT_EQ(g.Columns()->Items(0)->Footer()->Caption(), QStringLiteral("29"));
  EXPECT_EQ(g.RowFlagCount(), 6);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(g.RowSelected(r), r == 2) << "the current row is left selected";

  g.SetRowSelected(2, false);
  g.SetRowSelected(3, true);
  EXPECT_EQ(g.DeleteSelectedRows(), 1);
  EXPECT_FALSE(g.GridState() & TCustomGridViewControl::EditingCell) << "the edited row went";
  EXPECT_TRUE(g.GetCells()->IsConsistent());
}

TEST(GridViewRows, ClearKeepsCurrentCellAndAddStartsAgain) {
  TextGrid g(5);
  g.SelectCell(1, 3, {});
  g.ClearRows();
  EXPECT_EQ(g.RowCount(), 0);
  g.AddRows(1);
  EXPECT_EQ(g.RowCount(), 1);
  EXPECT_EQ(g.Col(), 1);
  EXPECT_EQ(g.Row(), 3);
}

TEST(GridViewRows, DefaultValuesFillNewRowsOnlyWithTheOption) {
  TextGrid g(0);
  g.Columns()->Items(1)->SetDefaultValue(QStringLiteral("d"));
  g.AddRows(1);
  EXPECT_EQ(g.CellText(1, 0), QString());
  g.SetOptions(g.Options() | goUseDefaultValues);
  g.AddRows(2);
  EXPECT_EQ(g.CellText(1, 2), QStringLiteral("d"));
  EXPECT_EQ(g.CellText(0, 2), QString());
}

// The call list: the oldest call goes, the new one comes in a bracket.
TEST(GridViewRows, CallListPatternRepaintsOnlyTheChangedRows) {
  TextGrid g(6);
  g.SelectCell(0, 2, {});
  g.PaintInvalid();
  g.DeleteRow(0);
  g.AddRows(1);
  g.BeginUpdate();
  for (int c = 0; c < 2; ++c) g.SetCellText(c, 5, QStringLiteral("new"));
  g.EndUpdate();
  EXPECT_EQ(g.Row(), 2);
  EXPECT_EQ(g.CellText(0, 2), QStringLiteral("r3c0"));
  EXPECT_FALSE(g.log.contains(QStringLiteral("change 0,5")));
  g.PaintInvalid();
  // Appending alone repaints the new row and the grid line above it.
  g.AddRows(1);
  const int painted = g.PaintInvalid();
  EXPECT_GT(painted, 0);
  EXPECT_LE(painted, 2 * 2);
  g.SetCellText(0, 6, QStringLiteral("z"));
  EXPECT_TRUE(g.log.contains(QStringLiteral("change 0,6")));
  EXPECT_EQ(g.PaintInvalid(), 1);
}

TEST(GridViewRows, AppendRowsAddsUnselectedRowsWithoutDefaults) {
  TextGrid g(2);
  g.SetOptions(g.Options() | goUseDefaultValues);
  g.Columns()->Items(0)->SetDefaultValue(QStringLiteral("d"));
  g.AppendRows(3);
  EXPECT_EQ(g.RowCount(), 5);
  EXPECT_EQ(g.RowFlagCount(), 5);
  EXPECT_FALSE(g.RowSelected(4));
  EXPECT_EQ(g.CellText(0, 4), QString());
}

TEST(GridViewRows, MakeRowVisiblePutsARowBelowTheViewAtItsTop) {
  TextGrid g(40);
  g.MakeRowVisible(3);
  EXPECT_EQ(g.TopRow(), 0);
  g.MakeRowVisible(25);
  EXPECT_EQ(g.TopRow(), 25);
  g.MakeRowVisible(2);
  EXPECT_EQ(g.TopRow(), 2);
}

// The space toggles the check box of the current cell, and the cell keeps it.
TEST(GridViewRows, CheckBoxPlayWritesBackIntoItsCell) {
  TLoggedGridView g;
  auto* box = new TCheckBoxColumn;
  g.Columns()->Add(box);
  g.AddRows(2);
  g.ShowAt(200, 100);
  g.SelectCell(0, 1, {});
  g.Key(Qt::Key_Space);
  EXPECT_TRUE(g.Cell(0, 1).AsBoolean());
  EXPECT_FALSE(g.Cell(0, 0).AsBoolean());
  g.Key(Qt::Key_Space);
  EXPECT_FALSE(g.Cell(0, 1).AsBoolean());
  g.DeleteRow(1);  // the current row is stale now
  g.Key(Qt::Key_Space);
  EXPECT_EQ(g.RowCount(), 1);
  EXPECT_FALSE(g.Cell(0, 0).AsBoolean());
}

TEST(GridViewRows, PaintingLoadsEachValueKindIntoTheDisplay) {
  TLoggedGridView g;
  auto* box = new TCheckBoxColumn;
  auto* number = new TNumericColumn;
  g.Columns()->Add(box);
  g.Columns()->Add(number);
  g.AddRows(1);
  g.Cell(0, 0).SetAsBoolean(true);
  g.Cell(1, 0).SetAsText(QStringLiteral("42"));
  g.ShowAt(200, 100);
  g.Repaint();
  EXPECT_TRUE(box->Display()->BooleanValue);
  EXPECT_EQ(number->Display()->FloatValue + number->Display()->IntegerValue, 42);
}

TEST(GridViewRows, SortOnlyForSortableColumns) {
  TextGrid g(3);
  g.SetCellText(0, 0, QStringLiteral("c"));
  g.SetCellText(0, 1, QStringLiteral("a"));
  g.SetCellText(0, 2, QStringLiteral("b"));
  g.SortColumn(0, true);
  EXPECT_EQ(g.CellText(0, 0), QStringLiteral("a"));
  g.SortColumn(0, false);
  EXPECT_EQ(g.CellText(0, 0), QStringLiteral("c"));
  g.Columns()->Items(0)->SetOptions(g.Columns()->Items(0)->Options() & ~TColumnOptions(coCanSort));
  g.SortColumn(0, true);
  EXPECT_EQ(g.CellText(0, 0), QStringLiteral("c"));
}

struct FooterCase {
  const char* name;
  TFormulaKind kind;
  std::vector<const char*> values;
  const char* expected;
  TFormulaKind footerKind = fkNone;  // stored only: never chooses the formula
};

class GridViewFooters : public ::testing::TestWithParam<FooterCase> {};

TEST_P(GridViewFooters, ShowTheFormulaOverTheColumn) {
  const FooterCase& c = GetParam();
  TLoggedGridView g;
  g.AddText(QStringLiteral("N"), 80);
  g.Columns()->Items(0)->SetFormulaKind(c.kind);
  g.Columns()->Items(0)->Footer()->SetFormulaKind(c.footerKind);
  g.Columns()->Items(0)->Footer()->SetCaption(QStringLiteral("kept"));
  g.AddRows(int(c.values.size()));
  for (size_t r = 0; r < c.values.size(); ++r) g.SetCellText(0, int(r), QString::fromLatin1(c.values[r]));
  g.CalculateFooters();
  EXPECT_EQ(g.Columns()->Items(0)->Footer()->Caption(), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, GridViewFooters,
    ::testing::Values(FooterCase{"Sum", fkSum, {"1", "2", "4"}, "7"},
                      FooterCase{"Average", fkAverage, {"1", "2", "6"}, "3"},
                      FooterCase{"MaximumOfNegatives", fkMaximum, {"-3", "-1", "-2"}, "-1"},
                      FooterCase{"MinimumOfPositives", fkMinimum, {"3", "1", "2"}, "1"},
                      FooterCase{"SumOfNoRows", fkSum, {}, "0"}, FooterCase{"MaximumOfNoRows", fkMaximum, {}, "0"},
                      FooterCase{"AverageOfNoRowsIsEmpty", fkAverage, {}, ""},
                      FooterCase{"FooterKindAloneShowsNothing", fkNone, {"1", "2"}, "kept", fkSum},
                      FooterCase{"ColumnKindWinsOverFooterKind", fkMaximum, {"1", "5"}, "5", fkSum}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- keyboard ---------------------------------------------------------------------

struct KeyCase {
  const char* name;
  int rows;
  int startRow;
  Qt::Key key;
  int expectedRow;
  bool passedOn;
};

class GridViewKeys : public ::testing::TestWithParam<KeyCase> {};

// 200 pixels hold ten rows of 17 below an 18-pixel header.
TEST_P(GridViewKeys, MoveTheCurrentRow) {
  const KeyCase& c = GetParam();
  TextGrid g(c.rows);
  g.SetOptions(g.Options() | goGrid);
  if (c.rows > 0) g.SelectCell(0, c.startRow, {});
  g.log.clear();
  g.Key(c.key);
  EXPECT_EQ(g.Row(), c.expectedRow);
  EXPECT_EQ(g.log.filter(QStringLiteral("key")).size(), c.passedOn ? 1 : 0) << g.log.join(';').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, GridViewKeys,
                         ::testing::Values(KeyCase{"NoRowsNothingNotPassedOn", 0, 0, Qt::Key_Down, 0, false},
                                           KeyCase{"PageDownFewerRowsThanFit", 4, 0, Qt::Key_PageDown, 3, false},
                                           KeyCase{"PageDownToBottomOfView", 40, 2, Qt::Key_PageDown, 9, true},
                                           KeyCase{"PageUpToTopOfView", 40, 5, Qt::Key_PageUp, 0, true},
                                           KeyCase{"EndGoesToLastRow", 40, 0, Qt::Key_End, 39, true},
                                           KeyCase{"HomeGoesToFirstRow", 40, 30, Qt::Key_Home, 0, true},
                                           KeyCase{"DownOneRow", 40, 3, Qt::Key_Down, 4, true},
                                           KeyCase{"DownStopsAtLastRow", 4, 3, Qt::Key_Down, 3, true},
                                           KeyCase{"UpOneRow", 40, 3, Qt::Key_Up, 2, true},
                                           KeyCase{"UpStopsAtFirstRow", 40, 0, Qt::Key_Up, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridViewKeyboard, EndScrollsToTheBottomAndPageDownScrolls) {
  TextGrid g(40);
  g.Key(Qt::Key_End);
  EXPECT_EQ(g.TopRow(), g.VertScrollBar()->Max());
  g.Key(Qt::Key_Home);
  EXPECT_EQ(g.TopRow(), 0);
  const int visible = g.VisibleRowCount();
  g.SelectCell(0, visible - 1, {});
  g.Key(Qt::Key_PageDown);
  EXPECT_EQ(g.Row(), 2 * visible - 1);
  EXPECT_EQ(g.TopRow(), visible);
}

TEST(GridViewKeyboard, EnterMovesOnlyWithWantReturns) {
  TextGrid g(5);
  g.Key(Qt::Key_Return);
  EXPECT_EQ(g.Row(), 0);
  g.SetWantReturns(true);
  g.Key(Qt::Key_Return);
  EXPECT_EQ(g.Row(), 1);
}

TEST(GridViewKeyboard, LeftAndRightFollowTheDisplayOrder) {
  TextGrid g(2);
  g.AddText(QStringLiteral("C"), 40);
  g.Columns()->Items(2)->SetPosition(0);  // C shows first
  g.SelectCell(0, 0, {});
  g.Key(Qt::Key_Left);
  EXPECT_EQ(g.Col(), 2);
  g.Key(Qt::Key_Left);
  EXPECT_EQ(g.Col(), 2);
  g.Key(Qt::Key_Right);
  g.Key(Qt::Key_Right);
  EXPECT_EQ(g.Col(), 1);
}

// One row is enough to leave the input row by Down.
TEST(GridViewKeyboard, UpEntersAndDownLeavesTheInputRow) {
  TextGrid g(1);
  g.SetOptions(g.Options() | goInput);
  g.SelectCell(0, 0, {});
  g.Key(Qt::Key_Up);
  EXPECT_TRUE(g.InputActive());
  g.Key(Qt::Key_Down);
  EXPECT_FALSE(g.InputActive());
  EXPECT_EQ(g.Row(), 0);
}

// ---- incremental search -----------------------------------------------------------

struct SearchGrid : TextGrid {
  ManualClock clock;
  SearchGrid() : TextGrid(0) {
    Columns()->Items(1)->SetOptions(Columns()->Items(1)->Options() | coSearchColumn);
    AddRows(5);
    const char* names[] = {"Ahmet", "Zeynep", "abla", "Ayşe", "Abbas"};
    for (int r = 0; r < 5; ++r) SetCellText(1, r, QString::fromUtf8(names[r]));
    SearchTimer()->SetClock(&clock);
    SelectCell(0, 0, {});
  }
  ~SearchGrid() override { SearchTimer()->SetClock(nullptr); }
};

TEST(GridViewSearch, TypedLettersExtendOneSearchFromTheNextRow) {
  SearchGrid g;
  g.Type(QStringLiteral("a"));
  EXPECT_EQ(g.Row(), 2);  // "abla": searching starts after the current row
  g.Type(QStringLiteral("B"));
  EXPECT_EQ(g.Row(), 4);  // "Abbas", the next row starting with AB in either case
  g.Type(QStringLiteral("l"));
  EXPECT_EQ(g.Row(), 2);  // wrapped round to "abla"
  EXPECT_EQ(g.SearchText(), QStringLiteral("aBl"));
}

TEST(GridViewSearch, WrapsToTheTopAndPauseStartsAgain) {
  SearchGrid g;
  g.SelectCell(0, 4, {});
  g.Type(QStringLiteral("z"));
  EXPECT_EQ(g.Row(), 1);
  g.clock.Advance(TCustomGridView::kSearchInterval);
  EXPECT_EQ(g.SearchText(), QString());
  EXPECT_FALSE(g.SearchTimer()->Enabled());
  g.Type(QStringLiteral("a"));
  EXPECT_EQ(g.Row(), 2);
}

// Letters outside the 8-bit code page are not all alike.
TEST(GridViewSearch, ComparesWideTexts) {
  SearchGrid g;
  g.SetCellText(1, 1, QStringLiteral("\u4e2d"));
  g.SetCellText(1, 2, QStringLiteral("\u6587"));
  g.Perform(WM_CHAR, 0x6587);
  EXPECT_EQ(g.Row(), 2);
}

// ---- mouse ------------------------------------------------------------------------

TEST(GridViewMouse, ClickFiresOnlyWhenPressAndReleaseShareTheCell) {
  TextGrid g(5);
  g.Press(g.CellCenter(0, 1));
  g.Release(g.CellCenter(0, 2));
  EXPECT_FALSE(g.log.filter(QStringLiteral("click")).size());
  g.log.clear();
  g.Click(g.CellCenter(1, 3));
  EXPECT_EQ(g.log.filter(QStringLiteral("click")), QStringList({"click 1,3"}));
  EXPECT_LT(g.log.indexOf(QStringLiteral("up")), g.log.indexOf(QStringLiteral("click 1,3")));
}

TEST(GridViewMouse, HeaderPressForgetsTheLastClickedCell) {
  TextGrid g(5);
  g.Click(g.CellCenter(0, 1));
  g.log.clear();
  g.Press(TPoint(40, 5));
  g.Release(g.CellCenter(0, 1));
  EXPECT_TRUE(g.log.filter(QStringLiteral("click")).isEmpty());
}

TEST(GridViewMouse, PressBelowTheLastRowKeepsTheCurrentCell) {
  TextGrid g(3);
  g.SelectCell(1, 1, {});
  g.Click(TPoint(40, 150));
  EXPECT_EQ(g.Row(), 1);
  EXPECT_EQ(g.Col(), 1);
}

TEST(GridViewMouse, HeaderClickSortsAndTogglesTheDirection) {
  TextGrid g(3);
  QStringList sorts;
  g.OnSortColumn = [&sorts](TObject*, int c, bool asc) { sorts << QStringLiteral("%1 %2").arg(c).arg(asc); };
  g.Click(TPoint(40, 5));
  g.Click(TPoint(40, 5));
  EXPECT_EQ(sorts, QStringList({"0 1", "0 0"}));
  EXPECT_EQ(g.CellText(0, 0), QStringLiteral("r2c0"));
}

TEST(GridViewMouse, ResizingNeverGoesBelowEightAndErasesItsGuideLine) {
  TextGrid g(3);
  g.PaintInvalid();
  const TColor before = g.Pixel(79, 100);
  g.Press(TPoint(79, 5));
  ASSERT_TRUE(g.GridState() & TCustomGridViewControl::ResizingColumn);
  EXPECT_NE(g.Pixel(79, 100), before);  // the inverted guide line
  g.MoveTo(TPoint(60, 5));
  EXPECT_EQ(g.Pixel(79, 100), before);  // erased where it stood
  g.MoveTo(TPoint(-40, 5));
  g.Release(TPoint(-40, 5));
  EXPECT_EQ(g.Columns()->Items(0)->Width(), kMinColumnWidth);
  EXPECT_FALSE(g.GridState() & TCustomGridViewControl::ResizingColumn);
}

TEST(GridViewMouse, ColumnsReplacedWhileABorderIsHeldEndTheResizeUntouched) {
  TextGrid g(3);
  g.PaintInvalid();
  g.Press(TPoint(79, 5));
  ASSERT_TRUE(g.GridState() & TCustomGridViewControl::ResizingColumn);
  g.Columns()->Clear();
  TTextualColumn* fresh = g.AddText(QStringLiteral("D"), 120);
  EXPECT_EQ(g.ResizeColumn(), nullptr) << "the held column is gone";
  g.MoveTo(TPoint(140, 5));
  EXPECT_FALSE(g.GridState() & TCustomGridViewControl::ResizingColumn);
  g.Release(TPoint(140, 5));
  EXPECT_EQ(fresh->Width(), 120);
  g.Press(TPoint(79, 5));
  g.Columns()->Clear();
  g.Release(TPoint(200, 5));
  EXPECT_FALSE(g.GridState() & TCustomGridViewControl::ResizingColumn);
}

TEST(GridViewMouse, IndicatorPressBesideTheHeaderSelectsNothing) {
  TextGrid g(3);
  g.SetOptions(g.Options() | goIndicator);
  g.SelectCell(0, 1, {});
  g.log.clear();
  g.Click(TPoint(5, 5));
  EXPECT_EQ(g.Row(), 1);
  g.Click(TPoint(5, g.CellCenter(0, 2).Y));
  EXPECT_EQ(g.Row(), 2);
}

TEST(GridViewMouse, WheelMovesTheViewNotTheCurrentCell) {
  TextGrid g(40);
  QWheelEvent down(QPointF(40, 60), QPointF(40, 60), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(&g, &down);
  EXPECT_EQ(g.TopRow(), 1);
  EXPECT_EQ(g.Row(), 0);
}

// ---- hints and widths -------------------------------------------------------------

TEST(GridViewHints, TextFitHintOnlyForCutOffText) {
  TextGrid g(2);
  g.Columns()->Items(0)->SetOptions(g.Columns()->Items(0)->Options() | coShowTextFitHint);
  g.SetCellText(0, 1, QStringLiteral("a text far too long for eighty pixels"));
  g.MoveTo(g.CellCenter(0, 0));
  EXPECT_FALSE(g.TextFitHint()->Showing());
  g.MoveTo(g.CellCenter(0, 1));
  EXPECT_TRUE(g.TextFitHint()->Showing());
  EXPECT_EQ(g.TextFitHint()->HintText(), g.CellText(0, 1));
  g.MoveTo(TPoint(250, 150));
  EXPECT_FALSE(g.TextFitHint()->Showing());
}

TEST(GridViewHints, CellHintForCellsWithAHint) {
  TextGrid g(2);
  g.Cell(1, 1).SetHint(QByteArray("ipucu"));
  g.MoveTo(g.CellCenter(1, 0));
  EXPECT_FALSE(g.CellHint()->Showing());
  g.MoveTo(g.CellCenter(1, 1));
  EXPECT_TRUE(g.CellHint()->Showing());
  EXPECT_EQ(g.CellHint()->HintText(), QStringLiteral("ipucu"));
}

struct AutoSizeCase {
  const char* name;
  std::vector<int> widths;
  std::vector<bool> fixed;
};

class GridViewAutoSize : public ::testing::TestWithParam<AutoSizeCase> {};

TEST_P(GridViewAutoSize, FillsTheClientWidthExactly) {
  const AutoSizeCase& c = GetParam();
  TLoggedGridView g;
  int fixedTotal = 0;
  for (size_t i = 0; i < c.widths.size(); ++i) {
    g.AddText(QStringLiteral("c"), c.widths[i], c.fixed[i] ? coFixedSize : coAutoSize);
    if (c.fixed[i]) fixedTotal += c.widths[i];
  }
  g.ShowAt(301, 200);
  g.AutoSizeColumns();
  EXPECT_EQ(g.TotalWidth(), g.ClientWidth());
  int fixedNow = 0;
  for (size_t i = 0; i < c.widths.size(); ++i)
    if (c.fixed[i]) fixedNow += g.Columns()->Items(int(i))->Width();
  EXPECT_EQ(fixedNow, fixedTotal);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, GridViewAutoSize,
    ::testing::Values(AutoSizeCase{"ThreeEqual", {50, 50, 50}, {false, false, false}},
                      AutoSizeCase{"Proportions", {96, 116, 101, 69, 128}, {false, false, false, false, false}},
                      AutoSizeCase{"OneFixed", {40, 70, 33}, {true, false, false}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridViewAutoSize, ZeroTotalLeavesWidthsAlone) {
  TLoggedGridView g;
  g.AddText(QStringLiteral("fixed"), 300, coFixedSize);
  g.ShowAt(200, 100);
  g.AutoSizeColumns();
  EXPECT_EQ(g.Columns()->Items(0)->Width(), 300);
}

// ---- stored forms -----------------------------------------------------------------

TEST(GridViewForms, RoundTripWithEveryColumnKind) {
  TGridView written;
  const char* kinds[] = {"TTextualColumn",  "TComboBoxColumn",  "TNumericColumn", "TDateColumn",
                         "TCheckBoxColumn", "THtmlColumn",      "TImageColumn",   "TProgressColumn",
                         "TRateColumn",     "TIncrementColumn", "TGraphicColumn"};
  for (const char* kind : kinds) {
    std::unique_ptr<QObject> made = CreateRegistered(QString::fromLatin1(kind), 0);
    auto* column = qobject_cast<TCustomColumn*>(made.release());
    ASSERT_NE(column, nullptr) << kind;
    column->SetWidth(40 + written.Columns()->Count());
    written.Columns()->Add(column);
  }
  written.SetOptions(goGrid | goHeader | goFooter);
  written.SetRowSize(21);
  written.SetWantReturns(true);
  const QString text = WriteObjectText(&written, QStringLiteral("GridView1"));

  TGridView read;
  read.AddRows(3);
  ReadObjectText(&read, text);
  ASSERT_EQ(read.Columns()->Count(), 11);
  for (int i = 0; i < 11; ++i) {
    EXPECT_STREQ(read.Columns()->Items(i)->metaObject()->className(), kinds[i]);
    EXPECT_EQ(read.Columns()->Items(i)->Width(), 40 + i);
  }
  EXPECT_EQ(read.Options(), goGrid | goHeader | goFooter);
  EXPECT_EQ(read.RowSize(), 21);
  EXPECT_TRUE(read.WantReturns());
  EXPECT_EQ(read.GetCells()->ColCount(), 11);
  EXPECT_EQ(read.RowCount(), 0);
  EXPECT_EQ(read.RowFlagCount(), 0);
}

}  // namespace
