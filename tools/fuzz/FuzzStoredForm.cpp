// The stored-form reader given fuzzed grid forms. A bad form must raise
// EReadError and leave the grid as it was; a good one must be written back
// to a form that reads to itself, and the grid it gives must paint.

#include "FuzzSupport.h"
#include "grid/CellEditors.h"
#include "grid/GridView.h"
#include "platform/Exceptions.h"
#include "platform/Streaming.h"

namespace {

TGridView* Grid() {
  static TGridView* grid = [] {
    RegisterCellEditors();
    auto* g = new TGridView;
    g->SetBounds(0, 0, 240, 120);
    return g;
  }();
  return grid;
}

// Cells of every column, so that the displays have something to paint.
void FillAndPaint(TGridView* grid) {
  grid->AddRows(3);
  for (int r = 0; r < grid->RowCount(); ++r)
    for (int c = 0; c < grid->Columns()->Count(); ++c) grid->SetCellText(c, r, QStringLiteral("%1").arg(r + c));
  grid->Repaint();
  grid->ClearRows();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzApplication(argc, argv);
  Grid();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 16384) return -1;
  TGridView* grid = Grid();
  // Every input starts from the same grid, so that a finding replays alone.
  static const QString before = WriteObjectText(grid, QStringLiteral("GridView1"));
  ReadObjectText(grid, before);
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    ReadObjectText(grid, text);
  } catch (const EReadError&) {
    if (WriteObjectText(grid, QStringLiteral("GridView1")) != before)
      FuzzFailure(QStringLiteral("a refused form changed the grid:\n%1").arg(text));
    return 0;
  } catch (const Exception& e) {
    FuzzFailure(QStringLiteral("reading raised '%1', not a read error:\n%2").arg(e.Message(), text));
  }
  const QString written = WriteObjectText(grid, QStringLiteral("GridView1"));
  try {
    ReadObjectText(grid, written);
  } catch (const Exception& e) {
    FuzzFailure(QStringLiteral("the written form does not read back: %1\n%2").arg(e.Message(), written));
  }
  if (WriteObjectText(grid, QStringLiteral("GridView1")) != written)
    FuzzFailure(QStringLiteral("the written form reads back to another form:\n%1").arg(written));
  FillAndPaint(grid);
  return 0;
}
