#include "grid/GridView.h"

#include <algorithm>

#include "grid/ColumnClasses.h"
#include "grid/GridAccessible.h"
#include "platform/CodePage.h"
#include "platform/SysUtils.h"

TGridView::TGridView(QWidget* AOwner) : TCustomGridView(AOwner) {
  RegisterClass<TGraphicColumn>();
  RegisterClass<TCheckBoxColumn>();
  RegisterClass<TDateColumn>();
  RegisterClass<THtmlColumn>();
  RegisterClass<TImageColumn>();
  RegisterClass<TComboBoxColumn>();
  RegisterClass<TNumericColumn>();
  RegisterClass<TProgressColumn>();
  RegisterClass<TRateColumn>();
  RegisterClass<TTextualColumn>();
  cellHint_ = new THintWindow(this);
  MakeCells();
}

TGridView::~TGridView() {
  ShutEditor();
  cells_.reset();
}

void TGridView::MakeCells() {
  cells_ = std::make_unique<TCells>(&colors_, Columns());
  cells_->OnCellChanged = [this](TCells*, int col, int row) { CellChanged(col, row); };
  rowSelected_.clear();
}

void TGridView::ColumnsReplaced() {
  MakeCells();
  Invalidate();
}

bool TGridView::CellInBounds(int ACol, int ARow) const {
  return RowInBounds(ARow) && ACol >= 0 && ACol < Columns()->Count() && ACol < cells_->ColCount();
}

// ---- cells ----------------------------------------------------------------------

void TGridView::GetCellText(int ACol, int ARow, QString& Value) {
  if (CellInBounds(ACol, ARow)) Value = cells_->Cell(ACol, ARow).AsText();
}

QString TGridView::CellText(int ACol, int ARow) {
  QString value;
  GetCellText(ACol, ARow, value);
  return value;
}

void TGridView::SetCellText(int ACol, int ARow, const QString& Value) {
  if (!CellInBounds(ACol, ARow)) return;
  TCell cell = cells_->Cell(ACol, ARow);
  if (cell.AsText() != Value) cell.SetAsText(Value);
}

TColor TGridView::GetCellColor(int ACol, int ARow) { return cells_->Cell(ACol, ARow).Color(); }

void TGridView::CellChanged(int ACol, int ARow) {
  if (UpdateLockedNow()) return;
  InvalidateCell(ACol, ARow);
  NotifyGridCellsChanged(this, ARow, ARow);
  if (OnChange) OnChange(this, ACol, ARow);
}

// ---- rows -----------------------------------------------------------------------

void TGridView::RowsChanged() {
  Invalidate();
  NotifyGridReset(this);
}

void TGridView::AddRows(int Count) {
  const TCheckOnExit check{this};
  if (Count <= 0) return;
  const int first = RowCount();
  cells_->AddRows(Count);
  rowSelected_.resize(size_t(RowCount()), false);
  if (!UpdateLockedNow())
    for (int r = first; r < RowCount(); ++r) InvalidateRow(r);
  if (Options().testFlag(goUseDefaultValues))
    for (int c = 0; c < Columns()->Count(); ++c) {
      const QString value = Columns()->Items(c)->DefaultValue();
      if (value.isEmpty()) continue;
      for (int r = first; r < RowCount(); ++r) SetCellText(c, r, value);
    }
  if (Options().testFlag(goGrid) && first > 0) InvalidateRow(first - 1);
  NotifyGridRowsInserted(this, first, RowCount() - 1);
  const bool barWasVisible = VertScrollBar()->Visible();
  UpdateVertScrollBar();
  if (HandleAllocated() && VertScrollBar()->Visible() != barWasVisible) AutoSizeColumns();
}

void TGridView::AppendRows(int Count) {
  const TCheckOnExit check{this};
  if (Count <= 0) return;
  const int first = RowCount();
  cells_->AddRows(Count);
  rowSelected_.resize(size_t(RowCount()), false);
  NotifyGridRowsInserted(this, first, RowCount() - 1);
  Invalidate();
  PositionEditor();
}

void TGridView::ClearRows() {
  const TCheckOnExit check{this};
  const int col = Col(), row = Row();
  CloseEditor();
  rowSelected_.clear();
  cells_->ClearRows();
  col_ = col;
  row_ = row;
  gridState_ &= uint16_t(~RangeSelecting);
  RowsChanged();
  UpdateVertScrollBar();
}

