#include "platform/Controls.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <cstring>
#include <optional>

#include "platform/Application.h"
#include "platform/EditWindow.h"

namespace {

constexpr int kScrollBarSize = 16;

}  // namespace

int GetSystemMetrics(int index) { return index == SM_CXVSCROLL || index == SM_CYHSCROLL ? kScrollBarSize : 0; }

// ---- keys --------------------------------------------------------------------

Word VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return Word(keypad ? VK_NUMPAD0 + (qtKey - Qt::Key_0) : 0x30 + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return Word(0x41 + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return Word(VK_F1 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Asterisk:
      return keypad ? VK_MULTIPLY : 0;
    case Qt::Key_Plus:
      return keypad ? VK_ADD : 0xBB;
    case Qt::Key_Minus:
      return keypad ? VK_SUBTRACT : 0xBD;
    case Qt::Key_Period:
      return keypad ? VK_DECIMAL : 0xBE;
    case Qt::Key_Slash:
      return keypad ? VK_DIVIDE : 0xBF;
    case Qt::Key_Comma:
      return 0xBC;
    default:
      return 0;
  }
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

namespace {

bool ToButton(Qt::MouseButton b, TMouseButton* out) {
  switch (b) {
    case Qt::LeftButton:
      *out = mbLeft;
      return true;
    case Qt::RightButton:
      *out = mbRight;
      return true;
    case Qt::MiddleButton:
      *out = mbMiddle;
      return true;
    default:
      return false;
  }
}

// The dialog-code bit a key needs to reach a control before its window;
// 0 for the keys every control gets.
LRESULT DialogMask(Word key) {
  switch (key) {
    case VK_TAB:
      return DLGC_WANTTAB;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      return DLGC_WANTARROWS;
    case VK_RETURN:
    case VK_ESCAPE:
      return DLGC_WANTALLKEYS;
    default:
      return 0;
  }
}

// A key that types a character, which a window's shortcut could also claim.
bool IsCharacterKey(const QKeyEvent& e) {
  return !e.text().isEmpty() && e.text().front().isPrint() &&
         !(e.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// The character a key press sends, also for the keys Qt gives no text.
QString CharsOf(const QKeyEvent* e, Word vk) {
  const Qt::KeyboardModifiers m = e->modifiers();
  const bool ctrl = m & Qt::ControlModifier, alt = m & Qt::AltModifier;
  if (ctrl && alt) return e->text();  // AltGr on some keyboards
  if (alt) return {};
  // Control with a letter types a control character: Ctrl+C is 3 (copy).
  if (ctrl) return vk >= 'A' && vk <= 'Z' ? QString(QChar(vk - 'A' + 1)) : QString();
  switch (vk) {
    case VK_RETURN:
      return QString(QChar(13));
    case VK_ESCAPE:
      return QString(QChar(27));
    case VK_BACK:
      return QString(QChar(8));
    case VK_TAB:
      return QString(QChar(9));
    case VK_DELETE:
      return {};
    default:
      return e->text();
  }
}

}  // namespace

// ---- TScreen -----------------------------------------------------------------

namespace {
TScreen screenObject;
}
TScreen* const Screen = &screenObject;

QCursor TScreen::Cursors(int id) const {
  const auto it = cursors_.find(id);
  if (it != cursors_.end()) return it->second;
  switch (id) {
    case crNone:
      return QCursor(Qt::BlankCursor);
    case crCross:
      return QCursor(Qt::CrossCursor);
    case crIBeam:
      return QCursor(Qt::IBeamCursor);
    case crSizeNESW:
      return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS:
      return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE:
      return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE:
      return QCursor(Qt::SizeHorCursor);
    case crUpArrow:
      return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
      return QCursor(Qt::WaitCursor);
    case crDrag:
      return QCursor(Qt::DragCopyCursor);
    case crNoDrop:
    case crNo:
      return QCursor(Qt::ForbiddenCursor);
    case crHSplit:
      return QCursor(Qt::SplitHCursor);
    case crVSplit:
      return QCursor(Qt::SplitVCursor);
    case crSizeAll:
      return QCursor(Qt::SizeAllCursor);
    case crHandPoint:
      return QCursor(Qt::PointingHandCursor);
    default:
      return QCursor(Qt::ArrowCursor);
  }
}

void TScreen::SetCursors(int id, const QCursor& cursor) { cursors_[id] = cursor; }

void TScreen::SetCursor(TCursor id) {
  cursor_ = id;
  if (!qApp) return;
  if (id == crDefault) {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  } else if (QGuiApplication::overrideCursor()) {
    QGuiApplication::changeOverrideCursor(Cursors(id));
  } else {
    QGuiApplication::setOverrideCursor(Cursors(id));
  }
}

// Cursor pictures are PNG files whose "HotSpotX"/"HotSpotY" texts give the
// hot spot.
QCursor TScreen::LoadCursorResource(const QString& name) {
  const QImage picture(QStringLiteral(":/platform/cursors/%1.png").arg(name));
  if (picture.isNull()) return QCursor();
  return QCursor(QPixmap::fromImage(picture), picture.text(QStringLiteral("HotSpotX")).toInt(),
                 picture.text(QStringLiteral("HotSpotY")).toInt());
}

// ---- TWinControl -------------------------------------------------------------

namespace {

// A window's scroll bar repaints only when a new position changes what it
// shows: over a million rows a step of one row seldom moves the thumb.
class TWindowScrollBar : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void sliderChange(SliderChange change) override {
    if (change == SliderValueChange && painted_ && *painted_ == Look()) return;
    QScrollBar::sliderChange(change);
  }
  void paintEvent(QPaintEvent* event) override {
    painted_ = Look();
    QScrollBar::paintEvent(event);
  }

 private:
  struct TLook {
    QRect thumb;
    bool atMinimum = false;
    bool atMaximum = false;
    QStyle::State state;
    QStyle::SubControls active;
    bool operator==(const TLook&) const = default;
  };
  TLook Look() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum(), option.state, option.activeSubControls};
  }
  std::optional<TLook> painted_;
};

}  // namespace

TWinControl::TWinControl(QWidget* AParent) : TWinControl(nullptr, AParent) {}

TWinControl::TWinControl(TComponentBase* AOwner, QWidget* AParent) : QWidget(AParent), TComponentBase(AOwner) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  font_.OnChange = [this](TObject*) {
    DressEdit();
    FontChanged();
  };
  for (int bar : {SB_HORZ, SB_VERT}) {
    auto* widget = new TWindowScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, this);
    widget->hide();
    widget->setFocusPolicy(Qt::NoFocus);
    connect(widget, &QAbstractSlider::actionTriggered, this,
            [this, bar](int action) { Dispatch(this, [&] { BarAction(bar, action); }); });
    connect(widget, &QAbstractSlider::sliderReleased, this, [this, bar] { Dispatch(this, [&] { BarReleased(bar); }); });
    bars_[size_t(bar)].widget = widget;
    bars_[size_t(bar)].info.nMax = 100;
  }
  layout_ = ComputeLayout();
}

