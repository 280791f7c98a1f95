#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <functional>

#include "GridDemoWindow.h"
#include "TestSupport.h"
#include "grid/CellEditors.h"
#include "grid/ColumnClasses.h"
#include "platform/FormatFloat.h"
#include "platform/Themes.h"

namespace {

constexpr int kRows = 300;

// The demo window shown with the keyboard focus on its grid.
struct ShownDemo {
  TGridDemoWindow window{kRows};
  TGridView* grid = window.Grid();

  ShownDemo() {
    window.resize(1120, 500);
    (void)ShowFocused(window, *grid, 1000);
    QApplication::processEvents();
  }
  QWidget* Focus() const { return QApplication::focusWidget() ? QApplication::focusWidget() : grid; }
  void Key(Qt::Key key) { QTest::keyClick(Focus(), key); }
  // Character by character with its text, as a keyboard layout sends it.
  void Type(const QString& text) {
    for (QChar c : text) QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_unknown, c, Qt::NoModifier);
  }
};

// Every table row has a name, used for the test's name and on failure.
template <class Case>
requires std::is_same_v<decltype(Case::name), const char*> std::ostream& operator<<(std::ostream& os, const Case& c) {
  return os << c.name;
}
constexpr auto CaseName = [](const auto& info) { return std::string(info.param.name); };

double SumOf(const std::function<double(const TDemoRow&)>& field, int rows, const std::vector<int>& skipped = {}) {
  double sum = 0;
  for (int r = 0; r < rows; ++r)
    if (std::find(skipped.begin(), skipped.end(), r) == skipped.end()) sum += field(DemoRow(r));
  return sum;
}

QString Money(double value) { return FormatFloat(QStringLiteral("#,##0.00"), value); }

// Every row's picture is the one its name asks for.
bool PicturesFollowNames(TGridView* grid) {
  std::map<QString, TObject*> seen;
  for (int r = 0; r < grid->RowCount(); ++r) {
    TCell cell = grid->Cell(dcPicture, r);
    if (!cell.Object()) return false;
    auto [it, added] = seen.emplace(cell.AsText(), cell.Object());
    if (!added && it->second != cell.Object()) return false;
  }
  std::set<TObject*> distinct;
  for (const auto& [name, object] : seen) distinct.insert(object);
  return distinct.size() == seen.size();
}

// ---- the grid as built ---------------------------------------------------------

TEST(GridDemo, HoldsOneColumnOfEachKindOverTheGeneratedRows) {
  TGridDemoWindow window(kRows);
  TGridView* grid = window.Grid();
  const std::pair<const char*, TValueKind> kinds[dcColumnCount] = {
      {"TIncrementColumn", vkRowNumber}, {"TTextualColumn", vkText},  {"TComboBoxColumn", vkText},
      {"TNumericColumn", vkFloat},       {"TDateColumn", vkDateTime}, {"TCheckBoxColumn", vkBoolean},
      {"TProgressColumn", vkFloat},      {"TRateColumn", vkInteger},  {"TImageColumn", vkInteger},
      {"TGraphicColumn", vkGraphic},     {"THtmlColumn", vkText},
  };
  ASSERT_EQ(grid->Columns()->Count(), int(dcColumnCount));
  for (int c = 0; c < dcColumnCount; ++c) {
    EXPECT_STREQ(grid->Columns()->Items(c)->metaObject()->className(), kinds[c].first) << c;
    EXPECT_EQ(grid->Columns()->Items(c)->ValueKind(), kinds[c].second) << c;
  }
  ASSERT_EQ(grid->RowCount(), kRows);
  for (int r : {0, 137, kRows - 1}) {
    const TDemoRow row = DemoRow(r);
    EXPECT_EQ(grid->Cell(dcName, r).AsText(), row.Name);
    EXPECT_EQ(grid->Cell(dcCity, r).AsText(), row.City);
    EXPECT_DOUBLE_EQ(grid->Cell(dcAmount, r).AsFloat(), row.Amount);
    EXPECT_DOUBLE_EQ(grid->Cell(dcDate, r).AsDateTime(), row.Date);
    EXPECT_EQ(grid->Cell(dcApproved, r).AsBoolean(), row.Approved);
    EXPECT_DOUBLE_EQ(grid->Cell(dcProgress, r).AsFloat(), row.Progress);
    EXPECT_EQ(grid->Cell(dcRate, r).AsInteger(), row.Rate);
    EXPECT_EQ(grid->Cell(dcStatus, r).AsInteger(), row.Status);
    EXPECT_EQ(grid->Cell(dcPicture, r).AsText(), DemoPictureNames()[row.Picture]);
    EXPECT_EQ(grid->Cell(dcNote, r).AsText(), row.Note);
  }
  EXPECT_TRUE(PicturesFollowNames(grid));
  const TGridOptions options = grid->Options();
  for (TGridOption o : {goInput, goFooter, goIndicator, goMultiSelect, goCanHideColumn, goHeader})
    EXPECT_TRUE(options.testFlag(o)) << o;
  EXPECT_FALSE(options.testFlag(goDissableColumnMoving));
  EXPECT_EQ(grid->Columns()->Items(dcAmount)->Footer()->Caption(),
            Money(SumOf([](const TDemoRow& r) { return r.Amount; }, kRows)));
  EXPECT_EQ(grid->Columns()->Items(dcRate)->Footer()->Caption(),
            Money(SumOf([](const TDemoRow& r) { return r.Rate; }, kRows) / kRows));
}

