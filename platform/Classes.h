#pragma once
// The object, persistent and component bases of the program's classes.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Types.h"

// Plain root of every class that events name as their sender.
class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// An object whose published state can be copied and stored. Published
// properties are Qt meta-object properties.
class TPersistent : public QObject, public TObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  // Copies Source's state into this object; raises EConvertError when the
  // two classes do not know each other.
  virtual void Assign(TPersistent* Source);
  QString ClassName() const;

 protected:
  virtual void AssignTo(TPersistent* Dest);
};

enum TComponentStateFlag : uint8_t { csLoading = 0x01, csReading = 0x02, csDesigning = 0x04, csDestroying = 0x08 };
Q_DECLARE_FLAGS(TComponentState, TComponentStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComponentState)

// What every component has, plain object or window: an owner that destroys
// it (last created first), a name, a state, and the step after its stored
// state was read. Windowed controls are QWidgets and cannot be TPersistents
// as well, so this part stands on its own; TComponent and TWinControl both
// carry it.
class TComponentBase {
 public:
  explicit TComponentBase(TComponentBase* AOwner = nullptr);
  virtual ~TComponentBase();
  TComponentBase(const TComponentBase&) = delete;
  TComponentBase& operator=(const TComponentBase&) = delete;

  TComponentBase* Owner() const { return owner_; }
  const QString& Name() const { return name_; }
  void SetName(const QString& name) { name_ = name; }
  TComponentState ComponentState() const { return state_; }
  void SetComponentState(TComponentState state) { state_ = state; }
  void Include(TComponentStateFlag flag) { state_ |= flag; }
  void Exclude(TComponentStateFlag flag) { state_ &= ~TComponentState(flag); }
  int ComponentCount() const { return int(components_.size()); }
  TComponentBase* Components(int i) const { return components_.at(size_t(i)); }
  // Called once every object of a stored form has been read.
  virtual void Loaded() { Exclude(csLoading); }

  // Takes a component out of this owner's care without destroying it.
  void RemoveComponent(TComponentBase* c);
  void InsertComponent(TComponentBase* c);

 protected:
  // Destroys the owned components, last created first. The destructor does
  // it too; a class whose components need the whole owner calls it first.
  void DestroyComponents();

 private:
  TComponentBase* owner_ = nullptr;
  QString name_;
  TComponentState state_;
  std::vector<TComponentBase*> components_;
};

// A non-visual component with published state.
class TComponent : public TPersistent, public TComponentBase {
  Q_OBJECT
 public:
  explicit TComponent(TComponentBase* AOwner = nullptr) : TComponentBase(AOwner) {}
};

// Overridable construction. C++ runs a base-class constructor before the
// subclass exists, so an overridable operation called there reaches only
// the base's version. Whatever a subclass chooses through an overridable
// operation (a window's creation parameters, a column's display and editor,
// an editor's button and popup) is therefore made on first need, once its
// owner is whole: windows by HandleNeeded, parts by a TMadeOnFirstNeed
// member that names the operation making the part. Constructors only
// declare; they never make such a part themselves.
template <class T>
class TMadeOnFirstNeed {
 public:
  using TMaker = std::function<std::unique_ptr<T>()>;
  explicit TMadeOnFirstNeed(TMaker make) : make_(std::move(make)) {}

  // The part, made now if this is the first need; null when the maker made
  // none (it is not asked again).
  T* Get() {
    if (!made_) {
      made_ = true;
      part_ = make_();
    }
    return part_.get();
  }
  // The part if it has been made, without making it.
  T* IfMade() const { return part_.get(); }

 private:
  TMaker make_;
  std::unique_ptr<T> part_;
  bool made_ = false;
};