TWinControl::~TWinControl() {
  DestroyComponents();
  edit_.reset();  // while the control it reports to is whole
  for (TGraphicControl* c : std::vector<TGraphicControl*>(graphicControls_)) c->SetParent(nullptr);
  if (MouseCapture()) releaseMouse();
}

int TWinControl::Left() const {
  if (isWindow()) return geometry().x();
  const auto* parent = qobject_cast<const TWinControl*>(parentWidget());
  return x() - (parent ? parent->ClientOrigin().X : 0);
}

int TWinControl::Top() const {
  if (isWindow()) return geometry().y();
  const auto* parent = qobject_cast<const TWinControl*>(parentWidget());
  return y() - (parent ? parent->ClientOrigin().Y : 0);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const auto* parent = isWindow() ? nullptr : qobject_cast<const TWinControl*>(parentWidget());
  const TPoint origin = parent ? parent->ClientOrigin() : TPoint();
  {
    const QScopedValueRollback<bool> applying(applyingBounds_, true);
    setGeometry(ALeft + origin.X, ATop + origin.Y, std::max(0, AWidth), std::max(0, AHeight));
  }
  // Told at once, hidden or not, and outside any event: a handler's error
  // reaches the caller.
  UpdateLayout();
}

// The program's own showing: an error making the window reaches the caller.
void TWinControl::SetVisible(bool v) {
  if (v) HandleNeeded();
  setVisible(v);
}

// The window is made before it is first shown, so that its creation
// parameters decide what kind of window is shown: a child, or a window of
// its own whatever its owner shows. Qt shows children through here too, so
// this is an entry; a window that could not be made is not shown.
void TWinControl::setVisible(bool visible) {
  visible_ = visible;
  if (visible) {
    Dispatch(this, [this] { HandleNeeded(); });
    if (!handle_) return;
  }
  QWidget::setVisible(visible);
}

// Children shown again with their parent come here without setVisible.
void TWinControl::showEvent(QShowEvent* event) {
  Dispatch(this, [this] { HandleNeeded(); });
  QWidget::showEvent(event);
}

void TWinControl::SetParent(QWidget* parent) {
  // Popup windows stay windows; everything else becomes a child, shown with
  // its new parent unless it was hidden.
  const bool show = topLevel_ ? isVisible() : parent && visible_;
  if (topLevel_)
    setParent(parent, windowFlags());
  else
    setParent(parent);
  if (show) SetVisible(true);
}

void TWinControl::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  update();
  DressEdit();
  ColorChanged();
}

void TWinControl::SetCursor(TCursor id) {
  cursorId_ = id;
  setCursor(Screen->Cursors(id));
  DressEdit();
}

void TWinControl::SetBiDiMode(TBiDiMode v) {
  if (v == biDiMode_) return;
  biDiMode_ = v;
  update();
  DressEdit();
}

void TWinControl::SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::NoFocus); }

