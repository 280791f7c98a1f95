#pragma once
// A grid control over texts kept in memory, as the grid view will be over its
// cell store, with the hooks a test needs: focus on demand, counted cell
// paints and the current cell set directly.

#include <QStringList>
#include <map>
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

  using TCustomGridViewControl::col_;
  using TCustomGridViewControl::edit_;
  using TCustomGridViewControl::gridState_;
  using TCustomGridViewControl::HorzScrollRect;
  using TCustomGridViewControl::hotHeaderColumn_;
  using TCustomGridViewControl::pressedHeaderColumn_;
  using TCustomGridViewControl::row_;
  using TCustomGridViewControl::rowSelected_;
  using TCustomGridViewControl::VertScrollRect;
  using TCustomGridViewControl::VertScrollUnit;

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
