#include "tray/NotifyIcon.h"

#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMdiArea>
#include <QStyle>
#include <QStyleHints>
#include <cstring>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/WindowHooks.h"

namespace {

constexpr uint32_t kDefaultFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr uint32_t kCycleIntervalBeforeCycling = 1000;
constexpr uint32_t kExitCheckMs = 20;

bool IsMdiFrame(QWidget* window) {
  auto* frame = qobject_cast<QMainWindow*>(window);
  return frame && qobject_cast<QMdiArea*>(frame->centralWidget());
}

bool IsSysCommand(const TMessage& m, WPARAM command) {
  return m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == command;
}

}  // namespace

// ---- The shared window ----------------------------------------------------

void TNotifyIconHandler::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TRAYNOTIFY: {
      DeliverTo(uint32_t(Message.WParam), [&](TNotifyIcon* icon) {
        Dispatch(icon, [&] { icon->HandleNotification(uint32_t(Message.LParam)); });
      });
      return;
    }
    // The shared window outlives any request to close it.
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_QUIT:
    case WM_NCDESTROY:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      Message.Result = 1;
      return;
    default:
      DefWindowProc(Message);
  }
}

// ---- Creation and destruction ---------------------------------------------

TNotifyIcon::TNotifyIcon(QWidget* AOwner) : identifier_(TNotifyIconHandler::Register(this)), owner_(AOwner) {
  setParent(AOwner);
  data_.Wnd = TNotifyIconHandler::Instance()->Handle();
  data_.uID = identifier_;
  data_.uFlags = kDefaultFlags;
  data_.uCallbackMessage = WM_TRAYNOTIFY;
  cycleTimer_ = std::make_unique<TLiteTimer>(kCycleIntervalBeforeCycling, [this](TObject*) { CycleTimerTick(); });
  clickTimer_ = std::make_unique<TLiteTimer>(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
                                             [this](TObject*) { ClickTimerExpired(); });
  exitTimer_ = std::make_unique<TLiteTimer>(kExitCheckMs, [this](TObject*) { ExitTimerTick(); });
  ApplyDesignPreview();
  if (Designing()) return;
  applicationHookId_ = HookMainWindow([this](TMessage& m) { return ApplicationHook(m); });
  if (owner_) formHookId_ = HookWindow(owner_, [this](TMessage& m) { return FormHook(m); });
}

TNotifyIcon::~TNotifyIcon() {
  SetIconVisible(false);
  SetDesignPreview(false);
  cycleTimer_.reset();
  clickTimer_.reset();
  exitTimer_.reset();
  icon_.SetImage(QImage());
  if (applicationHookId_) UnhookMainWindow(applicationHookId_);
  if (formHookId_) UnhookWindow(formHookId_);
  TNotifyIconHandler::Release(identifier_);
}

void TNotifyIcon::Loaded() {
  TComponent::Loaded();
  if (owner_ && !Designing() && !AskStartup()) {
    if (Application) Application->SetShowMainForm(false);
    HideMainWindow();
  }
  RefreshIcon();
  SetIconVisible(iconVisible_);
  SetCycleIcons(cycleIcons_);
  SetWantEnterExitEvents(wantEnterExitEvents_);
  ApplyNotifyStyle();
}

bool TNotifyIcon::AskStartup() {
  bool showMainForm = true;
  if (OnStartup) OnStartup(this, showMainForm);
  return showMainForm;
}

// ---- Properties -----------------------------------------------------------

void TNotifyIcon::SetIcon(const TIcon& icon) {
  icon_ = icon;
  RefreshIcon();
}

void TNotifyIcon::SetIconVisible(bool v) {
  if (Loading()) {
    iconVisible_ = v;
    return;
  }
  if (v)
    AddIcon();
  else
    RemoveIcon();
}

void TNotifyIcon::SetIconList(TImageList* list) {
  if (iconList_) disconnect(iconList_, nullptr, this, nullptr);
  iconList_ = list;
  if (list) connect(list, &QObject::destroyed, this, [this] { iconIndex_ = 0; });
  SetIconIndex(0);
}

