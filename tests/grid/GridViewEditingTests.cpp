#include <gtest/gtest.h>

#include <QLineEdit>

#include "GridViewTestSupport.h"
#include "platform/Application.h"

namespace {

// Two editable text columns of 80 pixels and five rows, shown and focused.
struct EditGrid : TLoggedGridView {
  EditGrid() {
    AddText(QStringLiteral("A"), 80, coEditing);
    AddText(QStringLiteral("B"), 80, coEditing);
    Fill(5);
    ShowAt(300, 200);
    log.clear();
  }
};

TEST(GridViewEditing, CellEditEventsComeInOrder) {
  EditGrid g;
  g.Click(g.CellCenter(1, 2));
  ASSERT_TRUE(g.GridState() & TCustomGridViewControl::EditingCell);
  g.Type(QStringLiteral("x"));
  g.Key(Qt::Key_Return);
  // The editor opens with its text selected, so the typed character replaces it.
  const QStringList expected{"select 1,2",    "down",       "up",          "click 1,2",  "before 1,2",
                             "edit 1,2 r2c1", "edit 1,2 x", "after 1,2 x", "change 1,2", "select 1,3"};
  EXPECT_EQ(g.log, expected);
  EXPECT_EQ(g.CellText(1, 2), QStringLiteral("x"));
  EXPECT_EQ(g.EditCol(), -1);
  EXPECT_EQ(g.Row(), 3);
}

TEST(GridViewEditing, EscapeDiscardsAndSameTextFiresNothing) {
  EditGrid g;
  g.EditCell(0, 1, QString());
  g.Type(QStringLiteral("zz"));
  g.Key(Qt::Key_Escape);
  EXPECT_EQ(g.CellText(0, 1), QStringLiteral("r1c0"));
  EXPECT_EQ(g.Editor(), nullptr);
  g.EditCell(0, 1, QString());
  g.log.clear();
  g.Key(Qt::Key_Return);
  EXPECT_FALSE(g.log.contains(QStringLiteral("after 0,1 r1c0")));
  EXPECT_FALSE(g.log.contains(QStringLiteral("change 0,1")));
}

TEST(GridViewEditing, RefusedAfterEditKeepsOldTextAndClosesEditor) {
  EditGrid g;
  g.OnAfterEdit = [](TObject*, int, int, const QString&, bool& accept) { accept = false; };
  g.EditCell(0, 0, QStringLiteral("new"));
  g.Key(Qt::Key_Return);
  EXPECT_EQ(g.CellText(0, 0), QStringLiteral("r0c0"));
  EXPECT_EQ(g.Editor(), nullptr);
}

TEST(GridViewEditing, BeforeEditFiresForColumnWithoutEditingButNoEditorOpens) {
  TLoggedGridView g;
  g.AddText(QStringLiteral("A"), 80);
  g.Fill(3);
  g.ShowAt(300, 200);
  g.log.clear();
  g.Click(g.CellCenter(0, 1));
  EXPECT_TRUE(g.log.contains(QStringLiteral("before 0,1")));
  EXPECT_EQ(g.Editor(), nullptr);
}

TEST(GridViewEditing, EnterWithMoveUpOnRowZeroStaysOnRowZero) {
  EditGrid g;
  g.SetSelectionMoveDirection(mdUp);
  g.SelectCell(0, 0, {});
  g.EditCell(0, 0, QString());
  g.Key(Qt::Key_Return);
  EXPECT_EQ(g.Row(), 0);
  EXPECT_EQ(g.Editor(), nullptr);
}

TEST(GridViewEditing, EditorSitsInsideItsCell) {
  EditGrid g;
  g.EditCell(1, 2, QString());
  auto* editor = static_cast<TCellEditor*>(g.Editor());
  const TRect cell = g.GetCellRect(1, 2);
  EXPECT_EQ(editor->Left(), cell.Left + 1);
  EXPECT_EQ(editor->Top(), cell.Top + 1);
  EXPECT_EQ(editor->Width(), cell.Right - cell.Left - 2);
  EXPECT_EQ(editor->Margin(), -1);
  EXPECT_EQ(editor->BorderStyle(), bsNone);
}

// The text typed goes to the record it was typed for, or nowhere.
TEST(GridViewEditing, EditorFollowsItsRowWhenRowsAboveChange) {
  EditGrid g;
  g.SelectCell(0, 3, {});
  g.EditCell(0, 3, QStringLiteral("typed"));
  g.DeleteRow(0);
  EXPECT_EQ(g.EditRow(), 2);
  g.InsertRow(1);
  EXPECT_EQ(g.EditRow(), 3);
  g.ApplyEdit();
  EXPECT_EQ(g.CellText(0, 3), QStringLiteral("typed"));
  EXPECT_EQ(g.CellText(0, 2), QStringLiteral("r2c0"));
}

TEST(GridViewEditing, ApplyGivesUpWhenTheEditedRowIsGone) {
  EditGrid g;
  g.EditCell(0, 4, QStringLiteral("typed"));
  g.GetCells()->DeleteRow(4);  // behind the grid's back
  EXPECT_FALSE(g.ApplyEdit());
  EXPECT_EQ(g.RowCount(), 4);
}

TEST(GridViewEditing, EditCellRefusesBadIndices) {
  EditGrid g;
  for (auto [c, r] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 5}}) {
    g.EditCell(c, r, QString());
    EXPECT_EQ(g.Editor(), nullptr) << c << "," << r;
  }
}