void TWinControl::SetText(const QString& v) {
  if (v == Text()) return;
  if (edit_)
    edit_->SetTextQuietly(v);
  else
    text_ = v;
  TextChanged();
}

void TWinControl::HandleNeeded() {
  if (!handle_) CreateWnd();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  handle_ = false;
  CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (focusPolicy() != Qt::NoFocus) Params.Style |= WS_TABSTOP;
  Params.WindowClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  handle_ = true;
  ApplyCreateParams(params);
  ApplyWindowClass(params);
}

// An edit window takes over the client area, the focus and the text; it
// keeps its text when the window is made again.
void TWinControl::ApplyWindowClass(const TCreateParams& params) {
  if (params.WindowClass != wcEdit) {
    if (!edit_) return;
    text_ = edit_->text();
    setFocusProxy(nullptr);
    edit_.reset();
    return;
  }
  if (!edit_) {
    edit_ = std::make_unique<TEditWindow>(this, params.Style);
    edit_->SetTextQuietly(text_);
    DressEdit();
    setFocusProxy(edit_.get());
  }
  edit_->ApplyStyle(params.Style);
  edit_->setGeometry(layout_.Client.ToQt());
  edit_->show();
}

QString TWinControl::Text() const { return edit_ ? edit_->text() : text_; }

// The edit window wears the control's font, colours, reading direction and
// cursor; its own cursor, the text beam, stands for the default one.
void TWinControl::DressEdit() {
  if (!edit_) return;
  edit_->setFont(font_.ToQFont());
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Base, ToQColor(color_));
  palette.setColor(QPalette::Text, ToQColor(font_.Color()));
  edit_->setPalette(palette);
  edit_->setLayoutDirection(UseRightToLeftReading() ? Qt::RightToLeft : Qt::LeftToRight);
  if (cursorId_ == crDefault)
    edit_->unsetCursor();
  else
    edit_->setCursor(Screen->Cursors(cursorId_));
}

void TWinControl::ApplyCreateParams(const TCreateParams& params) {
  edgeStyle_ = params.ExStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE);
  if (params.Style & WS_BORDER) edgeStyle_ |= WS_BORDER;
  edgeWidth_ = ((edgeStyle_ & WS_BORDER) ? 1 : 0) + ((edgeStyle_ & WS_EX_STATICEDGE) ? 1 : 0) +
               ((edgeStyle_ & WS_EX_CLIENTEDGE) ? 2 : 0);
  bars_[SB_HORZ].shown = params.Style & WS_HSCROLL;
  bars_[SB_VERT].shown = params.Style & WS_VSCROLL;
  classStyle_ = params.WindowClassStyle;

  topLevel_ = (params.Style & WS_POPUP) || (params.ExStyle & WS_EX_TOOLWINDOW);
  if (topLevel_) {
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    if (params.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    // Bounds given while it was a child stay where they were meant: on the screen.
    const TRect bounds = BoundsRect();
    const bool shown = isVisible();
    const QScopedValueRollback<bool> applying(applyingBounds_, true);
    setWindowFlags(flags);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(bounds.ToQt());
    if (shown) QWidget::setVisible(true);
  }
  InvalidateFrame();  // the edge may have changed kind, not width
  UpdateLayout();
}

LRESULT TWinControl::Perform(uint32_t Msg, WPARAM WParam, LPARAM LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  WndProc(message);
  return message.Result;
}

void TWinControl::WndProc(TMessage& Message) { DefaultHandler(Message); }

// What every window does with a message its control's handlers passed on:
// keys and characters reach the handlers, then an edit window.
void TWinControl::DefaultHandler(TMessage& Message) {
  Message.Result = 0;
  switch (Message.Msg) {
    case WM_KEYDOWN: {
      Word key = Word(Message.WParam);
      const TShiftState shift = ShiftFromParam(Message.LParam);
      KeyDown(key, shift);
      if (key && edit_) edit_->DefaultKeyDown(key, shift);
      Message.Result = key;
      return;
    }
    case WM_KEYUP: {
      Word key = Word(Message.WParam);
      KeyUp(key, ShiftFromParam(Message.LParam));
      Message.Result = key;
      return;
    }
    case WM_CHAR: {
      QChar c(char16_t(Message.WParam));
      KeyPress(c);
      if (!c.isNull() && edit_) edit_->DefaultChar(c);
      Message.Result = c.unicode();
      return;
    }
    case WM_THEMECHANGED:
      InvalidateFrame();  // a themed border follows the look
      return;
    default:
      if (edit_) edit_->Handle(Message);
  }
}

// ---- geometry and the non-client area ------------------------------------------

bool TWinControl::BarVisible(int bar) const { return bars_[size_t(bar)].shown; }

TPoint TWinControl::ClientToScreen(TPoint p) const {
  return TPoint::FromQt(mapToGlobal(p.ToQt() + ClientOrigin().ToQt()));
}

TPoint TWinControl::ScreenToClient(TPoint p) const {
  const QPoint local = mapFromGlobal(p.ToQt());
  return TPoint::FromQt(local - ClientOrigin().ToQt());
}

