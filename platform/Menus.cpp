#include "platform/Menus.h"

#include <QAction>
#include <QMenu>

#include "platform/Application.h"
#include "platform/Exceptions.h"

namespace {

TPopupHook& PopupHook() {
  static TPopupHook hook;
  return hook;
}

}  // namespace

TMenuItem::TMenuItem(TComponentBase* AOwner) : TComponent(AOwner), action_(std::make_unique<QAction>()) {
  QObject::connect(action_.get(), &QAction::triggered, this, [this] { Dispatch(this, [this] { Click(); }); });
}

TMenuItem::~TMenuItem() = default;

void TMenuItem::SetCaption(const QString& caption) {
  caption_ = caption;
  action_->setText(caption);
}

void TMenuItem::SetDefault(bool v) {
  default_ = v;
  QFont font = action_->font();
  font.setBold(v);
  action_->setFont(font);
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TPopupMenu::TPopupMenu(TComponentBase* AOwner) : TComponent(AOwner), menu_(std::make_unique<QMenu>()) {}

TPopupMenu::~TPopupMenu() {
  // Items go before the menu that shows their actions.
  items_.clear();
}

TMenuItem* TPopupMenu::Add(const QString& caption) {
  auto item = std::make_unique<TMenuItem>();
  item->SetCaption(caption);
  menu_->addAction(item->Action());
  items_.push_back(std::move(item));
  return items_.back().get();
}

TMenuItem* TPopupMenu::Items(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
  return items_[size_t(index)].get();
}

TMenuItem* TPopupMenu::DefaultItem() const {
  for (const auto& item : items_)
    if (item->Default()) return item.get();
  return nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  if (PopupHook()) {
    PopupHook()(this, X, Y);
    return;
  }
  menu_->exec(QPoint(X, Y));
}

void TPopupMenu::SetPopupHook(TPopupHook hook) { PopupHook() = std::move(hook); }
