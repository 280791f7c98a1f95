// The grid control at a glance: the report layout with every area switched
// on, once per grid-line style, and the slides layout, each in the classic
// and the themed look side by side.

#include <QPainter>
#include <functional>
#include <map>
#include <memory>

#include "Snapshot.h"
#include "grid/ColumnClasses.h"
#include "grid/CustomGridViewControl.h"
#include "platform/Themes.h"

namespace {

const char* const kCaptions[] = {"Hat no.", "Arayan numara", "Saat", "Cihaz seri no.", "Çağrı sıra no"};
const int kWidths[] = {50, 110, 60, 90, 80};

QString CallText(int col, int row) {
  switch (col) {
    case 0:
      return QString::number(row % 4 + 1);
    case 1:
      return QStringLiteral("0532 555 %1").arg(1200 + row * 37);
    case 2:
      return QStringLiteral("10:%1:05").arg(10 + row * 3);
    case 3:
      return QStringLiteral("CX%1").arg(40125 + row);
    default:
      return QString::number(row + 1);
  }
}

// A grid over the call-list texts that always has the focus, so selection
// and the focus mark show.
class TSnapshotGrid : public TCustomGridViewControl {
 public:
  TSnapshotGrid(int rows, int width, int height) : rows_(rows) {
    rowSelected_.assign(size_t(rows), false);
    SetColor(clWindow);
    for (int c = 0; c < 5; ++c) {
      auto* column = new TTextualColumn;
      column->SetWidth(kWidths[c]);
      column->SetColor(clWindow);
      column->Header()->SetCaption(QString::fromUtf8(kCaptions[c]));
      column->SetInputText(c == 1 ? QStringLiteral("0532") : QString());
      Columns()->Add(column);
    }
    SetBounds(0, 0, width, height);
    HandleNeeded();
    UpdateVertScrollBar();
    UpdateHorzScrollBar();
  }
  void SetCurrent(int col, int row) {
    col_ = col;
    row_ = row;
  }
  void SelectRow(int row) { rowSelected_[size_t(row)] = true; }

  int RowCount() const override { return rows_; }
  void GetCellText(int ACol, int ARow, QString& Value) override { Value = CallText(ACol, ARow); }
  TColor GetCellColor(int, int) override { return clWindow; }
  // The texts come out in order already; only the column's mark shows.
  void SortColumn(int, bool) override {}
  bool PrepareCellFont(int ACol, int ARow) override {
    TCustomGridViewControl::PrepareCellFont(ACol, ARow);
    GetCellText(ACol, ARow, Columns()->Items(ACol)->Display()->TextValue);
    return true;
  }

 protected:
  bool EditorHasFocus() const override { return true; }

 private:
  int rows_;
};

QImage Shot(TSnapshotGrid& grid) {
  grid.Repaint();
  return grid.grab().toImage();
}

// Panels side by side, each under its title.
QImage Sheet(const std::vector<std::pair<QString, QImage>>& panels, int columns) {
  constexpr int kGap = 10, kTitle = 18;
  const QSize cell = panels.front().second.size();
  const int rows = int(panels.size() + size_t(columns) - 1) / columns;
  QImage sheet(kGap + columns * (cell.width() + kGap), kGap + rows * (kTitle + cell.height() + kGap),
               QImage::Format_RGB32);
  sheet.fill(QColor(236, 233, 216));
  QPainter p(&sheet);
  for (size_t i = 0; i < panels.size(); ++i) {
    const int x = kGap + int(i % size_t(columns)) * (cell.width() + kGap);
    const int y = kGap + int(i / size_t(columns)) * (kTitle + cell.height() + kGap);
    p.drawText(QRect(x, y, cell.width(), kTitle), Qt::AlignLeft | Qt::AlignVCenter, panels[i].first);
    p.drawImage(x, y + kTitle, panels[i].second);
  }
  return sheet;
}

QImage ReportSheet() {
  const std::pair<TGridLinesStyle, const char*> styles[] = {
      {lsNormal, "lsNormal"}, {lsFramed, "lsFramed"}, {lsHorizontalOnly, "lsHorizontalOnly"}};
  std::vector<std::pair<QString, QImage>> panels;
  for (const auto& [style, name] : styles)
    for (bool themed : {false, true}) {
      SetThemesActive(themed);
      TSnapshotGrid grid(6, 420, 190);
      grid.SetOptions(grid.Options() | goGrid | goInput | goFooter | goIndicator | goIndicateSortedColumn |
                      (style == lsFramed ? goSelectFullRow : TGridOptions()));
      grid.SetGridLinesStyle(style);
      grid.Columns()->Items(2)->SetSorted(true);
      grid.Columns()->Items(3)->Footer()->SetCaption(QStringLiteral("6 çağrı"));
      grid.SetCurrent(1, 2);
      if (style == lsFramed) grid.SelectRow(2);
      panels.emplace_back(QStringLiteral("%1, %2").arg(QString::fromLatin1(name), themed ? "themed" : "classic"),
                          Shot(grid));
    }
  SetThemesActive(true);
  return Sheet(panels, 2);
}

QImage SlidesSheet() {
  std::vector<std::pair<QString, QImage>> panels;
  for (bool themed : {false, true}) {
    SetThemesActive(themed);
    TSnapshotGrid grid(4, 300, 250);
    grid.SetGridStyle(gsSlides);
    grid.SetSlideSize(56);
    grid.SetOptions(grid.Options() | goGrid);
    const TRect bounds[] = {{8, 6, 40, 22}, {48, 6, 160, 22}, {160, 6, 230, 22}, {48, 30, 160, 48}, {160, 30, 230, 48}};
    for (int c = 0; c < 5; ++c) {
      TSlideBounds* b = grid.Columns()->Items(c)->SlideBounds();
      b->SetLeft(bounds[c].Left);
      b->SetTop(bounds[c].Top);
      b->SetWidth(bounds[c].Right - bounds[c].Left);
      b->SetHeight(bounds[c].Bottom - bounds[c].Top);
    }
    grid.SetCurrent(1, 1);
    grid.UpdateVertScrollBar();
    panels.emplace_back(themed ? QStringLiteral("gsSlides, themed") : QStringLiteral("gsSlides, classic"), Shot(grid));
  }
  SetThemesActive(true);
  return Sheet(panels, 2);
}

SNAPSHOT_SCREEN(QStringLiteral("grid-report.png"), ReportSheet);
SNAPSHOT_SCREEN(QStringLiteral("grid-slides.png"), SlidesSheet);

}  // namespace
