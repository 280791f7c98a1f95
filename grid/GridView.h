#pragma once
// The grid view: a grid over a cell store it owns, with the row and cell
// operations, sorting, footers and the update lock.

#include <memory>

#include "grid/Cells.h"
#include "grid/CustomGridView.h"

class TGridView : public TCustomGridView {
  Q_OBJECT
 public:
  explicit TGridView(QWidget* AOwner = nullptr);
  ~TGridView() override;

  TCells* GetCells() const { return cells_.get(); }
  TCells* Cells() const { return cells_.get(); }
  THintWindow* CellHint() const { return cellHint_; }

  // Both indices must be valid; others raise the list-index error.
  TCell Cell(int ACol, int ARow) { return cells_->Cell(ACol, ARow); }
  QString CellText(int ACol, int ARow);

  int RowCount() const override { return cells_->RowCount(); }
  void GetCellText(int ACol, int ARow, QString& Value) override;
  void SetCellText(int ACol, int ARow, const QString& Value) override;
  TColor GetCellColor(int ACol, int ARow) override;
  void AddRows(int Count) override;
  void AppendRows(int Count);
  void ClearRows() override;
  void DeleteRow(int ARow) override;
  // Deletes every selected row in one pass; the current row, the edited
  // row and the footers follow. Returns how many rows went.
  int DeleteSelectedRows();
  void InsertRow(int ARow) override;
  void MoveRow(int FromRow, int ToRow) override;
  void SortColumn(int ACol, bool Ascending) override;
  void CalculateFooters() override;
  bool PrepareCellFont(int ACol, int ARow) override;

  void BeginUpdate() { gridState_ |= UpdateLocked; }
  void EndUpdate() { gridState_ &= uint16_t(~UpdateLocked); }
  bool UpdateLockedNow() const { return GridState() & UpdateLocked; }

 protected:
  void ColumnListChanged(int Kind, int Index1, int Index2) override;
  void ColumnsReplaced() override;
  void PrepareColumnPlay(TColumnPlay* Play) override;
  void StorePlayValue(TColumnPlay* Play) override;
  int FindRowStartingWith(int ACol, const QString& Text) override;
  void ShowCellHint(int ACol, int ARow) override;
  void HideCellHint() override;
  void CellChanged(int ACol, int ARow);

 private:
  // The store reads the colours the grid paints a cell with.
  class TCellColors : public ICellGrid {
   public:
    explicit TCellColors(TGridView* grid) : grid_(grid) {}
    TColor GetCellBackColor(int col, int row) const override { return grid_->GetCellBackColor(col, row); }
    TColor GetCellTextColor(int col, int row) const override { return grid_->GetCellTextColor(col, row); }

   private:
    TGridView* grid_;
  };

  void MakeCells();
  bool CellInBounds(int ACol, int ARow) const;
  // Rows changed under the grid: everything is repainted and the
  // assistive technology told.
  void RowsChanged();
  bool IsBooleanPlay(const TColumnPlay* Play) const;

  TCellColors colors_{this};
  std::unique_ptr<TCells> cells_;
  THintWindow* cellHint_ = nullptr;
};
