// One page of cells painted through the column displays, against the same
// texts drawn by the canvas alone and by a bare QPainter loop (the floor).

#include <benchmark/benchmark.h>

#include <QPainter>

#include "WidgetBenchMain.h"
#include "grid/ColumnClasses.h"
#include "grid/Displays.h"
#include "platform/Canvas.h"
#include "platform/SysUtils.h"

namespace {

constexpr int kColumns = 5, kRows = 40, kWidth = 110, kHeight = 21;

QString CellText(int row, int column) { return QStringLiteral("0212 %1 %2").arg(row * 7 + column).arg(row); }

TRect CellRect(int row, int column) {
  return TRect(column * kWidth, row * kHeight, (column + 1) * kWidth - 1, (row + 1) * kHeight - 1);
}

struct Page {
  QImage image{kColumns * kWidth, kRows* kHeight, QImage::Format_RGB32};
  TCanvas canvas{&image};
};

Page& SharedPage() {
  static Page page;
  return page;
}

// The floor: the same texts by QPainter, one line each, no fitting.
void RawPage(benchmark::State& state) {
  Page& page = SharedPage();
  page.canvas.Release();
  TFont font;
  QPainter p(&page.image);
  p.setFont(font.ToQFont());
  for (auto _ : state) {
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c) {
        const QRect box = CellRect(r, c).ToQt();
        p.fillRect(box, Qt::white);
        p.drawText(box.adjusted(2, 0, -2, 0), Qt::AlignCenter, CellText(r, c));
      }
  }
}
BENCHMARK(RawPage);

// The canvas's own text drawing with the call list's flags.
void CanvasPage(benchmark::State& state) {
  Page& page = SharedPage();
  TFont font;
  page.canvas.Font()->Assign(&font);
  for (auto _ : state) {
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c) {
        TRect box = CellRect(r, c);
        page.canvas.Brush()->SetColor(clWindow);
        page.canvas.FillRect(box);
        box.Left += 2;
        box.Right -= 2;
        page.canvas.Brush()->SetStyle(bsClear);
        page.canvas.DrawText(CellText(r, c), box,
                             DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        page.canvas.Brush()->SetStyle(bsSolid);
      }
  }
}
BENCHMARK(CanvasPage);

// As the grid does it: bind the display to each cell, background, value.
template <typename Column>
void DisplayPage(benchmark::State& state, const std::function<void(TColumnDisplay*, int, int)>& load) {
  Page& page = SharedPage();
  Column column;
  column.SetAlignment(taCenter);
  column.SetColor(clWindow);
  TColumnDisplay* display = column.Display();
  display->Canvas = &page.canvas;
  for (auto _ : state) {
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kColumns; ++c) {
        display->CellRect = CellRect(r, c);
        page.canvas.Font()->Assign(column.Font());
        display->FillBackground(column.Color(), true);
        load(display, r, c);
        display->PaintValue();
      }
  }
}

void TextualDisplayPage(benchmark::State& state) {
  DisplayPage<TTextualColumn>(state, [](TColumnDisplay* d, int r, int c) { d->TextValue = CellText(r, c); });
}
BENCHMARK(TextualDisplayPage);

void HtmlDisplayPage(benchmark::State& state) {
  DisplayPage<THtmlColumn>(state, [](TColumnDisplay* d, int r, int c) {
    d->TextValue = QStringLiteral("<b>%1</b> <i>hat</i>").arg(CellText(r, c));
  });
}
BENCHMARK(HtmlDisplayPage);

void ProgressDisplayPage(benchmark::State& state) {
  DisplayPage<TProgressColumn>(state, [](TColumnDisplay* d, int r, int c) { d->FloatValue = (r * 5 + c) % 101; });
}
BENCHMARK(ProgressDisplayPage);

}  // namespace

int main(int argc, char** argv) {
  FormatSettings = TFormatSettings::Turkish();
  return RunWidgetBenchmarks(argc, argv);
}
