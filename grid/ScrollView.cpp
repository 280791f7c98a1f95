#include "grid/ScrollView.h"

#include <QCursor>

// ---- TControlScrollBar ---------------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollView* AOwner) : owner_(AOwner) {}

void TControlScrollBar::SetEnabled(bool b) {
  enabled_ = b;
  Update();
}

void TControlScrollBar::SetMax(int n) {
  max_ = std::max(0, n);
  // Follows the range silently: the content is not moved.
  if (position_ > max_) position_ = max_;
  Update();
}

void TControlScrollBar::SetMin(int n) {
  min_ = std::max(0, n);
  Update();
}

void TControlScrollBar::SetPageSize(int n) {
  pageSize_ = n;
  Update();
}

void TControlScrollBar::SetPosition(int p) {
  previousPosition_ = position_;
  if (p > max_) p = max_;
  if (p < min_) p = min_;
  const int delta = position_ - p;
  position_ = p;
  Update();
  owner_->ScrollPositionChanged(kind_);
  if (kind_ == sbHorizontal) {
    owner_->HorzScrollDelta = delta;
    owner_->ScrollBy(delta, 0);
  } else {
    owner_->VertScrollDelta = delta;
    owner_->ScrollBy(0, delta);
  }
}

void TControlScrollBar::SetVisible(bool b) {
  visible_ = b;
  owner_->HandleNeeded();
  owner_->ShowScrollBar(kind_, b);
}

void TControlScrollBar::SetParams(int APosition, int AMin, int AMax, int APageSize, bool AEnabled, bool AVisible) {
  updateLock_ = true;
  SetEnabled(AEnabled);
  SetMax(AMax);
  SetMin(AMin);
  SetPageSize(APageSize);
  if (APosition > 0) SetPosition(APosition);
  SetVisible(AVisible);
  updateLock_ = false;
  Update();
}

void TControlScrollBar::Update() {
  if (updateLock_ || !owner_->HandleAllocated()) return;
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMin = min_;
  info.nMax = max_;
  info.nPage = uint32_t(std::max(0, pageSize_));
  info.nPos = position_;
  owner_->SetScrollInfo(kind_, info, true);
  owner_->EnableScrollBar(kind_, enabled_ ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void TControlScrollBar::Assign(TPersistent* Source) {
  auto* other = qobject_cast<TControlScrollBar*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  enabled_ = other->enabled_;
  max_ = other->max_;
  min_ = other->min_;
  pageSize_ = other->pageSize_;
  position_ = std::clamp(other->position_, 0, max_);
  PageStep = other->PageStep;
  LineStep = other->LineStep;
  visible_ = other->visible_;
  Update();
}

void TControlScrollBar::Request(int code) {
  if (max_ < 1) return;
  owner_->Perform(kind_ == sbHorizontal ? WM_HSCROLL : WM_VSCROLL, MakeLong(uint16_t(code), 0), 0);
}

// ---- TCustomScrollView ---------------------------------------------------------

TCustomScrollView::TCustomScrollView(QWidget* AOwner) : TCustomControl(AOwner) {}

void TCustomScrollView::ScrollBy(int dx, int dy) {
  const TRect clip = dx != 0 ? HorzScrollRect : VertScrollRect;
  TRect update = clip;
  ScrollWindowEx(dx * HorzScrollUnit, dy * VertScrollUnit, nullptr, &clip, &update, SW_INVALIDATE);
}

// ---- TScrollView ---------------------------------------------------------------

TScrollView::TScrollView(QWidget* AOwner) : TCustomScrollView(AOwner) {
  horzScrollBar_ = std::make_unique<TControlScrollBar>(this);
  vertScrollBar_ = std::make_unique<TControlScrollBar>(this);
  rollShadow_ = std::make_unique<TRollShadow>(this);
  rollShadow_->hide();
  rollTimer_ = std::make_unique<TTimer>();
  rollTimer_->SetEnabled(false);
  rollTimer_->SetInterval(1);
  rollTimer_->SetOnTimer([this](TObject*) { RollTick(); });
  horzScrollBar_->SetKind(sbHorizontal);
  HorzScrollUnit = 1;
  vertScrollBar_->SetKind(sbVertical);
  VertScrollUnit = 1;
  for (auto [id, name] : {std::pair{crRoll, "ROLL"}, {crRollUp, "ROLLUP"}, {crRollDown, "ROLLDOWN"}})
    Screen->SetCursors(id, TScreen::LoadCursorResource(QString::fromLatin1(name)));
}

TScrollView::~TScrollView() {
  rollShadow_.reset();
  rollTimer_.reset();
  horzScrollBar_.reset();
  vertScrollBar_.reset();
}

void TScrollView::ScrollPositionChanged(TScrollBarKind) {}

void TScrollView::CreateParams(TCreateParams& Params) {
  TCustomScrollView::CreateParams(Params);
  Params.Style |= WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;
}

void TScrollView::CreateWnd() {
  TCustomScrollView::CreateWnd();
  vertScrollBar_->Update();
  horzScrollBar_->Update();
}

void TScrollView::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;  // the subclass paints every pixel
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_HSCROLL:
      ScrollMessage(horzScrollBar_.get(), Message);
      return;
    case WM_VSCROLL:
      ScrollMessage(vertScrollBar_.get(), Message);
      return;
    default:
      TCustomScrollView::WndProc(Message);
  }
}