TEST(GridDemo, GeneratedNamesCarryTheTurkishLettersAndValuesStayInRange) {
  QString names;
  for (int r = 0; r < 200; ++r) {
    const TDemoRow row = DemoRow(r);
    names += row.Name;
    EXPECT_TRUE(row.Progress >= 0 && row.Progress <= 100) << r;
    EXPECT_TRUE(row.Rate >= 0 && row.Rate <= 5) << r;
    EXPECT_GE(row.Date, EncodeDate(2026, 1, 1)) << r;
  }
  for (QChar c : QStringLiteral("çğıİöşüÇŞÖÜ")) EXPECT_TRUE(names.contains(c)) << QString(c).toStdString();
  EXPECT_EQ(DemoRow(42).Name, DemoRow(42).Name);
  EXPECT_DOUBLE_EQ(DemoRow(42).Amount, DemoRow(42).Amount);
}

// ---- editing every kind in place -------------------------------------------------

struct EditCase {
  const char* name;
  int col;
  const char* editorClass;
  std::function<void(ShownDemo&)> act;
  // Checks the stored value against the row as generated.
  std::function<void(TGridView*, int, const TDemoRow&)> check;
};

class EditingEachKind : public ::testing::TestWithParam<EditCase> {};

constexpr int kEditRow = 5;

TEST_P(EditingEachKind, OpensItsEditorAndStoresTheValueBack) {
  const EditCase& c = GetParam();
  ShownDemo demo;
  demo.grid->SelectCell(c.col, kEditRow, {});
  demo.grid->EditCell(c.col, kEditRow, QString());
  TCellEditor* editor = demo.grid->Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->inherits(c.editorClass)) << editor->metaObject()->className();
  c.act(demo);
  demo.Key(Qt::Key_Return);
  EXPECT_EQ(demo.grid->Editor(), nullptr);
  EXPECT_TRUE(demo.window.LastError().isEmpty()) << demo.window.LastError().toStdString();
  c.check(demo.grid, kEditRow, DemoRow(kEditRow));
}

int Next(int index, int count) { return std::min(index + 1, count - 1); }

