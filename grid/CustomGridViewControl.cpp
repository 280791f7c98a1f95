#include "grid/CustomGridViewControl.h"

#include <QScopedValueRollback>
#include <climits>

#include "grid/CellEditors.h"
#include "grid/GridAccessible.h"
#include "grid/Providers.h"
#include "platform/Exceptions.h"
#include "platform/Themes.h"

namespace {

// Every bit up to the last option.
constexpr TGridOptions kAllOptions = TGridOptions::fromInt((uint32_t(goUseDefaultValues) << 1) - 1);

int Bounded(int v) { return BoundedExtent(v); }
// Row positions far outside the client: kept where an int sum cannot overflow.
int Bounded(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2)); }

TRect Widened(TRect r, int by) {
  r.Right += by;
  r.Bottom += by;
  return r;
}

}  // namespace

TCustomGridViewControl::TCustomGridViewControl(QWidget* AOwner) : TScrollView(AOwner) {
  partDisplay_ = std::make_unique<TColumnPartDisplay>(this, Canvas());
  columns_ = std::make_unique<TColumns>(this);
  AttachColumns();
  VertScrollUnit = rowSize_;
  SetTabStop(true);
  InstallGridAccessibility();
}

TCustomGridViewControl::~TCustomGridViewControl() {
  edit_.editor = nullptr;
  columns_.reset();
  partDisplay_.reset();
}

void TCustomGridViewControl::AttachColumns() {
  columns_->ColumnsChanged = [this](TColumns*, TCustomColumn* column, int kind) { ColumnsChanged(column, kind); };
  columns_->ColumnListNotice = [this](TObject*, int kind, int i1, int i2) { ColumnListNotice(kind, i1, i2); };
  columns_->ColumnListChanged = [this](TObject*, int kind, int i1, int i2) { ColumnListChanged(kind, i1, i2); };
}

TCustomColumn* TCustomGridViewControl::ColumnOrNull(int ACol) const {
  return ACol >= 0 && ACol < columns_->Count() ? columns_->Items(ACol) : nullptr;
}

// ---- properties -----------------------------------------------------------------

void TCustomGridViewControl::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  if (HandleAllocated()) RecreateWnd();
  UpdateThemedBorder();
}

void TCustomGridViewControl::SetCaption(const QString& v) {
  caption_ = v;
  const TRect data = DataRect();
  InvalidateRect(TRect(data.Left, data.Top, ClientWidth(), data.Bottom));
}

void TCustomGridViewControl::SetColumns(std::unique_ptr<TColumns> v) {
  const TCheckOnExit check{this};
  if (!v) return;
  if (v->Control() != this) throw Exception(QStringLiteral("The columns belong to another grid"));
  ColumnListNotice(lkCleared, -1, -1);
  columns_ = std::move(v);
  AttachColumns();
  ColumnsReplaced();
  Invalidate();
}

void TCustomGridViewControl::SetGridLinesStyle(TGridLinesStyle v) {
  gridLinesStyle_ = v;
  Invalidate();
}

void TCustomGridViewControl::SetGridStyle(TGridStyle v) {
  const TCheckOnExit check{this};
  gridStyle_ = v;
  if (v == gsSlides) {
    CloseEditor();
    SetInputActive(false);
  }
  Invalidate();
  UpdateEditorPosition();
  UpdateVertScrollBar();
}

void TCustomGridViewControl::SetHeaderSize(int v) {
  headerSize_ = Bounded(v);
  Invalidate();
  UpdateEditorPosition();
}

void TCustomGridViewControl::SetHeaderStyle(THeaderStyle v) {
  headerStyle_ = v;
  Invalidate();
  UpdateThemedBorder();
}

void TCustomGridViewControl::SetInputSize(int v) {
  inputSize_ = Bounded(v);
  Invalidate();
}

void TCustomGridViewControl::SetOptions(TGridOptions v) {
  const TCheckOnExit check{this};
  const TGridOptions old = options_;
  options_ = v & kAllOptions;
  if ((old ^ options_).testFlag(goIndicator) && indicatorChanged_) indicatorChanged_();
  Invalidate();
  UpdateEditorPosition();
  UpdateHorzScrollBar();
}

void TCustomGridViewControl::SetRowSize(int v) {
  if (v <= 0) return;
  rowSize_ = Bounded(v);
  VertScrollUnit = rowSize_;
  InvalidateArea(gaData);
  InvalidateArea(gaInput);
  InvalidateArea(gaIndicator);
  UpdateEditorPosition();
}

// A slide height of 0 would divide by zero in the slide arithmetic.
void TCustomGridViewControl::SetSlideSize(int v) {
  if (v <= 0) return;
  slideSize_ = Bounded(v);
  Invalidate();
}

void TCustomGridViewControl::SetInputActive(bool v) {
  const TCheckOnExit check{this};
  edit_.inputActive = v;
  InvalidateArea(gaInput);
  InvalidateArea(gaIndicator);
  RepaintSelection();
}

bool TCustomGridViewControl::GridFocused() const { return Focused() || EditorHasFocus(); }

bool TCustomGridViewControl::IsCellSelected(int ACol, int ARow) const {
  if (edit_.inputActive) return false;
  if (!GridFocused() && !options_.testFlag(goAlwaysShowSelection)) return false;
  const bool current = ACol == col_ && ARow == row_;
  const bool edited = (gridState_ & EditingCell) && ACol == edit_.col && ARow == edit_.row;
  if (options_.testFlag(goSelectFullRow))
    return RowSelected(ARow) && (!current || (!options_.testFlag(goAlwaysIndicateSelected) && !edited));
  return current && !edited;
}

// ---- geometry -------------------------------------------------------------------

TRect TCustomGridViewControl::HeaderRect() const {
  const int iw = IndicatorWidth();
  return TRect(iw, 0, iw + TotalWidth() - HorzPos(), headerSize_);
}

TRect TCustomGridViewControl::InputRect() const {
  const int iw = IndicatorWidth();
  const int top = options_.testFlag(goHeader) ? headerSize_ : 0;
  return TRect(iw, top, iw + TotalWidth() - HorzPos(), top + inputSize_ + kInputStrip + GridLine());
}

TRect TCustomGridViewControl::DataRect() const {
  if (gridStyle_ == gsSlides) return ClientRect();
  const int iw = IndicatorWidth();
  int top = options_.testFlag(goHeader) ? headerSize_ : 0;
  if (options_.testFlag(goInput)) top += inputSize_ + kInputStrip + GridLine();
  const int right = std::min(iw + TotalWidth() - HorzPos(), ClientWidth());
  const int bottom =
      options_.testFlag(goFooter) ? ClientHeight() - (headerSize_ + kFooterStrip) - GridLine() : ClientHeight();
  return TRect(iw, top, right, bottom);
}

