// Keys follow the controls' dialog-code answers: a control gets the keys it
// asks for; the others go to its window first (default button, cancel,
// focus moves, shortcuts).

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "TestSupport.h"
#include "platform/Controls.h"

namespace {

// Answers WM_GETDLGCODE with Code and logs the keys and characters it gets.
class TKeyProbe : public TCustomControl {
 public:
  explicit TKeyProbe(QWidget* parent) : TCustomControl(parent) { SetTabStop(true); }
  LRESULT Code = 0;
  QStringList Log;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_GETDLGCODE) {
      m.Result = Code;
      return;
    }
    TCustomControl::WndProc(m);
  }
  void KeyDown(Word& key, TShiftState) override { Log << QStringLiteral("keydown %1").arg(key); }
  void KeyPress(QChar& key) override { Log << QStringLiteral("char %1").arg(key.unicode()); }
};

// A dialog with a default button, a shortcut on the letter A, the probe and
// a second control after it in the tab order.
class KeyDialog {
 public:
  KeyDialog() {
    dialog.resize(200, 120);
    auto* ok = new QPushButton(QStringLiteral("Tamam"), &dialog);
    ok->setGeometry(10, 90, 80, 24);
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::NoFocus);
    QObject::connect(ok, &QPushButton::clicked, [this] { outcome << QStringLiteral("default button"); });
    auto* shortcut = new QAction(&dialog);
    shortcut->setShortcut(QKeySequence(Qt::Key_A));
    dialog.addAction(shortcut);
    QObject::connect(shortcut, &QAction::triggered, [this] { outcome << QStringLiteral("shortcut"); });
    QObject::connect(&dialog, &QDialog::rejected, [this] { outcome << QStringLiteral("rejected"); });
    probe = new TKeyProbe(&dialog);
    probe->SetBounds(10, 10, 80, 30);
    next = new TKeyProbe(&dialog);
    next->SetBounds(100, 10, 80, 30);
    next->Code = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    EXPECT_TRUE(ShowActive(dialog));
    probe->SetFocus();
  }
  QDialog dialog;
  TKeyProbe* probe = nullptr;
  TKeyProbe* next = nullptr;
  QStringList outcome;
};

struct KeyCase {
  const char* name;
  LRESULT code;
  Qt::Key key;
  QStringList probeGets;
  QStringList outcome;  // what the window did, and "focus moved"
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class KeyRouting : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyRouting, FollowsTheDialogCode) {
  KeyDialog d;
  d.probe->Code = GetParam().code;
  ASSERT_TRUE(d.probe->hasFocus());
  QTest::keyClick(d.probe, GetParam().key);
  if (d.next->hasFocus()) d.outcome << QStringLiteral("focus moved");
  EXPECT_EQ(d.probe->Log, GetParam().probeGets);
  EXPECT_EQ(d.outcome, GetParam().outcome);
  EXPECT_TRUE(d.next->Log.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyRouting,
    ::testing::Values(
        KeyCase{"TabReachesAControlThatAsks", DLGC_WANTTAB, Qt::Key_Tab, {"keydown 9", "char 9"}, {}},
        KeyCase{"TabMovesPastOneThatDoesNot", DLGC_WANTALLKEYS, Qt::Key_Tab, {}, {"focus moved"}},
        KeyCase{"ArrowReachesAControlThatAsks", DLGC_WANTARROWS, Qt::Key_Down, {"keydown 40"}, {}},
        KeyCase{"ArrowMovesPastOneThatDoesNot", 0, Qt::Key_Down, {}, {"focus moved"}},
        KeyCase{"EnterReachesAControlWantingAllKeys", DLGC_WANTALLKEYS, Qt::Key_Return, {"keydown 13", "char 13"}, {}},
        KeyCase{"EnterOtherwisePressesTheDefaultButton", DLGC_WANTARROWS, Qt::Key_Return, {}, {"default button"}},
        KeyCase{"EscapeReachesAControlWantingAllKeys", DLGC_WANTALLKEYS, Qt::Key_Escape, {"keydown 27", "char 27"}, {}},
        KeyCase{"EscapeOtherwiseCancelsTheDialog", DLGC_WANTCHARS, Qt::Key_Escape, {}, {"rejected"}},
        KeyCase{
            "CharactersBeatTheWindowsShortcutsWhenAskedFor", DLGC_WANTCHARS, Qt::Key_A, {"keydown 65", "char 97"}, {}},
        KeyCase{"CharactersOtherwiseGoToTheShortcut", DLGC_WANTARROWS, Qt::Key_A, {}, {"shortcut"}},
        KeyCase{"OtherKeysAlwaysReachTheControl", 0, Qt::Key_F2, {"keydown 113"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
