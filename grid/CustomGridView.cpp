#include "grid/CustomGridView.h"

#include <QApplication>
#include <QCursor>
#include <QScopedValueRollback>
#include <utility>

#include "grid/ColumnClasses.h"
#include "grid/ColumnDragBox.h"
#include "platform/Canvas.h"

namespace {

void RegisterGridCursors() {
  static const bool registered = [] {
    Screen->SetCursors(crColumnBorder, TScreen::LoadCursorResource(QStringLiteral("HORZSPLIT")));
    Screen->SetCursors(crColumnNoDrag, TScreen::LoadCursorResource(QStringLiteral("COLUMNNODRAG")));
    Screen->SetCursors(crIndicatorSelect, TScreen::LoadCursorResource(QStringLiteral("INDICATORSELECT")));
    return true;
  }();
  (void)registered;
}

}  // namespace

// Case is folded for the Latin letters a to z only; other letters match exactly,
// as the Turkish dotted and dotless i have no single case partner.
static QChar FoldLatin(QChar c) { return c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c; }

bool StartsWithFolded(const QString& text, const QString& prefix) {
  if (text.size() < prefix.size()) return false;
  for (qsizetype i = 0; i < prefix.size(); ++i)
    if (FoldLatin(text[i]) != FoldLatin(prefix[i])) return false;
  return true;
}

// ---- hint window ----------------------------------------------------------------

THintWindow::THintWindow(QWidget* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  hide();
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_POPUP;
  Params.ExStyle |= WS_EX_TOOLWINDOW;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const QString& Text) {
  Canvas()->Font()->Assign(Font());
  TRect r(0, 0, std::max(1, MaxWidth), 0);
  Canvas()->DrawText(Text, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::ActivateHint(const TRect& R, const QString& Text) {
  text_ = Text;
  HandleNeeded();
  SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
  Invalidate();
  show();
}

void THintWindow::ActivateHintAt(TPoint ScreenAt, int MaxWidth, const QString& Text) {
  SetColor(clInfoBk);
  TRect r = CalcHintRect(MaxWidth, Text);
  OffsetRect(r, ScreenAt.X, ScreenAt.Y);
  ActivateHint(r, Text);
}

void THintWindow::ReleaseHandle() { hide(); }

void THintWindow::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  canvas->Font()->Assign(Font());
  canvas->Font()->SetColor(clInfoText);
  TRect r = ClientRect();
  InflateRect(r, -2, -1);
  canvas->Brush()->SetStyle(bsClear);
  canvas->DrawText(text_, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  canvas->Brush()->SetStyle(bsSolid);
}

// ---- construction ---------------------------------------------------------------

TCustomGridView::TCustomGridView(QWidget* AOwner) : TCustomGridViewControl(AOwner) {
  RegisterClass<TIncrementColumn>();
  topArrow_ = new TDragArrow(this);
  bottomArrow_ = new TDragArrow(this);
  textFitHint_ = new THintWindow(this);
  dragBox_ = new TColumnDragBox(this);
  dragBox_->OnDragMove = [this](TColumnDragBox*, TPoint p) { ColumnDragMoved(p); };
  dragBox_->OnDrop = [this](TColumnDragBox*, TPoint p) { ColumnDropped(p); };
  SetColor(clWindow);
  searchTimer_ = std::make_unique<TTimer>();
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(kSearchInterval);
  searchTimer_->SetOnTimer([this](TObject*) {
    searchText_.clear();
    searchTimer_->SetEnabled(false);
  });
  VertScrollUnit = RowSize();
  RegisterGridCursors();
  SetBounds(Left(), Top(), 250, 150);
}

TCustomGridView::~TCustomGridView() { searchTimer_.reset(); }

std::vector<TFormObject> TCustomGridView::StoredChildForms() const { return Columns()->StoredForms(); }

void TCustomGridView::ReadStoredChildForms(const std::vector<TFormObject>& forms) {
  CloseEditor();
  Columns()->ReadStoredForms(forms);
}

bool TCustomGridView::HeldColumnsAreLive() const {
  const auto live = [this](const TCustomColumn* c) { return !c || c->Collection() == Columns(); };
  return TCustomGridViewControl::HeldColumnsAreLive() && live(dragColumn_) && live(dropTargetColumn_) &&
         live(resizeColumn_);
}

// ---- messages -------------------------------------------------------------------

void TCustomGridView::CreateWnd() {
  TCustomGridViewControl::CreateWnd();
  // Above the header the arrow points down at the border, below it up.
  topArrow_->SetDirection(TDragArrow::PointsDown);
  bottomArrow_->SetDirection(TDragArrow::PointsUp);
}

void TCustomGridView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_ACTIVATEAPP:
      TCustomGridViewControl::WndProc(Message);
      if (!Message.WParam) ApplicationDeactivated();
      RepaintSelection();
      return;
    case WM_HSCROLL:
      CloseEditor();
      TCustomGridViewControl::WndProc(Message);
      return;
    case WM_VSCROLL:
      if (GridState() & EditingCell) CloseEditor();
      TCustomGridViewControl::WndProc(Message);
      return;
    default:
      TCustomGridViewControl::WndProc(Message);
  }
}