TRect TCustomGridViewControl::FooterRect() const {
  if (gridStyle_ == gsSlides) return TRect();
  const int iw = IndicatorWidth();
  return TRect(iw, ClientHeight() - (headerSize_ + kFooterStrip) - GridLine(), iw + TotalWidth() - HorzPos(),
               ClientHeight());
}

TRect TCustomGridViewControl::IndicatorRect() const { return TRect(0, 0, kIndicatorWidth, ClientHeight()); }

TRect TCustomGridViewControl::AreaRect(TGridArea area) const {
  switch (area) {
    case gaData:
      return DataRect();
    case gaFooter:
      return FooterRect();
    case gaHeader:
      return HeaderRect();
    case gaIndicator:
      return IndicatorRect();
    case gaInput:
      return InputRect();
    default:
      return TRect();
  }
}

int TCustomGridViewControl::RowTop(int ARow) const {
  return Bounded(int64_t(GridLine() + rowSize_) * (int64_t(ARow) - TopRow()) + DataRect().Top);
}

TRect TCustomGridViewControl::RowRect(int ARow) const {
  const int top = RowTop(ARow);
  return TRect(0, top, DataRect().Right, top + GridLine() + rowSize_);
}

// Header, input row and footer may be taller than the client: never below 0.
int TCustomGridViewControl::VisibleRowCount() const {
  const TRect data = DataRect();
  return std::max(0, (data.Bottom - data.Top) / (GridLine() + rowSize_));
}

TGridArea TCustomGridViewControl::HitTest(TPoint P) const {
  if (gridStyle_ == gsSlides) return gaData;
  const auto holds = [P](const TRect& r) {
    return P.X >= r.Left && P.X < r.Right - 1 && P.Y >= r.Top && P.Y < r.Bottom - 1;
  };
  if (options_.testFlag(goHeader) && holds(HeaderRect())) return gaHeader;
  if (options_.testFlag(goInput) && holds(InputRect())) return gaInput;
  if (holds(DataRect())) return gaData;
  if (options_.testFlag(goFooter) && holds(FooterRect())) return gaFooter;
  if (options_.testFlag(goIndicator) && holds(IndicatorRect())) return gaIndicator;
  return gaNone;
}

// A column's right end is its right neighbour's first pixel.
int TCustomGridViewControl::ColumnAtX(int X) const {
  const int h = HorzPos();
  for (int i = 0; i < columns_->Count(); ++i) {
    const TCustomColumn* c = columns_->Items(i);
    if (c->Visible() && X >= c->Left() - h && X < c->Left() + c->Width() - h) return i;
  }
  return -1;
}

TPoint TCustomGridViewControl::CellAtPoint(TPoint P) const {
  if (gridStyle_ == gsReport)
    return TPoint(ColumnAtX(P.X), (P.Y - DataRect().Top) / (GridLine() + rowSize_) + TopRow());
  const int pitch = GridLine() + slideSize_;
  const TPoint inSlide(P.X, P.Y % pitch);
  int col = -1;
  for (int i = 0; i < columns_->Count() && col < 0; ++i) {
    const TCustomColumn* c = columns_->Items(i);
    const TSlideBounds* b = c->SlideBounds();
    if (c->Visible() && PtInRect(Bounds(b->Left(), b->Top(), b->Width(), b->Height()), inSlide)) col = i;
  }
  return TPoint(col, P.Y / pitch + TopRow());
}

TRect TCustomGridViewControl::ReportCellRect(const TCustomColumn* column, int ARow, TGridArea Area) const {
  const int left = column->Left() - HorzPos();
  const bool lineInside = options_.testFlag(goGrid) && gridLinesStyle_ != lsHorizontalOnly;
  const int right = left + column->Width() - (lineInside ? 1 : 0);
  const int top = Area == gaInput ? InputRect().Top : RowTop(ARow);
  return TRect(left, top, right, top + (Area == gaInput ? inputSize_ : rowSize_));
}

TRect TCustomGridViewControl::SlideCellRect(const TCustomColumn* column, int ARow) const {
  const TSlideBounds* b = column->SlideBounds();
  const int top = Bounded(int64_t(GridLine() + slideSize_) * (int64_t(ARow) - TopRow()) + b->Top());
  return TRect(b->Left(), top, b->Left() + b->Width(), top + b->Height());
}

void TCustomGridViewControl::CellRect(int ACol, int ARow, TRect& R, TGridArea Area) {
  const TCustomColumn* column = ColumnOrNull(ACol);
  if (!column) {
    R = TRect();
    return;
  }
  R = gridStyle_ == gsSlides ? SlideCellRect(column, ARow) : ReportCellRect(column, ARow, Area);
}

TRect TCustomGridViewControl::ColumnSpan(const TRect& area, const TCustomColumn* column) const {
  const int left = column->Left() - HorzPos();
  return TRect(left, area.Top, left + column->Width(), area.Bottom);
}

// ---- invalidation ---------------------------------------------------------------

void TCustomGridViewControl::InvalidateArea(TGridArea Area) {
  const bool on = Area == gaData || (Area == gaFooter && options_.testFlag(goFooter)) ||
                  (Area == gaHeader && options_.testFlag(goHeader)) ||
                  (Area == gaIndicator && options_.testFlag(goIndicator)) ||
                  (Area == gaInput && options_.testFlag(goInput));
  if (on) InvalidateRect(AreaRect(Area));
}

void TCustomGridViewControl::InvalidateCell(int ACol, int ARow) {
  InvalidateRect(Widened(GetCellRect(ACol, ARow, gaData), GridLine()));
}

void TCustomGridViewControl::InvalidateColumnPart(TCustomColumn* Column, TGridArea Area) {
  if (Column) InvalidateRect(ColumnSpan(AreaRect(Area), Column));
}

// The outline form marks only the four one-pixel edges, so it never cancels
// a repaint of the interior that something else asked for.
void TCustomGridViewControl::InvalidateRow(int ARow, bool OutlineOnly) {
  if (RowCount() == 0) return;
  const TRect r(0, RowTop(ARow), DataRect().Right, RowRect(ARow).Bottom);
  if (!OutlineOnly) return InvalidateRect(r);
  InvalidateRect(TRect(r.Left, r.Top, r.Right, r.Top + 1));
  InvalidateRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
  InvalidateRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
  InvalidateRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
}

