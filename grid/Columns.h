#pragma once
// The column model of the grid.
//
// A column has two places: its index (creation or reading order), which
// addresses cells, events and grid operations, and its display place, kept
// by TColumns in a second list ordered by Position. Cell values are not here;
// the cell store keeps them by column index.
//
//   TColumns        the collection: both lists, Layout, width distribution,
//                   the change receivers and the columns' stored form
//   TCustomColumn   the column base every column kind derives from
//   TColumnPart     header and footer; TSlideBounds the slide rectangle
//   TVirtualColElement, TColumnDisplay, TColumnPlay: per-column companions

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Streaming.h"
#include "platform/Types.h"

class QWidget;
class TCanvas;
class TCustomColumn;
class TColumns;

namespace GridTypes {
Q_NAMESPACE
enum TValueKind : uint8_t {
  vkRowNumber = 0,
  vkGraphic = 2,
  vkBoolean = 3,
  vkDateTime = 4,
  vkFloat = 5,
  vkInteger = 6,
  vkText = 7
};
Q_ENUM_NS(TValueKind)
enum TDrawingOptions : uint8_t { doNormal, doBackgroundOnly, doCustom, doCustomOnly };
Q_ENUM_NS(TDrawingOptions)
enum TFormulaKind : uint8_t { fkNone, fkAverage, fkMaximum, fkMinimum, fkSum };
Q_ENUM_NS(TFormulaKind)
enum TSortKind : uint8_t { skAscending, skDescending };
Q_ENUM_NS(TSortKind)
enum TSortType : uint8_t { stAlphabetic, stBoolean, stNumeric, stDate, stIP };
Q_ENUM_NS(TSortType)
enum TWrapKind : uint8_t { wkNone, wkEllipsis, wkWordWrap };
Q_ENUM_NS(TWrapKind)
enum TDisplayMode : uint8_t { dmImageOnly, dmTextAndImage, dmTextOnly };
Q_ENUM_NS(TDisplayMode)
enum TGridArea : uint8_t { gaNone, gaData, gaFooter, gaHeader, gaIndicator, gaInput };
Q_ENUM_NS(TGridArea)
enum TColumnOption : uint16_t {
  coAutoSize = 1 << 0,
  coCanClick = 1 << 1,
  coCanSort = 1 << 2,
  coEditing = 1 << 3,
  coCanInput = 1 << 4,
  coEditorAutoSelect = 1 << 5,
  coFixedSize = 1 << 6,
  coImageForIcon = 1 << 7,
  coDontHighlight = 1 << 8,
  coPublicUsing = 1 << 9,
  coSearchColumn = 1 << 10,
  coShowTextFitHint = 1 << 11,
  coTextForCaption = 1 << 12,
};
Q_DECLARE_FLAGS(TColumnOptions, TColumnOption)
Q_FLAG_NS(TColumnOptions)
}  // namespace GridTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(GridTypes::TColumnOptions)

using GridTypes::TColumnOption;
using GridTypes::TColumnOptions;
using GridTypes::TDisplayMode;
using GridTypes::TDrawingOptions;
using GridTypes::TFormulaKind;
using GridTypes::TGridArea;
using GridTypes::TSortKind;
using GridTypes::TSortType;
using GridTypes::TValueKind;
using GridTypes::TWrapKind;
using enum GridTypes::TColumnOption;
using enum GridTypes::TDisplayMode;
using enum GridTypes::TDrawingOptions;
using enum GridTypes::TFormulaKind;
using enum GridTypes::TGridArea;
using enum GridTypes::TSortKind;
using enum GridTypes::TSortType;
using enum GridTypes::TValueKind;
using enum GridTypes::TWrapKind;

// Kinds of the per-column change notice; the grid reacts to each differently.
enum TColumnChangeKind : int {
  ckAuxiliary = 0,
  ckInputText = 1,
  ckPosition = 2,
  ckSort = 3,
  ckAppearance = 4,
  ckVisible = 5,
  ckWidth = 6,
};

// Kinds of the column-list notice.
enum TColumnListKind : int { lkAppended = 0, lkCleared = 2 };

