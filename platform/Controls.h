#pragma once
// The control base: windowed controls over QWidget with the Windows window
// model the grid suite is written against (client area inside a border and
// scroll bars, message-style handlers, Windows scroll-bar model), custom
// controls that paint into their own backing image, and windowless controls
// drawn on their parent's canvas.
//
// Map: TScreen (cursor table) · TWinControl (geometry, non-client area,
// scroll bars, input → handlers) · TCustomControl (backing image, invalid
// region, pixel scrolling) · TGraphicControl (windowless).

#include <QCursor>
#include <QRegion>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Classes.h"
#include "platform/Messages.h"
#include "platform/Types.h"

class QKeyEvent;
class QScrollBar;

using Word = uint16_t;

// Window styles as creation parameters carry them.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_BORDER = 0x00800000;
constexpr uint32_t WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_HSCROLL = 0x00100000;
constexpr uint32_t WS_GROUP = 0x00020000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
constexpr uint32_t WS_EX_STATICEDGE = 0x00020000;
constexpr uint32_t CS_VREDRAW = 0x0001;
constexpr uint32_t CS_HREDRAW = 0x0002;
constexpr uint32_t CS_DBLCLKS = 0x0008;
constexpr uint32_t CS_SAVEBITS = 0x0800;

// WM_GETDLGCODE answers: the keys a control takes before its window does.
// Without them Tab and the arrows move the focus, Enter and Escape go to the
// window (default button, cancel), characters to the window's shortcuts.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;  // Enter and Escape
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// Scroll bars.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr uint32_t SIF_RANGE = 0x1;
constexpr uint32_t SIF_PAGE = 0x2;
constexpr uint32_t SIF_POS = 0x4;
constexpr uint32_t SIF_DISABLENOSCROLL = 0x8;
constexpr uint32_t SIF_TRACKPOS = 0x10;
constexpr uint32_t SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
constexpr uint32_t ESB_ENABLE_BOTH = 0;
constexpr uint32_t ESB_DISABLE_BOTH = 3;
constexpr uint32_t SW_INVALIDATE = 0x2;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
int GetSystemMetrics(int index);

struct TScrollInfo {
  uint32_t cbSize = 28;
  uint32_t fMask = 0;
  int nMin = 0;
  int nMax = 0;
  uint32_t nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// Edit-control styles.
constexpr uint32_t ES_LEFT = 0x0000;
constexpr uint32_t ES_CENTER = 0x0001;
constexpr uint32_t ES_RIGHT = 0x0002;
constexpr uint32_t ES_MULTILINE = 0x0004;
constexpr uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr uint32_t ES_READONLY = 0x0800;

// What a window is: a plain window the control paints, or the platform's
// edit control (TEditWindow).
enum TWindowClass : uint8_t { wcPlain, wcEdit };

struct TCreateParams {
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  uint32_t WindowClassStyle = 0;
  TWindowClass WindowClass = wcPlain;
};

// Key messages carry the shift state in LParam, so a control can hand a key
// on to another one: Grid->Perform(WM_KEYDOWN, Key, ShiftParam(Shift)).
constexpr LPARAM ShiftParam(TShiftState shift) { return LPARAM(shift.toInt()); }
constexpr TShiftState ShiftFromParam(LPARAM param) { return TShiftState::fromInt(uint16_t(param)); }

enum TBorderStyle : uint8_t { bsNone, bsSingle };
enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Windows virtual-key codes.
constexpr Word VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
               VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
               VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E,
               VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
               VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F2 = 0x71, VK_F4 = 0x73, VK_F12 = 0x7B;
// The one place Qt keys become virtual-key codes; 0 for keys without one.
Word VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

// The application's cursor table and application-wide cursor.
class TScreen {
 public:
  // The cursor registered under id; stock ids are negative, 0 the arrow.
  QCursor Cursors(int id) const;
  void SetCursors(int id, const QCursor& cursor);
  // The application-wide cursor; 0 hands the choice back to the controls.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor id);
  // A named cursor picture from the program's resources; a null cursor when
  // it is missing.
  static QCursor LoadCursorResource(const QString& name);

 private:
  std::map<int, QCursor> cursors_;
  TCursor cursor_ = crDefault;
};

extern TScreen* const Screen;

using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

class TGraphicControl;
class TEditWindow;

// A windowed control is a full component: its owner (a form, a column)
// destroys it, and it destroys the components it owns; its parent is the
// window it shows in.
class TWinControl : public QWidget, public TObject, public TComponentBase {
  Q_OBJECT
 public:
  explicit TWinControl(QWidget* AParent = nullptr);
  TWinControl(TComponentBase* AOwner, QWidget* AParent);
  ~TWinControl() override;