TPoint TWinControl::ClientPoint(const QPointF& widgetPos) const {
  return TPoint(int(std::floor(widgetPos.x())) - ClientOrigin().X, int(std::floor(widgetPos.y())) - ClientOrigin().Y);
}

void TWinControl::SetBorderWidth(int v) {
  v = std::max(0, v);
  if (v == borderWidth_) return;
  borderWidth_ = v;
  UpdateLayout();
}

void TWinControl::InvalidateFrame() {
  ncDirty_ = true;
  update();
}

void TWinControl::SetRegion(const QRegion& r) {
  if (r.isEmpty())
    clearMask();
  else
    setMask(r);
}

// The one place the window is divided into client area, bars and corner.
TWinControl::TWindowLayout TWinControl::ComputeLayout() const {
  const int nc = NonClientWidth();
  const TRect inner(nc, nc, std::max(nc, width() - nc), std::max(nc, height() - nc));
  const bool h = BarVisible(SB_HORZ), v = BarVisible(SB_VERT);
  TWindowLayout l;
  l.Client = TRect(inner.Left, inner.Top, std::max(inner.Left, inner.Right - (v ? kScrollBarSize : 0)),
                   std::max(inner.Top, inner.Bottom - (h ? kScrollBarSize : 0)));
  if (v) l.VertBar = TRect(l.Client.Right, inner.Top, inner.Right, l.Client.Bottom);
  if (h) l.HorzBar = TRect(inner.Left, l.Client.Bottom, l.Client.Right, inner.Bottom);
  if (h && v) l.SizeBox = TRect(l.Client.Right, l.Client.Bottom, inner.Right, inner.Bottom);
  return l;
}

void TWinControl::UpdateLayout() {
  const TWindowLayout previous = std::exchange(layout_, ComputeLayout());
  for (int bar : {SB_HORZ, SB_VERT}) {
    QScrollBar* widget = bars_[size_t(bar)].widget;
    widget->setGeometry((bar == SB_HORZ ? layout_.HorzBar : layout_.VertBar).ToQt());
    widget->setVisible(BarVisible(bar));
  }
  if (edit_) edit_->setGeometry(layout_.Client.ToQt());
  if (layout_ == previous) return;
  ncDirty_ = true;
  update();
  if (layout_.Client.Width() == previous.Client.Width() && layout_.Client.Height() == previous.Client.Height()) return;
  ClientResized();
  Resize();
}

void TWinControl::resizeEvent(QResizeEvent*) {
  if (!applyingBounds_) Dispatch(this, [this] { UpdateLayout(); });
}

void TWinControl::PaintNonClientCanvas() {
  if (!ncDirty_ && ncImage_.size() == size()) return;
  ncDirty_ = false;
  if (ncImage_.size() != size()) ncImage_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  TCanvas canvas(&ncImage_);
  WMNCPaint(canvas);
}

void TWinControl::WMNCPaint(TCanvas& WindowCanvas) {
  TRect r(0, 0, width(), height());
  if (edgeStyle_ & WS_BORDER) {
    WindowCanvas.Brush()->SetColor(clWindowFrame);
    WindowCanvas.FrameRect(r);
    InflateRect(r, -1, -1);
  }
  if (edgeStyle_ & WS_EX_CLIENTEDGE) WindowCanvas.DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (edgeStyle_ & WS_EX_STATICEDGE) WindowCanvas.DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  WindowCanvas.Brush()->SetColor(color_);
  for (int i = 0; i < borderWidth_; ++i) {
    WindowCanvas.FrameRect(r);
    InflateRect(r, -1, -1);
  }
  if (!IsRectEmpty(layout_.SizeBox)) {
    WindowCanvas.Brush()->SetColor(clBtnFace);
    WindowCanvas.FillRect(layout_.SizeBox);
  }
}

void TWinControl::paintEvent(QPaintEvent* event) {
  Dispatch(this, [&] { PaintWindow(event->region()); });
}

void TWinControl::PaintWindow(const QRegion& region) {
  PaintNonClientCanvas();
  QPainter p(this);
  p.setClipRegion(region & QRegion(ClientRectInWindow().ToQt()));
  PaintClientArea(p);
  QRegion frame(rect());
  frame -= QRegion(ClientRectInWindow().ToQt());
  if (frame.isEmpty()) return;
  p.setClipRegion(frame & region);
  p.drawImage(0, 0, ncImage_);
}

void TWinControl::PaintClientArea(QPainter& p) { p.fillRect(ClientRectInWindow().ToQt(), ToQColor(color_)); }

// ---- scroll bars ---------------------------------------------------------------

namespace {

// The largest position a bar reaches: the thumb ends at max − page + 1.
int MaxScrollPos(const TScrollInfo& info) {
  const int page = int(info.nPage);
  return std::max(info.nMin, info.nMax - std::max(page - 1, 0));
}

bool Scrollable(const TScrollInfo& info) {
  return info.nMax > info.nMin && int64_t(info.nPage) <= int64_t(info.nMax) - info.nMin;
}

}  // namespace

