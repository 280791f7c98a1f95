// One page of the report grid over a million rows, painted through the real
// path (invalidation, event loop, paint event, window surface), against the
// same page of a QTableView over a QStandardItemModel and against the same
// texts drawn by a bare QPainter loop, and against the texts laid out once
// as static texts, the practical lower bound. Also a one-row scroll and the
// repaint of one invalidated cell. The grid view: incremental search against
// a plain loop, appending rows to a shown grid with the cells painted
// counted, the call list's rolling pattern through a shown grid, and at a
// million rows: deleting the selected rows against an erase-remove over a
// vector, sorting a numeric column against the store's own sort, and
// destroying the grid.

#include <benchmark/benchmark.h>

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStaticText>
#include <QTableView>

#include "WidgetBenchMain.h"
#include "grid/ColumnClasses.h"
#include "grid/CustomGridViewControl.h"
#include "grid/GridView.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kColumns = 5;
constexpr int kColumnWidth = 112;
constexpr int kWidth = 560;
constexpr int kHeight = 170;
constexpr int kMiddle = kRows / 2;

QString CellText(int row, int col) { return QStringLiteral("0532 %1 %2").arg(row, 7, 10, QLatin1Char('0')).arg(col); }

// Runs the event loop until the counted paint event has happened.
void WaitForPaint(const int& paints) {
  const int seen = paints;
  while (paints == seen) QCoreApplication::processEvents();
}

class TBenchGrid : public TCustomGridViewControl {
 public:
  int paints = 0;

  TBenchGrid() {
    // One selection flag per row, as every grid keeps.
    rowSelected_.assign(size_t(kRows), false);
    SetBorderStyle(bsNone);
    SetColor(clWindow);
    for (int c = 0; c < kColumns; ++c) {
      auto* column = new TTextualColumn;
      column->SetWidth(kColumnWidth);
      column->Header()->SetCaption(QStringLiteral("Sütun %1").arg(c + 1));
      Columns()->Add(column);
    }
    SetOptions(Options() | goGrid);
    SetBounds(0, 0, kWidth, kHeight);
    show();
    UpdateVertScrollBar();
    UpdateHorzScrollBar();
    VertScrollBar()->SetPosition(kMiddle);
    RepaintAll();
  }

  void RepaintAll() {
    Invalidate();
    WaitForPaint(paints);
  }

  int RowCount() const override { return kRows; }
  void GetCellText(int ACol, int ARow, QString& Value) override { Value = CellText(ARow, ACol); }
  TColor GetCellColor(int, int) override { return clWindow; }
  bool PrepareCellFont(int ACol, int ARow) override {
    TCustomGridViewControl::PrepareCellFont(ACol, ARow);
    GetCellText(ACol, ARow, Columns()->Items(ACol)->Display()->TextValue);
    return true;
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    TCustomGridViewControl::paintEvent(event);
    ++paints;
  }
};

// Counts the paints of the cell area and of the header, which the page
// repaint covers both of, as the grid's does.
class TCountedTable : public QTableView {
 public:
  int paints = 0;
  int headerPaints = 0;

  TCountedTable() { horizontalHeader()->viewport()->installEventFilter(this); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QTableView::paintEvent(event);
    ++paints;
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++headerPaints;
    return QTableView::eventFilter(watched, event);
  }
};

// The page's texts and lines with nothing around them.
class TRawPage : public QWidget {
 public:
  int paints = 0;
  QFont cellFont;

 protected:
  static constexpr int kHeader = 18, kPitch = 17;

  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setFont(cellFont);
    p.fillRect(rect(), Qt::white);
    for (int c = 0; c < kColumns; ++c)
      p.fillRect(QRect(c * kColumnWidth, 0, kColumnWidth - 1, kHeader - 1), QColor(212, 208, 200));
    p.setPen(QColor(212, 208, 200));
    for (int top = kHeader; top < height(); top += kPitch)
      for (int c = 0; c < kColumns; ++c) {
        const QRect cell(c * kColumnWidth, top, kColumnWidth - 1, kPitch - 1);
        p.drawLine(cell.right() + 1, top, cell.right() + 1, top + kPitch - 1);
        p.drawLine(cell.left(), top + kPitch - 1, cell.right(), top + kPitch - 1);
      }
    p.setPen(Qt::black);
    DrawTexts(p);
    ++paints;
  }
  // The header captions, then the cells' texts, left in their cells.
  virtual void DrawTexts(QPainter& p) {
    for (int c = 0; c < kColumns; ++c)
      p.drawText(QRect(c * kColumnWidth + 2, 0, kColumnWidth - 5, kHeader - 1), Qt::AlignVCenter | Qt::AlignLeft,
                 QStringLiteral("Sütun %1").arg(c + 1));
    for (int r = 0; kHeader + r * kPitch < height(); ++r)
      for (int c = 0; c < kColumns; ++c)
        p.drawText(QRect(c * kColumnWidth + 2, kHeader + r * kPitch, kColumnWidth - 5, kPitch - 1),
                   Qt::AlignVCenter | Qt::AlignLeft, CellText(kMiddle + r, c));
  }
};

