#pragma once
// Popup menus with items that raise OnClick.

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"

class QAction;
class QMenu;
class TPopupMenu;

class TMenuItem : public TComponent {
  Q_OBJECT
 public:
  explicit TMenuItem(TComponentBase* AOwner = nullptr);
  ~TMenuItem() override;

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  // The default item is shown in bold; a double click on the tray icon runs it.
  bool Default() const { return default_; }
  void SetDefault(bool v);

  QAction* Action() const { return action_.get(); }
  // Raises OnClick as choosing the item does.
  virtual void Click();

  TNotifyEvent OnClick;

 private:
  QString caption_;
  bool default_ = false;
  std::unique_ptr<QAction> action_;
};

// Replaces the on-screen menu (tests record the popups instead of blocking on them).
using TPopupHook = std::function<void(TPopupMenu* menu, int X, int Y)>;

class TPopupMenu : public TComponent {
  Q_OBJECT
 public:
  explicit TPopupMenu(TComponentBase* AOwner = nullptr);
  ~TPopupMenu() override;

  // The menu owns its items and keeps them in the order added.
  TMenuItem* Add(const QString& caption);
  int Count() const { return int(items_.size()); }
  // Raises EListError for an index outside the menu.
  TMenuItem* Items(int index) const;
  // The first item in menu order marked as default, or none.
  TMenuItem* DefaultItem() const;

  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  // Whoever opened the menu last.
  QObject* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(QObject* component) { popupComponent_ = component; }

  // Opens the menu at the screen position and returns when it closes.
  virtual void Popup(int X, int Y);
  static void SetPopupHook(TPopupHook hook);

  QMenu* Menu() const { return menu_.get(); }

 private:
  std::unique_ptr<QMenu> menu_;
  std::vector<std::unique_ptr<TMenuItem>> items_;
  bool autoPopup_ = true;
  QPointer<QObject> popupComponent_;
};