// A drag in progress is given up whole: the box lets the mouse go, so the
// release that follows can drop nothing.
void TCustomGridView::ApplicationDeactivated() {
  const TCheckOnExit check{this};
  if (GridState() & DraggingColumn) dragAbandoned_ = true;
  dragBox_->CancelDrag();
  clickedCell_ = TPoint(-1, -1);
  InvalidateColumnPart(ReleaseHeader(), gaHeader);
  SetDragCursor(crDefault);
}

// Everything a press on the header holds is let go; the pressed column is
// returned for its click and repaint.
TCustomColumn* TCustomGridView::ReleaseHeader() {
  dragColumn_ = nullptr;
  dropTargetColumn_ = nullptr;
  downPoint_ = TPoint(-1, -1);
  HideDropArrows();
  gridState_ &= uint16_t(~(DraggingColumn | PressingHeader));
  return std::exchange(pressedHeaderColumn_, nullptr);
}

void TCustomGridView::DoEnter() {
  TWinControl::DoEnter();
  InvalidateArea(gaIndicator);
}

// Focus moving into the open editor is no exit from the grid.
void TCustomGridView::DoExit() {
  if (EditorHasFocus()) return;
  FocusLeftGrid();
}

void TCustomGridView::WMSetFocus() { RepaintSelection(); }
void TCustomGridView::WMKillFocus() { RepaintSelection(); }

void TCustomGridView::FontChanged() {
  TCustomGridViewControl::FontChanged();
  CloseEditor();
}

void TCustomGridView::Resize() {
  TCustomGridViewControl::Resize();
  SizeChanged();
}

void TCustomGridView::SizeChanged() {
  if (ClientHeight() != lastClientHeight_) {
    if (Options().testFlag(goFooter)) {
      const TRect footer = FooterRect();
      const int oldTop = lastClientHeight_ - (footer.Bottom - footer.Top);
      InvalidateRect(TRect(0, std::min(oldTop, footer.Top), ClientWidth(), ClientHeight()));
    }
    lastClientHeight_ = ClientHeight();
    if (TopRow() > 0) {
      InvalidateArea(gaIndicator);
      InvalidateArea(gaData);
    }
  }
  UpdateVertScrollBar();
  if (ClientWidth() != lastClientWidth_) {
    AutoSizeColumns();
    if (HorzPos() == 0)
      InvalidateRect(TRect(std::min(lastClientWidth_, ClientWidth()), 0, std::max(lastClientWidth_, ClientWidth()),
                           ClientHeight()));
    else
      Invalidate();
    lastClientWidth_ = ClientWidth();
  }
  if (GridState() & EditingCell) CloseEditor();
  UpdateHorzScrollBar();
}

// ---- column widths --------------------------------------------------------------

