// Scrolling a full-HD grid-like control by one row against repainting it
// whole: the scroll moves pixels and paints only the uncovered strip. Both
// go the real way: invalidation, the event loop, the paint event, the
// window's surface.

#include <benchmark/benchmark.h>

#include "WidgetBenchMain.h"
#include "platform/Controls.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kRowHeight = 21;
constexpr int kColumnWidth = 160;

// Paints a grid of text cells, only the rows and cells the clip box touches.
class TTextGrid : public TCustomControl {
 public:
  int TopRow = 0;

  void ScrollOneRow() {
    ++TopRow;
    const TRect client = ClientRect();
    ScrollWindowEx(0, -kRowHeight, nullptr, &client, nullptr, SW_INVALIDATE);
    ShowOnSurface();
  }

  void RepaintAll() {
    ++TopRow;
    Invalidate();
    ShowOnSurface();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    TCustomControl::paintEvent(event);
    ++paintEvents_;
  }

  void Paint() override {
    const TRect clip = Canvas()->ClipRect();
    for (int y = clip.Top / kRowHeight * kRowHeight; y < clip.Bottom; y += kRowHeight)
      for (int x = clip.Left / kColumnWidth * kColumnWidth; x < clip.Right; x += kColumnWidth)
        PaintCell(TRect(x, y, x + kColumnWidth, y + kRowHeight), TopRow + y / kRowHeight, x / kColumnWidth);
  }

 private:
  // Runs the event loop until the paint event has drawn on the surface.
  void ShowOnSurface() {
    const int seen = paintEvents_;
    while (paintEvents_ == seen) QCoreApplication::processEvents();
  }

  void PaintCell(const TRect& r, int row, int column) {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(row % 2 ? clWindow : RGB(245, 245, 245));
    c->FillRect(r);
    c->Pen()->SetColor(clBtnFace);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Right, r.Bottom - 1);
    c->MoveTo(r.Right - 1, r.Top);
    c->LineTo(r.Right - 1, r.Bottom);
    TRect text(r.Left + 2, r.Top, r.Right - 2, r.Bottom - 1);
    c->Brush()->SetStyle(bsClear);
    c->DrawText(QStringLiteral("Hücre %1 / %2").arg(row).arg(column), text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    c->Brush()->SetStyle(bsSolid);
  }

  int paintEvents_ = 0;
};

TTextGrid& Grid() {
  static TTextGrid* grid = [] {
    auto* g = new TTextGrid;
    g->SetBounds(0, 0, kWidth, kHeight);
    g->Canvas()->Font()->SetName(QStringLiteral("Arial"));
    g->show();
    g->RepaintAll();
    return g;
  }();
  return *grid;
}

void ScrollOneRow(benchmark::State& state) {
  TTextGrid& grid = Grid();
  for (auto _ : state) grid.ScrollOneRow();
}
BENCHMARK(ScrollOneRow)->Unit(benchmark::kMicrosecond);

void FullRepaint(benchmark::State& state) {
  TTextGrid& grid = Grid();
  for (auto _ : state) grid.RepaintAll();
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