void TNotifyIcon::SetIconIndex(int index) {
  const int count = iconList_ ? iconList_->Count() : 0;
  // An empty list has no picture to show, and no index below 0 exists.
  iconIndex_ = std::clamp(index, 0, std::max(count - 1, 0));
  if (count > 0)
    CopyPictureToIcon(iconIndex_);
  else
    RefreshIcon();
}

void TNotifyIcon::CopyPictureToIcon(int index) {
  iconList_->GetIcon(index, icon_);
  RefreshIcon();
}

void TNotifyIcon::SetCycleIcons(bool v) {
  cycleIcons_ = v;
  if (Loading()) return;
  if (v) {
    SetIconIndex(0);
    cycleTimer_->SetInterval(cycleInterval_);
    cycleTimer_->SetEnabled(true);
  } else {
    cycleTimer_->SetEnabled(false);
  }
}

void TNotifyIcon::SetCycleInterval(uint32_t ms) {
  if (ms == cycleInterval_) return;
  cycleInterval_ = ms;
  SetCycleIcons(cycleIcons_);
}

void TNotifyIcon::SetHint(const QString& hint) {
  hint_ = hint;
  RefreshIcon();
}

void TNotifyIcon::SetShowHint(bool v) {
  showHint_ = v;
  RefreshIcon();
}

// The exit check runs from the mouse's arrival over the icon to its leaving.
void TNotifyIcon::SetWantEnterExitEvents(bool v) {
  wantEnterExitEvents_ = v;
  if (!v) exitTimer_->SetEnabled(false);
}

void TNotifyIcon::SetNotifyStyle(TNotifyStyle style) {
  notifyStyle_ = style;
  if (!Loading()) ApplyNotifyStyle();
}

void TNotifyIcon::ApplyNotifyStyle() {
  data_.uTimeoutOrVersion = notifyStyle_ == nsVersion3 ? NOTIFYICON_VERSION : 0;
  Request(NIM_SETVERSION);
}

// ---- The record and the shell requests ------------------------------------

bool TNotifyIcon::PrepareData() {
  if (Designing() && !previewing_ && !designPreview_) return false;
  data_.hIcon = icon_.Handle();
  if (!hint_.isEmpty() && showHint_)
    SetAnsiField(data_.szTip, sizeof data_.szTip, hint_);
  else
    std::memset(data_.szTip, 0, sizeof data_.szTip);
  return true;
}

bool TNotifyIcon::Request(uint32_t message) { return PrepareData() && ShellNotifyIcon(message, data_); }

bool TNotifyIcon::AddIcon() {
  if (!previewing_) iconVisible_ = true;
  return (!Designing() || previewing_) && Request(NIM_ADD);
}

bool TNotifyIcon::RemoveIcon() {
  if (!previewing_) iconVisible_ = false;
  return (!Designing() || previewing_) && Request(NIM_DELETE);
}

bool TNotifyIcon::RefreshIcon() { return Request(NIM_MODIFY); }

bool TNotifyIcon::ShowBalloon(const QString& Title, const QString& Text, TBalloonIconKind Kind,
                              uint8_t TimeoutSeconds) {
  HideBalloon();
  data_.uFlags |= NIF_INFO;
  SetAnsiField(data_.szInfo, sizeof data_.szInfo, Text);
  SetAnsiField(data_.szInfoTitle, sizeof data_.szInfoTitle, Title);
  data_.uTimeoutOrVersion = uint32_t(TimeoutSeconds) * 1000;
  data_.dwInfoFlags = Kind;
  const bool shown = RefreshIcon();
  data_.uFlags = kDefaultFlags;
  return shown;
}

void TNotifyIcon::HideBalloon() {
  data_.uFlags |= NIF_INFO;
  std::memset(data_.szInfo, 0, sizeof data_.szInfo);
  RefreshIcon();
}

// ---- Notifications --------------------------------------------------------