// A total of zero among the auto-sized columns leaves every width alone.
void TCustomGridView::AutoSizeColumns() {
  TColumns* columns = Columns();
  const auto autoSized = [](const TCustomColumn* c) {
    return c->Visible() && !c->Options().testFlag(coFixedSize) && c->Options().testFlag(coAutoSize);
  };
  int64_t fixed = 0;
  for (int i = 0; i < columns->Count(); ++i) {
    const TCustomColumn* c = columns->Items(i);
    if (c->Visible() && !autoSized(c)) fixed += c->Width();
  }
  int64_t free = ClientWidth() - DataRect().Left - fixed;
  int64_t share = TotalWidth() - fixed;
  if (share == 0) return;
  if (share < 0) share = 1;
  {
    // Half-shared widths must not reach the bar: showing it for them would
    // resize the client and share the room again from the half-done state.
    const QScopedValueRollback hold(holdHorzBar_, true);
    for (int i = 0; i < columns->Count(); ++i) {
      TCustomColumn* c = columns->Items(i);
      if (!autoSized(c)) continue;
      const int64_t w = c->Width();
      int64_t width = w * free / share;
      if (w * free % share > share / 2) ++width;
      c->SetWidth(int(width));
      free -= width;
      share -= w;
      if (share <= 0) break;
    }
  }
  UpdateHorzScrollBar();
}

void TCustomGridView::MakeRowVisible(int ARow) {
  if (ARow >= TopRow() + VisibleRowCount() || ARow < TopRow()) VertScrollBar()->SetPosition(ARow);
}

// ---- keyboard -------------------------------------------------------------------

void TCustomGridView::KeyDown(Word& Key, TShiftState Shift) {
  const TCheckOnExit check{this};
  if (RowCount() == 0) return;
  bool passOn = true;
  switch (Key) {
    case VK_PRIOR:
      PageUp(Shift);
      break;
    case VK_NEXT:
      PageDown(Shift, passOn);
      break;
    case VK_END:
      VertScrollBar()->SetPosition(VertScrollBar()->Max());
      SelectCell(Col(), RowCount() - 1, Shift);
      break;
    case VK_HOME:
      VertScrollBar()->SetPosition(0);
      SelectCell(Col(), 0, Shift);
      break;
    case VK_LEFT:
      MoveLeft();
      break;
    case VK_RIGHT:
      MoveRight();
      break;
    case VK_UP:
      LineUp(Shift);
      break;
    case VK_DOWN:
      LineDown(Shift);
      break;
    default:
      break;
  }
  if (passOn) TCustomGridViewControl::KeyDown(Key, Shift);
}

void TCustomGridView::PageUp(TShiftState Shift) {
  if (Row() > TopRow()) return SelectCell(Col(), TopRow(), Shift);
  const int r = std::max(0, Row() - VisibleRowCount());
  SelectCell(Col(), r, Shift);
  VertScrollBar()->SetPosition(r);
}

void TCustomGridView::PageDown(TShiftState Shift, bool& PassOn) {
  const int visible = VisibleRowCount();
  if (RowCount() < visible) {
    SelectCell(Col(), RowCount() - 1, Shift);
    PassOn = false;
  } else if (Row() < TopRow() + visible - 1) {
    SelectCell(Col(), TopRow() + visible - 1, Shift);
  } else {
    SelectCell(Col(), std::min(Row() + visible, RowCount() - 1), Shift);
    VertScrollBar()->SetPosition(TopRow() + visible);
  }
}

void TCustomGridView::LineUp(TShiftState Shift) {
  if (Row() >= 1 && !InputActive()) {
    if (Row() < TopRow() + 1) VertScrollBar()->LineUp();
    SelectCell(Col(), Row() - 1, Shift);
  } else if (Row() == 0 && Options().testFlag(goInput) && GridStyle() == gsReport) {
    SetInputActive(true);
  }
}

// The input row is left whenever a data row exists to go to.
void TCustomGridView::LineDown(TShiftState Shift) {
  if (InputActive()) {
    SetInputActive(false);
    return SelectCell(Col(), 0, {});
  }
  if (Row() + 1 >= RowCount()) return;
  if (Row() > TopRow() + VisibleRowCount() - 1) VertScrollBar()->LineDown();
  if (GetCellRect(Col(), Row() + 1).Bottom > DataRect().Bottom) VertScrollBar()->LineDown();
  SelectCell(Col(), Row() + 1, Shift);
}

