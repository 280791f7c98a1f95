#pragma once
// The lists of the device's window: the project's own grid view, one row
// selected whole, in the window's colours and the call list's font.

#include <QString>
#include <span>

class TCustomColumn;
class TGridView;

struct TColumnSetup {
  const char* caption;
  int width;
};

// A grid with a text column for each setup.
TGridView* MakeWindowGrid(std::span<const TColumnSetup> textColumns = {});
// Adds column, set up as the others, and answers it.
TCustomColumn* AddWindowColumn(TGridView* grid, TCustomColumn* column, const TColumnSetup& setup);