void TCustomGridViewControl::RepaintSelection() {
  if (edit_.inputActive) InvalidateArea(gaInput);
  if (columns_->Count() == 0 || RowCount() == 0) return;
  if (!options_.testFlag(goSelectFullRow)) return InvalidateCell(col_, row_);
  const int last = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
  for (int r = TopRow(); r <= last; ++r)
    if (RowSelected(r)) InvalidateRow(r, true);
}

// ---- scroll ranges and bars -----------------------------------------------------

int TCustomGridViewControl::HorzScrollRange() {
  const int room = ClientWidth() - IndicatorWidth();
  return TotalWidth() <= room ? 0 : TotalWidth() - room;
}

int TCustomGridViewControl::VertScrollRange() { return std::max(0, RowCount() - VisibleRowCount()); }

// Before the window exists there is no bar to set, and showing one would
// make the window from a setter a constructor may call; the first paint
// sets both bars.
//
// Setting the range can show or hide the bar and so resize the client, which
// auto-sizes the columns and asks for the bar again; that inner request is
// dropped, or the two would answer each other until the stack runs out.
void TCustomGridViewControl::UpdateHorzScrollBar() {
  if (!HandleAllocated() || holdHorzBar_) return;
  const QScopedValueRollback guard(holdHorzBar_, true);
  TControlScrollBar* bar = HorzScrollBar();
  if (gridStyle_ == gsSlides) return bar->SetVisible(false);
  bar->SetMax(HorzScrollRange());
  bar->SetPageSize(5);
  bar->SetVisible(bar->Max() > 0);
  bar->PageStep = qRound(ClientWidth() * 0.05);
}

// Position 0 asks SetParams to leave the position alone, so an unchanged
// position causes no zero-distance scroll. A bar with nothing to scroll is
// hidden by the platform whatever the model says (so HideScrollBar off and
// the slides bar cannot keep it); asking to show it anyway would make every
// paint resize the client twice and paint again, without end.
void TCustomGridViewControl::UpdateVertScrollBar() {
  if (!HandleAllocated()) return;
  TControlScrollBar* bar = VertScrollBar();
  if (gridStyle_ == gsSlides) {
    const int max = std::max(0, RowCount() - ClientHeight() / (GridLine() + slideSize_));
    return bar->SetParams(0, 0, max, 1, max != 0, max > 0);
  }
  const int max = VertScrollRange();
  // Rows come and go by the thousand: an unchanged range is not pushed.
  if (bar->Max() == max && bar->Min() == 0 && bar->PageSize() == 1 && bar->Enabled() == (max > 0) &&
      bar->Visible() == (max > 0))
    return;
  bar->SetParams(0, 0, max, 1, max > 0, max > 0);
}

// ---- column notices -------------------------------------------------------------

void TCustomGridViewControl::ColumnsChanged(TCustomColumn* Column, int Kind) {
  const TCheckOnExit check{this};
  if (!HandleAllocated() || !Column) return;
  if (Kind == ckInputText) return InvalidateColumnPart(Column, gaInput);
  Invalidate();
  if (EditorOpen() && (Kind == ckPosition || Kind == ckSort || Kind == ckVisible || Kind == ckWidth))
    UpdateEditorPosition();
  if (Kind == ckWidth) UpdateHorzScrollBar();
  if (Kind == ckSort && Column->Sorted()) {
    const bool ascending = Column->SortKind() == skAscending;
    SortColumn(Column->Index(), ascending);
    DoSortColumn(Column->Index(), ascending);
  }
}

// The columns are gone when the list is cleared: every reference to them
// and to their editors is dropped without touching them.
void TCustomGridViewControl::ColumnListNotice(int Kind, int, int) {
  const TCheckOnExit check{this};
  if (Kind == lkCleared) {
    CloseEditor();
    edit_.inputColumn = -1;
    hotHeaderColumn_ = nullptr;
    pressedHeaderColumn_ = nullptr;
  } else if (EditorOpen()) {
    UpdateEditorPosition();
  }
  Invalidate();
}

// ---- events ---------------------------------------------------------------------

void TCustomGridViewControl::DoCellColoring(int ACol, int ARow, TColor& CellColor, TColor& GridColor,
                                            TCellState State) {
  if (OnCellColoring) OnCellColoring(this, ACol, ARow, CellColor, GridColor, State);
}

void TCustomGridViewControl::DoDrawCellBackground(int ACol, int ARow, const TRect& R, TCellState State,
                                                  bool& DefaultDrawing) {
  if (OnDrawCellBackground) OnDrawCellBackground(this, ACol, ARow, R, State, DefaultDrawing);
}

void TCustomGridViewControl::DoCustomDrawCell(int ACol, int ARow, const TRect& R, TCellState State) {
  if (OnCustomDrawCell) OnCustomDrawCell(this, ACol, ARow, R, State);
}

void TCustomGridViewControl::DoSortColumn(int ACol, bool Ascending) {
  if (OnSortColumn) OnSortColumn(this, ACol, Ascending);
}

// ---- operations the grid view fills in ------------------------------------------

void TCustomGridViewControl::GetCellText(int, int, QString&) { AbstractError(); }
TColor TCustomGridViewControl::GetCellColor(int, int) { AbstractError(); }
int TCustomGridViewControl::RowCount() const { AbstractError(); }
void TCustomGridViewControl::SetCellText(int, int, const QString&) { AbstractError(); }
void TCustomGridViewControl::SortColumn(int, bool) { AbstractError(); }
void TCustomGridViewControl::AddRows(int) { AbstractError(); }
void TCustomGridViewControl::CalculateFooters() { AbstractError(); }
void TCustomGridViewControl::DeleteRow(int) { AbstractError(); }
void TCustomGridViewControl::InsertRow(int) { AbstractError(); }
void TCustomGridViewControl::MoveRow(int, int) { AbstractError(); }

bool TCustomGridViewControl::CanEditColumn(int ACol) {
  const TCustomColumn* column = ColumnOrNull(ACol);
  return column && column->Options().testFlag(coEditing);
}

// Any old current cell but (0, 0) loses its focus mark.
void TCustomGridViewControl::ClearRows() {
  const TCheckOnExit check{this};
  const int oldCol = col_, oldRow = row_;
  col_ = 0;
  row_ = 0;
  if (oldCol != 0 || oldRow != 0) InvalidateCell(oldCol, oldRow);
}

// ---- colours --------------------------------------------------------------------