// An open editor stays on its record when a row above it goes.
void TGridView::DeleteRow(int ARow) {
  const TCheckOnExit check{this};
  if (!RowInBounds(ARow)) return;
  if ((GridState() & EditingCell) && ARow == EditRow()) CloseEditor();
  cells_->DeleteRow(ARow);
  rowSelected_.erase(rowSelected_.begin() + ARow);
  if ((GridState() & EditingCell) && ARow < edit_.row) --edit_.row;
  if (anchorRow_ >= RowCount()) anchorRow_ = RowCount() - 1;
  Invalidate();
  NotifyGridRowsRemoved(this, ARow, ARow);
  UpdateVertScrollBar();
  if (ARow == Row())
    CloseEditor();
  else
    PositionEditor();
}

int TGridView::DeleteSelectedRows() {
  const TCheckOnExit check{this};
  std::vector<int> rows;
  for (int r = 0; r < RowCount(); ++r)
    if (rowSelected_[size_t(r)]) rows.push_back(r);
  if (rows.empty()) return 0;
  // A row keeps its record: it moves up by the deleted rows above it.
  const auto above = [&rows](int r) { return int(std::lower_bound(rows.begin(), rows.end(), r) - rows.begin()); };
  const bool editing = GridState() & EditingCell;
  if (editing && std::binary_search(rows.begin(), rows.end(), edit_.row)) CloseEditor();
  cells_->DeleteRows(rows);
  rowSelected_.assign(size_t(RowCount()), false);
  const int last = std::max(0, RowCount() - 1);
  if (GridState() & EditingCell) edit_.row -= above(edit_.row);
  row_ = std::clamp(row_ - above(row_), 0, last);
  if (anchorRow_ >= 0) anchorRow_ = std::clamp(anchorRow_ - above(anchorRow_), 0, last);
  // What is left selected is the current row, as after a plain click.
  gridState_ &= uint16_t(~RangeSelecting);
  if (RowCount() > 0) rowSelected_[size_t(row_)] = true;
  for (int c = 0; c < Columns()->Count(); ++c)
    if (Columns()->Items(c)->FormulaKind() != fkNone) {
      CalculateFooters();
      break;
    }
  RowsChanged();
  UpdateVertScrollBar();
  PositionEditor();
  return int(rows.size());
}

void TGridView::InsertRow(int ARow) {
  const TCheckOnExit check{this};
  if (!RowInBounds(ARow)) return;
  cells_->InsertRow(ARow);
  rowSelected_.insert(rowSelected_.begin() + ARow, false);
  if ((GridState() & EditingCell) && ARow <= edit_.row) ++edit_.row;
  NotifyGridRowsInserted(this, ARow, ARow);
  SelectCell(Col(), Row() + 1, {});
  Invalidate();
  UpdateVertScrollBar();
  PositionEditor();
}

void TGridView::MoveRow(int FromRow, int ToRow) {
  const TCheckOnExit check{this};
  if (!RowInBounds(FromRow) || !RowInBounds(ToRow)) return;
  cells_->MoveRow(FromRow, ToRow);
  const bool selected = rowSelected_[size_t(FromRow)];
  rowSelected_.erase(rowSelected_.begin() + FromRow);
  rowSelected_.insert(rowSelected_.begin() + ToRow, selected);
  NotifyGridCellsChanged(this, std::min(FromRow, ToRow), std::max(FromRow, ToRow));
  Invalidate();
  CloseEditor();
}

void TGridView::SortColumn(int ACol, bool Ascending) {
  const TCheckOnExit check{this};
  if (ACol >= 0 && ACol < Columns()->Count() && ACol < cells_->ColCount()) {
    TCustomColumn* column = Columns()->Items(ACol);
    if (column->Options().testFlag(coCanSort)) {
      cells_->Sort(ACol, column->SortType(), !Ascending);
      if (RowCount() > 0) {
        InvalidateArea(gaData);
        NotifyGridCellsChanged(this, 0, RowCount() - 1);
      }
    }
  }
  CloseEditor();
}