// The one size bound: places, sizes and margins of the grid and of the
// cells its columns keep stay within a million pixels, so that sums of them
// and row positions never overflow (a stored form may give any integer).
constexpr int kMaxCellExtent = 1000000;
constexpr int BoundedExtent(int v) {
  return v < -kMaxCellExtent ? -kMaxCellExtent : v > kMaxCellExtent ? kMaxCellExtent : v;
}

constexpr int kMinColumnWidth = 8;
// Wider columns are of no use.
constexpr int kMaxColumnWidth = kMaxCellExtent;

// What the column model reads from the grid that owns its collection.
class IColumnGrid {
 public:
  virtual ~IColumnGrid() = default;
  // Left edge of the data rectangle (moves with the indicator column).
  virtual int DataLeft() const = 0;
  // Horizontal scroll position in pixels.
  virtual int HorzPosition() const = 0;
  // The header, input or footer rectangle in client coordinates.
  virtual TRect AreaRect(TGridArea area) const = 0;
  virtual int CurrentColumn() const = 0;
  virtual TCustomColumn* HotHeaderColumn() const = 0;
  virtual TCustomColumn* PressedHeaderColumn() const = 0;
  virtual bool IsDesigning() const = 0;
  virtual bool IsReading() const = 0;
  // Repaints the column's slice of an area.
  virtual void InvalidateColumnPart(TCustomColumn* column, TGridArea area) = 0;
  // The grid calls the receiver when its indicator column is switched.
  virtual void SetIndicatorChangeReceiver(std::function<void()> receiver) = 0;
};

// ---- parts -------------------------------------------------------------------

class TColumnPart : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
 public:
  TColumnPart(TCustomColumn* column, TColor color) : column_(column), color_(color) {}

  TCustomColumn* Column() const { return column_; }
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  void Assign(TPersistent* Source) override;

  TNotifyEvent OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }

 private:
  TCustomColumn* column_;
  QString caption_;
  TColor color_;
};

class TColumnHeader : public TColumnPart {
  Q_OBJECT
  Q_PROPERTY(GridTypes::TDisplayMode DisplayMode READ DisplayMode WRITE SetDisplayMode)
  Q_PROPERTY(QImage Glyph READ GlyphImage WRITE SetGlyphImage)
 public:
  explicit TColumnHeader(TCustomColumn* column);

  TDisplayMode DisplayMode() const { return displayMode_; }
  void SetDisplayMode(TDisplayMode v);
  TBitmap* Glyph() { return &glyph_; }
  const TBitmap* Glyph() const { return &glyph_; }
  void SetGlyph(const TBitmap& v) { glyph_.Assign(v); }
  void Assign(TPersistent* Source) override;

 private:
  QImage GlyphImage() const { return glyph_.Image(); }
  void SetGlyphImage(const QImage& image) { glyph_.LoadFromImage(image); }
  void GlyphChanged();

  TDisplayMode displayMode_ = dmTextOnly;
  TBitmap glyph_;
  bool adjustingGlyph_ = false;
};

class TColumnFooter : public TColumnPart {
  Q_OBJECT
  Q_PROPERTY(GridTypes::TFormulaKind FormulaKind READ FormulaKind WRITE SetFormulaKind)
 public:
  explicit TColumnFooter(TCustomColumn* column) : TColumnPart(column, clWindow) {}

  TFormulaKind FormulaKind() const { return formulaKind_; }
  void SetFormulaKind(TFormulaKind v);
  void Assign(TPersistent* Source) override;

 private:
  TFormulaKind formulaKind_ = fkNone;
};

// The column's cell rectangle inside one slide of the slides layout.
class TSlideBounds : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Left READ Left WRITE SetLeft)
  Q_PROPERTY(int Top READ Top WRITE SetTop)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
 public:
  explicit TSlideBounds(TCustomColumn* column) : column_(column) {}

  TCustomColumn* Column() const { return column_; }
  int Left() const { return left_; }
  void SetLeft(int v) { left_ = BoundedExtent(v); }
  int Top() const { return top_; }
  void SetTop(int v) { top_ = BoundedExtent(v); }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = BoundedExtent(v); }
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = BoundedExtent(v); }
  void Assign(TPersistent* Source) override;

 private:
  TCustomColumn* column_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// ---- companions --------------------------------------------------------------

