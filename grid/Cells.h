#pragma once
// The cell store of a grid view: one value per column and row, kept per
// column in the compact form of the column's cell class (a text column is a
// vector of texts, a float column a vector of doubles). A cell is handed out
// as a small handle bound to its column and row; rows move by moving values.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <variant>
#include <vector>

#include "grid/Columns.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

class TCells;
class TCellClass;

// What the store asks of its grid.
class ICellGrid {
 public:
  virtual ~ICellGrid() = default;
  virtual TColor GetCellBackColor(int col, int row) const = 0;
  virtual TColor GetCellTextColor(int col, int row) const = 0;
};

// What few cells carry besides their value.
struct TCellExtra {
  QByteArray Hint;
  TObject* Object = nullptr;
};

using TCellValues = std::variant<std::vector<uint8_t>, std::vector<int32_t>, std::vector<double>, std::vector<QString>>;

// The cells of one column, row by row.
struct TCellList {
  const TCellClass* Class = nullptr;
  TCellValues Values;
  std::vector<TColor> Colors;
  // Empty until a cell of the column gets a hint or an object.
  std::vector<std::unique_ptr<TCellExtra>> Extras;
};

// One cell: reads and writes its value as any of five kinds; each cell class
// converts in its own way. Setters tell the store after storing.
class TCell {
 public:
  TCell(TCells* store, int col, int row) : store_(store), col_(col), row_(row) {}

  TCells* Store() const { return store_; }
  int Col() const { return col_; }
  int Row() const { return row_; }
  const TCellClass& CellClass() const;

  // The colours the grid paints the cell with.
  TColor GetColor() const;
  TColor GetTextColor() const;

  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  double AsFloat() const;
  int AsInteger() const;
  QString AsText() const;
  void SetAsBoolean(bool value);
  void SetAsDateTime(TDateTime value);
  void SetAsFloat(double value);
  void SetAsInteger(int value);
  void SetAsText(const QString& value);

  // The cell's own background colour, given by its column when created.
  TColor Color() const;
  void SetColor(TColor value);
  QByteArray Hint() const;
  void SetHint(const QByteArray& value);
  TObject* Object() const;
  void SetObject(TObject* value);

 private:
  TCellList& List() const;
  TCellExtra& Extra() const;
  const TCellExtra* FindExtra() const;
  void Changed() const;

  TCells* store_;
  int col_;
  int row_;
};

using TCellChangedEvent = std::function<void(TCells* Sender, int Col, int Row)>;

class TCells : public TObject {
 public:
  TCells(ICellGrid* grid, TColumns* columns);
  ~TCells() override;
  TCells(const TCells&) = delete;
  TCells& operator=(const TCells&) = delete;

  ICellGrid* Grid() const { return grid_; }
  TColumns* Columns() const { return columns_; }
  int ColCount() const { return int(lists_.size()); }
  int RowCount() const { return rowCount_; }

  // Raises the list-index error for a column or row outside the store.
  TCell Cell(int col, int row);

  void AddRows(int count);
  void InsertRow(int row);
  void DeleteRow(int row);
  // Deletes the given rows, strictly ascending, in one pass per column.
  void DeleteRows(const std::vector<int>& rows);
  void MoveRow(int from, int to);
  void ClearRows();

  // Follows the column collection: a column appended, all cleared.
  void ColumnListChanged(TObject* Sender, int Kind, int Index1, int Index2);

  // Same column and direction as last time: nothing; the other direction:
  // the rows reversed exactly; otherwise a full sort.
  void Sort(int col, TSortType sortType, bool descending);
  bool SortValid() const { return sortValid_; }
  int SortColumn() const { return sortColumn_; }
  bool SortDescending() const { return sortDescending_; }

  // Every column list holds RowCount cells in each of its vectors.
  bool IsConsistent() const;

  TCellChangedEvent OnCellChanged;

  // For TCell.
  TCellList& List(int col) { return lists_[size_t(col)]; }
  void CellChanged(int col, int row);

 private:
  TCellList NewList(const TCustomColumn* column) const;
  void AppendCells(TCellList& list, int count, TColor color);
  void InsertCells(TCellList& list, int row, TColor color);
  void CheckRow(int row, int limit) const;
  void FullSort(int col, TSortType sortType, bool descending);
  void Reorder(const std::vector<int>& order);
  void ReverseRows();
  TColor ColumnColor(int col) const;

  ICellGrid* grid_;
  TColumns* columns_;
  std::vector<TCellList> lists_;
  int rowCount_ = 0;
  bool sortValid_ = false;
  int sortColumn_ = -1;
  bool sortDescending_ = false;
  std::minstd_rand random_;
};