struct InputGrid : TLoggedGridView {
  TTextualColumn* column;
  InputGrid() {
    column = AddText(QStringLiteral("A"), 80, coEditing | coCanInput);
    column->SetDefaultValue(QStringLiteral("def"));
    SetOptions(Options() | goInput);
    Fill(2);
    ShowAt(300, 200);
    log.clear();
  }
};

TEST(GridViewEditing, InputEntryIsAcceptedAsANewRow) {
  InputGrid g;
  g.EditInput(g.column, QString());
  ASSERT_TRUE(g.GridState() & TCustomGridViewControl::EditingInput);
  static_cast<TCellEditor*>(g.Editor())->SetAsText(QStringLiteral("new"));
  g.Key(Qt::Key_Return);
  EXPECT_EQ(g.log, QStringList({"accept", "change 0,2"}));
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_EQ(g.CellText(0, 2), QStringLiteral("new"));
  EXPECT_EQ(g.column->InputText(), QStringLiteral("def"));
  EXPECT_TRUE(g.GridState() & TCustomGridViewControl::EditingInput);  // open for the next row
}

TEST(GridViewEditing, RefusedInputEntryKeepsItsText) {
  InputGrid g;
  g.OnInputAccept = [](TObject*, bool& accept) { accept = false; };
  g.EditInput(g.column, QString());
  auto* editor = static_cast<TCellEditor*>(g.Editor());
  editor->SetAsText(QStringLiteral("kept"));
  g.Key(Qt::Key_Return);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(editor->GetAsText(), QStringLiteral("kept"));
}

// A text that does not convert must not leave a half-filled row behind nor
// lose what was typed in the other columns.
TEST(GridViewEditing, InputEntryThatDoesNotConvertAddsNoRowAndKeepsEveryText) {
  InputGrid g;
  auto* amount = new TNumericColumn;
  g.Columns()->Add(amount);
  g.column->SetInputText(QStringLiteral("name"));
  amount->SetInputText(QStringLiteral("x1"));
  EXPECT_THROW(g.AcceptInput(), Exception);
  EXPECT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.column->InputText(), QStringLiteral("name"));
  EXPECT_EQ(amount->InputText(), QStringLiteral("x1"));

  amount->SetInputText(QStringLiteral("5"));
  g.AcceptInput();
  ASSERT_EQ(g.RowCount(), 3);
  EXPECT_EQ(g.CellText(0, 2), QStringLiteral("name"));
  EXPECT_EQ(g.Cell(1, 2).AsFloat(), 5.0);
  EXPECT_EQ(g.column->InputText(), QStringLiteral("def"));
}

// A value outside the column's range is refused like one that does not
// convert: the cell keeps its value and the user hears why.
TEST(GridViewEditing, AValueOutsideTheColumnsRangeIsRefusedAndReported) {
  TLoggedGridView g;
  auto* amount = new TNumericColumn;
  amount->SetOptions(amount->Options() | coEditing | coCanInput);
  amount->SetMax(100);
  g.Columns()->Add(amount);
  g.SetOptions(g.Options() | goInput);
  g.AddRows(1);
  g.SetCellText(0, 0, QStringLiteral("5"));
  g.ShowAt(300, 200);
  QStringList errors;
  Application->OnException = [&](TObject*, const Exception& e) { errors << e.Message(); };
  // Enter as the platform hands it to the editor, inside its error boundary.
  const auto enter = [&g](const char* text) {
    auto* editor = static_cast<TCellEditor*>(g.Editor());
    editor->SetAsText(QString::fromLatin1(text));
    Dispatch(editor, [editor] { editor->Perform(WM_KEYDOWN, VK_RETURN); });
  };
  g.EditCell(0, 0, QString());
  enter("150");
  EXPECT_EQ(g.Cell(0, 0).AsFloat(), 5.0);
  EXPECT_EQ(errors, QStringList{"'150' is not between 0 and 100"});
  enter("100");
  EXPECT_EQ(g.Cell(0, 0).AsFloat(), 100.0);

  g.EditInput(amount, QString());
  enter("150");
  EXPECT_EQ(g.RowCount(), 1) << "no row from a refused entry";
  EXPECT_EQ(errors.size(), 2);
  enter("99");
  ASSERT_EQ(g.RowCount(), 2);
  EXPECT_EQ(g.Cell(0, 1).AsFloat(), 99.0);
  Application->OnException = nullptr;
}