// Carries the value of the one cell a display or play is working on; the
// grid fills it in before each cell.
class TVirtualColElement : public TObject {
 public:
  explicit TVirtualColElement(TCustomColumn* column) : column_(column) {}
  TCustomColumn* Column() const { return column_; }

  bool BooleanValue = false;
  double DateTimeValue = 0;
  double FloatValue = 0;
  int IntegerValue = 0;
  QString TextValue;
  bool RightToLeft = false;
  TCanvas* Canvas = nullptr;
  TRect CellRect;
  TObject* Graphic = nullptr;
  QWidget* ThemeWindow = nullptr;

 private:
  TCustomColumn* column_;
};

// The painter of a column's data cells; each column kind has its own.
class TColumnDisplay : public TVirtualColElement {
 public:
  using TVirtualColElement::TVirtualColElement;

  bool Selected = false;
  bool Current = false;

  // The cell rectangle narrowed by 2 pixels on either side.
  virtual TRect GetTextRect() const;
  // Draws text in R with the canvas font, placed and fitted as the column says.
  virtual void DrawCellText(const QString& Text, const TRect& R);
  // A small red corner at the top right: the cell carries a hint text.
  virtual void DrawHintMark();
  // Paints the cell's value over the background the grid has drawn.
  virtual void PaintValue() { AbstractError(); }
  // Fills the cell in Color, or only frames it (under an open editor).
  void FillBackground(TColor Color, bool Fill);
};

// Lets a cell react to keys and clicks without an editor (the check box).
class TColumnPlay : public TVirtualColElement {
 public:
  using TVirtualColElement::TVirtualColElement;

  int Col = -1;
  int Row = -1;
  TNotifyEvent OnChange;

  virtual void KeyPress(QChar) { AbstractError(); }
  virtual void MouseDown(const TPoint&) { AbstractError(); }
  // Takes the Boolean the display holds for the served cell.
  virtual void Start();

 protected:
  void Change() {
    if (OnChange) OnChange(this);
  }
};

// Column kinds name their editor, display and play classes; the units that
// define those classes register a factory under the name.
using TDisplayFactory = std::function<std::unique_ptr<TColumnDisplay>(TCustomColumn*)>;
using TPlayFactory = std::function<std::unique_ptr<TColumnPlay>(TCustomColumn*)>;
using TEditorFactory = std::function<QWidget*(TCustomColumn*)>;
void RegisterDisplayClass(const QString& name, TDisplayFactory factory);
void RegisterPlayClass(const QString& name, TPlayFactory factory);
void RegisterEditorClass(const QString& name, TEditorFactory factory);

struct TColumnCompanions {
  const char* Editor = "";
  const char* Display = "";
  const char* Play = "";
};

// ---- the column --------------------------------------------------------------

