#pragma once
// The grid's engine: properties, state, geometry, hit-testing, invalidation,
// scroll ranges and painting of the header, input row, data rows, footer and
// row indicator, in the report and the slides layout. Where cell values live
// is left to descendants through the abstract cell operations.
//
// Map of CustomGridViewControl.cpp:
//   properties ............ setters and their repaint effects
//   geometry .............. HeaderRect … CellRect, HitTest, ColumnAtX, CellAtPoint
//   invalidation .......... InvalidateArea / Cell / ColumnPart / Row
//   scroll bars ........... ranges, UpdateHorzScrollBar, UpdateVertScrollBar
//   column notices ........ ColumnsChanged, ColumnListNotice
//   invariants ............ CheckInvariants and its checks (stated at the
//                           state fields below)
//   selection ............. SelectCell, row flags, moves
//   editing ............... OpenEditor (shared set-up), EditCell, EditInput,
//                           ApplyEdit, CloseEditor, AcceptInput, the editor
//                           keys
//   painting .............. Paint → PaintColumnParts → PaintRows → PaintCell
//                           (+ grid lines, empty cells, focus, indicator),
//                           PaintSlides, filler, caption, themed border

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "grid/Columns.h"
#include "grid/Displays.h"
#include "grid/ScrollView.h"

class TCellEditor;

namespace GridViewTypes {
Q_NAMESPACE
enum TGridOption : uint32_t {
  goAlwaysIndicateSelected = 1u << 0,
  goAlphaBlendedSelection = 1u << 1,
  goAlwaysShowSelection = 1u << 2,
  goBoldTextSelection = 1u << 3,
  goCanHideColumn = 1u << 4,
  goDissableColumnMoving = 1u << 5,
  goFooter = 1u << 6,
  goGrid = 1u << 7,
  goHeader = 1u << 8,
  goHideFocus = 1u << 9,
  goHighlightTextSelection = 1u << 10,
  goIndicateSortedColumn = 1u << 11,
  goIndicator = 1u << 12,
  goInput = 1u << 13,
  goMultiSelect = 1u << 14,
  goSelectFullRow = 1u << 15,
  goUseDefaultValues = 1u << 16,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_FLAG_NS(TGridOptions)
enum TGridStyle : uint8_t { gsReport, gsSlides };
Q_ENUM_NS(TGridStyle)
enum TGridLinesStyle : uint8_t { lsNormal, lsFramed, lsHorizontalOnly };
Q_ENUM_NS(TGridLinesStyle)
enum TSelectionMoveDirection : uint8_t { mdNone, mdUp, mdDown, mdLeft, mdRight };
Q_ENUM_NS(TSelectionMoveDirection)
enum TCellStateFlag : uint8_t { csBoldTextSelection = 1, csFocused = 2, csSelected = 4, csTextHighlighted = 8 };
Q_DECLARE_FLAGS(TCellState, TCellStateFlag)
}  // namespace GridViewTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(GridViewTypes::TGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridViewTypes::TCellState)
using GridViewTypes::TCellState;
using GridViewTypes::TCellStateFlag;
using GridViewTypes::TGridLinesStyle;
using GridViewTypes::TGridOption;
using GridViewTypes::TGridOptions;
using GridViewTypes::TGridStyle;
using GridViewTypes::TSelectionMoveDirection;
using enum GridViewTypes::TCellStateFlag;
using enum GridViewTypes::TGridLinesStyle;
using enum GridViewTypes::TGridOption;
using enum GridViewTypes::TGridStyle;
using enum GridViewTypes::TSelectionMoveDirection;

// The grid's events; the sender comes first, by-reference arguments are read
// back after the call.
using TGridEditAcceptEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value, bool& Accept)>;
using TGridApplyCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
using TGridBeforeEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Accept)>;
using TGridCellEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TGridCellColoringEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TColor& CellColor, TColor& GridColor, TCellState State)>;
using TGridCustomDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const TRect& CellRect, TCellState State)>;
using TGridDrawCellBackgroundEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& CellRect,
                                                        TCellState State, bool& DefaultDrawing)>;
using TGridEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)>;
using TGridHeaderClickEvent = std::function<void(TObject* Sender, int ACol)>;
using TGridInputAcceptEvent = std::function<void(TObject* Sender, bool& Accept)>;
using TGridSortColumnEvent = std::function<void(TObject* Sender, int ACol, bool Ascending)>;

class TCustomGridViewControl : public TScrollView, public IColumnGrid, public IPartDisplayGrid {
  Q_OBJECT
 public:
  // GridState flags.
  enum : uint16_t {
    ResizingColumn = 0x1,
    PressingHeader = 0x2,
    DraggingColumn = 0x4,
    EditingCell = 0x8,
    EditingInput = 0x40,
    RangeSelecting = 0x80,
    UpdateLocked = 0x400,
  };
  static constexpr int kIndicatorWidth = 12;
  static constexpr int kInputStrip = 6;
  static constexpr int kFooterStrip = 4;
  static constexpr TColor kSortedColumnColor = RGB(245, 245, 245);

