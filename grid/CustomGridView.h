#pragma once
// The grid as a finished control: published properties and events, the
// keyboard (moves, typing into editors and plays, incremental search), the
// mouse (selection, column resizing with guide lines, header clicks and
// sorting, the start of column dragging), hints, automatic column widths and
// the window messages. Where the rows live is still left to descendants.

#include <QPointer>
#include <memory>

#include "grid/CustomGridViewControl.h"
#include "platform/Streaming.h"
#include "platform/Timers.h"

// Cursors the grid registers.
constexpr int crColumnBorder = 3000;
constexpr int crColumnNoDrag = 3001;
constexpr int crIndicatorSelect = 3006;

// Whether text starts with prefix, the Latin letters a to z in either case.
bool StartsWithFolded(const QString& text, const QString& prefix);

class TColumnDragBox;
class TDragArrow;

// A small top-most window showing one text on the info colour.
class THintWindow : public TCustomControl {
  Q_OBJECT
 public:
  explicit THintWindow(QWidget* AOwner = nullptr);

  // The size the text needs, wrapped at MaxWidth, at (0, 0).
  TRect CalcHintRect(int MaxWidth, const QString& Text);
  // Shows the text in R (screen coordinates).
  void ActivateHint(const TRect& R, const QString& Text);
  // Shows the text on the info colour with its top left at a screen point.
  void ActivateHintAt(TPoint ScreenAt, int MaxWidth, const QString& Text);
  void ReleaseHandle();
  bool Showing() const { return isVisible(); }
  const QString& HintText() const { return text_; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  QString text_;
};

class TCustomGridView : public TCustomGridViewControl, public IStoredChildren {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(GridViewTypes::TGridLinesStyle GridLinesStyle READ GridLinesStyle WRITE SetGridLinesStyle)
  Q_PROPERTY(GridViewTypes::TGridStyle GridStyle READ GridStyle WRITE SetGridStyle)
  Q_PROPERTY(int HeaderSize READ HeaderSize WRITE SetHeaderSize)
  Q_PROPERTY(GridPaintTypes::THeaderStyle HeaderStyle READ HeaderStyle WRITE SetHeaderStyle)
  Q_PROPERTY(bool HideScrollBar READ HideScrollBar WRITE SetHideScrollBar)
  Q_PROPERTY(int InputSize READ InputSize WRITE SetInputSize)
  Q_PROPERTY(GridViewTypes::TGridOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(int RowSize READ RowSize WRITE SetRowSize)
  Q_PROPERTY(GridViewTypes::TSelectionMoveDirection SelectionMoveDirection READ SelectionMoveDirection WRITE
                 SetSelectionMoveDirection)
  Q_PROPERTY(int SlideSize READ SlideSize WRITE SetSlideSize)
  Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
  Q_PROPERTY(int Width READ Width WRITE SetWidthValue)
  Q_PROPERTY(int Height READ Height WRITE SetHeightValue)
 public:
  static constexpr int kSearchInterval = 500;

  explicit TCustomGridView(QWidget* AOwner = nullptr);
  ~TCustomGridView() override;

  TPoint DownPoint() const { return downPoint_; }
  const QString& SearchText() const { return searchText_; }
  TTimer* SearchTimer() const { return searchTimer_.get(); }
  TCustomColumn* ResizeColumn() const { return resizeColumn_; }
  TCustomColumn* DragColumn() const { return dragColumn_; }
  TCustomColumn* DropTargetColumn() const { return dropTargetColumn_; }
  THintWindow* TextFitHint() const { return textFitHint_; }
  TColumnDragBox* DragBox() const { return dragBox_; }
  TDragArrow* TopArrow() const { return topArrow_; }
  TDragArrow* BottomArrow() const { return bottomArrow_; }

  void AutoSizeColumns();
  void MakeRowVisible(int ARow);
  void IncrementalSearch(TCustomColumn* Column, const QString& Text);
  // The column whose right border lies under the point in the header.
  TCustomColumn* ColumnBorderAt(int X, int Y) const;
  void ShowTextFitHint(int ACol, int ARow);

  // Stored forms: the columns are the grid's child objects.
  std::vector<TFormObject> StoredChildForms() const override;
  void ReadStoredChildForms(const std::vector<TFormObject>& forms) override;

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(QChar& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void MouseLeave() override;
  void DblClick() override;
  void DoEnter() override;
  void DoExit() override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void Resize() override;
  void FontChanged() override;
  bool HeldColumnsAreLive() const override;

  // Play objects: bound to a cell before they take a key or a click.
  void PrepareKeyPlay(TColumnPlay* Play, int ACol, int ARow);
  virtual void PrepareColumnPlay(TColumnPlay*) {}
  virtual void StorePlayValue(TColumnPlay*) {}
  // The first row from the one after Row, wrapping, whose text in the
  // column starts with Text; -1 when none.
  virtual int FindRowStartingWith(int ACol, const QString& Text);
  // The search itself, over the texts TextOf(row) gives.
  template <typename TextOf>
  int FirstRowStartingWith(const QString& Text, TextOf textOf) const {
    const int rows = RowCount(), from = Row();
    for (int i = 1; i <= rows; ++i) {
      const int r = (from + i) % rows;
      if (StartsWithFolded(textOf(r), Text)) return r;
    }
    return -1;
  }
  virtual void ShowCellHint(int, int) {}
  virtual void HideCellHint() {}
  // The application was left: drags end, arrows hide.
  void ApplicationDeactivated();
  // The drag box's reports, with the pointer in screen coordinates.
  void ColumnDragMoved(TPoint ScreenPoint);
  void ColumnDropped(TPoint ScreenPoint);

 private:
  void SetWidthValue(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeightValue(int v) { SetBounds(Left(), Top(), Width(), v); }
  void PageDown(TShiftState Shift, bool& PassOn);
  void PageUp(TShiftState Shift);
  void LineUp(TShiftState Shift);
  void LineDown(TShiftState Shift);
  void SearchKey(QChar Key);
  void PressData(TShiftState Shift, TPoint P, bool Indicator);
  void PressHeader(TPoint P);
  void StartResize(TCustomColumn* Column);
  void MoveResize(int X);
  void EndResize();
  void InvertGuideLine(int X);
  int ResizeLineX() const;
  void MoveOverHeader(int X, int Y);
  void StartColumnDrag();
  void EndColumnDrag();
  TCustomColumn* ReleaseHeader();
  void SetDragCursor(TCursor Cursor);
  void HideDropArrows();
  void LeaveHeader();
  void ReleaseOnData(int X, int Y);
  void ReleaseOnHeader(int X);
  void HideTextFitHint();
  void SizeChanged();
  bool Designing() const { return IsDesigning(); }
  // The column object under client x (ColumnAtX gives its index).
  TCustomColumn* ColumnItemAtX(int X) const;

  std::unique_ptr<TTimer> searchTimer_;
  THintWindow* textFitHint_ = nullptr;
  TDragArrow* topArrow_ = nullptr;
  TDragArrow* bottomArrow_ = nullptr;
  TColumnDragBox* dragBox_ = nullptr;
  // Columns may be deleted while a header is held.
  QPointer<TCustomColumn> dropTargetColumn_;
  QPointer<TCustomColumn> dragColumn_;
  // A drag given up while the button was still down: its release is not a
  // click, a sort or a drop.
  bool dragAbandoned_ = false;
  TPoint downPoint_{-1, -1};
  int lastClientHeight_ = 0;
  int lastClientWidth_ = 0;
  QString searchText_;
  int resizeDelta_ = 0;
  // Guarded like the dragged column: the list may be cleared while a border is held.
  QPointer<TCustomColumn> resizeColumn_;
  TPoint clickedCell_{-1, -1};
  TPoint hintCell_{-1, -1};
};