TColor TCustomGridViewControl::GetCellBackColor(int ACol, int ARow) {
  if (!IsCellSelected(ACol, ARow)) return GetCellColor(ACol, ARow);
  if (!GridFocused()) return clBtnFace;
  if (options_.testFlag(goAlphaBlendedSelection)) return TGraphicsProvider::MixColors(Color(), clHighlight, 0.25);
  return clHighlight;
}

TColor TCustomGridViewControl::GetCellTextColor(int ACol, int ARow) {
  if (IsCellSelected(ACol, ARow) && GridFocused() && options_.testFlag(goHighlightTextSelection))
    return clHighlightText;
  return columns_->Items(ACol)->Font()->Color();
}

bool TCustomGridViewControl::PrepareCellFont(int ACol, int ARow) {
  TFont* font = Canvas()->Font();
  font->Assign(columns_->Items(ACol)->Font());
  font->SetColor(GetCellTextColor(ACol, ARow));
  if (IsCellSelected(ACol, ARow) && options_.testFlag(goBoldTextSelection)) font->SetStyle(font->Style() | fsBold);
  return false;
}

// ---- window ---------------------------------------------------------------------

void TCustomGridViewControl::CreateParams(TCreateParams& Params) {
  TScrollView::CreateParams(Params);
  if (borderStyle_ == bsSingle)
    Params.ExStyle |= WS_EX_STATICEDGE;
  else
    Params.ExStyle &= ~WS_EX_STATICEDGE;
  // Resizing repaints only what the size handling marks.
  Params.WindowClassStyle &= ~(CS_VREDRAW | CS_HREDRAW);
}

void TCustomGridViewControl::CreateWnd() {
  TScrollView::CreateWnd();
  HorzScrollBar()->PageStep = 10;
  HorzScrollBar()->LineStep = 5;
  VertScrollBar()->PageStep = 10;
  UpdateThemedBorder();
}

void TCustomGridViewControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_THEMECHANGED) UpdateThemedBorder();
  TScrollView::WndProc(Message);
}

bool TCustomGridViewControl::ThemedBorder() const {
  return borderStyle_ == bsSingle && headerStyle_ == hsAuto && ThemesActive();
}

void TCustomGridViewControl::UpdateThemedBorder() {
  SetBorderWidth(ThemedBorder() ? 1 : 0);
  InvalidateFrame();
}

// The list-view frame over the whole window, its outer two pixels only.
void TCustomGridViewControl::WMNCPaint(TCanvas& WindowCanvas) {
  TScrollView::WMNCPaint(WindowCanvas);
  if (!ThemedBorder()) return;
  const TRect whole(0, 0, Width(), Height());
  TRect inner = whole;
  InflateRect(inner, -2, -2);
  WindowCanvas.SetClipRect(whole);
  WindowCanvas.ExcludeClipRect(inner);
  DrawThemed(this, &WindowCanvas, whole, TThemeClass::ListView, 1, 0);
  WindowCanvas.ResetClip();
}

// ---- painting -------------------------------------------------------------------

bool TCustomGridViewControl::ThemedHeaders() const { return headerStyle_ == hsAuto && ThemesActive(); }

void TCustomGridViewControl::Paint() {
  TScrollView::Paint();
  if (gridState_ & ResizingColumn) return;  // the resize guide lines stay
  restoreClip_ = ClientRect();
  if (gridStyle_ == gsSlides) {
    HorzScrollRect = ClientRect();
    VertScrollRect = ClientRect();
    VertScrollUnit = GridLine() + slideSize_;
    PaintSlides(ClientRect());
    UpdateVertScrollBar();
    return;
  }
  PaintReport();
}

void TCustomGridViewControl::PaintReport() {
  const TRect data = DataRect();
  HorzScrollRect = TRect(data.Left, 0, ClientWidth(), ClientHeight());
  VertScrollRect = TRect(0, data.Top, data.Right, data.Bottom);
  VertScrollUnit = GridLine() + rowSize_;
  UpdateVertScrollBar();
  PaintColumnParts();
  if (TotalWidth() - HorzPos() < ClientWidth()) PaintFiller();
  if (RowCount() == 0) PaintCaption();
  UpdateHorzScrollBar();
}

void TCustomGridViewControl::PaintFiller() {
  const TRect data = DataRect();
  const int cw = ClientWidth();
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  if (!ThemedHeaders()) return canvas->FillRect(TRect(data.Right, 0, cw, ClientHeight()));
  const TRect headerFiller(data.Right, 0, cw, headerSize_);
  if (options_.testFlag(goHeader) && InClipBox(headerFiller)) partDisplay_->DrawThemedFiller(headerFiller);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(TRect(data.Right, InputRect().Top, cw, data.Bottom));
  canvas->FillRect(TRect(data.Right, data.Bottom, cw, ClientHeight()));
}

void TCustomGridViewControl::PaintCaption() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  const int top = DataRect().Top + 4;
  TRect band(0, top, ClientWidth(), top + canvas->TextHeight(caption_));
  canvas->Brush()->SetStyle(bsClear);
  canvas->DrawText(caption_, band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  canvas->Brush()->SetStyle(bsSolid);
}

void TCustomGridViewControl::DrawRaisedStrip(const TRect& R) {
  TGraphicsProvider::DrawButtonFace(Canvas(), R, headerStyle_ == hsOldStyle);
}

void TCustomGridViewControl::DrawThemedOrRaisedStrip(const TRect& R) {
  if (ThemedHeaders())
    DrawThemed(this, Canvas(), R, TThemeClass::Rebar, 0, 1);
  else
    DrawRaisedStrip(R);
}

void TCustomGridViewControl::PaintColumnParts() {
  const int cw = ClientWidth();
  int x = DataRect().Left - HorzPos();
  for (int i = 0; i < columns_->Count() && x < cw; ++i) {
    TCustomColumn* column = columns_->DisplayItems(i);
    if (!column->Visible()) continue;
    x += column->Width();
    if (x <= 0) continue;
    partDisplay_->Column = column;
    partDisplay_->RightToLeft = UseRightToLeftReading();
    partDisplay_->InputActive = edit_.inputActive;
    partDisplay_->Focused = GridFocused();
    if (options_.testFlag(goHeader)) {
      Canvas()->Font()->Assign(Font());
      PaintColumnPart(column, gaHeader, pkHeader);
    }
    if (options_.testFlag(goInput)) PaintColumnPart(column, gaInput, pkInput);
    if (options_.testFlag(goFooter)) PaintColumnPart(column, gaFooter, pkFooter);
  }
  if (options_.testFlag(goInput)) {
    const TRect input = InputRect();
    const TRect strip(0, input.Bottom - kInputStrip, input.Right, input.Bottom);
    if (InClipBox(strip)) DrawThemedOrRaisedStrip(strip);
  }
  if (options_.testFlag(goFooter)) {
    const TRect footer = FooterRect();
    const TRect strip(footer.Left - HorzPos(), footer.Top, footer.Right, footer.Top + kFooterStrip);
    if (InClipBox(strip)) DrawThemedOrRaisedStrip(strip);
  }
  if (options_.testFlag(goIndicator)) PaintIndicatorPartCells();
  PaintRows();
}

