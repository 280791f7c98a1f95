// Standard controls: the window's default button.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include "TestSupport.h"
#include "platform/StdCtrls.h"

namespace {

class DefaultButton : public ::testing::Test {
 protected:
  std::unique_ptr<QStyle> classic{QStyleFactory::create(QStringLiteral("Windows"))};
  QWidget window;
  TButton* ok = new TButton(&window, QStringLiteral("Tamam"));
  TButton* other = new TButton(&window, QStringLiteral("Vazgeç"));
  QLineEdit* edit = new QLineEdit(&window);

  void SetUp() override {
    ok->setGeometry(10, 10, 97, 30);
    other->setGeometry(10, 50, 97, 30);
    edit->setGeometry(10, 90, 97, 21);
    ok->setStyle(classic.get());
    other->setStyle(classic.get());
    ok->SetDefault(true);
    ASSERT_TRUE(ShowActive(window));
  }

  static bool Announced(TButton* b) { return QAccessible::queryAccessibleInterface(b)->state().defaultButton; }
  // The classic look frames a default button in the shadow colour, outside its bevel.
  static bool Framed(TButton* b) {
    return b->grab().toImage().pixel(0, 15) == b->palette().color(QPalette::Shadow).rgb();
  }
};

TEST_F(DefaultButton, KeepsItsMarkWhereverTheFocusGoes) {
  for (QWidget* focus : std::initializer_list<QWidget*>{ok, edit, other, edit}) {
    focus->setFocus();
    SCOPED_TRACE(focus->metaObject()->className());
    ASSERT_TRUE(focus->hasFocus());
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(Announced(ok));
    EXPECT_TRUE(Framed(ok));
  }
}

TEST_F(DefaultButton, AnOrdinaryButtonIsNeitherFramedNorAnnounced) {
  edit->setFocus();
  EXPECT_FALSE(other->Default());
  EXPECT_FALSE(Announced(other));
  EXPECT_FALSE(Framed(other));
  ok->SetDefault(false);
  other->setFocus();
  edit->setFocus();
  EXPECT_FALSE(ok->isDefault());
  EXPECT_FALSE(Announced(ok));
  EXPECT_FALSE(Framed(ok));
}

TEST_F(DefaultButton, EnterOnTheFocusedButtonPressesItOnce) {
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  ok->setFocus();
  QTest::keyClick(ok, Qt::Key_Return);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