void TCustomGridView::KeyPress(QChar& Key) {
  const TCheckOnExit check{this};
  TCustomGridViewControl::KeyPress(Key);
  if (Key == QChar(VK_ESCAPE)) return;
  if (Key == QChar(VK_RETURN)) {
    if (WantReturns()) MoveBy(SelectionMoveDirection());
    return;
  }
  TCustomColumn* column = ColumnOrNull(Col());
  if (!column) return;
  // After rows were deleted the current row may be stale.
  if (TColumnPlay* play = column->Play(); play && RowInBounds(Row())) {
    PrepareKeyPlay(play, Col(), Row());
    play->KeyPress(Key);
  }
  if (column->AcceptsKey(Key)) {
    if (InputActive())
      EditInput(column, QString(Key));
    else
      EditCell(Col(), Row(), QString(Key));
  }
  if (!InputActive() && !column->Options().testFlag(coEditing)) SearchKey(Key);
}

void TCustomGridView::SearchKey(QChar Key) {
  if (RowCount() == 0) return;
  for (int i = 0; i < Columns()->Count(); ++i) {
    TCustomColumn* column = Columns()->Items(i);
    if (!column->Options().testFlag(coSearchColumn)) continue;
    searchTimer_->SetEnabled(false);
    searchTimer_->SetEnabled(true);
    searchText_ += Key;
    return IncrementalSearch(column, searchText_);
  }
}

void TCustomGridView::IncrementalSearch(TCustomColumn* Column, const QString& Text) {
  if (!Column || Text.isEmpty() || RowCount() == 0) return;
  const int row = FindRowStartingWith(Column->Index(), Text);
  if (row < 0) return;
  MoveToRow(row);
  MakeRowVisible(row);
}

// Rows after the current one first, then from the top.
int TCustomGridView::FindRowStartingWith(int ACol, const QString& Text) {
  QString cell;
  return FirstRowStartingWith(Text, [&](int r) -> const QString& {
    cell.clear();
    GetCellText(ACol, r, cell);
    return cell;
  });
}

void TCustomGridView::PrepareKeyPlay(TColumnPlay* Play, int ACol, int ARow) {
  Play->Col = ACol;
  Play->Row = ARow;
  PrepareColumnPlay(Play);
  Play->OnChange = [this](TObject* sender) { StorePlayValue(static_cast<TColumnPlay*>(sender)); };
}

// ---- mouse ----------------------------------------------------------------------

TCustomColumn* TCustomGridView::ColumnItemAtX(int X) const { return ColumnOrNull(ColumnAtX(X)); }

TCustomColumn* TCustomGridView::ColumnBorderAt(int X, int Y) const {
  if (!Options().testFlag(goHeader) || Y >= HeaderSize()) return nullptr;
  for (int i = 0; i < Columns()->Count(); ++i) {
    TCustomColumn* c = Columns()->Items(i);
    if (!c->Visible() || c->Options().testFlag(coFixedSize)) continue;
    const int right = c->Left() + c->Width() - HorzPos();
    if (X >= right - 2 && X <= right + 2) return c;
  }
  return nullptr;
}

void TCustomGridView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TCheckOnExit check{this};
  if (Shift.testFlag(ssDouble)) return;
  if (!Designing() && isVisible()) SetFocus();
  if (Columns()->Count() == 0) return;
  if (EditorOpen()) {
    ApplyEdit();
    CloseEditor();
  }
  clickedCell_ = TPoint(-1, -1);
  dragAbandoned_ = false;
  if (Button == mbLeft || Button == mbRight) {
    if (Button == mbRight && (GridState() & RangeSelecting)) return;
    downPoint_ = TPoint(X, Y);
    if (TCustomColumn* border = ColumnBorderAt(X, Y)) {
      StartResize(border);
    } else {
      switch (HitTest(TPoint(X, Y))) {
        case gaData:
          PressData(Shift, TPoint(X, Y), false);
          break;
        case gaHeader:
          PressHeader(TPoint(X, Y));
          break;
        case gaIndicator:
          CloseEditor();
          PressData(Shift, TPoint(X, Y), true);
          break;
        default:
          break;
      }
    }
  }
  TCustomGridViewControl::MouseDown(Button, Shift, X, Y);
}