// Drawing a part costs even where the clip throws its pixels away (themed
// parts most): parts outside the clip box are not drawn at all.
bool TCustomGridViewControl::InClipBox(const TRect& R) {
  TRect visible;
  return IntersectRect(visible, R, Canvas()->ClipRect());
}

void TCustomGridViewControl::PaintColumnPart(TCustomColumn* column, TGridArea area, TPartKind kind) {
  partDisplay_->PartRect = column->PartRect(area);
  if (InClipBox(partDisplay_->PartRect)) partDisplay_->PaintPart(kind);
}

void TCustomGridViewControl::PaintIndicatorPartCells() {
  TCanvas* canvas = Canvas();
  if (options_.testFlag(goInput)) {
    const TRect input = InputRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(TRect(0, input.Top, kIndicatorWidth, input.Bottom - kInputStrip));
  }
  if (options_.testFlag(goFooter)) {
    const TRect footer = FooterRect();
    DrawRaisedStrip(TRect(0, footer.Top, kIndicatorWidth, footer.Bottom));
  }
  const TRect corner(0, 0, kIndicatorWidth, headerSize_);
  if (options_.testFlag(goHeader) && InClipBox(corner)) {
    if (ThemedHeaders())
      partDisplay_->DrawThemedCorner(corner);
    else
      DrawRaisedStrip(corner);
  }
}

void TCustomGridViewControl::PaintRows() {
  TRect clip = DataRect();
  if (options_.testFlag(goIndicator)) clip.Left = 0;
  TCanvas* canvas = Canvas();
  canvas->SetClipRect(clip);
  restoreClip_ = clip;
  // Only rows and columns inside the clip box are visited: repainting one
  // cell costs one cell whatever the number of rows.
  const TRect box = canvas->ClipRect();
  const int rows = RowCount(), h = HorzPos(), pitch = GridLine() + rowSize_;
  const int bottom = std::min(clip.Bottom, box.Bottom);
  const int first = TopRow() + std::max(0, (box.Top - clip.Top) / pitch);
  for (int i = first; RowTop(i) < bottom; ++i) {
    for (int p = 0; p < columns_->Count(); ++p) {
      const TCustomColumn* column = columns_->DisplayItems(p);
      if (!column->Visible()) continue;
      const int left = column->Left() - h;
      if (left >= box.Right) break;
      if (left + column->Width() <= box.Left) continue;
      if (i < rows)
        PaintCell(column->Index(), i);
      else
        PaintEmptyCell(column->Index(), i);
    }
    if (options_.testFlag(goIndicator))
      PaintIndicatorRowCell(i - TopRow(), i == row_ && rows > 0, rows > 0 && i < rows && RowSelected(i));
  }
  if (options_.testFlag(goSelectFullRow)) PaintFocusRect();
  restoreClip_ = ClientRect();
  canvas->ResetClip();
}

// The cell and its grid lines, never below the data area.
void TCustomGridViewControl::ClipCell(const TRect& cellRect) {
  TRect clip = Widened(cellRect, GridLine());
  clip.Bottom = std::min(clip.Bottom, DataRect().Bottom);
  IntersectRect(clip, clip, restoreClip_);
  Canvas()->SetClipRect(clip);
}

TColumnDisplay* TCustomGridViewControl::BindDisplay(TCustomColumn* column, const TRect& cellRect) {
  TColumnDisplay* display = column->Display();
  if (!display) return nullptr;
  display->Canvas = Canvas();
  display->RightToLeft = UseRightToLeftReading();
  display->CellRect = cellRect;
  display->ThemeWindow = this;
  return display;
}

void TCustomGridViewControl::PaintCell(int ACol, int ARow) {
  TCustomColumn* column = ColumnOrNull(ACol);
  if (!column || !column->Visible()) return;
  TCellState state;
  TColor gridColor = clBtnFace;
  bool defaultDrawing = true;
  const TRect rect = GetCellRect(ACol, ARow, gaData);
  TRect visible;
  if (!IntersectRect(visible, Widened(rect, GridLine()), Canvas()->ClipRect())) return;

  Canvas()->Font()->Assign(column->Font());
  TColor cellColor = GetCellBackColor(ACol, ARow);
  const bool selected = IsCellSelected(ACol, ARow);
  if (selected) state |= csSelected;
  if (TColumnDisplay* display = column->Display()) display->Selected = selected;
  if (GridFocused() && !options_.testFlag(goHideFocus)) state |= csFocused;
  DoCellColoring(ACol, ARow, cellColor, gridColor, state);
  if (options_.testFlag(goIndicateSortedColumn) && column->Sorted() && !selected) cellColor = kSortedColumnColor;

  ClipCell(rect);
  if (options_.testFlag(goGrid) && gridStyle_ == gsReport) PaintGridLines(ACol, ARow, gridColor, rect);
  DoDrawCellBackground(ACol, ARow, rect, state, defaultDrawing);
  TColumnDisplay* display = BindDisplay(column, rect);
  if (display) {
    const bool editorOpen = (gridState_ & EditingCell) && edit_.col == ACol && edit_.row == ARow;
    if (defaultDrawing) display->FillBackground(cellColor, !editorOpen);
    display->Current = ACol == col_ && ARow == row_;
    const TDrawingOptions drawing = column->DrawingOptions();
    if ((drawing == doNormal || drawing == doCustom) && PrepareCellFont(ACol, ARow)) display->PaintValue();
  }
  if (column->DrawingOptions() != doNormal) DoCustomDrawCell(ACol, ARow, rect, state);
  if (!options_.testFlag(goSelectFullRow)) PaintFocusRect();
  Canvas()->SetClipRect(restoreClip_);
}

bool TCustomGridViewControl::IsLastVisibleColumn(const TCustomColumn* column) const {
  return column->VisibleIndex() >= 0 && column->VisibleIndex() + 1 == columns_->VisibleCount();
}