// The same page with its texts laid out once as static texts: what painting
// the page costs when no text is laid out again, the practical lower bound.
class TCachedTextPage : public TRawPage {
 protected:
  void DrawTexts(QPainter& p) override {
    if (texts_.empty()) Prepare();
    for (const auto& [at, text] : texts_) p.drawStaticText(at, text);
  }

 private:
  void Prepare() {
    const int textHeight = QFontMetrics(cellFont).height();
    const auto add = [&](int x, int top, int h, const QString& s) {
      QStaticText text(s);
      text.prepare(QTransform(), cellFont);
      texts_.emplace_back(QPointF(x + 2, top + (h - textHeight) / 2), text);
    };
    for (int c = 0; c < kColumns; ++c) add(c * kColumnWidth, 0, kHeader - 1, QStringLiteral("Sütun %1").arg(c + 1));
    for (int r = 0; kHeader + r * kPitch < height(); ++r)
      for (int c = 0; c < kColumns; ++c)
        add(c * kColumnWidth, kHeader + r * kPitch, kPitch - 1, CellText(kMiddle + r, c));
  }
  std::vector<std::pair<QPointF, QStaticText>> texts_;
};

TBenchGrid& Grid() {
  static auto* grid = new TBenchGrid;
  return *grid;
}

void PaintPage(benchmark::State& state) {
  TBenchGrid& grid = Grid();
  for (auto _ : state) grid.RepaintAll();
}
BENCHMARK(PaintPage)->Unit(benchmark::kMicrosecond);

// Built once: the benchmark function runs several times.
TCountedTable& Table() {
  static TCountedTable* view = [] {
    auto* model = new QStandardItemModel(kRows, kColumns);
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c) model->setItem(r, c, new QStandardItem(CellText(r, c)));
    auto* v = new TCountedTable;
    v->setModel(model);
    v->setFont(Grid().Font()->ToQFont());
    v->verticalHeader()->hide();
    v->verticalHeader()->setDefaultSectionSize(17);
    v->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    v->resize(kWidth, kHeight);
    v->show();
    v->verticalScrollBar()->setValue(kMiddle);
    QCoreApplication::processEvents();
    return v;
  }();
  return *view;
}

void QTableViewPage(benchmark::State& state) {
  TCountedTable& view = Table();
  for (auto _ : state) {
    view.viewport()->update();
    view.horizontalHeader()->viewport()->update();
    const int header = view.headerPaints;
    WaitForPaint(view.paints);
    while (view.headerPaints == header) QCoreApplication::processEvents();
  }
}
BENCHMARK(QTableViewPage)->Unit(benchmark::kMicrosecond);

// Shows the page in the grid's font and repaints it whole every round.
void RepaintPage(benchmark::State& state, TRawPage& page) {
  page.cellFont = Grid().Font()->ToQFont();
  page.resize(kWidth, kHeight);
  page.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    page.update();
    WaitForPaint(page.paints);
  }
}

void RawPage(benchmark::State& state) {
  TRawPage page;
  RepaintPage(state, page);
}
BENCHMARK(RawPage)->Unit(benchmark::kMicrosecond);

void CachedTextPage(benchmark::State& state) {
  TCachedTextPage page;
  RepaintPage(state, page);
}
BENCHMARK(CachedTextPage)->Unit(benchmark::kMicrosecond);

void ScrollOneRowGrid(benchmark::State& state) {
  TBenchGrid& grid = Grid();
  int step = 1;
  for (auto _ : state) {
    grid.VertScrollBar()->SetPosition(grid.TopRow() + step);
    WaitForPaint(grid.paints);
    step = -step;
  }
}
BENCHMARK(ScrollOneRowGrid)->Unit(benchmark::kMicrosecond);

void InvalidateOneCell(benchmark::State& state) {
  TBenchGrid& grid = Grid();
  for (auto _ : state) {
    grid.InvalidateCell(2, grid.TopRow() + 3);
    WaitForPaint(grid.paints);
  }
}
BENCHMARK(InvalidateOneCell)->Unit(benchmark::kMicrosecond);

// ---- the grid view ----------------------------------------------------------------

class TBenchGridView : public TGridView {
 public:
  int paints = 0;
  int64_t paintedCells = 0;

