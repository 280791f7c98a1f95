// The grid demo window as it opens, with a sorted column, a few selected
// rows and the current cell in the middle of them.

#include <QApplication>

#include "GridDemoWindow.h"
#include "Snapshot.h"
#include "platform/Themes.h"

namespace {

QImage GridDemoShot() {
  SetThemesActive(true);
  TGridDemoWindow window(300);
  window.resize(1120, 420);
  TGridView* grid = window.Grid();
  window.show();
  QApplication::processEvents();
  // The grid sorts once its window exists.
  grid->Columns()->Items(dcAmount)->SetSorted(true);
  for (int r = 2; r <= 4; ++r) grid->SetRowSelected(r, true);
  grid->SelectCell(dcCity, 3, {});
  grid->Repaint();
  return window.grab().toImage();
}

}  // namespace

SNAPSHOT_SCREEN(QStringLiteral("grid-demo.png"), GridDemoShot);