int TWinControl::SetScrollInfo(int bar, const TScrollInfo& info, bool) {
  Bar& b = bars_[size_t(bar)];
  if (info.fMask & SIF_RANGE) {
    b.info.nMin = info.nMin;
    b.info.nMax = info.nMax;
  }
  if (info.fMask & SIF_PAGE) {
    const int64_t range = int64_t(b.info.nMax) - b.info.nMin + 1;
    b.info.nPage = uint32_t(std::clamp<int64_t>(info.nPage, 0, std::max<int64_t>(range, 0)));
  }
  if (info.fMask & SIF_POS) b.info.nPos = info.nPos;
  b.info.nPos = std::clamp(b.info.nPos, b.info.nMin, MaxScrollPos(b.info));
  if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
    // A bar with nothing to scroll disappears unless asked to stay.
    const bool wasShown = b.shown;
    if (info.fMask & SIF_DISABLENOSCROLL)
      b.widget->setEnabled(b.enabled && Scrollable(b.info));
    else
      b.shown = Scrollable(b.info);
    if (b.shown != wasShown) UpdateLayout();
  }
  PushBar(bar);
  return b.info.nPos;
}

bool TWinControl::GetScrollInfo(int bar, TScrollInfo& info) const {
  const Bar& b = bars_[size_t(bar)];
  if (info.fMask & SIF_RANGE) {
    info.nMin = b.info.nMin;
    info.nMax = b.info.nMax;
  }
  if (info.fMask & SIF_PAGE) info.nPage = b.info.nPage;
  if (info.fMask & SIF_POS) info.nPos = b.info.nPos;
  if (info.fMask & SIF_TRACKPOS) info.nTrackPos = b.widget->isSliderDown() ? b.trackPos : b.info.nPos;
  return true;
}

void TWinControl::ShowScrollBar(int bar, bool show) {
  Bar& b = bars_[size_t(bar)];
  if (b.shown == show) return;
  b.shown = show;
  UpdateLayout();
}

void TWinControl::EnableScrollBar(int bar, uint32_t arrows) {
  Bar& b = bars_[size_t(bar)];
  b.enabled = arrows != ESB_DISABLE_BOTH;
  b.widget->setEnabled(b.enabled);
}

void TWinControl::PushBar(int bar) {
  Bar& b = bars_[size_t(bar)];
  const QSignalBlocker block(b.widget);
  b.widget->setRange(b.info.nMin, MaxScrollPos(b.info));
  b.widget->setPageStep(std::max(1, int(b.info.nPage)));
  b.widget->setValue(b.info.nPos);
}

// The bar's own moves become scroll messages; the bar then shows whatever
// position the handler chose.
void TWinControl::BarAction(int bar, int action) {
  Bar& b = bars_[size_t(bar)];
  int code = -1;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = SB_LINEUP;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = SB_LINEDOWN;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = SB_PAGEUP;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = SB_PAGEDOWN;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = SB_TOP;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = SB_BOTTOM;
      break;
    case QAbstractSlider::SliderMove:
      b.trackPos = b.widget->sliderPosition();
      SendScroll(bar, SB_THUMBTRACK);
      return;
    default:
      return;
  }
  SendScroll(bar, code);
  SendScroll(bar, SB_ENDSCROLL);
  const QSignalBlocker block(b.widget);
  b.widget->setSliderPosition(b.info.nPos);
}

void TWinControl::BarReleased(int bar) {
  bars_[size_t(bar)].trackPos = bars_[size_t(bar)].widget->sliderPosition();
  SendScroll(bar, SB_THUMBPOSITION);
  SendScroll(bar, SB_ENDSCROLL);
  PushBar(bar);
}

void TWinControl::SendScroll(int bar, int code) {
  Perform(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, MakeLong(uint16_t(code), 0), 0);
}

// ---- input ---------------------------------------------------------------------

bool TWinControl::MouseCapture() const { return QWidget::mouseGrabber() == this; }

void TWinControl::SetMouseCapture(bool v) {
  if (v && !MouseCapture() && isVisible())
    grabMouse();
  else if (!v && MouseCapture())
    releaseMouse();
}

void TWinControl::AddGraphicControl(TGraphicControl* c) {
  if (std::find(graphicControls_.begin(), graphicControls_.end(), c) == graphicControls_.end())
    graphicControls_.push_back(c);
}

void TWinControl::RemoveGraphicControl(TGraphicControl* c) {
  std::erase(graphicControls_, c);
  if (mouseGraphic_ == c) mouseGraphic_ = nullptr;
  if (hotGraphic_ == c) hotGraphic_ = nullptr;
}

TGraphicControl* TWinControl::GraphicControlAt(TPoint client) const {
  for (auto it = graphicControls_.rbegin(); it != graphicControls_.rend(); ++it)
    if ((*it)->Visible() && PtInRect((*it)->BoundsRect(), client)) return *it;
  return nullptr;
}