void TCustomGridViewControl::PaintGridLines(int ACol, int ARow, TColor GridColor, const TRect& R) {
  TCanvas* canvas = Canvas();
  const bool framed = gridLinesStyle_ == lsFramed;
  canvas->Pen()->SetColor(framed && ARow == RowCount() - 1 ? clBlack : GridColor);
  canvas->Polyline({TPoint(R.Left, R.Bottom), TPoint(R.Right, R.Bottom)});
  if (gridLinesStyle_ == lsHorizontalOnly) return;
  const bool edge = framed && ARow < RowCount() && IsLastVisibleColumn(columns_->Items(ACol));
  canvas->Pen()->SetColor(edge ? clBlack : GridColor);
  canvas->Polyline({TPoint(R.Right, R.Top), TPoint(R.Right, R.Bottom + 1)});
}

void TCustomGridViewControl::PaintEmptyCell(int ACol, int ARow) {
  TColor cellColor = Color();
  TColor gridColor = clBtnFace;
  const TRect rect = GetCellRect(ACol, ARow, gaData);
  TRect visible;
  if (!IntersectRect(visible, Widened(rect, GridLine()), Canvas()->ClipRect())) return;
  ClipCell(rect);
  DoCellColoring(ACol, ARow, cellColor, gridColor, TCellState());
  if (options_.testFlag(goGrid)) PaintGridLines(ACol, ARow, gridColor, rect);
  Canvas()->Brush()->SetColor(cellColor);
  Canvas()->FillRect(rect);
  Canvas()->SetClipRect(restoreClip_);
}

void TCustomGridViewControl::PaintFocusRect() {
  const TCustomColumn* current = ColumnOrNull(col_);
  if (!current || !RowInBounds(row_)) return;
  if (edit_.inputActive || !GridFocused() || options_.testFlag(goHideFocus)) return;
  // A hidden column's rectangle is stale and lies over another column.
  if (!current->Visible()) return;
  TRect r;
  if (options_.testFlag(goSelectFullRow)) {
    const int left = DataRect().Left - HorzPos();
    r = TRect(left, RowTop(row_), left + TotalWidth() - GridLine(), RowTop(row_) + rowSize_);
  } else {
    r = GetCellRect(col_, row_, gaData);
  }
  if (!TCalcProvider::RectsIntersect(r, DataRect())) return;
  TGraphicsProvider::DrawFocus(Canvas(), r, options_.testFlag(goAlphaBlendedSelection));
}

void TCustomGridViewControl::PaintIndicatorRowCell(int RowOffset, bool Current, bool Selected) {
  const int top = DataRect().Top + RowOffset * (GridLine() + rowSize_);
  TGraphicsProvider::DrawIndicator(Canvas(), TRect(0, top, kIndicatorWidth, top + rowSize_ + GridLine()), Current,
                                   Selected, headerStyle_ == hsOldStyle);
}

void TCustomGridViewControl::PaintSlides(const TRect& R) {
  const int rows = RowCount(), pitch = GridLine() + slideSize_;
  int y = R.Top;
  for (int i = TopRow(); i < rows; ++i) {
    PaintSlide(i, y);
    y += pitch;
    if (y > R.Bottom) break;
    if (options_.testFlag(goGrid)) {
      Canvas()->Pen()->SetColor(clBtnFace);
      Canvas()->Polyline({TPoint(0, y - 1), TPoint(ClientWidth(), y - 1)});
    }
  }
  restoreClip_ = ClientRect();
  Canvas()->ResetClip();
  if (y < R.Bottom) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(TRect(R.Left, y, R.Right, R.Bottom));
  }
}

void TCustomGridViewControl::PaintSlide(int ARow, int Y) {
  TCanvas* canvas = Canvas();
  const TRect slide(0, Y, ClientWidth(), Y + slideSize_);
  restoreClip_ = TRect(slide.Left, slide.Top, slide.Right, slide.Bottom + GridLine());
  canvas->SetClipRect(restoreClip_);
  canvas->Font()->SetColor(Font()->Color());
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(slide);
  for (int i = 0; i < columns_->Count(); ++i)
    if (columns_->Items(i)->Visible()) PaintCell(i, ARow);
  if (ARow != row_) return;
  canvas->Brush()->SetColor(clHighlight);
  canvas->FrameRect(TCalcProvider::InflateSides(slide, 1, 1, -1, -1));
  canvas->FrameRect(TCalcProvider::InflateSides(slide, 2, 2, -2, -2));
}

// ---- invariants -----------------------------------------------------------------

void TCustomGridViewControl::CheckInvariants() const {
  Q_ASSERT(OneEditorOnItsCell());
  Q_ASSERT(OneFlagPerRow());
  Q_ASSERT(CellsValidOrNone());
  Q_ASSERT(InputRowMatchesEditor());
  Q_ASSERT(HeldColumnsAreLive());
}

// The column's editor was made when it opened, so asking for it makes none.
bool TCustomGridViewControl::OneEditorOnItsCell() const {
  const bool cell = gridState_ & EditingCell, input = gridState_ & EditingInput;
  if (cell && input) return false;
  if (!edit_.editor) return true;
  if (!cell && !input) return false;
  const TCustomColumn* column = ColumnOrNull(cell ? edit_.col : edit_.inputColumn);
  return column && column->Editor() == edit_.editor.data();
}

// The bare control has no rows to count, and so no flags.
bool TCustomGridViewControl::OneFlagPerRow() const {
  try {
    return int(rowSelected_.size()) == RowCount();
  } catch (const EAbstractError&) {
    return rowSelected_.empty();
  }
}

bool TCustomGridViewControl::CellsValidOrNone() const {
  if (col_ < -1 || row_ < -1 || anchorRow_ < -1) return false;
  if (!(gridState_ & EditingCell)) return edit_.col == -1 && edit_.row == -1;
  return ColumnOrNull(edit_.col) && RowInBounds(edit_.row);
}

bool TCustomGridViewControl::InputRowMatchesEditor() const {
  if (!(gridState_ & EditingInput)) return edit_.inputColumn == -1;
  return ColumnOrNull(edit_.inputColumn) && edit_.col == -1 && edit_.row == -1;
}

bool TCustomGridViewControl::HeldColumnsAreLive() const {
  const auto live = [this](const TCustomColumn* c) { return !c || c->Collection() == columns_.get(); };
  return live(hotHeaderColumn_) && live(pressedHeaderColumn_);
}

// ---- selection ------------------------------------------------------------------