class TCustomColumn : public TComponent {
  Q_OBJECT
  Q_PROPERTY(PlatformTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int Cursor READ CursorValue WRITE SetCursorValue)
  Q_PROPERTY(QString DefaultValue READ DefaultValue WRITE SetDefaultValue)
  Q_PROPERTY(int DefaultWidth READ DefaultWidth WRITE SetDefaultWidth)
  Q_PROPERTY(GridTypes::TDrawingOptions DrawingOptions READ DrawingOptions WRITE SetDrawingOptions)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(TColumnFooter* Footer READ Footer WRITE SetFooter)
  Q_PROPERTY(GridTypes::TFormulaKind FormulaKind READ FormulaKind WRITE SetFormulaKind)
  Q_PROPERTY(TColumnHeader* Header READ Header WRITE SetHeader)
  Q_PROPERTY(QString InputCaption READ InputCaption WRITE SetInputCaption)
  Q_PROPERTY(QString InputText READ InputText WRITE SetInputText)
  Q_PROPERTY(GridTypes::TColumnOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(int Position READ Position WRITE SetPosition)
  Q_PROPERTY(TSlideBounds* SlideBounds READ SlideBounds WRITE SetSlideBounds)
  Q_PROPERTY(GridTypes::TSortKind SortKind READ SortKind WRITE SetSortKind)
  Q_PROPERTY(GridTypes::TSortType SortType READ SortType WRITE SetSortType)
  Q_PROPERTY(PlatformTypes::TVerticalAlignment VerticalAlignment READ VerticalAlignment WRITE SetVerticalAlignment)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(GridTypes::TWrapKind WrapKind READ WrapKind WRITE SetWrapKind)
  Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
 public:
  explicit TCustomColumn(const TColumnCompanions& companions = {});
  ~TCustomColumn() override;

  // ---- published
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v);
  const QString& DefaultValue() const { return defaultValue_; }
  void SetDefaultValue(const QString& v) { defaultValue_ = v; }
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int v) { defaultWidth_ = v; }
  TDrawingOptions DrawingOptions() const { return drawingOptions_; }
  void SetDrawingOptions(TDrawingOptions v);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v);
  TColumnFooter* Footer() const { return footer_.get(); }
  void SetFooter(TColumnFooter* v);
  TFormulaKind FormulaKind() const { return formulaKind_; }
  void SetFormulaKind(TFormulaKind v);
  TColumnHeader* Header() const { return header_.get(); }
  void SetHeader(TColumnHeader* v);
  const QString& InputCaption() const { return inputCaption_; }
  void SetInputCaption(const QString& v);
  const QString& InputText() const { return inputText_; }
  void SetInputText(const QString& v);
  TColumnOptions Options() const { return options_; }
  void SetOptions(TColumnOptions v);
  int Position() const { return position_; }
  void SetPosition(int v);
  TSlideBounds* SlideBounds() const { return slideBounds_.get(); }
  void SetSlideBounds(TSlideBounds* v);
  TSortKind SortKind() const { return sortKind_; }
  void SetSortKind(TSortKind v);
  TSortType SortType() const { return sortType_; }
  void SetSortType(TSortType v);
  TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TWrapKind WrapKind() const { return wrapKind_; }
  void SetWrapKind(TWrapKind v) { wrapKind_ = v; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);

  // ---- public, not stored
  const QString& AuxiliaryText() const { return auxiliaryText_; }
  void SetAuxiliaryText(const QString& v);
  TValueKind ValueKind() const { return valueKind_; }
  TColumns* Collection() const { return collection_; }
  // Lets a column being read see its collection before it is added.
  void SetCollection(TColumns* collection) { collection_ = collection; }
  bool InputOpen() const { return inputOpen_; }
  void SetInputOpen(bool v) { inputOpen_ = v; }
  int Left() const { return left_; }
  int VisibleIndex() const { return visibleIndex_; }
  // The companions are made on first need, once the column is whole, so
  // that a factory sees the column as its own kind.
  TColumnDisplay* Display() const;
  TColumnPlay* Play() const;
  QWidget* Editor() const;

  int Index() const { return index_; }
  bool IsCurrent() const;
  bool IsPressed() const;
  bool IsHot() const;
  bool IsOnlyVisible() const;
  // 0 the only visible column, 1 the first, 3 the last, 2 any other.
  int Place() const;
  int ScreenLeft() const;
  TRect PartRect(TGridArea area) const;

  void Assign(TPersistent* Source) override;

  // ---- what each column kind decides
  virtual QString EditorClass() const { return QString::fromLatin1(companions_.Editor); }
  virtual QString DisplayClass() const { return QString::fromLatin1(companions_.Display); }
  virtual QString PlayClass() const { return QString::fromLatin1(companions_.Play); }
  virtual void SetValueKind(TValueKind kind) { valueKind_ = kind; }
  // The text as the column shows it; measures whether a cell's text fits.
  virtual QString FormatText(const QString& text) const { return text; }
  // Whether typing this character starts editing a cell.
  virtual bool AcceptsKey(QChar) const { return false; }
  virtual void PrepareEditor() {}

 protected:
  void Changed(TColumnChangeKind kind);
  // Repaints the column's data cells after a display property changed.
  void InvalidateData();
  IColumnGrid* Grid() const;

 private:
  friend class TColumns;
  int CursorValue() const { return cursor_; }
  void SetCursorValue(int v) { SetCursor(TCursor(v)); }
  void PartChanged(TObject*) { Changed(ckAppearance); }
  void StoreWidth(int v);
  void WidthChanged();

  TColumnCompanions companions_;
  TAlignment alignment_ = taLeftJustify;
  TColor color_ = clBlack;
  TValueKind valueKind_ = vkText;
  TColumns* collection_ = nullptr;
  TCursor cursor_ = crDefault;
  QString defaultValue_;
  int defaultWidth_ = 80;
  mutable std::unique_ptr<TColumnDisplay> display_;
  mutable bool displayMade_ = false;
  TDrawingOptions drawingOptions_ = doNormal;
  mutable QWidget* editor_ = nullptr;
  mutable bool editorMade_ = false;
  QString auxiliaryText_;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TColumnFooter> footer_;
  TFormulaKind formulaKind_ = fkNone;
  std::unique_ptr<TColumnHeader> header_;
  bool inputOpen_ = false;
  QString inputCaption_;
  QString inputText_;
  int left_ = 0;
  TColumnOptions options_ = coCanClick | coCanSort | coCanInput | coEditorAutoSelect | coPublicUsing;
  mutable std::unique_ptr<TColumnPlay> play_;
  mutable bool playMade_ = false;
  int position_ = -1;
  std::unique_ptr<TSlideBounds> slideBounds_;
  TSortKind sortKind_ = skAscending;
  TSortType sortType_ = stAlphabetic;
  TVerticalAlignment verticalAlignment_ = vaMiddle;
  bool visible_ = true;
  int width_ = 80;
  TWrapKind wrapKind_ = wkEllipsis;
  int visibleIndex_ = -1;
  bool sorted_ = false;
  int index_ = -1;
};