void TWinControl::SetHotGraphic(TGraphicControl* c) {
  if (c == hotGraphic_) return;
  TGraphicControl* old = hotGraphic_;
  hotGraphic_ = c;
  if (old) old->MouseLeave();
  if (c) c->MouseEnter();
}

void TWinControl::mousePressEvent(QMouseEvent* event) {
  TMouseButton button;
  if (!ToButton(event->button(), &button)) return;
  const TPoint p = ClientPoint(event->position());
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  pressed_ = button == mbLeft;
  mouseGraphic_ = GraphicControlAt(p);
  if (TGraphicControl* g = mouseGraphic_) {
    Dispatch(g, [&] { g->MouseDown(button, shift, p.X - g->Left(), p.Y - g->Top()); });
    return;
  }
  Dispatch(this, [&] { MouseDown(button, shift, p.X, p.Y); });
}

void TWinControl::mouseDoubleClickEvent(QMouseEvent* event) {
  // A class without double clicks sees a second plain press.
  if (!(classStyle_ & CS_DBLCLKS)) {
    mousePressEvent(event);
    return;
  }
  TMouseButton button;
  if (!ToButton(event->button(), &button)) return;
  const TPoint p = ClientPoint(event->position());
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons()) | ssDouble;
  pressed_ = false;
  Dispatch(this, [&] {
    if (button == mbLeft) DblClick();
    MouseDown(button, shift, p.X, p.Y);
  });
}

void TWinControl::mouseMoveEvent(QMouseEvent* event) {
  const TPoint p = ClientPoint(event->position());
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  TGraphicControl* g = mouseGraphic_ ? mouseGraphic_ : GraphicControlAt(p);
  Dispatch(g ? static_cast<TObject*>(g) : this, [&] {
    if (!mouseGraphic_) SetHotGraphic(g);
    if (g)
      g->MouseMove(shift, p.X - g->Left(), p.Y - g->Top());
    else
      MouseMove(shift, p.X, p.Y);
  });
}

void TWinControl::mouseReleaseEvent(QMouseEvent* event) {
  TMouseButton button;
  if (!ToButton(event->button(), &button)) return;
  const TPoint p = ClientPoint(event->position());
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  if (TGraphicControl* g = mouseGraphic_) {
    mouseGraphic_ = nullptr;
    Dispatch(g, [&] { g->MouseUp(button, shift, p.X - g->Left(), p.Y - g->Top()); });
    return;
  }
  const bool click = pressed_ && button == mbLeft && PtInRect(ClientRect(), p);
  pressed_ = false;
  Dispatch(this, [&] {
    MouseUp(button, shift, p.X, p.Y);
    if (click) Click();
  });
}

void TWinControl::wheelEvent(QWheelEvent* event) {
  const TShiftState shift = ShiftStateFromQt(event->modifiers(), event->buttons());
  const TPoint pos = TPoint::FromQt(event->globalPosition().toPoint());
  const int delta = event->angleDelta().y();
  bool handled = false;
  Dispatch(this, [&] { handled = MouseWheel(shift, delta, pos); });
  event->setAccepted(handled);
}

bool TWinControl::event(QEvent* event) { return TakeKeyEvent(event) || QWidget::event(event); }

bool TWinControl::TakeKeyEvent(QEvent* event) {
  bool wanted = false;
  if (event->type() == QEvent::ShortcutOverride) {
    // Keys the control asks for come to it before the window's shortcuts.
    Dispatch(this, [&] { wanted = WantsKey(*static_cast<QKeyEvent*>(event)); });
    if (wanted) event->accept();
    return wanted;
  }
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
  // Qt moves the focus on Tab before a control hears of it.
  Dispatch(this, [&] { wanted = Perform(WM_GETDLGCODE, VK_TAB) & DLGC_WANTTAB; });
  if (wanted) keyPressEvent(key);
  return wanted;
}

bool TWinControl::WantsKey(const QKeyEvent& event) {
  const Word key = VirtualKeyFromQt(event.key(), event.modifiers());
  const LRESULT code = Perform(WM_GETDLGCODE, key);
  if (const LRESULT mask = DialogMask(key)) return code & mask;
  return IsCharacterKey(event) && (code & DLGC_WANTCHARS);
}

// A dialog key the control did not ask for: the window's default button or
// cancel first, then Tab and the arrows move the focus.
bool TWinControl::WindowTakes(const QKeyEvent& event, Word key) {
  if (window() != this) {
    QKeyEvent offer(event.type(), event.key(), event.modifiers(), event.text());
    QCoreApplication::sendEvent(window(), &offer);
    if (offer.isAccepted()) return true;
  }
  if (key == VK_RETURN || key == VK_ESCAPE) return false;
  const bool back = key == VK_LEFT || key == VK_UP || (key == VK_TAB && (event.modifiers() & Qt::ShiftModifier)) ||
                    event.key() == Qt::Key_Backtab;
  return focusNextPrevChild(!back);
}