void TCustomGridViewControl::SetRowSelected(int ARow, bool Value) {
  SetRowFlag(ARow, Value);
  CheckInvariants();
}

void TCustomGridViewControl::SetRowFlag(int ARow, bool Value) {
  if (ARow < 0 || ARow >= int(rowSelected_.size()) || rowSelected_[size_t(ARow)] == Value) return;
  rowSelected_[size_t(ARow)] = Value;
  if (options_.testFlag(goSelectFullRow)) InvalidateRow(ARow);
}

void TCustomGridViewControl::ClearRowSelection() {
  const TCheckOnExit check{this};
  for (int r = 0; r < int(rowSelected_.size()); ++r) SetRowFlag(r, false);
  gridState_ &= uint16_t(~RangeSelecting);
}

// Rows between the anchor and To are selected, all others not; an anchor
// that is no row yet (Shift as the very first action) starts at To.
void TCustomGridViewControl::SelectRange(int From, int To) {
  if (From < 0) From = To;
  const int low = std::min(From, To), high = std::max(From, To);
  for (int r = 0; r < int(rowSelected_.size()); ++r) SetRowFlag(r, r >= low && r <= high);
}

void TCustomGridViewControl::SelectCell(int ACol, int ARow, TShiftState Shift) {
  const TCheckOnExit check{this};
  const int oldCol = col_, oldRow = row_;
  col_ = ACol;
  row_ = ARow;
  const bool multi = options_.testFlag(goMultiSelect) && options_.testFlag(goSelectFullRow);
  if (multi && Shift.testFlag(ssCtrl)) {
    anchorRow_ = ARow;
    gridState_ |= RangeSelecting;
    SetRowFlag(ARow, !RowSelected(ARow));
  } else if (multi && Shift.testFlag(ssShift)) {
    gridState_ |= RangeSelecting;
    SelectRange(anchorRow_, ARow);
  } else {
    if (gridState_ & RangeSelecting)
      ClearRowSelection();
    else
      SetRowFlag(oldRow, false);
    SetRowFlag(ARow, true);
    anchorRow_ = ARow;
  }
  SelectionChanged(oldCol, oldRow);
}

void TCustomGridViewControl::SelectionChanged(int OldCol, int OldRow) {
  if (edit_.inputActive) {
    InvalidateColumnPart(ColumnOrNull(OldCol), gaInput);
    InvalidateColumnPart(ColumnOrNull(col_), gaInput);
    return;
  }
  if (OnSelectCell) OnSelectCell(this, col_, row_);
  if (OldCol == col_ && OldRow == row_) return;
  if (gridStyle_ == gsSlides) return Invalidate();
  if (options_.testFlag(goSelectFullRow)) {
    InvalidateRow(OldRow);
    InvalidateRow(row_);
  } else if (options_.testFlag(goIndicator)) {
    InvalidateArea(gaIndicator);
  }
  InvalidateCell(OldCol, OldRow);
  InvalidateCell(col_, row_);
}

void TCustomGridViewControl::MoveToRow(int ARow) {
  const TCheckOnExit check{this};
  if (!RowInBounds(ARow)) return;
  SelectCell(col_, ARow, {});
  edit_.inputActive = false;
}

void TCustomGridViewControl::MoveToDisplayNeighbour(int step) {
  const TCheckOnExit check{this};
  const TCustomColumn* current = ColumnOrNull(col_);
  const int place = current ? columns_->DisplayIndexOf(current) : -1;
  if (place < 0) return;
  for (int p = place + step; p >= 0 && p < columns_->Count(); p += step) {
    const TCustomColumn* column = columns_->DisplayItems(p);
    if (column->Visible()) return SelectCell(column->Index(), row_, {});
  }
}

void TCustomGridViewControl::MoveLeft() { MoveToDisplayNeighbour(-1); }
void TCustomGridViewControl::MoveRight() { MoveToDisplayNeighbour(1); }

void TCustomGridViewControl::MoveBy(TSelectionMoveDirection direction) {
  switch (direction) {
    case mdUp:
      return MoveToRow(row_ - 1);
    case mdDown:
      return MoveToRow(row_ + 1);
    case mdLeft:
      return MoveLeft();
    case mdRight:
      return MoveRight();
    case mdNone:
      return;
  }
}

// ---- editing --------------------------------------------------------------------

TCellEditor* TCustomGridViewControl::Editor() const { return edit_.editor; }

bool TCustomGridViewControl::EditorHasFocus() const {
  const TCellEditor* editor = Editor();
  return editor && editor->hasFocus();
}

void TCustomGridViewControl::DoEdit(const QString& Value) {
  if (OnEdit) OnEdit(this, edit_.col, edit_.row, Value);
}

// The set-up the cell and the input editor share: the edit in progress is
// applied and closed, the new editor takes the grid's keys and focus and the
// column's look.
void TCustomGridViewControl::OpenEditor(TCellEditor* editor, TCustomColumn* column, uint16_t kind, int margin,
                                        TColor color) {
  ApplyEdit();
  CloseEditor();
  edit_.editor = editor;
  editor->SetParent(this);
  editor->SetBorderStyle(bsNone);
  editor->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { EditorKeyDown(Key, Shift); };
  editor->OnEnter = [this](TObject*) {
    if (!GridFocused()) Invalidate();
  };
  editor->OnExit = [this](TObject*) {
    if (!EditorOpen() || GridFocused()) return;
    Invalidate();
    FocusLeftGrid();
  };
  gridState_ |= kind;
  column->PrepareEditor();
  editor->SetAlignment(column->Alignment());
  editor->SetMargin(margin);
  editor->SetVerticalAlignment(column->VerticalAlignment());
  editor->SetColor(color);
  editor->Font()->SetColor(column->Font()->Color());
}

void TCustomGridViewControl::EditCell(int ACol, int ARow, const QString& Text) {
  const TCheckOnExit check{this};
  if ((gridState_ & EditingCell) && ACol == edit_.col && ARow == edit_.row) return;
  if (!ColumnOrNull(ACol) || !RowInBounds(ARow)) return;
  bool accept = true;
  if (OnBeforeEdit) OnBeforeEdit(this, ACol, ARow, accept);
  if (!accept || !CanEditColumn(ACol)) return;
  TCustomColumn* column = columns_->Items(ACol);
  auto* editor = qobject_cast<TCellEditor*>(column->Editor());
  if (!editor) return;
  editor->OnChange = [this](TObject*) {
    if (TCellEditor* e = Editor()) DoEdit(e->GetAsText());
  };
  OpenEditor(editor, column, EditingCell, -1, GetCellColor(ACol, ARow));
  editor->SetBiDiMode(BiDiMode());
  edit_.col = ACol;
  edit_.row = ARow;
  QString value = Text;
  if (value.isEmpty()) GetCellText(ACol, ARow, value);
  editor->SetAsText(value);
  PositionEditor();
  editor->StartEdit();
  if (column->Options().testFlag(coEditorAutoSelect)) editor->SelectAll();
}

