#include "platform/Classes.h"

#include <algorithm>

#include "platform/Exceptions.h"

QString TPersistent::ClassName() const { return QString::fromLatin1(metaObject()->className()); }

void TPersistent::Assign(TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    throw EConvertError(QStringLiteral("Cannot assign a nil to a %1").arg(ClassName()));
}

void TPersistent::AssignTo(TPersistent* Dest) {
  throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(ClassName(), Dest->ClassName()));
}

TComponentBase::TComponentBase(TComponentBase* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponentBase::~TComponentBase() {
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponentBase::DestroyComponents() {
  Include(csDestroying);
  while (!components_.empty()) {
    TComponentBase* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

void TComponentBase::InsertComponent(TComponentBase* c) {
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
}

void TComponentBase::RemoveComponent(TComponentBase* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}
