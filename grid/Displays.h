#pragma once
// The painters of a column's cells, one per column kind, the check box's
// click-and-key element, and the painter of header, input and footer cells.
//
// The grid binds a display to one cell at a time: it sets the canvas, the
// cell rectangle, the flags and the cell's value (the fields of
// TVirtualColElement and TColumnDisplay), then calls PaintValue.
//
//   TTextualColumnDisplay … THtmlColumnDisplay   data cells, by column kind
//   TCheckBoxColumnPlay                          the check box's interaction
//   TColumnPartDisplay                           header, input and footer cells

#include <QImage>
#include <array>

#include "grid/Columns.h"

namespace GridPaintTypes {
Q_NAMESPACE
enum THeaderStyle : uint8_t { hsAuto, hsDefault, hsOldStyle };
Q_ENUM_NS(THeaderStyle)
}  // namespace GridPaintTypes
using GridPaintTypes::THeaderStyle;
using enum GridPaintTypes::THeaderStyle;

// Makes the display and play classes known under the names the column kinds
// ask for; calling it again changes nothing.
void RegisterColumnDisplays();

class TTextualColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

class TNumericColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

class TDateColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

// Row numbers counted from 1.
class TIncrementColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

class TCheckBoxColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

// The integer value picks a picture of the column's image list.
class TImageColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

class TProgressColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

// Max symbols in a row: the first (integer value) full, the others empty.
class TRateColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;

 private:
  // A symbol drawn without the colour of its bottom-left pixel; made once
  // per picture, not once per cell.
  const QImage& Keyed(const TBitmap& symbol, int slot);

  struct KeyedSymbol {
    qint64 source = 0;
    QImage image;
  };
  std::array<KeyedSymbol, 2> keyed_;
};

// The cell's picture inside a frame, stretched or kept in proportion.
class TGraphicColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

// A small mark-up subset: a (link), b, br, font (color, name, size), i, u.
// Each cell starts from the column's font with no tag open.
class THtmlColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintValue() override;
};

// The check box reacts to a press inside the box it shows and to the blank.
class TCheckBoxColumnPlay : public TColumnPlay {
 public:
  using TColumnPlay::TColumnPlay;

  // The box in cell-relative coordinates; the grid sets CellRect to the
  // rectangle the display paints the cell in.
  TRect CheckBoxRect() const;

  void KeyPress(QChar Key) override;
  void MouseDown(const TPoint& P) override;
  void Start() override;

 private:
  void Toggle();
};

// What the part display reads from the grid it paints for; the pressed and
// hot header columns and the design mode come from the column's collection.
class IPartDisplayGrid {
 public:
  virtual ~IPartDisplayGrid() = default;
  // The window the themed parts are drawn for.
  virtual QWidget* ThemeWindow() const = 0;
  virtual THeaderStyle HeaderStyle() const = 0;
  // The grid draws lines between its cells.
  virtual bool HasGridLines() const = 0;
};

// Which strip of a column PaintPart paints.
enum TPartKind : uint8_t { pkFooter = 0, pkHeader = 1, pkInput = 4 };

// Paints the header, input and footer cells of one column at a time; the
// grid sets the column, its rectangle and the flags before each.
class TColumnPartDisplay : public TObject {
 public:
  TColumnPartDisplay(IPartDisplayGrid* Grid, TCanvas* Canvas) : grid_(Grid), canvas_(Canvas) {}

  bool RightToLeft = false;
  TCustomColumn* Column = nullptr;
  TRect PartRect;
  bool Focused = false;
  bool InputActive = false;

  IPartDisplayGrid* Grid() const { return grid_; }
  TCanvas* Canvas() const { return canvas_; }
  uint8_t PartKind() const { return partKind_; }

  // 11 for a themed text-only caption, else 2.
  virtual int TextIndent() const;
  virtual void DrawSortArrow(int X, int Y);
  // Place: 0 the only visible column, 1 the first, 3 the last, 2 any other.
  virtual void DrawHeaderClassic(const TRect& R, int Place, TColor Color);
  virtual void DrawHeaderDefault(const TRect& R, int Place, TColor Color);
  virtual void DrawHeaderOld(const TRect& R, TColor Color);
  virtual void DrawHeaderThemed(const TRect& R, int Place, TColor Color);
  virtual void PaintFooter();
  virtual void PaintHeaderContent();
  virtual void PaintInput();
  virtual void InvertPressed();
  // An empty themed header item above the row indicator.
  virtual void DrawThemedCorner(const TRect& R);
  // The empty themed header right of the last column.
  virtual void DrawThemedFiller(const TRect& R);

  void PaintPart(uint8_t Kind);
  bool HasGlyph() const;
  // A line along the bottom and one down the right edge of the part.
  void DrawGridLines(TColor Color);

 private:
  void PaintHeaderBackground();
  int SortArrowLeft() const;

  IPartDisplayGrid* grid_;
  TCanvas* canvas_;
  uint8_t partKind_ = pkFooter;
};