void TCustomGridViewControl::EditInput(TCustomColumn* Column, const QString& Text) {
  const TCheckOnExit check{this};
  if (!Column || Column->Collection() != columns_.get()) return;
  SetInputActive(true);
  SelectCell(Column->Index(), row_, {});
  auto* editor = qobject_cast<TCellEditor*>(Column->Options().testFlag(coCanInput) ? Column->Editor() : nullptr);
  if (!editor) return;
  OpenEditor(editor, Column, EditingInput, 0, Column->Color());
  edit_.inputColumn = Column->Index();
  Column->SetInputOpen(true);
  editor->SetAsText(Text.isEmpty() ? Column->InputText() : Text);
  edit_.col = -1;
  edit_.row = -1;
  PositionEditor();
  if (Column->Options().testFlag(coEditorAutoSelect)) editor->SelectAll();
  editor->StartEdit();
}

void TCustomGridViewControl::PositionEditor() {
  TCellEditor* editor = Editor();
  if (!editor) return;
  TRect r;
  if (gridState_ & EditingCell) {
    r = GetCellRect(edit_.col, edit_.row, gaData);
    if (r.Top < DataRect().Top) return editor->hide();
  } else if (gridState_ & EditingInput) {
    r = GetCellRect(edit_.inputColumn, 0, gaInput);
  } else {
    return;
  }
  InflateRect(r, -1, -1);
  r.Left = std::max({r.Left, 0, DataRect().Left});
  editor->SetBounds(r.Left, r.Top, std::max(0, r.Right - r.Left), std::max(0, r.Bottom - r.Top));
  editor->SetVisible(true);
  editor->SetFocus();
}

// The edited row may have gone while the editor was open: the text then has
// no cell to go to.
bool TCustomGridViewControl::ApplyEdit() {
  TCellEditor* editor = Editor();
  if (!editor) return false;
  if (gridState_ & EditingCell) {
    const QString text = editor->GetAsText();
    QString old;
    GetCellText(edit_.col, edit_.row, old);
    if (text == old) return false;
    editor->CheckValue();
    bool accept = true;
    if (OnAfterEdit) OnAfterEdit(this, edit_.col, edit_.row, text, accept);
    if (!RowInBounds(edit_.row)) return false;
    if (accept) SetCellText(edit_.col, edit_.row, text);
  } else if (TCustomColumn* column = ColumnOrNull(edit_.inputColumn); column && (gridState_ & EditingInput)) {
    editor->CheckValue();
    column->SetInputText(editor->GetAsText());
    column->SetInputOpen(false);
  }
  return true;
}

// The state is cleared before the window hides, so the focus change that
// hiding causes finds no editor to commit.
void TCustomGridViewControl::CloseEditor() {
  const TCheckOnExit check{this};
  ShutEditor();
}

void TCustomGridViewControl::ShutEditor() {
  TCellEditor* editor = Editor();
  const int editCol = edit_.col, editRow = edit_.row;
  const bool editingCell = gridState_ & EditingCell, editingInput = gridState_ & EditingInput;
  TCustomColumn* inputColumn = ColumnOrNull(edit_.inputColumn);
  gridState_ &= uint16_t(~(EditingCell | EditingInput));
  edit_.col = -1;
  edit_.row = -1;
  if (inputColumn) inputColumn->SetInputOpen(false);
  edit_.inputColumn = -1;
  edit_.editor = nullptr;
  if (!editor || !editor->isVisible()) return;
  if (editor->hasFocus() && isVisible()) SetFocus();
  editor->SetBounds(0, 0, 0, 0);
  editor->hide();
  if (editingCell) InvalidateCell(editCol, editRow);
  if (editingInput) InvalidateColumnPart(inputColumn, gaInput);
}

// The entry is kept in the input editor until it has been accepted. A text
// that does not convert takes the new row away again and leaves every
// column's entry as typed, so no half-filled row stays and nothing is lost.
void TCustomGridViewControl::AcceptInput() {
  const TCheckOnExit check{this};
  bool accept = true;
  if (OnInputAccept) OnInputAccept(this, accept);
  if (!accept) return;
  AddRows(1);
  const int row = RowCount() - 1;
  try {
    for (int i = 0; i < columns_->Count(); ++i) {
      TCustomColumn* column = columns_->Items(i);
      const QString text = InputValue(column);
      if (!text.isEmpty()) SetCellText(i, row, text);
    }
  } catch (...) {
    if (row < RowCount()) DeleteRow(row);
    throw;
  }
  for (int i = 0; i < columns_->Count(); ++i) columns_->Items(i)->SetInputText(columns_->Items(i)->DefaultValue());
}

QString TCustomGridViewControl::InputValue(const TCustomColumn* Column) {
  return Column->InputText().isEmpty() ? Column->DefaultValue() : Column->InputText();
}

void TCustomGridViewControl::ReturnFocus() {
  if (isVisible()) SetFocus();
}

void TCustomGridViewControl::EditorKeyDown(Word& Key, TShiftState Shift) {
  TCellEditor* editor = Editor();
  if (!editor) return;
  if (Key == VK_RETURN && (gridState_ & EditingCell)) {
    ApplyEdit();
    CloseEditor();
    ReturnFocus();
    MoveBy(selectionMoveDirection_);
  } else if (Key == VK_RETURN && (gridState_ & EditingInput)) {
    const int column = edit_.inputColumn;
    ApplyEdit();
    const int before = RowCount();
    AcceptInput();
    if (RowCount() > before) editor->Clear();
    if (TCustomColumn* open = ColumnOrNull(column)) open->SetInputOpen(true);
    editor->SelectAll();
  } else if (Key == VK_ESCAPE) {
    CloseEditor();
    ReturnFocus();
  } else if ((Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) &&
             editor->inherits("TCheckBoxEditor")) {
    CloseEditor();
    ReturnFocus();
    KeyDown(Key, Shift);
  }
}

void TCustomGridViewControl::FocusLeftGrid() {
  if (EditorOpen()) {
    ApplyEdit();
    CloseEditor();
  }
  if (OnExit) OnExit(this);
}