INSTANTIATE_TEST_SUITE_P(
    GridDemo, EditingEachKind,
    ::testing::Values(
        EditCase{"Name", dcName, "TTextualEditor", [](ShownDemo& d) { d.Type(QStringLiteral("Çiğdem Işıkoğlu")); },
                 [](TGridView* g, int r, const TDemoRow&) {
                   EXPECT_EQ(g->Cell(dcName, r).AsText(), QStringLiteral("Çiğdem Işıkoğlu"));
                 }},
        EditCase{"City", dcCity, "TComboBoxEditor", [](ShownDemo& d) { d.Key(Qt::Key_Down); },
                 [](TGridView* g, int r, const TDemoRow& before) {
                   const int next = Next(DemoCities().indexOf(before.City), DemoCities().size());
                   EXPECT_EQ(g->Cell(dcCity, r).AsText(), DemoCities()[next]);
                 }},
        EditCase{
            "Amount", dcAmount, "TSpinEditor", [](ShownDemo& d) { d.Type(QStringLiteral("1234,5")); },
            [](TGridView* g, int r, const TDemoRow&) { EXPECT_DOUBLE_EQ(g->Cell(dcAmount, r).AsFloat(), 1234.5); }},
        EditCase{"Date", dcDate, "TDatePickerEditor", [](ShownDemo& d) { d.Type(QStringLiteral("15.03.2026")); },
                 [](TGridView* g, int r, const TDemoRow&) {
                   EXPECT_DOUBLE_EQ(g->Cell(dcDate, r).AsDateTime(), EncodeDate(2026, 3, 15));
                 }},
        EditCase{"Approved", dcApproved, "TCheckBoxEditor", [](ShownDemo& d) { d.Key(Qt::Key_Space); },
                 [](TGridView* g, int r, const TDemoRow& before) {
                   EXPECT_EQ(g->Cell(dcApproved, r).AsBoolean(), !before.Approved);
                 }},
        EditCase{"Progress", dcProgress, "TNumericEditor", [](ShownDemo& d) { d.Type(QStringLiteral("42")); },
                 [](TGridView* g, int r, const TDemoRow&) { EXPECT_DOUBLE_EQ(g->Cell(dcProgress, r).AsFloat(), 42); }},
        EditCase{"Rate", dcRate, "TSpinEditor", [](ShownDemo& d) { d.Key(Qt::Key_Up); },
                 [](TGridView* g, int r, const TDemoRow& before) {
                   EXPECT_EQ(g->Cell(dcRate, r).AsInteger(), std::min(before.Rate + 1, 5));
                 }},
        EditCase{"Status", dcStatus, "TComboBoxEditor", [](ShownDemo& d) { d.Key(Qt::Key_Down); },
                 [](TGridView* g, int r, const TDemoRow& before) {
                   EXPECT_EQ(g->Cell(dcStatus, r).AsInteger(), Next(before.Status, DemoStatusNames().size()));
                 }},
        EditCase{"Picture", dcPicture, "TComboBoxEditor", [](ShownDemo& d) { d.Key(Qt::Key_Down); },
                 [](TGridView* g, int r, const TDemoRow& before) {
                   const int next = Next(before.Picture, DemoPictureNames().size());
                   EXPECT_EQ(g->Cell(dcPicture, r).AsText(), DemoPictureNames()[next]);
                   EXPECT_TRUE(PicturesFollowNames(g));
                 }},
        EditCase{"Note", dcNote, "TTextualEditor", [](ShownDemo& d) { d.Type(QStringLiteral("<b>Yeni</b> ürün")); },
                 [](TGridView* g, int r, const TDemoRow&) {
                   EXPECT_EQ(g->Cell(dcNote, r).AsText(), QStringLiteral("<b>Yeni</b> ürün"));
                 }}),
    CaseName);

TEST(GridDemo, RowNumbersAreNotEdited) {
  ShownDemo demo;
  demo.grid->EditCell(dcRow, 2, QString());
  EXPECT_EQ(demo.grid->Editor(), nullptr);
}