  // Position in the parent's client area (screen coordinates for windows
  // without a windowed parent), size of the whole window.
  int Left() const;
  int Top() const;
  int Width() const { return width(); }
  int Height() const { return height(); }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(Left(), Top(), Width(), Height()); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void setVisible(bool visible) override;
  void SetParent(QWidget* parent);

  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFont* Font() { return &font_; }
  TCursor Cursor() const { return cursorId_; }
  void SetCursor(TCursor id);
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool v);
  bool Focused() const { return hasFocus(); }
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool v) { setEnabled(v); }
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode v);
  // Text reads right to left in every mode but left-to-right.
  bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }
  void SetFocus() { setFocus(Qt::OtherFocusReason); }
  // The window text; an edit window's text once it exists.
  QString Text() const;
  void SetText(const QString& v);

  // The window exists from its first showing or from the first need of it,
  // never from a constructor: CreateParams and CreateWnd are overridable
  // (see TMadeOnFirstNeed).
  bool HandleAllocated() const { return handle_; }
  void HandleNeeded();
  void RecreateWnd();
  LRESULT Perform(uint32_t Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  // Client area: the window less its border and visible scroll bars, with
  // its own coordinates starting at (0, 0).
  TRect ClientRect() const { return TRect(0, 0, ClientWidth(), ClientHeight()); }
  int ClientWidth() const { return layout_.Client.Width(); }
  int ClientHeight() const { return layout_.Client.Height(); }
  // Where the client area's (0, 0) lies in the window.
  TPoint ClientOrigin() const { return layout_.Client.TopLeft(); }
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // Width of the border drawn by the control itself, inside the edge.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  // Repaints the border and scroll-bar corner.
  void InvalidateFrame();
  // A shaped window: only pixels inside r (window coordinates) belong to it.
  void SetRegion(const QRegion& r);

  int SetScrollInfo(int bar, const TScrollInfo& info, bool redraw);
  bool GetScrollInfo(int bar, TScrollInfo& info) const;
  void ShowScrollBar(int bar, bool show);
  void EnableScrollBar(int bar, uint32_t arrows);
  QScrollBar* ScrollBarWidget(int bar) const { return bars_[size_t(bar)].widget; }
  bool ScrollBarShown(int bar) const { return BarVisible(bar); }

  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  void AddGraphicControl(TGraphicControl* c);
  void RemoveGraphicControl(TGraphicControl* c);

  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void WndProc(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  // Draws the border into the whole-window canvas (window coordinates).
  virtual void WMNCPaint(TCanvas& WindowCanvas);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyPress(QChar& Key);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void WMSetFocus() {}
  virtual void WMKillFocus() {}
  virtual void Click();
  virtual void DblClick();
  virtual void Resize();
  virtual void FontChanged() {}
  virtual void ColorChanged() {}
  virtual void TextChanged() {}
  // The client area changed size, just before Resize; the backing image
  // follows it here.
  virtual void ClientResized() {}
  // Shows the client area on the window.
  virtual void PaintClientArea(QPainter& p);
  // An edit window has painted itself; p draws over it in client
  // coordinates.
  virtual void EditWindowPainted(QPainter&) {}

  const std::vector<TGraphicControl*>& GraphicControls() const { return graphicControls_; }
  uint32_t ClassStyle() const { return classStyle_; }
  int NonClientWidth() const { return edgeWidth_ + borderWidth_; }
  TRect ClientRectInWindow() const { return layout_.Client; }

  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // Where the window's parts lie, in window coordinates; empty rectangles
  // for bars that are not shown.
  struct TWindowLayout {
    TRect Client;
    TRect HorzBar;
    TRect VertBar;
    TRect SizeBox;  // the corner between two shown bars
    friend bool operator==(const TWindowLayout&, const TWindowLayout&) = default;
  };
  struct Bar {
    QScrollBar* widget = nullptr;
    TScrollInfo info;
    bool shown = false;
    bool enabled = true;
    int trackPos = 0;
  };
  bool BarVisible(int bar) const;
  void PaintWindow(const QRegion& region);
  void PaintNonClientCanvas();
  TWindowLayout ComputeLayout() const;
  // Lays the window out again after anything that moves its parts; fires
  // ClientResized and Resize when the client area changed size.
  void UpdateLayout();
  void ApplyCreateParams(const TCreateParams& params);
  void ApplyWindowClass(const TCreateParams& params);
  void DressEdit();
  void PushBar(int bar);
  void BarAction(int bar, int action);
  void BarReleased(int bar);
  void SendScroll(int bar, int code);
  friend class TEditWindow;
  // Shortcut overrides by the dialog code, and Tab before Qt moves the
  // focus; true when the event was taken.
  bool TakeKeyEvent(QEvent* event);
  bool WantsKey(const QKeyEvent& event);
  bool WindowTakes(const QKeyEvent& event, Word key);
  void RouteKey(const QKeyEvent& event);
  TGraphicControl* GraphicControlAt(TPoint client) const;
  void SetHotGraphic(TGraphicControl* c);
  TPoint ClientPoint(const QPointF& widgetPos) const;

  TColor color_ = clBtnFace;
  TFont font_;
  TCursor cursorId_ = crDefault;
  TBiDiMode biDiMode_ = bdLeftToRight;
  QString text_;
  bool visible_ = true;
  bool handle_ = false;
  bool topLevel_ = false;
  bool pressed_ = false;
  int edgeWidth_ = 0;
  uint32_t edgeStyle_ = 0;
  uint32_t classStyle_ = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  int borderWidth_ = 0;
  std::array<Bar, 2> bars_;
  TWindowLayout layout_;
  bool applyingBounds_ = false;  // the resize events this causes are not entries
  QImage ncImage_;
  bool ncDirty_ = true;
  std::vector<TGraphicControl*> graphicControls_;
  TGraphicControl* mouseGraphic_ = nullptr;  // took the last button press
  TGraphicControl* hotGraphic_ = nullptr;
  std::unique_ptr<TEditWindow> edit_;
};

// Calls f for every windowed control of the program; a control that an
// earlier call destroyed is skipped.
void ForEachWinControl(const std::function<void(TWinControl*)>& f);

// A windowed control with a canvas. It paints into its own backing image:
// Paint runs for the invalid region only, with the canvas clipped to it;
// invalidating never erases.
class TCustomControl : public TWinControl {
  Q_OBJECT
 public:
  explicit TCustomControl(QWidget* AParent = nullptr);
  TCustomControl(TComponentBase* AOwner, QWidget* AParent);
  ~TCustomControl() override;

  TCanvas* Canvas() { return &canvas_; }
  // The client area's pixels as last painted.
  const QImage& Image() const { return image_; }

  void Invalidate();
  void InvalidateRect(const TRect& r);
  const QRegion& InvalidRegion() const { return invalid_; }
  // Paints what is invalid now instead of at the next paint event.
  void Update();
  void Repaint();
  // Moves the client pixels inside clip (within scroll, or the whole client
  // area) by (dx, dy); with SW_INVALIDATE the uncovered strip becomes
  // invalid. Returns the uncovered strip's bounds through update.
  void ScrollWindowEx(int dx, int dy, const TRect* scroll, const TRect* clip, TRect* update, uint32_t flags);

 protected:
  virtual void Paint() {}
  void DefaultHandler(TMessage& Message) override;
  void ClientResized() override;
  void PaintClientArea(QPainter& p) override;

 private:
  void FollowClientSize();
  void PaintInvalid();
  void PaintGraphicControls();

  QImage image_;
  TCanvas canvas_;
  QRegion invalid_;
  bool painting_ = false;
};

// A control without a window of its own, drawn on its parent's canvas.
class TGraphicControl : public TObject {
 public:
  TGraphicControl() = default;
  ~TGraphicControl() override;
  TGraphicControl(const TGraphicControl&) = delete;
  TGraphicControl& operator=(const TGraphicControl&) = delete;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return bounds_; }
  TRect ClientRect() const { return TRect(0, 0, Width(), Height()); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& v);
  TFont* Font() { return &font_; }
  // The parent's canvas; while painting its origin is this control's corner.
  TCanvas* Canvas() const;

  void Invalidate();
  void Repaint();
  // Paints on the parent's canvas, shifted to this control and clipped to it.
  void PaintOn(TCanvas* canvas);

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

  // Input handed on by the parent, in this control's coordinates.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState, int, int) {}
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void Click();

 protected:
  virtual void Paint() {}

 private:
  TWinControl* parent_ = nullptr;
  TRect bounds_;
  bool visible_ = true;
  QString caption_;
  TFont font_;
};
