// A windowed control whose window is the platform's edit control: keys and
// characters go through the control's handlers first, the edit does what
// they leave, and a key can be handed on to another control.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "TestSupport.h"
#include "platform/Controls.h"

namespace {

// An in-place text editor: an edit window with the caret, selection and
// clipboard keys; optionally it filters pastes as a numeric editor does.
class TTextEditor : public TWinControl {
 public:
  explicit TTextEditor(QWidget* parent = nullptr) : TWinControl(parent) { SetTabStop(true); }
  QString PasteFilter;  // characters a paste keeps; empty keeps all
  LRESULT ExtraCode = 0;
  int Changes = 0;

  QString Selected() {
    const LRESULT sel = Perform(EM_GETSEL);
    return Text().mid(LoWord(uintptr_t(sel)), HiWord(uintptr_t(sel)) - LoWord(uintptr_t(sel)));
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.WindowClass = wcEdit;
    Params.Style |= ES_MULTILINE | ES_AUTOHSCROLL;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_PASTE && !PasteFilter.isEmpty()) {
      QString kept;
      for (QChar c : QGuiApplication::clipboard()->text())
        if (PasteFilter.contains(c)) kept += c;
      SetText(Text() + kept);
      return;
    }
    TWinControl::WndProc(m);
    if (m.Msg == WM_GETDLGCODE) m.Result |= ExtraCode;
  }
  void TextChanged() override { ++Changes; }
};

class EditWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.SetBounds(0, 0, 120, 20);
    ASSERT_TRUE(ShowFocused(editor, editor));
    editor.OnKeyDown = [this](TObject*, Word& key, TShiftState) {
      log << QStringLiteral("keydown %1").arg(key);
      if (keyDown) keyDown(key);
    };
    editor.OnKeyPress = [this](TObject*, QChar& c) {
      log << QStringLiteral("char %1").arg(c.unicode());
      if (keyPress) keyPress(c);
    };
  }
  void Start(const QString& text, int caret) {
    editor.SetText(text);
    editor.Perform(EM_SETSEL, WPARAM(caret), caret);
    editor.Changes = 0;
    log.clear();
  }
  TTextEditor editor;
  QStringList log;
  std::function<void(Word&)> keyDown;
  std::function<void(QChar&)> keyPress;
};

TEST_F(EditWindow, TypingGoesThroughTheHandlersIntoTheText) {
  Start(QString(), 0);
  QTest::keyClicks(&editor, QStringLiteral("ab"));
  EXPECT_EQ(editor.Text(), QStringLiteral("ab"));
  EXPECT_EQ(log, (QStringList{"keydown 65", "char 97", "keydown 66", "char 98"}));
  EXPECT_EQ(editor.Changes, 2);
}

TEST_F(EditWindow, AZeroCharacterTypesNothing) {
  Start(QStringLiteral("ab"), 2);
  keyPress = [](QChar& c) {
    if (c == u'x') c = QChar();
  };
  QTest::keyClicks(&editor, QStringLiteral("xy"));
  EXPECT_EQ(editor.Text(), QStringLiteral("aby"));
}

TEST_F(EditWindow, KeyDownDecidesWhatTheEditDoesWithTheKey) {
  Start(QStringLiteral("abc"), 1);
  keyDown = [](Word& key) {
    if (key == VK_DELETE) key = 0;     // swallowed
    if (key == VK_HOME) key = VK_END;  // changed
  };
  QTest::keyClick(&editor, Qt::Key_Delete);
  EXPECT_EQ(editor.Text(), QStringLiteral("abc"));
  QTest::keyClick(&editor, Qt::Key_Home);
  QTest::keyClicks(&editor, QStringLiteral("x"));
  EXPECT_EQ(editor.Text(), QStringLiteral("abcx"));
  QTest::keyClick(&editor, Qt::Key_Left);  // untouched keys move the caret as usual
  QTest::keyClick(&editor, Qt::Key_Backspace);
  EXPECT_EQ(editor.Text(), QStringLiteral("abx"));
}

TEST_F(EditWindow, EnterReachesKeyDownAndTypesNothing) {
  Start(QStringLiteral("ab"), 2);
  QTest::keyClick(&editor, Qt::Key_Return);
  EXPECT_EQ(log, (QStringList{"keydown 13", "char 13"}));
  EXPECT_EQ(editor.Text(), QStringLiteral("ab"));
}

// The clipboard characters: 3 copy, 22 paste, 24 cut; each can be vetoed.
struct ClipboardCase {
  const char* name;
  Qt::Key key;
  bool veto;
  QString text;       // afterwards; the editor starts with "abc", all selected
  QString clipboard;  // afterwards; it starts with "zz"
};
void PrintTo(const ClipboardCase& c, std::ostream* os) { *os << c.name; }

class ClipboardCharacters : public EditWindow, public ::testing::WithParamInterface<ClipboardCase> {};

TEST_P(ClipboardCharacters, ActUnlessTheHandlerDropsThem) {
  QGuiApplication::clipboard()->setText(QStringLiteral("zz"));
  Start(QStringLiteral("abc"), 0);
  editor.Perform(EM_SETSEL, 0, -1);
  const ushort expected = ushort(GetParam().key - Qt::Key_A + 1);
  keyPress = [&](QChar& c) {
    if (GetParam().veto && c.unicode() == expected) c = QChar();
  };
  QTest::keyClick(&editor, GetParam().key, Qt::ControlModifier);
  EXPECT_TRUE(log.contains(QStringLiteral("char %1").arg(expected))) << log.join(", ").toStdString();
  EXPECT_EQ(editor.Text(), GetParam().text);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), GetParam().clipboard);
}