void TScrollView::ScrollMessage(TControlScrollBar* bar, TMessage& Message) {
  DefaultHandler(Message);
  switch (int16_t(LoWord(Message.WParam))) {
    case SB_LINEUP:
      bar->SetPosition(bar->Position() - bar->LineStep);
      break;
    case SB_LINEDOWN:
      bar->SetPosition(bar->Position() + bar->LineStep);
      break;
    case SB_PAGEUP:
      bar->SetPosition(bar->Position() - bar->PageStep);
      break;
    case SB_PAGEDOWN:
      bar->SetPosition(bar->Position() + bar->PageStep);
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The tracked position, not the message's 16-bit one.
      TScrollInfo info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(bar->Kind() == sbVertical ? SB_VERT : SB_HORZ, info);
      bar->SetPosition(info.nTrackPos);
      break;
    }
    case SB_TOP:
      bar->SetPosition(0);
      break;
    case SB_BOTTOM:
      bar->SetPosition(bar->Max());
      break;
    default:
      break;
  }
  ShowScrollBar(bar->Kind(), Visible());
}

void TScrollView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomScrollView::MouseDown(Button, Shift, X, Y);
  if (Button != mbMiddle) return;
  rolling_ = true;
  rollShadow_->SetCursor(crRoll);
  rollOrigin_ = TPoint(X, Y);
  rollShadow_->PlaceAt(ClientToScreen(rollOrigin_));
  rollShadow_->show();
  rollTimer_->SetEnabled(true);
  rollTimer_->SetInterval(1);
  SetMouseCapture(true);
}

void TScrollView::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomScrollView::MouseMove(Shift, X, Y);
  if (!rolling_) return;
  rollUp_ = rollDown_ = false;
  const int dy = Y - rollOrigin_.Y;
  if (dy < -5) {
    Screen->SetCursor(crRollUp);
    rollUp_ = true;
  } else if (dy <= 5) {
    Screen->SetCursor(crRoll);
  } else {
    Screen->SetCursor(crRollDown);
    rollDown_ = true;
  }
  rollShadow_->SetCursor(Screen->Cursor());
}

// The farther the pointer from the origin, the shorter the next interval.
void TScrollView::RollTick() {
  const TPoint p = ScreenToClient(TPoint::FromQt(QCursor::pos()));
  const int dy = p.Y - rollOrigin_.Y;
  rollTimer_->SetInterval(std::max(1, 100 - std::abs(dy)));
  if (rollUp_) vertScrollBar_->LineUp();
  if (rollDown_) vertScrollBar_->LineDown();
}

void TScrollView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomScrollView::MouseUp(Button, Shift, X, Y);
  rollTimer_->SetEnabled(false);
  rolling_ = false;
  rollShadow_->hide();
  Screen->SetCursor(crDefault);
  SetMouseCapture(false);
}