// Rows above the data (the header beside the indicator) select nothing.
void TCustomGridView::PressData(TShiftState Shift, TPoint P, bool Indicator) {
  if (!Indicator && InputActive()) {
    SetInputActive(false);
    RepaintSelection();
    if (GridState() & EditingInput) {
      ApplyEdit();
      AcceptInput();
      CloseEditor();
    }
  }
  if (GridStyle() == gsReport && P.Y < DataRect().Top) return;
  const TPoint cell = CellAtPoint(P);
  clickedCell_ = cell;
  if (cell.Y < 0 || cell.Y > RowCount() - 1) return;
  SelectCell(cell.X >= 0 ? cell.X : Col(), cell.Y, Shift);
}

void TCustomGridView::PressHeader(TPoint P) {
  dragColumn_ = ColumnItemAtX(P.X);
  if (dragColumn_ && dragColumn_->Options().testFlag(coCanClick)) {
    gridState_ |= PressingHeader;
    pressedHeaderColumn_ = dragColumn_;
    InvalidateColumnPart(dragColumn_, gaHeader);
  } else {
    dragColumn_ = nullptr;
  }
}

void TCustomGridView::InvertGuideLine(int X) {
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetMode(pmNot);
  canvas->Pen()->SetWidth(1);
  canvas->Polyline({TPoint(X, 0), TPoint(X, ClientHeight())});
  canvas->Pen()->SetMode(pmCopy);
}

int TCustomGridView::ResizeLineX() const {
  return resizeColumn_->Left() + resizeColumn_->Width() + resizeDelta_ - HorzPos() - 1;
}

void TCustomGridView::StartResize(TCustomColumn* Column) {
  resizeColumn_ = Column;
  resizeDelta_ = 0;
  gridState_ |= ResizingColumn;
  const int left = Column->Left() - HorzPos();
  InvertGuideLine(Column->Index() == 0 ? left : left - 1);
  InvertGuideLine(ResizeLineX());
}

void TCustomGridView::MoveResize(int X) {
  if (!resizeColumn_) return EndResize();
  InvertGuideLine(ResizeLineX());
  const int right = resizeColumn_->Left() + resizeColumn_->Width() - HorzPos();
  resizeDelta_ = std::max(X - right, kMinColumnWidth - resizeColumn_->Width());
  InvertGuideLine(ResizeLineX());
}

// The guide lines go with the repaint.
void TCustomGridView::EndResize() {
  resizeColumn_ = nullptr;
  gridState_ &= uint16_t(~ResizingColumn);
  Invalidate();
}

void TCustomGridView::MouseMove(TShiftState Shift, int X, int Y) {
  const TCheckOnExit check{this};
  TCustomGridViewControl::MouseMove(Shift, X, Y);
  hintCell_ = TPoint(-1, -1);
  if (Columns()->Count() == 0 || Rolling()) return;
  if (GridState() & ResizingColumn) return MoveResize(X);
  switch (HitTest(TPoint(X, Y))) {
    case gaData: {
      hintCell_ = CellAtPoint(TPoint(X, Y));
      if (hintCell_.X >= 0 && RowInBounds(hintCell_.Y)) {
        ShowTextFitHint(hintCell_.X, hintCell_.Y);
        SetCursor(Columns()->Items(hintCell_.X)->Cursor());
      } else {
        SetCursor(crDefault);
      }
      LeaveHeader();
      break;
    }
    case gaHeader:
      MoveOverHeader(X, Y);
      break;
    case gaIndicator:
      SetCursor(TCursor(crIndicatorSelect));
      HideTextFitHint();
      LeaveHeader();
      break;
    default:
      HideTextFitHint();
      LeaveHeader();
  }
  if (ColumnOrNull(hintCell_.X) && RowInBounds(hintCell_.Y))
    ShowCellHint(hintCell_.X, hintCell_.Y);
  else
    HideCellHint();
}

// Dragging a column is started here and carried on by the drag box.
void TCustomGridView::MoveOverHeader(int X, int Y) {
  SetCursor(ColumnBorderAt(X, Y) ? TCursor(crColumnBorder) : crDefault);
  if (!Options().testFlag(goDissableColumnMoving) && dragColumn_ && !Designing()) {
    if (!(GridState() & DraggingColumn) && DragStarts(downPoint_, TPoint(X, Y))) StartColumnDrag();
    return;
  }
  TCustomColumn* hot = ColumnItemAtX(X);
  if (hot != hotHeaderColumn_) {
    InvalidateColumnPart(hotHeaderColumn_, gaHeader);
    hotHeaderColumn_ = hot;
    InvalidateColumnPart(hot, gaHeader);
  }
  HideTextFitHint();
}

