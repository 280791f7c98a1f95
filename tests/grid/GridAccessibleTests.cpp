#include <gtest/gtest.h>

#include <QAccessible>

#include "GridControlTestSupport.h"
#include "TestSupport.h"
#include "grid/GridAccessible.h"

namespace {

// The call list's shape: created as Saat, Hat no., Arayan numara, shown with
// Hat no. first.
struct CallGrid : TTestGrid {
  CallGrid() {
    Add(QStringLiteral("Saat"), 60, 2);
    Add(QStringLiteral("Hat no."), 40, 0);
    Add(QStringLiteral("Arayan numara"), 100, 1);
    SetRows(2);
    SetText(0, 0, QStringLiteral("10:15"));
    SetText(1, 0, QStringLiteral("2"));
    SetText(2, 0, QStringLiteral("02125550101"));
    SetText(2, 1, QStringLiteral("05321112233"));
  }
  void Add(const QString& caption, int width, int position) {
    auto* column = new TTextualColumn;
    column->SetWidth(width);
    column->SetPosition(position);
    column->Header()->SetCaption(caption);
    Columns()->Add(column);
  }
};

QAccessibleTableInterface* TableOf(QObject* grid) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid);
  return iface ? iface->tableInterface() : nullptr;
}

TEST(GridAccessible, ReadsRowsHeadersAndCellsInScreenOrder) {
  CallGrid g;
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&g);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::Table);
  QAccessibleTableInterface* table = iface->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->columnCount(), 3);
  EXPECT_EQ(table->columnDescription(0), QStringLiteral("Hat no."));
  EXPECT_EQ(table->columnDescription(1), QStringLiteral("Arayan numara"));
  EXPECT_EQ(table->columnDescription(2), QStringLiteral("Saat"));
  EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("2"));
  EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("05321112233"));
  EXPECT_EQ(table->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("10:15"));
  EXPECT_EQ(table->cellAt(2, 0), nullptr);
  EXPECT_EQ(table->cellAt(0, 3), nullptr);
  // Children: the captions first, then the cells row by row.
  EXPECT_EQ(iface->childCount(), 9);
  EXPECT_EQ(iface->child(1)->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(iface->child(1)->text(QAccessible::Name), QStringLiteral("Arayan numara"));
  QAccessibleInterface* cell = iface->child(3 + 3 + 1);
  EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("05321112233"));
  EXPECT_EQ(iface->indexOfChild(cell), 7);
  EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 1);
  EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 1);
  EXPECT_EQ(cell->parent(), iface);
}

TEST(GridAccessible, CellPlaceOnScreenMatchesThePaintedCell) {
  CallGrid g;
  QAccessibleInterface* cell = TableOf(&g)->cellAt(1, 1);
  const TRect r = g.GetCellRect(2, 1);
  const TPoint origin = g.ClientToScreen(TPoint(r.Left, r.Top));
  EXPECT_EQ(cell->rect(), QRect(origin.X, origin.Y, r.Right - r.Left, r.Bottom - r.Top));
  const QPoint middle = cell->rect().center();
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&g)->childAt(middle.x(), middle.y()), cell);
}

TEST(GridAccessible, CurrentCellAndSelectedRows) {
  CallGrid g;
  g.focus = true;
  g.SetStateForTest({.current = TPoint(2, 1)});
  QAccessibleTableInterface* table = TableOf(&g);
  QAccessibleInterface* current = table->cellAt(1, 1);
  EXPECT_TRUE(current->state().focused);
  EXPECT_TRUE(current->state().selected);
  EXPECT_FALSE(table->cellAt(0, 1)->state().focused);
  EXPECT_EQ(table->selectedCellCount(), 1);
  g.SetOptions(g.Options() | goSelectFullRow);
  g.SetStateForTest({.selectedRow = 0});
  EXPECT_EQ(table->selectedRows(), QList<int>{0});
  EXPECT_TRUE(table->isRowSelected(0));
  EXPECT_FALSE(table->isRowSelected(1));
  EXPECT_EQ(table->selectedCellCount(), 3);
}

TEST(GridAccessible, HiddenColumnsLeaveTheTable) {
  CallGrid g;
  g.Columns()->Items(2)->SetVisible(false);  // Arayan numara
  QAccessibleTableInterface* table = TableOf(&g);
  EXPECT_EQ(table->columnCount(), 2);
  EXPECT_EQ(table->columnDescription(1), QStringLiteral("Saat"));
  EXPECT_EQ(table->cellAt(0, 1)->text(QAccessible::Name), QStringLiteral("10:15"));
}

// Cells answer for a place; after rows move the old answers are dropped, so
// a reader asking again reads the row now at that place.
TEST(GridAccessible, RowNoticesDropTheCellsOfMovedRows) {
  CallGrid g;
  const auto idOf = [&](int row, int col) { return QAccessible::uniqueId(TableOf(&g)->cellAt(row, col)); };
  const QAccessible::Id first = idOf(1, 1);
  EXPECT_EQ(idOf(1, 1), first);  // asked twice, one interface
  NotifyGridRowsRemoved(&g, 0, 0);
  const QAccessible::Id second = idOf(1, 1);
  EXPECT_EQ(QAccessible::accessibleInterface(first), nullptr);
  NotifyGridRowsInserted(&g, 0, 0);
  EXPECT_EQ(QAccessible::accessibleInterface(second), nullptr);
  NotifyGridCellsChanged(&g, 1, 1);
  NotifyGridReset(&g);
  g.SetText(2, 1, QStringLiteral("X"));
  EXPECT_EQ(TableOf(&g)->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("X"));
}

}  // namespace