  explicit TCustomGridViewControl(QWidget* AOwner = nullptr);
  ~TCustomGridViewControl() override;

  // ---- properties
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& v);
  TColumns* Columns() const { return columns_.get(); }
  // The column of that index, or null when there is none.
  TCustomColumn* ColumnOrNull(int ACol) const;
  bool RowInBounds(int ARow) const { return ARow >= 0 && ARow < RowCount(); }
  // The grid takes the collection over; it must have been made for this grid.
  void SetColumns(std::unique_ptr<TColumns> v);
  TGridLinesStyle GridLinesStyle() const { return gridLinesStyle_; }
  void SetGridLinesStyle(TGridLinesStyle v);
  TGridStyle GridStyle() const { return gridStyle_; }
  void SetGridStyle(TGridStyle v);
  int HeaderSize() const { return headerSize_; }
  void SetHeaderSize(int v);
  THeaderStyle HeaderStyle() const override { return headerStyle_; }
  void SetHeaderStyle(THeaderStyle v);
  bool HideScrollBar() const { return hideScrollBar_; }
  void SetHideScrollBar(bool v) { hideScrollBar_ = v; }
  int InputSize() const { return inputSize_; }
  void SetInputSize(int v);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions v);
  int RowSize() const { return rowSize_; }
  void SetRowSize(int v);
  TSelectionMoveDirection SelectionMoveDirection() const { return selectionMoveDirection_; }
  void SetSelectionMoveDirection(TSelectionMoveDirection v) { selectionMoveDirection_ = v; }
  int SlideSize() const { return slideSize_; }
  void SetSlideSize(int v);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v) { wantReturns_ = v; }

  // ---- events
  TGridEditAcceptEvent OnAfterEdit;
  TGridApplyCellEvent OnApplyCell;
  TGridBeforeEditEvent OnBeforeEdit;
  TGridCellEvent OnCellClick;
  TGridCellColoringEvent OnCellColoring;
  TGridCellEvent OnChange;
  TGridCustomDrawCellEvent OnCustomDrawCell;
  TGridDrawCellBackgroundEvent OnDrawCellBackground;
  TGridEditEvent OnEdit;
  TGridHeaderClickEvent OnHeaderClick;
  TGridInputAcceptEvent OnInputAccept;
  TGridCellEvent OnSelectCell;
  TGridSortColumnEvent OnSortColumn;

  // ---- state
  uint16_t GridState() const { return gridState_; }
  int AnchorRow() const { return anchorRow_; }
  int InputColumn() const { return edit_.inputColumn; }
  bool InputActive() const { return edit_.inputActive; }
  void SetInputActive(bool v);
  int Col() const { return col_; }
  int Row() const { return row_; }
  // The open editor; null when none is open or its column was destroyed.
  TCellEditor* Editor() const;
  int EditCol() const { return edit_.col; }
  int EditRow() const { return edit_.row; }
  TCustomColumn* HotHeaderColumn() const override { return hotHeaderColumn_; }
  TCustomColumn* PressedHeaderColumn() const override { return pressedHeaderColumn_; }
  bool RowSelected(int r) const { return r >= 0 && r < int(rowSelected_.size()) && rowSelected_[size_t(r)]; }
  // How many per-row selection flags there are (one per row), not how many are set.
  int RowFlagCount() const { return int(rowSelected_.size()); }
  bool IsCellSelected(int ACol, int ARow) const;
  // The control or its open editor has the keyboard focus.
  bool GridFocused() const;

  // ---- geometry (client coordinates)
  int GridLine() const { return options_.testFlag(goGrid) ? 1 : 0; }
  int IndicatorWidth() const { return options_.testFlag(goIndicator) ? kIndicatorWidth : 0; }
  int TopRow() const { return VertScrollBar()->Position(); }
  int HorzPos() const { return HorzScrollBar()->Position(); }
  int TotalWidth() const { return int(columns_->TotalWidth()); }
  TRect HeaderRect() const;
  TRect InputRect() const;
  TRect DataRect() const;
  TRect FooterRect() const;
  TRect IndicatorRect() const;
  int RowTop(int ARow) const;
  TRect RowRect(int ARow) const;
  int VisibleRowCount() const;
  TGridArea HitTest(TPoint P) const;
  // The visible column whose span holds x (its right end excluded), or -1.
  int ColumnAtX(int X) const;
  // The cell under a point; the column is -1 when no column is there.
  TPoint CellAtPoint(TPoint P) const;

  // ---- virtual operations, in slot order
  virtual void GetCellText(int ACol, int ARow, QString& Value);
  virtual TColor GetCellColor(int ACol, int ARow);
  virtual int HorzScrollRange();
  virtual int RowCount() const;
  virtual int VertScrollRange();
  virtual void ColumnsChanged(TCustomColumn* Column, int Kind);
  virtual void ColumnListNotice(int Kind, int Index1, int Index2);
  // Heard before ColumnListNotice, by what keeps per-column data.
  virtual void ColumnListChanged(int, int, int) {}
  virtual void PaintCell(int ACol, int ARow);
  virtual bool PrepareCellFont(int ACol, int ARow);
  virtual void SetCellText(int ACol, int ARow, const QString& Value);
  virtual void SortColumn(int ACol, bool Ascending);
  virtual void PaintColumnParts();
  virtual void PaintRows();
  virtual void PaintSlides(const TRect& R);
  virtual void InvalidateArea(TGridArea Area);
  virtual void InvalidateCell(int ACol, int ARow);
  virtual void UpdateHorzScrollBar();
  virtual void UpdateVertScrollBar();
  virtual bool ApplyEdit();
  virtual TColor GetCellBackColor(int ACol, int ARow);
  virtual TColor GetCellTextColor(int ACol, int ARow);
  virtual void CellRect(int ACol, int ARow, TRect& R, TGridArea Area = gaData);
  virtual bool CanEditColumn(int ACol);
  virtual void AddRows(int Count);
  virtual void CalculateFooters();
  virtual void ClearRows();
  virtual void DeleteRow(int ARow);
  virtual void InsertRow(int ARow);
  virtual void MoveRow(int FromRow, int ToRow);
  void InvalidateColumnPart(TCustomColumn* Column, TGridArea Area) override;
  virtual void SelectCell(int ACol, int ARow, TShiftState Shift);

  // CellRect by value, for callers that only read it.
  TRect GetCellRect(int ACol, int ARow, TGridArea Area = gaData) {
    TRect r;
    CellRect(ACol, ARow, r, Area);
    return r;
  }
  void InvalidateRow(int ARow, bool OutlineOnly = false);
  // Selection colours follow the current cell, the selected rows and focus.
  void RepaintSelection();

  // ---- selection and editing
  void SetRowSelected(int ARow, bool Value);
  void ClearRowSelection();
  void MoveToRow(int ARow);
  void MoveLeft();
  void MoveRight();
  void EditCell(int ACol, int ARow, const QString& Text);
  void EditInput(TCustomColumn* Column, const QString& Text);
  void PositionEditor();
  void AcceptInput();
  // What the input row puts in the column's new cell: the typed text, else
  // the column's default.
  static QString InputValue(const TCustomColumn* Column);
  virtual void CloseEditor();

  // ---- what the column model and the part display read
  int DataLeft() const override { return IndicatorWidth(); }
  int HorzPosition() const override { return HorzPos(); }
  TRect AreaRect(TGridArea area) const override;
  int CurrentColumn() const override { return col_; }
  bool IsDesigning() const override { return ComponentState().testFlag(csDesigning); }
  bool IsReading() const override { return ComponentState().testFlag(csReading); }
  void SetIndicatorChangeReceiver(std::function<void()> receiver) final { indicatorChanged_ = std::move(receiver); }
  QWidget* ThemeWindow() const override { return const_cast<TCustomGridViewControl*>(this); }
  bool HasGridLines() const override { return options_.testFlag(goGrid); }
  // The themed border is drawn by the control itself.
  bool ThemedBorder() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void WMNCPaint(TCanvas& WindowCanvas) override;
  void Paint() override;

  // Event firing; each does nothing while its event is unassigned.
  void DoCellColoring(int ACol, int ARow, TColor& CellColor, TColor& GridColor, TCellState State);
  void DoDrawCellBackground(int ACol, int ARow, const TRect& R, TCellState State, bool& DefaultDrawing);
  void DoCustomDrawCell(int ACol, int ARow, const TRect& R, TCellState State);
  void DoSortColumn(int ACol, bool Ascending);

  // The editor window's focus, and moving it to its cell after the layout
  // changed.
  virtual bool EditorHasFocus() const;
  virtual void UpdateEditorPosition() { PositionEditor(); }
  // The editor's keys: Enter commits, Escape cancels.
  virtual void EditorKeyDown(Word& Key, TShiftState Shift);
  void MoveBy(TSelectionMoveDirection direction);
  // Focus left both the grid and its editor: the edit is committed.
  void FocusLeftGrid();
  // A cell or the input row is being edited (its editor may have gone with
  // its column).
  bool EditorOpen() const { return gridState_ & (EditingCell | EditingInput); }
  void DoEdit(const QString& Value);
  // CloseEditor without the invariant check, for destructors.
  void ShutEditor();
  // A new column collection took the place of the old one.
  virtual void ColumnsReplaced() {}

  // Asserts the invariants below; every public operation that changes the
  // state ends with it (ApplyEdit excepted: it outlives rows taken from
  // under the grid). Descendants add theirs.
  virtual void CheckInvariants() const;
  // Checks the invariants when the operation that made it ends, on every
  // way out.
  struct TCheckOnExit {
    const TCustomGridViewControl* grid;
    ~TCheckOnExit() { grid->CheckInvariants(); }
  };
  // Nothing the grid holds on to outlives the columns: each held column is
  // one of Columns().
  virtual bool HeldColumnsAreLive() const;

  // What is being edited. The edit cell and the input column say where the
  // one editor is open; GridState's EditingCell and EditingInput say which.
  struct TEditState {
    // Gone by itself when its column is destroyed.
    QPointer<TCellEditor> editor;
    int col = -1;
    int row = -1;
    int inputColumn = -1;
    // The input row holds the selection (with or without its editor).
    bool inputActive = false;
  };

  // Descendants keep these in step with their rows and editing. Invariants:
  // - one editor at most: EditingCell and EditingInput are never both set,
  //   and an editor is held only while one is, a cell's editor being its
  //   column's;
  // - rowSelected_ holds one flag per row;
  // - the current cell and the anchor row are never below -1 (rows and
  //   columns that go may leave them past the end, so every reader checks
  //   the range), and the edit cell is a cell exactly while EditingCell is
  //   set, else (-1, -1);
  // - the input column is a column exactly while EditingInput is set, else
  //   -1, and then no cell is being edited;
  // - HeldColumnsAreLive.
  uint16_t gridState_ = 0;
  int anchorRow_ = -1;
  int col_ = 0;
  int row_ = 0;
  TEditState edit_;
  QPointer<TCustomColumn> hotHeaderColumn_;
  QPointer<TCustomColumn> pressedHeaderColumn_;
  std::vector<bool> rowSelected_;

 private:
  void SelectRange(int From, int To);
  void SelectionChanged(int OldCol, int OldRow);
  void OpenEditor(TCellEditor* editor, TCustomColumn* column, uint16_t kind, int margin, TColor color);
  void ReturnFocus();
  void MoveToDisplayNeighbour(int step);
  // SetRowSelected without the check, for the loops over every row.
  void SetRowFlag(int ARow, bool Value);
  bool OneEditorOnItsCell() const;
  bool OneFlagPerRow() const;
  bool CellsValidOrNone() const;
  bool InputRowMatchesEditor() const;
  void AttachColumns();
  TColumnDisplay* BindDisplay(TCustomColumn* column, const TRect& cellRect);
  void ClipCell(const TRect& cellRect);
  bool InClipBox(const TRect& R);
  void PaintColumnPart(TCustomColumn* column, TGridArea area, TPartKind kind);
  void DrawRaisedStrip(const TRect& R);
  void DrawThemedOrRaisedStrip(const TRect& R);
  bool ThemedHeaders() const;
  void PaintGridLines(int ACol, int ARow, TColor GridColor, const TRect& R);
  void PaintEmptyCell(int ACol, int ARow);
  void PaintFocusRect();
  void PaintIndicatorRowCell(int RowOffset, bool Current, bool Selected);
  void PaintIndicatorPartCells();
  void PaintFiller();
  void PaintCaption();
  void PaintReport();
  void PaintSlide(int ARow, int Y);
  bool IsLastVisibleColumn(const TCustomColumn* column) const;
  TRect SlideCellRect(const TCustomColumn* column, int ARow) const;
  TRect ColumnSpan(const TRect& area, const TCustomColumn* column) const;
  void UpdateThemedBorder();
  TRect ReportCellRect(const TCustomColumn* column, int ARow, TGridArea Area) const;

  std::unique_ptr<TColumnPartDisplay> partDisplay_;
  std::unique_ptr<TColumns> columns_;
  std::function<void()> indicatorChanged_;
  // What a cell puts the clip back to: the data area, a slide or the client.
  TRect restoreClip_;
  TBorderStyle borderStyle_ = bsSingle;
  QString caption_;
  TGridLinesStyle gridLinesStyle_ = lsNormal;
  TGridStyle gridStyle_ = gsReport;
  int headerSize_ = 18;
  THeaderStyle headerStyle_ = hsAuto;
  bool hideScrollBar_ = true;
  int inputSize_ = 16;
  TGridOptions options_ = goHeader | goHighlightTextSelection;
  int rowSize_ = 16;
  TSelectionMoveDirection selectionMoveDirection_ = mdDown;
  int slideSize_ = 80;
  bool wantReturns_ = false;

 protected:
  // While set, requests for the horizontal bar are dropped.
  bool holdHorzBar_ = false;
};