// The column's own FormulaKind chooses the formula; the footer's is only stored.
// Maximum and minimum are the largest and smallest values; with no rows the
// sum, maximum and minimum are 0 and the average is left empty.
void TGridView::CalculateFooters() {
  for (int c = 0; c < Columns()->Count() && c < cells_->ColCount(); ++c) {
    TCustomColumn* column = Columns()->Items(c);
    const TFormulaKind kind = column->FormulaKind();
    if (kind == fkNone) continue;
    const int rows = RowCount();
    if (rows == 0) {
      column->Footer()->SetCaption(kind == fkAverage ? QString() : FloatToStr(0));
      continue;
    }
    double sum = 0, largest = cells_->Cell(c, 0).AsFloat(), smallest = largest;
    for (int r = 0; r < rows; ++r) {
      const double v = cells_->Cell(c, r).AsFloat();
      sum += v;
      largest = std::max(largest, v);
      smallest = std::min(smallest, v);
    }
    double result = sum;
    if (kind == fkAverage) result = sum / rows;
    if (kind == fkMaximum) result = largest;
    if (kind == fkMinimum) result = smallest;
    column->Footer()->SetCaption(FloatToStr(result));
  }
}

// ---- painting -------------------------------------------------------------------

bool TGridView::PrepareCellFont(int ACol, int ARow) {
  const bool base = TCustomGridView::PrepareCellFont(ACol, ARow);
  TCustomColumn* column = Columns()->Items(ACol);
  TColumnDisplay* display = column->Display();
  if (!display || !CellInBounds(ACol, ARow)) return base;
  const TCell cell = cells_->Cell(ACol, ARow);
  switch (column->ValueKind()) {
    case vkRowNumber:
      display->IntegerValue = ARow;
      break;
    case vkGraphic:
      display->Graphic = cell.Object();
      break;
    case vkBoolean:
      display->BooleanValue = cell.AsBoolean();
      break;
    case vkDateTime:
      display->DateTimeValue = cell.AsDateTime();
      break;
    case vkFloat:
      display->FloatValue = cell.AsFloat();
      break;
    case vkInteger:
      display->IntegerValue = cell.AsInteger();
      break;
    case vkText:
      display->TextValue = cell.AsText();
      break;
    default:
      return base;
  }
  if (!cell.Hint().isEmpty()) display->DrawHintMark();
  return true;
}

// ---- columns --------------------------------------------------------------------

void TGridView::ColumnListChanged(int Kind, int Index1, int Index2) {
  if (Kind == lkCleared) CloseEditor();
  cells_->ColumnListChanged(Columns(), Kind, Index1, Index2);
  if (rowSelected_.size() != size_t(RowCount())) rowSelected_.assign(size_t(RowCount()), false);
}

// A text column is searched in place, without a copy of every text.
int TGridView::FindRowStartingWith(int ACol, const QString& Text) {
  if (ACol < 0 || ACol >= cells_->ColCount()) return -1;
  const auto* texts = std::get_if<std::vector<QString>>(&cells_->List(ACol).Values);
  if (!texts) return TCustomGridView::FindRowStartingWith(ACol, Text);
  return FirstRowStartingWith(Text, [texts](int r) -> const QString& { return (*texts)[size_t(r)]; });
}

// ---- plays and hints ------------------------------------------------------------

bool TGridView::IsBooleanPlay(const TColumnPlay* Play) const {
  return Play && Play->Column()->ValueKind() == vkBoolean && CellInBounds(Play->Col, Play->Row);
}

void TGridView::PrepareColumnPlay(TColumnPlay* Play) {
  if (!IsBooleanPlay(Play)) return;
  Play->BooleanValue = cells_->Cell(Play->Col, Play->Row).AsBoolean();
  Play->CellRect = GetCellRect(Play->Col, Play->Row);
}

void TGridView::StorePlayValue(TColumnPlay* Play) {
  if (IsBooleanPlay(Play)) cells_->Cell(Play->Col, Play->Row).SetAsBoolean(Play->BooleanValue);
}

void TGridView::ShowCellHint(int ACol, int ARow) {
  if (!CellInBounds(ACol, ARow)) return HideCellHint();
  const QByteArray hint = cells_->Cell(ACol, ARow).Hint();
  if (hint.isEmpty()) return HideCellHint();
  if (TextFitHint()->Showing()) return;
  const QString text = FromAnsi(hint);
  const TRect cell = GetCellRect(ACol, ARow);
  cellHint_->ActivateHintAt(ClientToScreen(TPoint(cell.Left + Columns()->Items(ACol)->Width(), cell.Top - 20)), 250,
                            text);
}

void TGridView::HideCellHint() {
  if (cellHint_->Showing()) cellHint_->ReleaseHandle();
}