// One key press as the platform delivers it: KeyDown with a changeable key,
// then the key's characters through KeyPress.
void TWinControl::RouteKey(const QKeyEvent& event) {
  const Word pressed = VirtualKeyFromQt(event.key(), event.modifiers());
  const LRESULT mask = DialogMask(pressed);
  if (mask && !(Perform(WM_GETDLGCODE, pressed) & mask) && WindowTakes(event, pressed)) return;
  if (pressed) Perform(WM_KEYDOWN, pressed, ShiftParam(ShiftStateFromQt(event.modifiers())));
  // The characters come from the key as pressed, whatever KeyDown made of it.
  for (QChar c : CharsOf(&event, pressed)) Perform(WM_CHAR, c.unicode());
}

void TWinControl::keyPressEvent(QKeyEvent* event) {
  event->accept();
  Dispatch(this, [&] { RouteKey(*event); });
}

void TWinControl::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  const Word key = VirtualKeyFromQt(event->key(), event->modifiers());
  if (key) Dispatch(this, [&] { Perform(WM_KEYUP, key, ShiftParam(ShiftStateFromQt(event->modifiers()))); });
}

void TWinControl::focusInEvent(QFocusEvent*) {
  Dispatch(this, [this] {
    WMSetFocus();
    DoEnter();
  });
}

void TWinControl::focusOutEvent(QFocusEvent*) {
  Dispatch(this, [this] {
    WMKillFocus();
    DoExit();
  });
}

void TWinControl::enterEvent(QEnterEvent*) {
  Dispatch(this, [this] { MouseEnter(); });
}

void TWinControl::leaveEvent(QEvent*) {
  Dispatch(this, [this] {
    SetHotGraphic(nullptr);
    MouseLeave();
  });
}

void TWinControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TWinControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TWinControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TWinControl::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled || WheelDelta == 0) return handled;
  const TMouseWheelUpDownEvent& e = WheelDelta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
  if (e) e(this, Shift, MousePos, handled);
  return handled;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(QChar& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TWinControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::Click() {
  if (OnClick) OnClick(this);
}

void TWinControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TWinControl::Resize() {
  if (OnResize) OnResize(this);
}

void ForEachWinControl(const std::function<void(TWinControl*)>& f) {
  std::vector<QPointer<TWinControl>> controls;
  for (QWidget* w : QApplication::allWidgets())
    if (auto* c = dynamic_cast<TWinControl*>(w)) controls.emplace_back(c);
  for (const QPointer<TWinControl>& c : controls)
    if (c) f(c);
}

// ---- TCustomControl ------------------------------------------------------------

TCustomControl::TCustomControl(QWidget* AParent) : TCustomControl(nullptr, AParent) {}

TCustomControl::TCustomControl(TComponentBase* AOwner, QWidget* AParent) : TWinControl(AOwner, AParent) {
  canvas_.SetTarget(&image_);
  // Drawing outside Paint shows at once, where it drew.
  canvas_.OnChange = [this](TCanvas*, const QRect& area) {
    if (!painting_) QWidget::update(area.translated(ClientOrigin().ToQt()));
  };
  FollowClientSize();
}

TCustomControl::~TCustomControl() { canvas_.Release(); }

void TCustomControl::ClientResized() { FollowClientSize(); }

// A new look repaints everything.
void TCustomControl::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_THEMECHANGED) Invalidate();
  TWinControl::DefaultHandler(Message);
}

// The image covers no more of the client than a screen can show: a stored
// size of 2^31 - 1 pixels must not allocate gigabytes.
void TCustomControl::FollowClientSize() {
  const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
  const QSize screenSize = shown ? shown->virtualSize() : QSize(4096, 4096);
  const QSize size = QSize(std::max(0, ClientWidth()), std::max(0, ClientHeight())).boundedTo(screenSize);
  if (size == image_.size()) return;
  canvas_.Release();
  const QRect kept = QRect(QPoint(), size) & image_.rect();
  QImage next(size, QImage::Format_RGB32);
  next.fill(ToQColor(Color()));
  if (!kept.isEmpty()) {
    QPainter p(&next);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(kept, image_, kept);
  }
  const bool redrawAll = (ClassStyle() & CS_HREDRAW && size.width() != image_.width()) ||
                         (ClassStyle() & CS_VREDRAW && size.height() != image_.height());
  image_ = next;
  // Only the newly exposed part needs painting unless the class asks for all.
  invalid_ = redrawAll ? QRegion(image_.rect()) : (invalid_ | (QRegion(image_.rect()) - QRegion(kept))) & image_.rect();
}

void TCustomControl::Invalidate() { InvalidateRect(ClientRect()); }

void TCustomControl::InvalidateRect(const TRect& r) {
  const QRect area = r.ToQt() & image_.rect();
  // Inside one invalid rectangle the paint is asked for already (a whole
  // repaint most often): no second request.
  if (area.isEmpty() || (invalid_.rectCount() == 1 && invalid_.boundingRect().contains(area))) return;
  invalid_ |= area;
  update(area.translated(ClientOrigin().ToQt()));
}