  explicit TBenchGridView(int columns) {
    SetBorderStyle(bsNone);
    for (int c = 0; c < columns; ++c) {
      auto* column = new TTextualColumn;
      column->SetWidth(kColumnWidth);
      Columns()->Add(column);
    }
    SetBounds(0, 0, kWidth, kHeight);
    show();
    QCoreApplication::processEvents();
  }
  void PaintCell(int ACol, int ARow) override {
    ++paintedCells;
    TGridView::PaintCell(ACol, ARow);
  }
  void Search(const QString& text) { IncrementalSearch(Columns()->Items(0), text); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    TGridView::paintEvent(event);
    ++paints;
  }
};

QString SearchText(int row) { return QStringLiteral("Arayan %1").arg(row, 7, 10, QLatin1Char('0')); }

// The hit lies near the end, so nearly every row is compared.
constexpr int kSearchHit = kRows - 10;

void TypeSearch(benchmark::State& state) {
  static TBenchGridView* grid = [] {
    auto* g = new TBenchGridView(1);
    g->AddRows(kRows);
    g->BeginUpdate();
    for (int r = 0; r < kRows; ++r) g->SetCellText(0, r, SearchText(r));
    g->EndUpdate();
    return g;
  }();
  const QString wanted = SearchText(kSearchHit).toLower();
  for (auto _ : state) {
    grid->SelectCell(0, 0, {});
    grid->Search(wanted);
    if (grid->Row() != kSearchHit) state.SkipWithError("search missed");
  }
}
BENCHMARK(TypeSearch)->Unit(benchmark::kMillisecond);

// The same comparison (Latin letters folded) over a plain vector.
void TypeSearchBaseline(benchmark::State& state) {
  static const std::vector<QString> texts = [] {
    std::vector<QString> v;
    v.reserve(kRows);
    for (int r = 0; r < kRows; ++r) v.push_back(SearchText(r));
    return v;
  }();
  const QString wanted = SearchText(kSearchHit).toLower();
  const auto fold = [](QChar c) { return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c; };
  for (auto _ : state) {
    int found = -1;
    for (int r = 1; r < kRows && found < 0; ++r) {
      const QString& t = texts[size_t(r)];
      if (t.size() < wanted.size()) continue;
      bool same = true;
      for (qsizetype i = 0; i < wanted.size() && same; ++i) same = fold(t[i]) == fold(wanted[i]);
      if (same) found = r;
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(TypeSearchBaseline)->Unit(benchmark::kMillisecond);

// Rows appended one at a time, texts written in an update bracket; the
// counter is the cells painted per appended row against the rows in view.
void AddRowsVisible(benchmark::State& state) {
  constexpr int kAppended = 10000;
  for (auto _ : state) {
    TBenchGridView grid(kColumns);
    grid.paintedCells = 0;
    for (int r = 0; r < kAppended; ++r) {
      grid.AddRows(1);
      grid.BeginUpdate();
      for (int c = 0; c < kColumns; ++c) grid.SetCellText(c, r, CellText(r, c));
      grid.EndUpdate();
      grid.Update();
    }
    state.counters["cellsPerRow"] = double(grid.paintedCells) / kAppended;
    state.counters["visibleRows"] = grid.VisibleRowCount();
  }
}
BENCHMARK(AddRowsVisible)->Unit(benchmark::kMillisecond)->Iterations(1);

// The call list: the oldest call goes, a new one comes with five texts,
// each a fresh string as a device report makes them, from a pool made once.
void RollingCallListGrid(benchmark::State& state) {
  constexpr int kPool = 1000;
  std::vector<QString> pool;
  for (int r = 0; r < kPool; ++r)
    for (int c = 0; c < kColumns; ++c) pool.push_back(CellText(r, c));
  TBenchGridView grid(kColumns);
  grid.AddRows(6);
  for (auto _ : state) {
    for (int call = 0; call < 10000; ++call) {
      grid.DeleteRow(0);
      grid.AddRows(1);
      grid.BeginUpdate();
      for (int c : {3, 4, 0, 1, 2}) {
        const QString& text = pool[size_t(call % kPool * kColumns + c)];
        grid.SetCellText(c, 5, QString(text.constData(), text.size()));
      }
      grid.EndUpdate();
    }
    grid.Update();
  }
}
BENCHMARK(RollingCallListGrid)->Unit(benchmark::kMillisecond);

// ---- a million rows through a shown grid view -------------------------------------

constexpr int kDeleted = 5000;
constexpr int kTextColumns = 3;

// Every 200th row, moved by a varying amount inside its stretch: scattered,
// ascending, never two in a row.
std::vector<int> ScatteredRows() {
  std::vector<int> rows;
  const int stride = kRows / kDeleted;
  for (int i = 0; i < kDeleted; ++i) rows.push_back(i * stride + (i * 37) % (stride - 1));
  return rows;
}

// A call list's texts, each row's own, and a number per row.
QString RowText(int row, int col) { return QStringLiteral("%1 %2").arg(col).arg(row * 7919 % kRows, 7); }
double RowNumber(int row, int salt) { return double((uint32_t(row) * 2654435761u + uint32_t(salt)) % 1000003u) / 100; }

// Three text columns and two numeric ones over rows filled in an update
// bracket, shown and painted once.
class TMillionGridView : public TBenchGridView {
 public:
  explicit TMillionGridView(int rows) : TBenchGridView(kTextColumns) {
    for (int c = 0; c < 2; ++c) {
      auto* column = new TNumericColumn;
      column->SetWidth(kColumnWidth);
      Columns()->Add(column);
    }
    AddRows(rows);
    Fill(0, rows);
    RepaintAll();
  }
  void Fill(int first, int count) {
    BeginUpdate();
    for (int r = first; r < first + count; ++r) {
      for (int c = 0; c < kTextColumns; ++c) Cell(c, r).SetAsText(RowText(r, c));
      Cell(kTextColumns, r).SetAsFloat(RowNumber(r, 1));
      Cell(kTextColumns + 1, r).SetAsFloat(RowNumber(r, 2));
    }
    EndUpdate();
  }
  void RepaintAll() {
    Invalidate();
    WaitForPaint(paints);
  }
};

// The grid's store in rows: the same cells as the grid's.
struct TRowCells {
  QString Texts[kTextColumns];
  double Numbers[2];
  TColor Colors[kTextColumns + 2];
};

void DeleteSelectedRows(benchmark::State& state) {
  const std::vector<int> doomed = ScatteredRows();
  TMillionGridView grid(kRows);
  for (auto _ : state) {
    state.PauseTiming();
    for (int r : doomed) grid.SetRowSelected(r, true);
    state.ResumeTiming();
    grid.DeleteSelectedRows();
    WaitForPaint(grid.paints);
    state.PauseTiming();
    if (grid.RowCount() != kRows - kDeleted) state.SkipWithError("rows left over");
    grid.AddRows(kDeleted);
    grid.Fill(kRows - kDeleted, kDeleted);
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(DeleteSelectedRows)->Unit(benchmark::kMillisecond);

void DeleteSelectedRowsBaseline(benchmark::State& state) {
  const std::vector<int> doomed = ScatteredRows();
  std::vector<TRowCells> rows(static_cast<size_t>(kRows));
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kTextColumns; ++c) rows[size_t(r)].Texts[c] = RowText(r, c);
    rows[size_t(r)].Numbers[0] = RowNumber(r, 1);
    rows[size_t(r)].Numbers[1] = RowNumber(r, 2);
  }
  std::vector<bool> selected(static_cast<size_t>(kRows));
  for (auto _ : state) {
    state.PauseTiming();
    for (int r : doomed) selected[size_t(r)] = true;
    state.ResumeTiming();
    size_t index = 0;
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](const TRowCells&) { return selected[index++]; }),
               rows.end());
    benchmark::DoNotOptimize(rows.data());
    state.PauseTiming();
    selected.assign(size_t(kRows), false);
    for (int r = kRows - kDeleted; r < kRows; ++r) {
      TRowCells& added = rows.emplace_back();
      for (int c = 0; c < kTextColumns; ++c) added.Texts[c] = RowText(r, c);
    }
    state.ResumeTiming();
  }
}
BENCHMARK(DeleteSelectedRowsBaseline)->Unit(benchmark::kMillisecond);