TEST(GridDemo, ATypedDateThatIsNoDateIsReportedAndTheCellKeepsItsValue) {
  ShownDemo demo;
  demo.grid->SelectCell(dcDate, kEditRow, {});
  demo.grid->EditCell(dcDate, kEditRow, QString());
  demo.Type(QStringLiteral("31.02.2026"));
  demo.Key(Qt::Key_Return);
  EXPECT_FALSE(demo.window.LastError().isEmpty());
  EXPECT_DOUBLE_EQ(demo.grid->Cell(dcDate, kEditRow).AsDateTime(), DemoRow(kEditRow).Date);
}

// A typed number the column cannot show is refused, in a cell and in the
// input row alike.
struct RangeCase {
  const char* name;
  int col;
  const char* text;
  bool inputRow;
};

class OutOfRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(OutOfRange, IsRefusedWithAMessageAndNothingChanges) {
  const RangeCase& c = GetParam();
  ShownDemo demo;
  const QString before = demo.grid->CellText(c.col, kEditRow);
  if (c.inputRow) {
    demo.grid->Columns()->Items(c.col)->SetInputText(QString::fromUtf8(c.text));
    demo.grid->AcceptInput();
  } else {
    demo.grid->SelectCell(c.col, kEditRow, {});
    demo.grid->EditCell(c.col, kEditRow, QString());
    demo.Type(QString::fromUtf8(c.text));
    demo.Key(Qt::Key_Return);
  }
  EXPECT_TRUE(demo.window.LastError().contains(demo.grid->Columns()->Items(c.col)->Header()->Caption()))
      << demo.window.LastError().toStdString();
  EXPECT_EQ(demo.grid->RowCount(), kRows);
  EXPECT_EQ(demo.grid->CellText(c.col, kEditRow), before);
}

INSTANTIATE_TEST_SUITE_P(GridDemo, OutOfRange,
                         ::testing::Values(RangeCase{"StarsTyped", dcRate, "9", false},
                                           RangeCase{"ProgressTyped", dcProgress, "250", false},
                                           RangeCase{"StarsInTheInputRow", dcRate, "7", true},
                                           RangeCase{"StatusInTheInputRow", dcStatus, "-1", true},
                                           RangeCase{"CityInTheInputRow", dcCity, "x", true}),
                         CaseName);

// A letter typed on the city column opens its editor with that letter;
// it is no city, so it is refused rather than stored.
TEST(GridDemo, ALetterTypedOnTheCityColumnIsRefused) {
  ShownDemo demo;
  demo.grid->SelectCell(dcCity, kEditRow, {});
  demo.Type(QStringLiteral("x"));
  demo.Key(Qt::Key_Return);
  EXPECT_EQ(demo.grid->Cell(dcCity, kEditRow).AsText(), DemoRow(kEditRow).City);
  EXPECT_TRUE(demo.window.LastError().contains(QStringLiteral("Şehir"))) << demo.window.LastError().toStdString();
}

// ---- the input row ----------------------------------------------------------------

TEST(GridDemo, InputRowAddsARowOnlyWhenEveryValueConverts) {
  ShownDemo demo;
  TColumns* columns = demo.grid->Columns();
  const QString sumBefore = columns->Items(dcAmount)->Footer()->Caption();
  columns->Items(dcName)->SetInputText(QStringLiteral("Şule Ağaoğlu"));
  columns->Items(dcAmount)->SetInputText(QStringLiteral("10"));
  columns->Items(dcDate)->SetInputText(QStringLiteral("31.02.2026"));
  columns->Items(dcPicture)->SetInputText(QStringLiteral("Ay"));
  demo.grid->AcceptInput();
  EXPECT_EQ(demo.grid->RowCount(), kRows);
  EXPECT_TRUE(demo.window.LastError().contains(QStringLiteral("Tarih"))) << demo.window.LastError().toStdString();
  EXPECT_EQ(columns->Items(dcAmount)->Footer()->Caption(), sumBefore);

  columns->Items(dcDate)->SetInputText(QStringLiteral("01.05.2026"));
  demo.grid->AcceptInput();
  ASSERT_EQ(demo.grid->RowCount(), kRows + 1);
  EXPECT_TRUE(demo.window.LastError().isEmpty());
  EXPECT_EQ(demo.grid->Cell(dcName, kRows).AsText(), QStringLiteral("Şule Ağaoğlu"));
  EXPECT_DOUBLE_EQ(demo.grid->Cell(dcDate, kRows).AsDateTime(), EncodeDate(2026, 5, 1));
  EXPECT_EQ(demo.grid->Cell(dcCity, kRows).AsText(), DemoCities().front());
  EXPECT_TRUE(PicturesFollowNames(demo.grid));
  EXPECT_EQ(columns->Items(dcAmount)->Footer()->Caption(),
            Money(SumOf([](const TDemoRow& r) { return r.Amount; }, kRows) + 10));
}