INSTANTIATE_TEST_SUITE_P(Characters, ClipboardCharacters,
                         ::testing::Values(ClipboardCase{"Copy3", Qt::Key_C, false, "abc", "abc"},
                                           ClipboardCase{"CopyVetoed", Qt::Key_C, true, "abc", "zz"},
                                           ClipboardCase{"Paste22", Qt::Key_V, false, "zz", "zz"},
                                           ClipboardCase{"PasteVetoed", Qt::Key_V, true, "abc", "zz"},
                                           ClipboardCase{"Cut24", Qt::Key_X, false, "", "abc"},
                                           ClipboardCase{"CutVetoed", Qt::Key_X, true, "abc", "zz"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditWindow, PasteGoesThroughTheControlsPasteMessage) {
  editor.PasteFilter = QStringLiteral("0123456789");
  QGuiApplication::clipboard()->setText(QStringLiteral("1a2b"));
  Start(QStringLiteral("7"), 1);
  QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(&editor, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(editor.Text(), QStringLiteral("71212"));
}

TEST_F(EditWindow, TabIsTypedOnlyByAnEditorThatAsksForIt) {
  Start(QStringLiteral("a"), 1);
  editor.ExtraCode = DLGC_WANTTAB;
  QTest::keyClick(&editor, Qt::Key_Tab);
  EXPECT_EQ(editor.Text(), QStringLiteral("a\t"));
  EXPECT_EQ(log, (QStringList{"keydown 9", "char 9"}));
}

TEST_F(EditWindow, ReadOnlyTextStillCopiesButNeverChanges) {
  QGuiApplication::clipboard()->setText(QStringLiteral("zz"));
  Start(QStringLiteral("abc"), 3);
  editor.Perform(EM_SETREADONLY, 1);
  QTest::keyClicks(&editor, QStringLiteral("x"));
  QTest::keyClick(&editor, Qt::Key_Backspace);
  QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
  editor.Perform(EM_SETSEL, 0, -1);
  QTest::keyClick(&editor, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(editor.Text(), QStringLiteral("abc"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("zz"));
  QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
  EXPECT_EQ(editor.Changes, 0);
}

TEST_F(EditWindow, SetTextTellsTheControlOncePerChange) {
  editor.SetText(QStringLiteral("a"));
  editor.Changes = 0;
  editor.SetText(QStringLiteral("b"));
  editor.SetText(QStringLiteral("b"));
  EXPECT_EQ(editor.Changes, 1);
}

TEST_F(EditWindow, SelectionMessagesFollowThePlatform) {
  Start(QStringLiteral("hello"), 0);
  editor.Perform(EM_SETSEL, 1, 3);
  EXPECT_EQ(editor.Selected(), QStringLiteral("el"));
  editor.Perform(EM_SETSEL, 2, -1);  // to the end
  EXPECT_EQ(editor.Selected(), QStringLiteral("llo"));
  editor.Perform(EM_SETSEL, 5, 5);
  EXPECT_EQ(editor.Perform(EM_GETSEL), LRESULT(MakeLong(5, 5)));
}

TEST_F(EditWindow, TheFormattingRectangleHoldsTheLine) {
  Start(QStringLiteral("WWW"), 3);
  const TRect r(20, 2, 100, 18);
  editor.Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
  const QImage shown = editor.grab().toImage();
  QRect ink;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (qGray(shown.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
  EXPECT_FALSE(ink.isEmpty());
  EXPECT_TRUE(r.ToQt().contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
  EXPECT_LE(ink.left(), 22);
}

// A grid-like parent that takes the keys its editor hands on.
class TKeyGrid : public TCustomControl {
 public:
  QStringList Log;

 protected:
  void KeyDown(Word& key, TShiftState shift) override {
    Log << QStringLiteral("grid keydown %1%2").arg(key).arg(shift & ssShift ? " shift" : "");
  }
};

TEST(EditWindowInAGrid, KeysAreHandedOnToTheGrid) {
  TKeyGrid grid;
  grid.SetBounds(0, 0, 200, 100);
  auto* editor = new TTextEditor(&grid);
  editor->SetBounds(10, 10, 80, 18);
  editor->SetText(QStringLiteral("ab"));
  ASSERT_TRUE(ShowFocused(grid, *editor));
  editor->OnKeyDown = [&](TObject*, Word& key, TShiftState shift) {
    if (key != VK_DOWN) return;
    grid.Perform(WM_KEYDOWN, key, ShiftParam(shift));
    key = 0;
  };
  QTest::keyClick(editor, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClicks(editor, QStringLiteral("c"));
  EXPECT_EQ(grid.Log, QStringList{"grid keydown 40 shift"});
  EXPECT_EQ(editor->Text(), QStringLiteral("abc"));
}

TEST(EditWindowInAGrid, ClicksReachTheControlAfterTheCaretIsPlaced) {
  TTextEditor editor;
  editor.SetBounds(0, 0, 120, 20);
  editor.SetText(QStringLiteral("hello"));
  // Selects everything on a press at the left edge, as the cell editors do.
  editor.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int) {
    if (x <= 2) editor.Perform(EM_SETSEL, 0, -1);
  };
  int enters = 0;
  editor.OnEnter = [&](TObject*) { ++enters; };
  ASSERT_TRUE(ShowActive(editor));
  auto* edit = editor.findChild<QLineEdit*>();
  QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(1, 10));
  EXPECT_EQ(editor.Selected(), QStringLiteral("hello"));
  EXPECT_EQ(enters, 1);
}

}  // namespace