// ---- the collection ----------------------------------------------------------

using TColumnsChangedEvent = std::function<void(TColumns* Sender, TCustomColumn* Column, int Kind)>;
using TColumnListChangedEvent = std::function<void(TObject* Sender, int Kind, int Index1, int Index2)>;

class TColumns : public TObject {
 public:
  explicit TColumns(IColumnGrid* control = nullptr);
  ~TColumns() override;
  TColumns(const TColumns&) = delete;
  TColumns& operator=(const TColumns&) = delete;

  IColumnGrid* Control() const { return control_; }
  int Count() const { return int(items_.size()); }
  TCustomColumn* Items(int i) const;
  TCustomColumn* DisplayItems(int i) const;
  int DisplayIndexOf(const TCustomColumn* column) const;
  // Both as the last layout found them.
  int VisibleCount() const { return visibleCount_; }
  int64_t TotalWidth() const { return totalWidth_; }

  // Takes ownership; the column goes into the display list by its Position.
  void Add(TCustomColumn* column);
  void Clear();
  // Moves a column within the display list, from place to place.
  void Move(int from, int to);
  void Layout(bool renumber);
  // Shares the room left by fixed columns among the auto-sized ones, keeping
  // their proportions; the rounding remainder passes to the next column.
  void AutoSizeColumns(int clientWidth);
  // True while the grid or this collection reads stored columns.
  bool IsReading() const;
  // How many columns the layout passes have visited; lets tests see that
  // the work stays linear in the number of columns.
  int64_t LayoutVisits() const { return layoutVisits_; }

  // The columns as unnamed child objects of the grid's form, in index order.
  std::vector<TFormObject> StoredForms() const;
  // Replaces the columns by the stored ones; a bad form raises EReadError
  // and leaves the collection, and everything it told, as it was.
  void ReadStoredForms(const std::vector<TFormObject>& forms);

  TColumnsChangedEvent ColumnsChanged;
  // The grid view's receiver, which the cell store follows; called first.
  TColumnListChangedEvent ColumnListChanged;
  // The grid control's receiver; called second.
  TColumnListChangedEvent ColumnListNotice;

 private:
  void InsertByPosition(TCustomColumn* column);
  void FreeColumns();
  void NotifyList(int kind, int index1, int index2);
  void ReadColumns(const std::vector<TFormObject>& forms, bool attach);

  IColumnGrid* control_;
  std::vector<std::unique_ptr<TCustomColumn>> items_;
  std::vector<TCustomColumn*> display_;
  bool reading_ = false;
  int visibleCount_ = 0;
  int64_t totalWidth_ = 0;
  int64_t layoutVisits_ = 0;
};