// Typing replaces the 0 a number field of the input row opens with.
TEST(GridDemo, TheInputRowsNumberFieldsOpenSelected) {
  ShownDemo demo;
  for (int col : {dcAmount, dcProgress, dcRate}) {
    demo.grid->EditInput(demo.grid->Columns()->Items(col), QString());
    auto* editor = qobject_cast<TTextualEditor*>(demo.grid->Editor());
    ASSERT_NE(editor, nullptr) << col;
    EXPECT_GT(editor->SelLength(), 0) << col;
    EXPECT_EQ(editor->SelLength(), editor->GetAsText().size()) << col;
  }
  demo.Type(QStringLiteral("3"));
  EXPECT_EQ(demo.grid->Editor()->GetAsText(), QStringLiteral("3"));
}

// A row that the input row adds to a sorted list lands at the end, so the
// sort mark no longer holds.
TEST(GridDemo, ARowAddedToASortedListClearsTheSortMark) {
  ShownDemo demo;
  TCustomColumn* amount = demo.grid->Columns()->Items(dcAmount);
  amount->SetSorted(true);
  ASSERT_TRUE(amount->Sorted());
  amount->SetInputText(QStringLiteral("1"));
  demo.grid->AcceptInput();
  ASSERT_EQ(demo.grid->RowCount(), kRows + 1);
  EXPECT_FALSE(amount->Sorted());
}

TEST(GridDemo, AnEmptyGridShowsEmptyFootersAndTakesItsFirstRowFromTheInputRow) {
  TGridDemoWindow window(0);
  window.show();
  TColumns* columns = window.Grid()->Columns();
  EXPECT_EQ(columns->Items(dcAmount)->Footer()->Caption(), Money(0));
  EXPECT_EQ(columns->Items(dcRate)->Footer()->Caption(), QString());
  columns->Items(dcName)->SetInputText(QStringLiteral("İlk kayıt"));
  columns->Items(dcRate)->SetInputText(QStringLiteral("4"));
  window.Grid()->AcceptInput();
  ASSERT_EQ(window.Grid()->RowCount(), 1);
  EXPECT_EQ(window.Grid()->Cell(dcName, 0).AsText(), QStringLiteral("İlk kayıt"));
  EXPECT_EQ(columns->Items(dcRate)->Footer()->Caption(), Money(4));
}

// ---- column dragging -------------------------------------------------------------

// Through the window, which hands the events to whoever holds the mouse.
void DragHeader(ShownDemo& demo, int col, TPoint to) {
  QWindow* window = demo.window.windowHandle();
  const auto at = [&](TPoint p) { return demo.grid->mapTo(&demo.window, p.ToQt()); };
  const TCustomColumn* column = demo.grid->Columns()->Items(col);
  const TPoint from(column->Left() - demo.grid->HorzPos() + 10, 10);
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, at(from));
  QTest::mouseMove(window, at(TPoint(from.X + 5, from.Y)));
  QTest::mouseMove(window, at(to));
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, at(to));
}

