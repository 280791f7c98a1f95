// Components and the construction rule for parts that subclasses choose.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Classes.h"

namespace {

struct TPart {
  explicit TPart(QString k) : kind(std::move(k)) {}
  virtual ~TPart() = default;
  QString kind;
};

// An editor-like owner whose button class a subclass chooses.
class TOwnerBase : public TObject {
 public:
  TOwnerBase() : button_([this] { return MakeButton(); }) {}
  TPart* Button() { return button_.Get(); }
  TPart* ButtonIfMade() const { return button_.IfMade(); }
  int Made = 0;

 protected:
  virtual QString ButtonClass() const { return QStringLiteral("execute"); }

 private:
  std::unique_ptr<TPart> MakeButton() {
    ++Made;
    const QString kind = ButtonClass();
    return kind.isEmpty() ? nullptr : std::make_unique<TPart>(kind);
  }
  TMadeOnFirstNeed<TPart> button_;
};

class TDropDownOwner : public TOwnerBase {
 public:
  QString Kind = QStringLiteral("dropdown");

 protected:
  QString ButtonClass() const override { return Kind; }
};

TEST(MadeOnFirstNeed, ThePartIsTheWholeObjectsChoiceAndMadeOnce) {
  TDropDownOwner owner;
  EXPECT_EQ(owner.ButtonIfMade(), nullptr);
  EXPECT_EQ(owner.Made, 0);
  TPart* button = owner.Button();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->kind, QStringLiteral("dropdown"));
  EXPECT_EQ(owner.Button(), button);
  EXPECT_EQ(owner.ButtonIfMade(), button);
  EXPECT_EQ(owner.Made, 1);
}

TEST(MadeOnFirstNeed, AMakerThatMakesNothingIsAskedOnce) {
  TDropDownOwner owner;
  owner.Kind.clear();
  EXPECT_EQ(owner.Button(), nullptr);
  EXPECT_EQ(owner.Button(), nullptr);
  EXPECT_EQ(owner.Made, 1);
}

}  // namespace