void TCustomControl::Update() {
  if (painting_) return;
  const QRegion region = invalid_;
  PaintInvalid();
  QWidget::update(region.translated(ClientOrigin().ToQt()));
}

void TCustomControl::Repaint() {
  Invalidate();
  Update();
}

void TCustomControl::PaintInvalid() {
  if (invalid_.isEmpty() || painting_ || image_.isNull()) return;
  const QScopedValueRollback<bool> painting(painting_, true);
  const QRegion region = std::exchange(invalid_, QRegion());
  canvas_.SetOrigin(TPoint());
  canvas_.ResetClip();
  canvas_.SetSystemClip(region);
  const auto restore = qScopeGuard([this] {
    canvas_.ClearSystemClip();
    canvas_.ResetClip();
  });
  Paint();
  PaintGraphicControls();
}

void TCustomControl::PaintGraphicControls() {
  const QRect clipBox = canvas_.ClipRect().ToQt();
  for (TGraphicControl* c : GraphicControls())
    if (c->Visible() && clipBox.intersects(c->BoundsRect().ToQt())) c->PaintOn(&canvas_);
}

void TCustomControl::PaintClientArea(QPainter& p) {
  PaintInvalid();
  p.drawImage(ClientOrigin().ToQt(), image_);
}

namespace {

// Copies the pixels of src (image coordinates) by d, in an order that never
// reads a pixel already overwritten.
void MovePixels(QImage& image, const QRect& dst, QPoint d) {
  if (dst.isEmpty()) return;
  const int bytes = dst.width() * 4;
  const auto copyRow = [&](int y) {
    uchar* to = image.scanLine(y) + dst.left() * 4;
    const uchar* from = image.constScanLine(y - d.y()) + (dst.left() - d.x()) * 4;
    std::memmove(to, from, size_t(bytes));
  };
  if (d.y() > 0)
    for (int y = dst.bottom(); y >= dst.top(); --y) copyRow(y);
  else
    for (int y = dst.top(); y <= dst.bottom(); ++y) copyRow(y);
}

}  // namespace

void TCustomControl::ScrollWindowEx(int dx, int dy, const TRect* scroll, const TRect* clip, TRect* update,
                                    uint32_t flags) {
  const QRect client = image_.rect();
  const QRect area = (scroll ? scroll->ToQt() : client) & client;
  const QRect bounds = (clip ? clip->ToQt() : client) & client;
  const QPoint d(dx, dy);
  // Pixels move only from inside the clip rectangle to inside it.
  const QRect source = area & bounds;
  const QRect dest = source.translated(d) & bounds;
  const QRegion uncovered = QRegion(source) - QRegion(dest);
  if (!dest.isEmpty() && (dx || dy)) MovePixels(image_, dest, d);
  if (dx || dy) {
    // What was waiting to be painted moves with the pixels.
    const QRegion pending = invalid_ & source;
    invalid_ = (invalid_ - pending) | (pending.translated(d) & bounds);
  }
  if (flags & SW_INVALIDATE) invalid_ |= uncovered;
  if (update) *update = TRect::FromQt(uncovered.boundingRect());
  QWidget::update(bounds.translated(ClientOrigin().ToQt()));
}

// ---- TGraphicControl -----------------------------------------------------------

TGraphicControl::~TGraphicControl() { SetParent(nullptr); }

void TGraphicControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    Invalidate();
    parent_->RemoveGraphicControl(this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->AddGraphicControl(this);
    Invalidate();
  }
}

void TGraphicControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Invalidate();
  bounds_ = Bounds(ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight));
  Invalidate();
}

void TGraphicControl::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  if (auto* custom = dynamic_cast<TCustomControl*>(parent_)) custom->InvalidateRect(bounds_);
}

void TGraphicControl::SetCaption(const QString& v) {
  if (v == caption_) return;
  caption_ = v;
  Invalidate();
}

TCanvas* TGraphicControl::Canvas() const {
  auto* custom = dynamic_cast<TCustomControl*>(parent_);
  return custom ? custom->Canvas() : nullptr;
}

void TGraphicControl::Invalidate() {
  if (!visible_) return;
  if (auto* custom = dynamic_cast<TCustomControl*>(parent_)) custom->InvalidateRect(bounds_);
}

void TGraphicControl::Repaint() {
  Invalidate();
  if (auto* custom = dynamic_cast<TCustomControl*>(parent_)) custom->Update();
}

void TGraphicControl::PaintOn(TCanvas* canvas) {
  const TPoint origin = canvas->Origin();
  canvas->SetOrigin(TPoint(origin.X + Left(), origin.Y + Top()));
  canvas->SetClipRect(ClientRect());
  const auto restore = qScopeGuard([&] {
    canvas->ResetClip();
    canvas->SetOrigin(origin);
  });
  Paint();
}

void TGraphicControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TGraphicControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
  if (Button == mbLeft && PtInRect(ClientRect(), TPoint(X, Y))) Click();
}

void TGraphicControl::Click() {
  if (OnClick) OnClick(this);
}