TEST(GridDemo, HeadersDragToANewPlaceAndBelowTheHeaderOutOfSight) {
  ShownDemo demo;
  TColumns* columns = demo.grid->Columns();
  const TCustomColumn* name = columns->Items(dcName);
  DragHeader(demo, dcCity, TPoint(name->Left() - demo.grid->HorzPos() + 5, 10));
  EXPECT_EQ(columns->DisplayItems(1), columns->Items(dcCity));
  EXPECT_EQ(columns->DisplayItems(2), columns->Items(dcName));

  DragHeader(demo, dcAmount, TPoint(columns->Items(dcAmount)->Left() + 10, 3 * demo.grid->HeaderSize()));
  EXPECT_FALSE(columns->Items(dcAmount)->Visible());
}

// ---- sorting and the selection -------------------------------------------------------

struct SortCase {
  const char* name;
  int col;
  // The value the rows must come in ascending order of.
  std::function<double(TCell)> key;
};

class HeaderClick : public ::testing::TestWithParam<SortCase> {};

TEST_P(HeaderClick, SortsAscendingThenDescendingAndEveryRowKeepsItsPicture) {
  const SortCase& c = GetParam();
  ShownDemo demo;
  const TRect header = demo.grid->Columns()->Items(c.col)->PartRect(gaHeader);
  const QPoint at =
      QPoint((header.Left + header.Right) / 2, (header.Top + header.Bottom) / 2) + demo.grid->ClientOrigin().ToQt();
  for (int direction : {1, -1}) {
    QTest::mouseClick(demo.grid, Qt::LeftButton, Qt::NoModifier, at);
    for (int r = 1; r < kRows; ++r)
      ASSERT_LE(direction * c.key(demo.grid->Cell(c.col, r - 1)), direction * c.key(demo.grid->Cell(c.col, r)))
          << "row " << r << ", direction " << direction;
    EXPECT_NE(c.key(demo.grid->Cell(c.col, 0)), c.key(demo.grid->Cell(c.col, kRows - 1)));
    EXPECT_TRUE(PicturesFollowNames(demo.grid));
  }
}

INSTANTIATE_TEST_SUITE_P(
    GridDemo, HeaderClick,
    ::testing::Values(SortCase{"Amount", dcAmount, [](TCell cell) { return cell.AsFloat(); }},
                      SortCase{"Date", dcDate, [](TCell cell) { return cell.AsDateTime(); }},
                      SortCase{"Approved", dcApproved, [](TCell cell) { return double(cell.AsBoolean()); }},
                      SortCase{"Stars", dcRate, [](TCell cell) { return double(cell.AsInteger()); }}),
    CaseName);

TEST(GridDemo, DeletingSelectedRowsKeepsTheOthersAndTheFooters) {
  ShownDemo demo;
  demo.grid->SetRowSelected(1, true);
  demo.grid->SetRowSelected(3, true);
  EXPECT_EQ(demo.window.DeleteSelectedRows(), 2);
  ASSERT_EQ(demo.grid->RowCount(), kRows - 2);
  EXPECT_EQ(demo.grid->Cell(dcName, 1).AsText(), DemoRow(2).Name);
  EXPECT_EQ(demo.grid->Cell(dcName, 2).AsText(), DemoRow(4).Name);
  EXPECT_EQ(demo.grid->Columns()->Items(dcAmount)->Footer()->Caption(),
            Money(SumOf([](const TDemoRow& r) { return r.Amount; }, kRows, {1, 3})));
}

