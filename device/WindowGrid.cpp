#include "device/WindowGrid.h"

#include "grid/ColumnClasses.h"
#include "grid/GridView.h"

TGridView* MakeWindowGrid(std::span<const TColumnSetup> textColumns) {
  auto* grid = new TGridView;
  grid->SetOptions(goHeader | goGrid | goSelectFullRow | goAlwaysShowSelection);
  grid->SetRowSize(18);
  grid->SetHeaderSize(20);
  for (const TColumnSetup& setup : textColumns) AddWindowColumn(grid, new TTextualColumn, setup);
  return grid;
}

TCustomColumn* AddWindowColumn(TGridView* grid, TCustomColumn* column, const TColumnSetup& setup) {
  column->Header()->SetCaption(QString::fromUtf8(setup.caption));
  column->SetWidth(setup.width);
  // A column starts black on black: the window's colours, as the call list has them.
  column->SetColor(clWindow);
  column->Font()->SetName(QStringLiteral("MS Sans Serif"));
  column->Font()->SetHeight(-11);
  column->Font()->SetColor(clWindowText);
  grid->Columns()->Add(column);
  return column;
}