void TCustomGridView::StartColumnDrag() {
  gridState_ |= DraggingColumn;
  dragAbandoned_ = false;
  HideTextFitHint();
  dragBox_->PlaceOnHeader(dragColumn_);
  dragBox_->StartDrag(dragColumn_);
}

void TCustomGridView::ColumnDragMoved(TPoint ScreenPoint) {
  const TCheckOnExit check{this};
  const TPoint q = ScreenToClient(ScreenPoint);
  const int target = ColumnAtX(q.X);
  dropTargetColumn_ = target < 0 ? nullptr : Columns()->Items(target);
  if (!ShowsDropPlace(q, DropZone(*this), target)) {
    HideDropArrows();
    return SetDragCursor(TCursor(crColumnNoDrag));
  }
  // A column moved right lands after its target, so the arrows mark the target's right border.
  TColumns* columns = Columns();
  const bool rightward =
      dragColumn_ && columns->DisplayIndexOf(dropTargetColumn_) > columns->DisplayIndexOf(dragColumn_);
  const int border = dropTargetColumn_->ScreenLeft() + (rightward ? dropTargetColumn_->Width() : 0);
  const TArrowPlaces at = ArrowPlaces(ClientToScreen(TPoint(border, 0)), HeaderSize());
  topArrow_->PlaceAt(at.Top);
  bottomArrow_->PlaceAt(at.Bottom);
  topArrow_->SetVisible(true);
  bottomArrow_->SetVisible(true);
  SetDragCursor(crDefault);
}

// The drop is judged by the zone the arrows and the cursor showed. Places
// are read from the display list: columns added in code all keep Position 0
// until the list is first renumbered.
void TCustomGridView::ColumnDropped(TPoint ScreenPoint) {
  const TCheckOnExit check{this};
  SetDragCursor(crDefault);
  TCustomColumn* dragged = dragBox_->Column();
  if (dragged && dragged == dragColumn_) {
    TColumns* columns = Columns();
    const TPoint q = ScreenToClient(ScreenPoint);
    const int target = ColumnAtX(q.X);
    const int from = columns->DisplayIndexOf(dragged);
    const int to = target < 0 ? -1 : columns->DisplayIndexOf(columns->Items(target));
    const TDropOutcome outcome = DropOutcome(q, DropZone(*this), from, to, Options().testFlag(goCanHideColumn));
    if (outcome.Action == daMove)
      columns->Move(from, outcome.ToPosition);
    else if (outcome.Action == daHide)
      dragged->SetVisible(false);
  }
  EndColumnDrag();
}

// The box took the release, so the grid's own release never comes.
void TCustomGridView::EndColumnDrag() { InvalidateColumnPart(ReleaseHeader(), gaHeader); }

void TCustomGridView::HideDropArrows() {
  topArrow_->SetVisible(false);
  bottomArrow_->SetVisible(false);
}

// The box lies under the pointer for most of a drag, so it shows the
// grid's cursor too.
void TCustomGridView::SetDragCursor(TCursor Cursor) {
  SetCursor(Cursor);
  dragBox_->SetCursor(Cursor);
}

void TCustomGridView::LeaveHeader() {
  if (!hotHeaderColumn_) return;
  TCustomColumn* old = hotHeaderColumn_;
  hotHeaderColumn_ = nullptr;
  InvalidateColumnPart(old, gaHeader);
}

