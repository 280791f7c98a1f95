// Components and the construction rule for parts that subclasses choose.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"
#include "platform/Streaming.h"
#include "platform/Timers.h"

QStringList formLog;

QString LoadingState(const TComponentBase& c) {
  QString s;
  if (c.ComponentState() & csLoading) s += QStringLiteral(" loading");
  if (c.ComponentState() & csReading) s += QStringLiteral(" reading");
  return s;
}

// A component stored inside a control's form.
class TFormPart : public TComponent {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
 public:
  QString Caption() const { return caption_; }
  void SetCaption(const QString& v) {
    caption_ = v;
    formLog << QStringLiteral("caption %1%2").arg(v, LoadingState(*this));
  }
  void Loaded() override {
    TComponent::Loaded();
    formLog << QStringLiteral("loaded %1%2").arg(caption_, LoadingState(*this));
  }

 private:
  QString caption_;
};

// A windowed control whose form holds its parts, as a grid's holds columns.
class TFormControl : public TWinControl, public IStoredChildren {
  Q_OBJECT
  Q_PROPERTY(int Rows READ Rows WRITE SetRows)
 public:
  int Rows() const { return rows_; }
  void SetRows(int v) {
    rows_ = v;
    formLog << QStringLiteral("rows %1%2").arg(v).arg(LoadingState(*this));
  }
  std::vector<TFormObject> StoredChildForms() const override { return {}; }
  void ReadStoredChildForms(const std::vector<TFormObject>& forms) override {
    for (const TFormObject& form : forms) {
      std::unique_ptr<QObject> part = CreateRegistered(form.ClassName, form.Line);
      ApplyProperties(ResolveProperties(part.get(), form));
      InsertComponent(dynamic_cast<TFormPart*>(part.release()));
    }
  }
  void Loaded() override {
    TWinControl::Loaded();
    formLog << QStringLiteral("loaded control with %1 parts%2").arg(ComponentCount()).arg(LoadingState(*this));
  }

 private:
  int rows_ = 0;
};

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

// ---- windowed controls as components ------------------------------------------

TEST(WinControlComponent, OwnersDestroyWhatTheyOwnWindowsIncluded) {
  QStringList order;
  struct TLoggedTimer : TTimer {
    QStringList* order;
    TLoggedTimer(TComponentBase* owner, QStringList* o) : TTimer(owner), order(o) {}
    ~TLoggedTimer() override { *order << QStringLiteral("timer"); }
  };
  struct TLoggedControl : TWinControl {
    QStringList* order;
    TLoggedControl(TComponentBase* owner, QStringList* o) : TWinControl(owner, nullptr), order(o) {}
    ~TLoggedControl() override { *order << QStringLiteral("control"); }
  };
  auto* form = new TComponent;
  auto* control = new TLoggedControl(form, &order);
  control->SetName(QStringLiteral("Grid1"));
  new TLoggedTimer(control, &order);
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(form->Components(0), control);
  EXPECT_EQ(control->Owner(), form);
  EXPECT_EQ(control->Name(), QStringLiteral("Grid1"));
  delete form;
  EXPECT_EQ(order, (QStringList{"control", "timer"}));
}

class FormReading : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClass<TFormPart>();
    formLog.clear();
  }
};

TEST_F(FormReading, LoadedRunsOnEveryObjectReadOnceAllAreRead) {
  TFormControl control;
  ReadObjectText(&control, QStringLiteral("object Grid1: TFormControl\n"
                                          "  Rows = 3\n"
                                          "  object TFormPart\n"
                                          "    Caption = 'a'\n"
                                          "  end\n"
                                          "  object TFormPart\n"
                                          "    Caption = 'b'\n"
                                          "  end\n"
                                          "end\n"));
  EXPECT_EQ(formLog, (QStringList{"caption a loading reading", "caption b loading reading", "rows 3 loading reading",
                                  "loaded control with 2 parts", "loaded a", "loaded b"}));
}

TEST_F(FormReading, ABadFormLoadsNothingAndLeavesNothingLoading) {
  TFormControl control;
  EXPECT_THROW(ReadObjectText(&control, QStringLiteral("object Grid1: TFormControl\n"
                                                       "  object TFormPart\n"
                                                       "    Caption = 'a'\n"
                                                       "  end\n"
                                                       "  object TFormPart\n"
                                                       "    Width = 3\n"
                                                       "  end\n"
                                                       "end\n")),
               EReadError);
  EXPECT_FALSE(formLog.join(',').contains(QStringLiteral("loaded")));
  EXPECT_EQ(LoadingState(control), QString());
  ASSERT_EQ(control.ComponentCount(), 1);  // what was read before the error
  EXPECT_EQ(LoadingState(*control.Components(0)), QString());
}

}  // namespace

#include "ComponentTests.moc"
