#include "grid/GridAccessible.h"

#include "grid/CustomGridViewControl.h"

namespace {

// One cell of the table, or a column caption when the row is -1. It holds
// only its place; everything it reports is read from the grid when asked.
class TGridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TGridCellAccessible(TGridAccessible* table, int row, int tableColumn)
      : table_(table), row_(row), tableColumn_(tableColumn) {}

  bool isValid() const override {
    const TCustomGridViewControl* grid = table_->Grid();
    return grid && tableColumn_ < table_->columnCount() && row_ >= -1 && row_ < table_->rowCount();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return table_->window(); }
  QAccessibleInterface* parent() const override { return table_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
  void setText(QAccessible::Text, const QString&) override {}

  QString text(QAccessible::Text t) const override {
    if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
    TCustomGridViewControl* grid = table_->Grid();
    const int col = table_->ColumnOfTableColumn(tableColumn_);
    if (row_ < 0) return grid->Columns()->Items(col)->Header()->Caption();
    QString value;
    grid->GetCellText(col, row_, value);
    return value;
  }

  QRect rect() const override {
    if (!isValid()) return {};
    TCustomGridViewControl* grid = table_->Grid();
    const int col = table_->ColumnOfTableColumn(tableColumn_);
    const TRect r = row_ < 0 ? grid->Columns()->Items(col)->PartRect(gaHeader) : grid->GetCellRect(col, row_);
    const TPoint origin = grid->ClientToScreen(TPoint(r.Left, r.Top));
    return QRect(origin.X, origin.Y, r.Right - r.Left, r.Bottom - r.Top);
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid() || row_ < 0) return s;
    TCustomGridViewControl* grid = table_->Grid();
    const int col = table_->ColumnOfTableColumn(tableColumn_);
    s.selectable = true;
    s.focusable = true;
    s.selected = grid->IsCellSelected(col, row_);
    s.focused = grid->GridFocused() && col == grid->Col() && row_ == grid->Row();
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
  }

  bool isSelected() const override { return state().selected; }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    if (row_ < 0) return {};
    return {table_->child(tableColumn_)};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return tableColumn_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return table_; }

 private:
  TGridAccessible* table_;
  int row_;
  int tableColumn_;
};

QAccessibleInterface* GridFactory(const QString&, QObject* object) {
  auto* grid = qobject_cast<TCustomGridViewControl*>(object);
  return grid ? new TGridAccessible(grid) : nullptr;
}

void NotifyTable(TCustomGridViewControl* grid, QAccessibleTableModelChangeEvent::ModelChangeType kind, int first,
                 int last) {
  if (!grid) return;
  QAccessibleTableModelChangeEvent event(grid, kind);
  event.setFirstRow(first);
  event.setLastRow(last);
  // The platform passes the notice on, and to the table, only while
  // assistive technology listens; the table's cells go stale either way.
  if (QAccessible::isActive()) return QAccessible::updateAccessibility(&event);
  if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid))
    if (QAccessibleTableInterface* table = iface->tableInterface()) table->modelChange(&event);
}

}  // namespace

void InstallGridAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(GridFactory);
    return true;
  }();
  (void)installed;
}

void NotifyGridRowsInserted(TCustomGridViewControl* Grid, int First, int Last) {
  NotifyTable(Grid, QAccessibleTableModelChangeEvent::RowsInserted, First, Last);
}

void NotifyGridRowsRemoved(TCustomGridViewControl* Grid, int First, int Last) {
  NotifyTable(Grid, QAccessibleTableModelChangeEvent::RowsRemoved, First, Last);
}

void NotifyGridCellsChanged(TCustomGridViewControl* Grid, int FirstRow, int LastRow) {
  NotifyTable(Grid, QAccessibleTableModelChangeEvent::DataChanged, FirstRow, LastRow);
}

void NotifyGridReset(TCustomGridViewControl* Grid) {
  NotifyTable(Grid, QAccessibleTableModelChangeEvent::ModelReset, -1, -1);
}

TGridAccessible::TGridAccessible(TCustomGridViewControl* Grid) : QAccessibleWidget(Grid, QAccessible::Table) {}

TGridAccessible::~TGridAccessible() { ForgetCells(); }

TCustomGridViewControl* TGridAccessible::Grid() const { return static_cast<TCustomGridViewControl*>(widget()); }