void TCustomGridView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TCheckOnExit check{this};
  if (std::exchange(dragAbandoned_, false)) return;
  TCustomGridViewControl::MouseUp(Button, Shift, X, Y);
  gridState_ &= uint16_t(~PressingHeader);
  if (GridState() & ResizingColumn) {
    TCustomColumn* column = resizeColumn_;
    EndResize();
    if (column) column->SetWidth(column->Width() + resizeDelta_);
    return;
  }
  gridState_ &= uint16_t(~DraggingColumn);
  const TPoint cell = CellAtPoint(TPoint(X, Y));
  const bool onPressedCell = HitTest(TPoint(X, Y)) == gaData && cell.X != -1 && RowInBounds(cell.Y) &&
                             cell.X == clickedCell_.X && cell.Y == clickedCell_.Y;
  if (!Designing() && onPressedCell && OnCellClick) OnCellClick(this, cell.X, cell.Y);
  if (TCustomColumn* pressed = ReleaseHeader()) {
    if (OnHeaderClick) OnHeaderClick(this, pressed->Index());
    InvalidateColumnPart(pressed, gaHeader);
  }
  if (Button != mbLeft) return;
  switch (HitTest(TPoint(X, Y))) {
    case gaData:
      if (!Designing() && !(GridState() & RangeSelecting) && onPressedCell) ReleaseOnData(X, Y);
      break;
    case gaHeader:
      ReleaseOnHeader(X);
      break;
    case gaInput:
      if (!Designing()) EditInput(ColumnItemAtX(X), QString());
      break;
    default:
      break;
  }
}

void TCustomGridView::ReleaseOnData(int X, int Y) {
  const TPoint cell = CellAtPoint(TPoint(X, Y));
  TCustomColumn* column = Columns()->Items(cell.X);
  TColumnPlay* play = column->Play();
  if (!play || !column->Options().testFlag(coEditing)) return EditCell(cell.X, cell.Y, QString());
  PrepareKeyPlay(play, cell.X, cell.Y);
  const TRect r = GetCellRect(cell.X, cell.Y);
  play->MouseDown(TPoint(X - r.Left, Y - r.Top));
}

void TCustomGridView::ReleaseOnHeader(int X) {
  TCustomColumn* column = ColumnItemAtX(X);
  if (!column || !column->Options().testFlag(coCanSort)) return;
  if (column->Sorted())
    column->SetSortKind(column->SortKind() == skAscending ? skDescending : skAscending);
  else
    column->SetSorted(true);
}

void TCustomGridView::DblClick() {
  const TPoint p = ScreenToClient(TPoint::FromQt(QCursor::pos()));
  if (PtInRect(DataRect(), p)) TCustomGridViewControl::DblClick();
}

bool TCustomGridView::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (GridState() & EditingCell) return false;
  // The handler hears of the turn; the grid scrolls whatever it answers.
  if (const TMouseWheelUpDownEvent& e = WheelDelta < 0 ? OnMouseWheelDown : OnMouseWheelUp) {
    bool answer = false;
    e(this, Shift, MousePos, answer);
  }
  const bool page = Shift.testFlag(ssCtrl);
  if (WheelDelta < 0)
    page ? VertScrollBar()->PageDown() : VertScrollBar()->LineDown();
  else if (WheelDelta > 0)
    page ? VertScrollBar()->PageUp() : VertScrollBar()->LineUp();
  return true;
}

void TCustomGridView::MouseLeave() {
  TCustomGridViewControl::MouseLeave();
  HideTextFitHint();
  HideCellHint();
  if (TCustomColumn* hot = hotHeaderColumn_) {
    hotHeaderColumn_ = nullptr;
    InvalidateColumnPart(hot, gaHeader);
  }
  SetCursor(crDefault);
}

// ---- hints ----------------------------------------------------------------------

void TCustomGridView::HideTextFitHint() {
  if (textFitHint_->Showing()) textFitHint_->ReleaseHandle();
}

// Only text cut off by its cell is shown whole over it.
void TCustomGridView::ShowTextFitHint(int ACol, int ARow) {
  TCustomColumn* column = Columns()->Items(ACol);
  if (!column->Options().testFlag(coShowTextFitHint)) return HideTextFitHint();
  QString raw;
  GetCellText(ACol, ARow, raw);
  Canvas()->Font()->Assign(column->Font());
  if (column->Width() - 5 >= Canvas()->TextWidth(column->FormatText(raw))) return HideTextFitHint();
  const TRect cell = GetCellRect(ACol, ARow);
  textFitHint_->ActivateHintAt(ClientToScreen(TPoint(cell.Left, cell.Top)), ClientWidth(), raw);
}
