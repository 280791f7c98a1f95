#pragma once
// The notification-area icon. All icons share one hidden window that the
// shell's notifications arrive at; the identifier in each notification
// names the icon.
//
// Map: record and requests (PrepareData, AddIcon ...), notifications
// (HandleNotification and the three timers), menu, hooks on the
// application's and the owner's windows, start-up and design preview.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Shell.h"
#include "platform/Types.h"
#include "tray/LiteTimer.h"

class TNotifyIcon;

enum TBalloonIconKind : uint8_t { biNone, biInformation, biWarning, biError, biUser };

using TCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;
using TStartupEvent = std::function<void(TObject* Sender, bool& ShowMainForm)>;

// The callback message the shell sends the icons' notifications with.
constexpr uint32_t WM_TRAYNOTIFY = WM_USER + 1024;

class TNotifyIconHandler : public TSharedMessageWindow<TNotifyIconHandler, TNotifyIcon> {
  Q_OBJECT
 protected:
  void WndProc(TMessage& Message) override;
};

class TNotifyIcon : public TComponent {
  Q_OBJECT
 public:
  // The owner is the form the icon belongs to; the icon goes with it.
  explicit TNotifyIcon(QWidget* AOwner = nullptr);
  ~TNotifyIcon() override;

  // The icon's identity in the shell's record and notifications.
  uint32_t Identifier() const { return identifier_; }

  const TIcon& Icon() const { return icon_; }
  void SetIcon(const TIcon& icon);
  bool IconVisible() const { return iconVisible_; }
  void SetIconVisible(bool v);
  TImageList* IconList() const { return iconList_; }
  void SetIconList(TImageList* list);
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int index);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleIcons(bool v);
  uint32_t CycleInterval() const { return cycleInterval_; }
  void SetCycleInterval(uint32_t ms);
  const QString& Hint() const { return hint_; }
  void SetHint(const QString& hint);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
  bool LeftPopup() const { return leftPopup_; }
  void SetLeftPopup(bool v) { leftPopup_ = v; }
  bool WantEnterExitEvents() const { return wantEnterExitEvents_; }
  void SetWantEnterExitEvents(bool v);
  bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool v) { minimizeToTray_ = v; }
  bool DesignPreview() const { return designPreview_; }
  void SetDesignPreview(bool v);

  virtual bool WantsDefaultIcon() { return true; }
  // The shell's answer; false when skipped.
  virtual bool AddIcon();
  virtual bool RemoveIcon();
  virtual bool RefreshIcon();

  bool ShowBalloon(const QString& Title, const QString& Text, TBalloonIconKind Kind, uint8_t TimeoutSeconds);
  void HideBalloon();
  void ShowMenuAt(int X, int Y);
  void ShowMenuAtMouse();
  void SendToTray();
  void HideMainWindow();
  void HideAppWindow();

  void Loaded() override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow;
  TNotifyEvent OnBalloonHintHide;
  TNotifyEvent OnBalloonHintTimeout;
  TNotifyEvent OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

 protected:
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoCycle(int NextIndex);
  virtual void DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void DoMouseMove(TShiftState Shift, int X, int Y);
  virtual void DoMouseEnter();
  virtual void DoMouseExit();
  virtual void DoMinimizeToTray();

  // How the shell reports the right button: classic sends the button
  // messages, version 3 a context-menu notification.
  enum TNotifyStyle : uint8_t { nsClassic, nsVersion3 };
  TNotifyStyle NotifyStyle() const { return notifyStyle_; }
  void SetNotifyStyle(TNotifyStyle style);

 private:
  friend class TNotifyIconHandler;
  bool Designing() const { return ComponentState() & csDesigning; }
  bool Loading() const { return ComponentState() & csLoading; }
  bool PrepareData();
  bool Request(uint32_t message);
  void ApplyDesignPreview();
  void ApplyNotifyStyle();
  void CopyPictureToIcon(int index);
  bool AskStartup();

  void HandleNotification(uint32_t notification);
  void MouseMoved(TShiftState shift, const QPoint& pos);
  void LeftButtonDown(TShiftState shift, const QPoint& pos);
  void LeftButtonUp(TShiftState shift, const QPoint& pos);
  void LeftDoubleClick();
  void RightButtonDown(TShiftState shift, const QPoint& pos);
  bool MenuOpensAutomatically() const { return popupMenu_ && popupMenu_->AutoPopup(); }
  void ClickTimerExpired();
  void ExitTimerTick();
  void CycleTimerTick();

  bool ApplicationHook(TMessage& m);
  bool FormHook(TMessage& m);

  uint32_t identifier_;
  QPointer<QWidget> owner_;
  TNotifyIconData data_;

  TIcon icon_;
  bool iconVisible_ = false;
  QPointer<TImageList> iconList_;
  int iconIndex_ = 0;
  bool cycleIcons_ = false;
  uint32_t cycleInterval_ = 0;
  QString hint_;
  bool showHint_ = true;
  bool enabled_ = true;
  QPointer<TPopupMenu> popupMenu_;
  bool leftPopup_ = false;
  bool wantEnterExitEvents_ = false;
  bool minimizeToTray_ = false;
  bool designPreview_ = false;

  std::unique_ptr<TLiteTimer> cycleTimer_;
  std::unique_ptr<TLiteTimer> clickTimer_;
  std::unique_ptr<TLiteTimer> exitTimer_;

  bool clickStarted_ = false;
  bool clickReady_ = false;
  bool doubleClickSeen_ = false;
  bool mouseHasLeft_ = true;
  QPoint lastMousePos_;

  bool startupCheckPending_ = true;
  bool previewing_ = false;
  TNotifyStyle notifyStyle_ = nsClassic;

  int applicationHookId_ = 0;
  int formHookId_ = 0;
};
