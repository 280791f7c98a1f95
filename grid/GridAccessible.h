#pragma once
// The grid as assistive technology sees it: a table whose columns are the
// visible columns in screen order, with a header row of captions and one
// cell per column and row, read through the grid's own cell operations.

#include <QAccessibleWidget>
#include <QPointer>
#include <map>

class TCustomGridViewControl;

// Makes every grid control answer as a table; calling it again changes nothing.
void InstallGridAccessibility();

// Tell assistive technology what the grid's row operations changed.
void NotifyGridRowsInserted(TCustomGridViewControl* Grid, int First, int Last);
void NotifyGridRowsRemoved(TCustomGridViewControl* Grid, int First, int Last);
void NotifyGridCellsChanged(TCustomGridViewControl* Grid, int FirstRow, int LastRow);
void NotifyGridReset(TCustomGridViewControl* Grid);

class TGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TGridAccessible(TCustomGridViewControl* Grid);
  ~TGridAccessible() override;

  TCustomGridViewControl* Grid() const;
  // The column index behind a table column (visible columns in screen order).
  int ColumnOfTableColumn(int TableColumn) const;
  int TableColumnOf(int ColumnIndex) const;

  // QAccessibleInterface
  QAccessible::Role role() const override { return QAccessible::Table; }
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  void* interface_cast(QAccessible::InterfaceType t) override;

  // QAccessibleTableInterface
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override { return int(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return int(selectedRows().size()); }
  int columnCount() const override;
  int rowCount() const override;
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override;
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override;
  // Selection follows the grid's own keys and mouse only.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

 private:
  // Row -1 is the header row.
  QAccessibleInterface* CellInterface(int row, int tableColumn) const;
  void ForgetCells();

  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};