void TNotifyIcon::HandleNotification(uint32_t notification) {
  switch (notification) {
    case NIN_BALLOONSHOW:
      if (OnBalloonHintShow) OnBalloonHintShow(this);
      return;
    case NIN_BALLOONHIDE:
      if (OnBalloonHintHide) OnBalloonHintHide(this);
      return;
    case NIN_BALLOONTIMEOUT:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
      return;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      return;
    default:
      break;
  }
  if (!enabled_) return;
  const TShiftState shift = ShiftStateFromQt(QGuiApplication::queryKeyboardModifiers());
  const QPoint pos = QCursor::pos();
  switch (notification) {
    case WM_MOUSEMOVE:
      MouseMoved(shift, pos);
      break;
    case WM_LBUTTONDOWN:
      LeftButtonDown(shift, pos);
      break;
    case WM_LBUTTONUP:
      LeftButtonUp(shift, pos);
      break;
    case WM_LBUTTONDBLCLK:
      LeftDoubleClick();
      break;
    case WM_RBUTTONDOWN:
      RightButtonDown(shift, pos);
      break;
    case WM_RBUTTONUP:
      if (notifyStyle_ == nsClassic) DoMouseUp(mbRight, shift | ssRight, pos.x(), pos.y());
      break;
    case WM_CONTEXTMENU:
    case NIN_SELECT:
    case NIN_KEYSELECT:
      if (notifyStyle_ == nsVersion3) DoMouseUp(mbRight, shift | ssRight, pos.x(), pos.y());
      break;
    case WM_MBUTTONDOWN:
      DoMouseDown(mbMiddle, shift | ssMiddle, pos.x(), pos.y());
      break;
    case WM_MBUTTONUP:
      DoMouseUp(mbMiddle, shift | ssMiddle, pos.x(), pos.y());
      break;
    default:
      break;
  }
}

void TNotifyIcon::MouseMoved(TShiftState shift, const QPoint& pos) {
  if (wantEnterExitEvents_) {
    if (!exitTimer_->Enabled()) exitTimer_->SetEnabled(true);
    if (mouseHasLeft_) {
      DoMouseEnter();
      mouseHasLeft_ = false;
    }
  }
  DoMouseMove(shift, pos.x(), pos.y());
  lastMousePos_ = pos;
}