// Each round sorts the other numeric column, so every sort is a full one
// over an order the last one left. Both columns are sorted once before the
// rounds, so that neither side pays for the allocator's first big blocks.
TMillionGridView& SortGrid() {
  static auto* grid = new TMillionGridView(kRows);
  for (int col : {kTextColumns, kTextColumns + 1}) grid->Cells()->Sort(col, stNumeric, false);
  return *grid;
}

void SortMillionView(benchmark::State& state) {
  TMillionGridView& grid = SortGrid();
  int col = kTextColumns;
  for (auto _ : state) {
    grid.SortColumn(col, true);
    WaitForPaint(grid.paints);
    col = col == kTextColumns ? kTextColumns + 1 : kTextColumns;
  }
}
BENCHMARK(SortMillionView)->Unit(benchmark::kMillisecond);

void SortMillionStore(benchmark::State& state) {
  TMillionGridView& grid = SortGrid();
  int col = kTextColumns;
  for (auto _ : state) {
    grid.Cells()->Sort(col, stNumeric, false);
    col = col == kTextColumns ? kTextColumns + 1 : kTextColumns;
  }
}
BENCHMARK(SortMillionStore)->Unit(benchmark::kMillisecond);

void DestroyMillionGrid(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto* grid = new TMillionGridView(kRows);
    state.ResumeTiming();
    delete grid;
  }
}
BENCHMARK(DestroyMillionGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
