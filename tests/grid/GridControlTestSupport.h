#pragma once
// A grid control over texts kept in memory, as the grid view will be over its
// cell store, with the hooks a test needs: focus on demand, counted cell
// paints and the current cell set directly.

#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "DisplaysTestSupport.h"
#include "grid/ColumnClasses.h"
#include "grid/CustomGridViewControl.h"

class TTestGrid : public TCustomGridViewControl {
 public:
  bool focus = false;
  int paintCellCalls = 0;
  QStringList sorted;
  std::map<std::pair<int, int>, TColor> colors;

  using TCustomGridViewControl::HorzScrollRect;
  using TCustomGridViewControl::VertScrollRect;
  using TCustomGridViewControl::VertScrollUnit;

  // The state a test starts from; only the fields given change.
  struct TestState {
    std::optional<uint16_t> gridState = std::nullopt;
    std::optional<TPoint> current = std::nullopt;
    // EditingCell on this cell with no editor open; (-1, -1) ends it.
    std::optional<TPoint> editedCell = std::nullopt;
    std::optional<int> inputColumn = std::nullopt;
    std::optional<int> selectedRow = std::nullopt;
    std::optional<int> rowFlags = std::nullopt;
    std::optional<TCustomColumn*> hotHeader = std::nullopt;
    std::optional<TCustomColumn*> pressedHeader = std::nullopt;
  };
  // The one hook into the grid's state: set directly, without the events,
  // repaints and invariant checks of the public operations.
  void SetStateForTest(const TestState& s) {
    if (s.gridState) gridState_ = *s.gridState;
    if (s.current) {
      col_ = s.current->X;
      row_ = s.current->Y;
    }
    if (s.editedCell) {
      const bool open = s.editedCell->X >= 0;
      gridState_ = open ? gridState_ | EditingCell : gridState_ & uint16_t(~EditingCell);
      edit_.col = s.editedCell->X;
      edit_.row = s.editedCell->Y;
    }
    if (s.inputColumn) edit_.inputColumn = *s.inputColumn;
    if (s.selectedRow) rowSelected_[size_t(*s.selectedRow)] = true;
    if (s.rowFlags) rowSelected_.resize(size_t(*s.rowFlags));
    if (s.hotHeader) hotHeaderColumn_ = *s.hotHeader;
    if (s.pressedHeader) pressedHeaderColumn_ = *s.pressedHeader;
  }

  // A borderless grid of the given client size (no scroll bar is shown
  // while everything fits).
  explicit TTestGrid(int width = 300, int height = 200) {
    SetBorderStyle(bsNone);
    SetColor(clWindow);
    SetBounds(0, 0, width, height);
    HandleNeeded();
    // As the finished grid does on its first size message.
    UpdateVertScrollBar();
    UpdateHorzScrollBar();
  }

  TTextualColumn* AddColumn(const QString& caption, int width) {
    auto* column = new TTextualColumn;
    column->SetWidth(width);
    column->Header()->SetCaption(caption);
    Columns()->Add(column);
    return column;
  }

  void SetRows(int count) {
    rows_ = count;
    rowSelected_.assign(size_t(count), false);
    UpdateVertScrollBar();
    Invalidate();
  }
  void SetText(int c, int r, const QString& text) { texts_[{c, r}] = text; }

  // Paints everything and returns the client pixel at (x, y).
  TColor At(int x, int y) const { return FromQColor(QColor::fromRgb(Image().pixel(x, y))); }
  void PaintAll() {
    paintCellCalls = 0;
    Repaint();
  }
  // Paints only what is invalid now, counting the cells painted.
  int PaintInvalid() {
    paintCellCalls = 0;
    Update();
    return paintCellCalls;
  }
  int CountOf(const TRect& r, TColor color) const {
    const QRgb wanted = ToQColor(color).rgb();
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += Image().pixel(x, y) == wanted;
    return n;
  }

  void GetCellText(int ACol, int ARow, QString& Value) override {
    if (ACol < 0 || ACol >= Columns()->Count() || ARow < 0 || ARow >= rows_) return;
    const auto it = texts_.find({ACol, ARow});
    Value = it == texts_.end() ? QString() : it->second;
  }
  TColor GetCellColor(int ACol, int ARow) override {
    const auto it = colors.find({ACol, ARow});
    return it == colors.end() ? clWindow : it->second;
  }
  int RowCount() const override { return rows_; }
  void SortColumn(int ACol, bool Ascending) override {
    sorted << QStringLiteral("%1:%2").arg(ACol).arg(Ascending ? "asc" : "desc");
  }
  void SelectCell(int ACol, int ARow, TShiftState) override {
    InvalidateCell(col_, row_);
    col_ = ACol;
    row_ = ARow;
    InvalidateCell(col_, row_);
  }
  void PaintCell(int ACol, int ARow) override {
    ++paintCellCalls;
    TCustomGridViewControl::PaintCell(ACol, ARow);
  }
  bool PrepareCellFont(int ACol, int ARow) override {
    TCustomGridViewControl::PrepareCellFont(ACol, ARow);
    GetCellText(ACol, ARow, Columns()->Items(ACol)->Display()->TextValue);
    return true;
  }

 protected:
  bool EditorHasFocus() const override { return focus; }

 private:
  int rows_ = 0;
  std::map<std::pair<int, int>, QString> texts_;
};