void TNotifyIcon::LeftButtonDown(TShiftState shift, const QPoint& pos) {
  // With a double-click handler a click must wait to see whether a second one follows.
  if (OnDblClick) {
    clickTimer_->SetInterval(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    clickTimer_->SetEnabled(true);
  }
  DoMouseDown(mbLeft, shift | ssLeft, pos.x(), pos.y());
  clickStarted_ = true;
  if (leftPopup_ && MenuOpensAutomatically()) {
    SetForegroundWindow(data_.Wnd);
    ShowMenuAtMouse();
  }
}

void TNotifyIcon::LeftButtonUp(TShiftState shift, const QPoint& pos) {
  if (clickStarted_) clickReady_ = true;
  if (clickStarted_ && !clickTimer_->Enabled()) {
    clickStarted_ = false;
    clickReady_ = false;
    DoClick();
  }
  clickStarted_ = false;
  DoMouseUp(mbLeft, shift | ssLeft, pos.x(), pos.y());
}

void TNotifyIcon::LeftDoubleClick() {
  clickReady_ = false;
  doubleClickSeen_ = true;
  DoDblClick();
  if (MenuOpensAutomatically() && !leftPopup_)
    if (TMenuItem* item = popupMenu_->DefaultItem()) item->Click();
}

void TNotifyIcon::RightButtonDown(TShiftState shift, const QPoint& pos) {
  DoMouseDown(mbRight, shift | ssRight, pos.x(), pos.y());
  if (MenuOpensAutomatically()) {
    SetForegroundWindow(data_.Wnd);
    ShowMenuAtMouse();
  }
}

void TNotifyIcon::ClickTimerExpired() {
  clickTimer_->SetEnabled(false);
  if (!doubleClickSeen_ && clickReady_) {
    clickReady_ = false;
    DoClick();
  }
  doubleClickSeen_ = false;
}

void TNotifyIcon::ExitTimerTick() {
  if (QCursor::pos() == lastMousePos_) return;
  exitTimer_->SetEnabled(false);
  mouseHasLeft_ = true;
  DoMouseExit();
}

void TNotifyIcon::CycleTimerTick() {
  if (!iconList_ || iconList_->Count() == 0) return;
  // The list may have been emptied and refilled with fewer pictures.
  iconIndex_ = std::min(iconIndex_, iconList_->Count() - 1);
  CopyPictureToIcon(iconIndex_);
  const int next = iconIndex_ + 1 < iconList_->Count() ? iconIndex_ + 1 : 0;
  DoCycle(next);
  SetIconIndex(next);
}

void TNotifyIcon::DoClick() {
  if (OnClick) OnClick(this);
}
void TNotifyIcon::DoDblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TNotifyIcon::DoCycle(int NextIndex) {
  if (OnCycle) OnCycle(this, NextIndex);
}
void TNotifyIcon::DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TNotifyIcon::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TNotifyIcon::DoMouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TNotifyIcon::DoMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TNotifyIcon::DoMouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}
void TNotifyIcon::DoMinimizeToTray() {
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

// ---- Menu and windows -----------------------------------------------------

void TNotifyIcon::ShowMenuAt(int X, int Y) {
  if (!popupMenu_) return;
  SetForegroundWindow(data_.Wnd);
  if (Application) Application->ProcessMessages();
  popupMenu_->SetPopupComponent(this);
  popupMenu_->Popup(X, Y);
  // Lets the owner's window notice that the menu has closed.
  if (owner_) PostWindowMessage(owner_, WM_NULL);
}

void TNotifyIcon::ShowMenuAtMouse() {
  const QPoint pos = QCursor::pos();
  ShowMenuAt(pos.x(), pos.y());
}

void TNotifyIcon::SendToTray() {
  HideMainWindow();
  SetIconVisible(true);
}

void TNotifyIcon::HideMainWindow() {
  if (!owner_ || !Application || !Application->MainForm()) return;
  Application->MainForm()->hide();
  HideAppWindow();
}

// The main window carries the program's task-bar button here.
void TNotifyIcon::HideAppWindow() {
  QWidget* main = Application ? Application->MainForm() : nullptr;
  if (main && main->isVisible()) main->hide();
}

bool TNotifyIcon::ApplicationHook(TMessage& m) {
  QWidget* main = Application ? Application->MainForm() : nullptr;
  if (m.Msg == WM_SIZE && m.WParam == SIZE_MINIMIZED) {
    if (minimizeToTray_) SendToTray();
  } else if (m.Msg == WM_WINDOWPOSCHANGED) {
    if (startupCheckPending_ && main) {
      if (IsMdiFrame(main) && !AskStartup()) HideAppWindow();
      startupCheckPending_ = false;
    }
  } else if (IsSysCommand(m, SC_RESTORE)) {
    if (main) {
      if (main->isMinimized()) main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
      main->show();
    }
  } else if (m.Msg == TaskbarCreatedMessage()) {
    if (iconVisible_) AddIcon();
  }
  return false;
}

bool TNotifyIcon::FormHook(TMessage& m) {
  if (m.Msg == WM_SHOWWINDOW && m.WParam && m.LParam == 0) {
    SetForegroundWindow(ApplicationHandle());
    SetForegroundWindow(owner_.data());
    return false;
  }
  const bool parentCloses = m.Msg == WM_SHOWWINDOW && !m.WParam && m.LParam == SW_PARENTCLOSING &&
                            !(Application && Application->Terminated());
  if ((parentCloses || IsSysCommand(m, SC_MINIMIZE)) && minimizeToTray_ && OnMinimizeToTray) {
    DoMinimizeToTray();
    SendToTray();
    m.Result = 1;
    return true;
  }
  return false;
}

// ---- Design preview -------------------------------------------------------

void TNotifyIcon::SetDesignPreview(bool v) {
  designPreview_ = v;
  ApplyDesignPreview();
}

// Only the form designer shows an icon before the program runs.
void TNotifyIcon::ApplyDesignPreview() {
  if (!Designing()) return;
  previewing_ = true;
  if (icon_.Empty() && WantsDefaultIcon())
    icon_.SetImage(QApplication::style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32).toImage());
  if (designPreview_ && iconVisible_)
    AddIcon();
  else
    RemoveIcon();
  previewing_ = false;
}