TEST(GridDemo, ClickedRowsGoWithTheDeleteKeyOnlyWhenTheUserSaysSo) {
  ShownDemo demo;
  int asked = 0;
  bool answer = false;
  demo.window.ConfirmDelete = [&](int count) {
    asked = count;
    return answer;
  };
  const auto click = [&](int row, Qt::KeyboardModifiers mods) {
    const TRect r = demo.grid->GetCellRect(dcRow, row);
    QTest::mouseClick(demo.grid, Qt::LeftButton, mods,
                      QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2) + demo.grid->ClientOrigin().ToQt());
  };
  click(2, Qt::NoModifier);
  click(4, Qt::ControlModifier);
  click(6, Qt::ShiftModifier);  // 4 to 6, from the anchor the last Ctrl click set
  click(2, Qt::ControlModifier);
  demo.Key(Qt::Key_Delete);
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(demo.grid->RowCount(), kRows) << "the user said no";
  answer = true;
  demo.Key(Qt::Key_Delete);
  ASSERT_EQ(demo.grid->RowCount(), kRows - 4);
  EXPECT_EQ(demo.grid->Cell(dcName, 2).AsText(), DemoRow(3).Name);
  EXPECT_EQ(demo.grid->Cell(dcName, 3).AsText(), DemoRow(7).Name);
  EXPECT_EQ(demo.grid->Columns()->Items(dcAmount)->Footer()->Caption(),
            Money(SumOf([](const TDemoRow& r) { return r.Amount; }, kRows, {2, 4, 5, 6})));
}

// ---- the menu -------------------------------------------------------------------------

struct LinesCase {
  const char* name;
  TDemoGridLines lines;
  TGridLinesStyle style;
  bool gridLines;
};

class GridLinesMenu : public ::testing::TestWithParam<LinesCase> {};

TEST_P(GridLinesMenu, SetsTheStyleAndTheLines) {
  const LinesCase& c = GetParam();
  TGridDemoWindow window(20);
  TGridView* grid = window.Grid();
  // From a state unlike the expected one, so each case changes something.
  window.SetGridLines(c.lines == TDemoGridLines::Framed ? TDemoGridLines::None : TDemoGridLines::Framed);
  window.GridLinesAction(c.lines)->trigger();
  if (c.gridLines) {
    EXPECT_EQ(grid->GridLinesStyle(), c.style);
  }
  EXPECT_EQ(grid->Options().testFlag(goGrid), c.gridLines);
  EXPECT_TRUE(window.GridLinesAction(c.lines)->isChecked());
}

INSTANTIATE_TEST_SUITE_P(GridDemo, GridLinesMenu,
                         ::testing::Values(LinesCase{"Normal", TDemoGridLines::Normal, lsNormal, true},
                                           LinesCase{"Framed", TDemoGridLines::Framed, lsFramed, true},
                                           LinesCase{"HorizontalOnly", TDemoGridLines::HorizontalOnly, lsHorizontalOnly,
                                                     true},
                                           LinesCase{"None", TDemoGridLines::None, lsNormal, false}),
                         CaseName);

TEST(GridDemo, TheColumnsMenuBringsAHiddenColumnBack) {
  TGridDemoWindow window(20);
  TCustomColumn* city = window.Grid()->Columns()->Items(dcCity);
  city->SetVisible(false);
  emit window.ColumnsMenu()->aboutToShow();
  QAction* entry = nullptr;
  for (QAction* a : window.ColumnsMenu()->actions())
    if (a->text() == city->Header()->Caption()) entry = a;
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->isChecked());
  entry->trigger();
  EXPECT_TRUE(city->Visible());
  entry->trigger();
  EXPECT_FALSE(city->Visible());
}

TEST(GridDemo, LookMenuSwitchesTheThemeAndTheHeadersLook) {
  const bool wasThemed = ThemesActive();
  ShownDemo demo;
  const TRect header = demo.grid->Columns()->Items(dcName)->PartRect(gaHeader);
  const auto headerPicture = [&] {
    demo.grid->Repaint();
    return demo.grid->grab(header.ToQt()).toImage();
  };
  demo.window.LookAction(false)->trigger();
  EXPECT_FALSE(ThemesActive());
  EXPECT_TRUE(demo.window.LookAction(false)->isChecked());
  const QImage classic = headerPicture();
  demo.window.LookAction(true)->trigger();
  EXPECT_TRUE(ThemesActive());
  EXPECT_TRUE(demo.window.LookAction(true)->isChecked());
  EXPECT_NE(headerPicture(), classic);
  SetThemesActive(wasThemed);
}

}  // namespace