TEST(GridViewEditing, EscapeInInputKeepsPreviousInputText) {
  InputGrid g;
  g.column->SetInputText(QStringLiteral("before"));
  g.EditInput(g.column, QString());
  static_cast<TCellEditor*>(g.Editor())->SetAsText(QStringLiteral("changed"));
  g.Key(Qt::Key_Escape);
  EXPECT_EQ(g.column->InputText(), QStringLiteral("before"));
  EXPECT_EQ(g.InputColumn(), -1);
}

TEST(GridViewSelection, CtrlAndShiftSelectRangesFromTheAnchor) {
  TLoggedGridView g;
  g.AddText(QStringLiteral("A"), 80);
  g.SetOptions(g.Options() | goMultiSelect | goSelectFullRow);
  g.Fill(10);
  g.SelectCell(0, 2, ssCtrl);
  g.SelectCell(0, 5, ssCtrl);
  g.SelectCell(0, 7, ssShift);
  QList<int> selected;
  for (int r = 0; r < 10; ++r)
    if (g.RowSelected(r)) selected << r;
  EXPECT_EQ(selected, QList<int>({5, 6, 7}));
  g.SelectCell(0, 1, {});
  selected.clear();
  for (int r = 0; r < 10; ++r)
    if (g.RowSelected(r)) selected << r;
  EXPECT_EQ(selected, QList<int>({1}));
  EXPECT_FALSE(g.GridState() & TCustomGridViewControl::RangeSelecting);
}

TEST(GridViewSelection, ShiftAsFirstActionSelectsOnlyItsRow) {
  TLoggedGridView g;
  g.AddText(QStringLiteral("A"), 80);
  g.SetOptions(g.Options() | goMultiSelect | goSelectFullRow);
  g.Fill(4);
  g.SelectCell(0, 2, ssShift);
  EXPECT_FALSE(g.RowSelected(0));
  EXPECT_TRUE(g.RowSelected(2));
  EXPECT_EQ(g.RowFlagCount(), 4);
}

}  // namespace

namespace {

TEST(GridViewEditing, LeavingTheGridCommitsThenExits) {
  QWidget window;
  auto* g = new TLoggedGridView;
  g->setParent(&window);
  g->AddText(QStringLiteral("A"), 80, coEditing);
  g->Fill(3);
  g->SetBounds(0, 0, 300, 200);
  auto* other = new QLineEdit(&window);
  other->move(0, 250);
  window.resize(320, 300);
  ASSERT_TRUE(ShowFocused(window, *g, 2000));
  g->OnExit = [g](TObject*) { g->log << QStringLiteral("exit"); };
  g->EditCell(0, 1, QStringLiteral("typed"));
  ASSERT_TRUE(WaitFor([g] { return g->Editor() && g->Editor()->hasFocus(); }));
  g->log.clear();
  other->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(g->CellText(0, 1), QStringLiteral("typed"));
  EXPECT_EQ(g->Editor(), nullptr);
  ASSERT_FALSE(g->log.isEmpty());
  EXPECT_EQ(g->log.last(), QStringLiteral("exit"));
}

TEST(GridViewEditing, ResizeAndFontChangeCloseWithoutCommitting) {
  EditGrid g;
  g.EditCell(0, 1, QStringLiteral("typed"));
  g.SetBounds(0, 0, 280, 190);
  EXPECT_EQ(g.Editor(), nullptr);
  g.EditCell(0, 2, QStringLiteral("typed"));
  g.Font()->SetSize(g.Font()->Size() + 2);
  EXPECT_EQ(g.Editor(), nullptr);
  EXPECT_EQ(g.CellText(0, 1), QStringLiteral("r1c0"));
  EXPECT_EQ(g.CellText(0, 2), QStringLiteral("r2c0"));
}

}  // namespace