void TGridAccessible::ForgetCells() {
  for (const auto& [place, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  cells_.clear();
}

int TGridAccessible::columnCount() const { return Grid() ? Grid()->Columns()->VisibleCount() : 0; }

int TGridAccessible::rowCount() const { return Grid() ? Grid()->RowCount() : 0; }

int TGridAccessible::ColumnOfTableColumn(int TableColumn) const {
  const TColumns* columns = Grid()->Columns();
  for (int p = 0; p < columns->Count(); ++p) {
    const TCustomColumn* c = columns->DisplayItems(p);
    if (c->Visible() && c->VisibleIndex() == TableColumn) return c->Index();
  }
  return -1;
}

int TGridAccessible::TableColumnOf(int ColumnIndex) const {
  const TColumns* columns = Grid()->Columns();
  if (ColumnIndex < 0 || ColumnIndex >= columns->Count()) return -1;
  return columns->Items(ColumnIndex)->VisibleIndex();
}

QAccessibleInterface* TGridAccessible::CellInterface(int row, int tableColumn) const {
  if (tableColumn < 0 || tableColumn >= columnCount() || row < -1 || row >= rowCount()) return nullptr;
  const auto key = std::make_pair(row, tableColumn);
  if (const auto it = cells_.find(key); it != cells_.end()) return QAccessible::accessibleInterface(it->second);
  auto* cell = new TGridCellAccessible(const_cast<TGridAccessible*>(this), row, tableColumn);
  cells_[key] = QAccessible::registerAccessibleInterface(cell);
  return cell;
}

// Children: the column captions, then the cells row by row.
int TGridAccessible::childCount() const { return columnCount() * (rowCount() + 1); }

QAccessibleInterface* TGridAccessible::child(int index) const {
  const int columns = columnCount();
  if (index < 0 || columns == 0) return nullptr;
  return CellInterface(index / columns - 1, index % columns);
}

int TGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
  auto* cell = child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
  if (!cell || cell->table() != this) return -1;
  return (cell->rowIndex() + 1) * columnCount() + cell->columnIndex();
}

QAccessibleInterface* TGridAccessible::childAt(int x, int y) const {
  TCustomGridViewControl* grid = Grid();
  if (!grid) return nullptr;
  const TPoint p = grid->ScreenToClient(TPoint(x, y));
  const TGridArea area = grid->HitTest(p);
  const TPoint cell = grid->CellAtPoint(p);
  const int tableColumn = TableColumnOf(cell.X);
  if (area == gaHeader) return CellInterface(-1, tableColumn);
  if (area == gaData) return CellInterface(cell.Y, tableColumn);
  return nullptr;
}

void* TGridAccessible::interface_cast(QAccessible::InterfaceType t) {
  if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* TGridAccessible::cellAt(int row, int column) const {
  return row < 0 ? nullptr : CellInterface(row, column);
}

QString TGridAccessible::columnDescription(int column) const {
  const int index = Grid() ? ColumnOfTableColumn(column) : -1;
  return index < 0 ? QString() : Grid()->Columns()->Items(index)->Header()->Caption();
}

QList<int> TGridAccessible::selectedRows() const {
  QList<int> rows;
  const TCustomGridViewControl* grid = Grid();
  if (!grid) return rows;
  for (int r = 0; r < grid->RowFlagCount(); ++r)
    if (grid->RowSelected(r)) rows << r;
  return rows;
}

bool TGridAccessible::isRowSelected(int row) const { return Grid() && Grid()->RowSelected(row); }

QList<QAccessibleInterface*> TGridAccessible::selectedCells() const {
  QList<QAccessibleInterface*> cells;
  TCustomGridViewControl* grid = Grid();
  if (!grid) return cells;
  for (int row : selectedRows())
    for (int c = 0; c < columnCount(); ++c)
      if (grid->IsCellSelected(ColumnOfTableColumn(c), row)) cells << CellInterface(row, c);
  const int current = TableColumnOf(grid->Col());
  if (!grid->RowSelected(grid->Row()) && grid->IsCellSelected(grid->Col(), grid->Row()))
    if (QAccessibleInterface* cell = CellInterface(grid->Row(), current)) cells << cell;
  return cells;
}

// Cells keep their place, not their row: after rows move they are made anew.
void TGridAccessible::modelChange(QAccessibleTableModelChangeEvent*) { ForgetCells(); }
