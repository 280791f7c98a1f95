// The in-place editors as the grid drives them: the formatting rectangle,
// keys, change notices, the border and preview box in pixels, the button
// editor's parts and the small and spin buttons.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "DisplaysTestSupport.h"
#include "ManualClock.h"
#include "TestSupport.h"
#include "grid/CellEditors.h"
#include "grid/ColumnClasses.h"
#include "platform/Exceptions.h"

namespace {

TColor PixelAt(const QImage& image, int x, int y) { return FromQColor(QColor::fromRgb(image.pixel(x, y))); }

// A pixel font whose line height is the one the cases name.
void UseLineHeight(TCellEditor& editor, int height) {
  for (int px = 6; px < 40; ++px) {
    editor.Font()->SetHeight(-px);
    if (editor.Canvas()->TextHeight(QStringLiteral("Wg")) == height) return;
  }
  FAIL() << "no font size gives a " << height << "-pixel line";
}

struct EditRectCase {
  const char* name;
  int margin;
  TVerticalAlignment valign;
  TRect expected;  // for a 100 × 20 client and a 16-pixel line
};

class FormattingRect : public ::testing::TestWithParam<EditRectCase> {};

TEST_P(FormattingRect, FollowsMarginAndVerticalAlignment) {
  const EditRectCase& c = GetParam();
  TTextualEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetBounds(0, 0, 100, 20);
  UseLineHeight(editor, 16);
  editor.SetMargin(c.margin);
  editor.SetVerticalAlignment(c.valign);
  TRect r;
  editor.GetEditRect(r);
  EXPECT_EQ(r, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Editor, FormattingRect,
                         ::testing::Values(EditRectCase{"DataCellMiddle", -1, vaMiddle, TRect(1, 1, 100, 17)},
                                           EditRectCase{"DataCellTop", -1, vaTop, TRect(1, -1, 100, 15)},
                                           EditRectCase{"DataCellBottom", -1, vaBottom, TRect(1, 5, 100, 21)},
                                           EditRectCase{"InputCellMiddle", 0, vaMiddle, TRect(2, 1, 99, 17)},
                                           EditRectCase{"InputCellTop", 0, vaTop, TRect(2, 0, 99, 16)},
                                           EditRectCase{"InputCellBottom", 0, vaBottom, TRect(2, 4, 99, 20)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormattingRect, PreviewShiftsTheTextAndAButtonNarrowsIt) {
  TCustomButtonCellEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetBounds(0, 0, 100, 20);
  UseLineHeight(editor, 16);
  editor.SetMargin(0);
  editor.SetShowPreview(true);
  TRect r;
  editor.GetEditRect(r);
  EXPECT_EQ(r, TRect(29, 1, 83, 17));
}

TEST(FormattingRect, TheEditWindowPutsTheTextLineAtTheRectangle) {
  TTextualEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetBounds(0, 0, 100, 30);
  UseLineHeight(editor, 16);
  editor.SetMargin(0);
  editor.SetVerticalAlignment(vaBottom);
  editor.show();
  editor.SetAsText(QStringLiteral("abc"));
  editor.SetCaret(0);
  TRect r;
  editor.GetEditRect(r);
  auto* edit = editor.findChild<QLineEdit*>();
  ASSERT_TRUE(edit);
  edit->grab();  // the line edit places its line when it paints
  const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(caret.top(), r.Top);
  EXPECT_EQ(caret.left() + caret.width() / 2, r.Left);
}

TEST(FormattingRect, FollowsAFontChange) {
  TTextualEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetBounds(0, 0, 100, 40);
  editor.SetVerticalAlignment(vaBottom);
  editor.show();
  UseLineHeight(editor, 16);
  auto* edit = editor.findChild<QLineEdit*>();
  ASSERT_TRUE(edit);
  edit->grab();
  const int before = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().top();
  EXPECT_EQ(before, 40 - 16);
  editor.Font()->SetHeight(-22);
  const int taller = editor.TextHeight();
  ASSERT_GT(taller, 16);
  edit->grab();
  EXPECT_EQ(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().top(), 40 - taller);
}

struct AlignCase {
  const char* name;
  TAlignment alignment;
  Qt::Alignment expected;
};

class EditorAlignment : public ::testing::TestWithParam<AlignCase> {};

TEST_P(EditorAlignment, TheWindowIsMadeAgainWithTheTextAlignedAndKeepsItsText) {
  const AlignCase& c = GetParam();
  TTextualEditor editor;
  editor.SetAsText(QStringLiteral("kept"));
  editor.show();
  editor.SetAlignment(c.alignment);
  auto* edit = editor.findChild<QLineEdit*>();
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, c.expected);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("kept"));
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorAlignment,
                         ::testing::Values(AlignCase{"Left", taLeftJustify, Qt::AlignLeft},
                                           AlignCase{"Right", taRightJustify, Qt::AlignRight},
                                           AlignCase{"Centre", taCenter, Qt::AlignHCenter}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CellEditor, ATextualColumnMakesATextEditorHidden) {
  TTextualColumn column;
  auto* editor = dynamic_cast<TTextualEditor*>(column.Editor());
  ASSERT_TRUE(editor);
  EXPECT_FALSE(editor->isVisible());
}

// ---- text, keys and notices -------------------------------------------------------

class TextEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    editor.SetBounds(0, 0, 120, 20);
    ASSERT_TRUE(ShowFocused(editor, editor));
    editor.OnChange = [this](TObject*) { log << QStringLiteral("change"); };
    editor.OnEdit = [this](TObject*, const QString& v) { log << QStringLiteral("edit ") + v; };
    editor.OnKeyDown = [this](TObject*, Word& key, TShiftState) { log << QStringLiteral("key %1").arg(key); };
  }
  TCustomButtonCellEditor editor;
  QStringList log;
};

TEST_F(TextEditor, EveryChangeGivesChangeThenEditOnce) {
  editor.SetAsText(QStringLiteral("ab"));
  EXPECT_EQ(log, (QStringList{"change", "edit ab"}));
  log.clear();
  editor.StartEdit();
  QTest::keyClicks(&editor, QStringLiteral("c"));
  EXPECT_EQ(log, (QStringList{"key 67", "change", "edit abc"}));
}

TEST_F(TextEditor, WideTextSurvivesTypingAndReading) {
  const QString name = QStringLiteral("Ğ日本ß€ Şükrü");
  editor.SetAsText(QString());
  log.clear();
  QStringList edits;
  editor.OnEdit = [&](TObject*, const QString& v) { edits << v; };
  // Characters without a key of their own, as an input method gives them.
  for (QChar c : name) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
  }
  EXPECT_EQ(editor.GetAsText(), name);
  ASSERT_FALSE(edits.isEmpty());
  EXPECT_EQ(edits.back(), name);
}

TEST_F(TextEditor, EnterReachesTheKeyHandlerAndTypesNothing) {
  editor.SetAsText(QStringLiteral("ab"));
  editor.StartEdit();
  log.clear();
  QTest::keyClick(&editor, Qt::Key_Return);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("ab"));
  EXPECT_EQ(log, QStringList{"key 13"});
}

TEST_F(TextEditor, AListOnlyEditorTakesNoTypedCharacters) {
  editor.SetStyle(dsDropDownList);
  editor.SetAsText(QStringLiteral("ab"));
  editor.StartEdit();
  log.clear();
  QTest::keyClicks(&editor, QStringLiteral("xy"));
  QTest::keyClick(&editor, Qt::Key_Backspace);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("ab"));
  EXPECT_EQ(log, (QStringList{"key 88", "key 89", "key 8"}));
  EXPECT_EQ(editor.Cursor(), crArrow);
  editor.SetStyle(dsDropDown);
  QTest::keyClicks(&editor, QStringLiteral("x"));
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("abx"));
  EXPECT_EQ(editor.Cursor(), crDefault);
}

TEST_F(TextEditor, StartEditPutsTheCaretAfterTheTextAndSelectAllTakesItAll) {
  editor.SetAsText(QStringLiteral("hello"));
  editor.SelectAll();
  EXPECT_EQ(editor.SelStart(), 0);
  EXPECT_EQ(editor.SelLength(), 5);
  editor.StartEdit();
  EXPECT_EQ(editor.SelStart(), 5);
  EXPECT_EQ(editor.SelLength(), 0);
  editor.Clear();
  EXPECT_EQ(editor.GetAsText(), QString());
}

TEST_F(TextEditor, TheLeftEdgeShowsTheReversedArrowAndAPressThereSelectsAll) {
  editor.SetAsText(QStringLiteral("hello"));
  editor.StartEdit();
  auto* edit = editor.findChild<QLineEdit*>();
  ASSERT_TRUE(edit);
  QTest::mouseMove(edit, QPoint(2, 5));
  EXPECT_EQ(editor.Cursor(), crReversedArrow);
  QTest::mouseMove(edit, QPoint(40, 5));
  EXPECT_EQ(editor.Cursor(), crDefault);
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(1, 5));
  EXPECT_EQ(editor.SelLength(), 5);
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(60, 5));
  EXPECT_EQ(editor.SelLength(), 0);
}

TEST(TextEditorFocus, APressTakesTheFocusAndAutoSelectSelectsOnEntering) {
  QWidget window;
  window.resize(300, 100);
  TTextualEditor other(&window);
  TTextualEditor editor(&window);
  other.SetBounds(0, 0, 100, 20);
  editor.SetBounds(0, 40, 100, 20);
  editor.SetAutoSelect(true);
  editor.SetAsText(QStringLiteral("abc"));
  ASSERT_TRUE(ShowFocused(window, other));
  QTest::mouseClick(editor.findChild<QLineEdit*>(), Qt::LeftButton, {}, QPoint(50, 5));
  EXPECT_TRUE(WaitFor([&] { return editor.Focused(); }));
  other.SetFocus();
  ASSERT_TRUE(WaitFor([&] { return other.Focused(); }));
  editor.SetCaret(1);
  editor.SetFocus();
  ASSERT_TRUE(WaitFor([&] { return editor.Focused(); }));
  EXPECT_EQ(editor.SelLength(), 3);
}

TEST(TextEditorLoading, NoChangeNoticeWhileReadFromAStoredForm) {
  TTextualEditor editor;
  int changes = 0, edits = 0;
  editor.OnChange = [&](TObject*) { ++changes; };
  editor.OnEdit = [&](TObject*, const QString&) { ++edits; };
  editor.Include(csLoading);
  editor.SetAsText(QStringLiteral("stored"));
  EXPECT_EQ(changes, 0);
  editor.Loaded();
  editor.SetAsText(QStringLiteral("typed"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(edits, 2);
}

TEST(CellEditor, TypedAccessItDoesNotProvideIsAnAbstractCall) {
  TCellEditor editor;
  EXPECT_THROW(editor.GetAsText(), EAbstractError);
  EXPECT_THROW(editor.SetAsFloat(1.5), EAbstractError);
  EXPECT_THROW(editor.GetAsDate(), EAbstractError);
  EXPECT_THROW(editor.SetAsBoolean(true), EAbstractError);
  TTextualEditor text;
  text.SetAsText(QStringLiteral("x"));
  EXPECT_EQ(text.GetAsText(), QStringLiteral("x"));
}

TEST(CellEditor, RegistersTheReversedArrowCursor) {
  TTextualEditor editor;
  EXPECT_FALSE(Screen->Cursors(crReversedArrow).pixmap().isNull());
}

// ---- border and preview, in pixels ------------------------------------------------

struct BorderCase {
  const char* name;
  TBorderStyle style;
  bool themed;
};

class EditorBorder : public ::testing::TestWithParam<BorderCase> {};

TEST_P(EditorBorder, SingleIsOnePixelFrameNoneIsNothing) {
  const BorderCase& c = GetParam();
  ThemeLook look(c.themed);
  TTextualEditor editor;
  editor.SetBounds(0, 0, 60, 20);
  editor.SetBorderStyle(c.style);
  editor.show();
  const QImage shown = editor.grab().toImage();
  const int frame = c.style == bsSingle ? 1 : 0;
  EXPECT_EQ(editor.ClientWidth(), 60 - 2 * frame);
  EXPECT_EQ(editor.ClientHeight(), 20 - 2 * frame);
  EXPECT_EQ(PixelAt(shown, 30, 10), ColorToRGB(clWindow));
  const TColor edge = PixelAt(shown, 30, 0);
  if (c.style == bsNone)
    EXPECT_EQ(edge, ColorToRGB(clWindow));
  else if (c.themed)
    EXPECT_NE(edge, ColorToRGB(clWindow));
  else
    EXPECT_EQ(edge, RGB(128, 128, 128));
  if (c.style == bsSingle && !c.themed) {
    EXPECT_EQ(PixelAt(shown, 0, 10), RGB(128, 128, 128));
    EXPECT_EQ(PixelAt(shown, 59, 19), RGB(128, 128, 128));
    EXPECT_EQ(PixelAt(shown, 1, 10), ColorToRGB(clWindow));
  }
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorBorder,
                         ::testing::Values(BorderCase{"SingleClassic", bsSingle, false},
                                           BorderCase{"SingleThemed", bsSingle, true},
                                           BorderCase{"NoneClassic", bsNone, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditorPreview, ABlackBoxAtTheLeftAndTheDrawEventInsideIt) {
  ThemeLook look(false);
  TTextualEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetBounds(0, 0, 80, 20);
  TRect drawn;
  editor.OnCustomPreviewDraw = [&](TObject*, const TRect& r) {
    drawn = r;
    editor.Canvas()->Brush()->SetColor(clRed);
    editor.Canvas()->FillRect(r);
  };
  editor.SetShowPreview(true);
  editor.show();
  const QImage shown = editor.grab().toImage();
  EXPECT_EQ(drawn, TRect(2, 2, 20, 18));
  EXPECT_EQ(PixelAt(shown, 1, 1), clBlack);
  EXPECT_EQ(PixelAt(shown, 20, 10), clBlack);
  EXPECT_EQ(PixelAt(shown, 10, 18), clBlack);
  EXPECT_EQ(PixelAt(shown, 10, 10), clRed);
  EXPECT_EQ(PixelAt(shown, 0, 0), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(shown, 21, 10), ColorToRGB(clWindow));
}

// ---- the button editor ---------------------------------------------------------------

// A specialised editor chooses its own button; the base constructor must not
// have made the base's.
class TDropDownEditor : public TCustomButtonCellEditor {
 public:
  QStringList* log = nullptr;

 protected:
  TClassOf<TSmallButton> GetButtonClass() override { return &NewInstance<TSmallButton, TDropDownButton>; }
  void DropDown() override { *log << QStringLiteral("dropdown"); }
};

TEST(ButtonEditor, ThePartsComeFromTheOverridingClassesOnceTheEditorIsWhole) {
  QStringList log;
  TDropDownEditor editor;
  editor.log = &log;
  editor.SetBorderStyle(bsNone);
  editor.SetBounds(0, 0, 100, 20);
  TSmallButton* button = editor.Button();
  EXPECT_TRUE(dynamic_cast<TDropDownButton*>(button));
  EXPECT_EQ(button->Editor(), &editor);
  EXPECT_EQ(button->BoundsRect(), TRect(84, 0, 100, 20));
  EXPECT_FALSE(editor.Popup()->isVisible());
  editor.SetBounds(0, 0, 150, 24);
  EXPECT_EQ(button->BoundsRect(), TRect(134, 0, 150, 24));
}

TEST(ButtonEditor, PressDropsDownReleaseClicksAndTheBaseButtonExecutes) {
  QStringList log;
  TDropDownEditor editor;
  editor.log = &log;
  editor.OnButtonClick = [&](TObject* sender) { log << (sender == &editor ? "click" : "click from elsewhere"); };
  editor.SetBounds(0, 0, 100, 20);
  editor.show();
  TSmallButton* button = editor.Button();
  ASSERT_TRUE(button->isVisible());
  QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(button->Down());
  // Released away from the button: the press still ends with a release.
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-40, 30));
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(log, (QStringList{"dropdown", "click"}));

  TCustomButtonCellEditor plain;
  plain.SetBounds(0, 0, 100, 20);
  EXPECT_TRUE(dynamic_cast<TExecuteButton*>(plain.Button()));
  EXPECT_EQ(plain.Button()->Width(), 21);
}

TEST(ButtonEditor, CloseUpSetsTheTextEditsOnceMoreAndReleasesTheButton) {
  TCustomButtonCellEditor editor;
  editor.SetBounds(0, 0, 100, 20);
  editor.SetStyle(dsDropDownList);
  QStringList log;
  editor.OnChange = [&](TObject*) { log << QStringLiteral("change"); };
  editor.OnEdit = [&](TObject*, const QString& v) { log << QStringLiteral("edit ") + v; };
  editor.Button()->SetDown(true);
  editor.Button()->SetHot(true);
  editor.Popup()->OnAccept(editor.Popup(), QStringLiteral("İstanbul"));
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("İstanbul"));
  EXPECT_EQ(log, (QStringList{"change", "edit İstanbul", "edit İstanbul"}));
  EXPECT_FALSE(editor.Button()->Down());
  EXPECT_FALSE(editor.Button()->Hot());
}

TEST(ButtonEditor, ThePopupClosingReleasesTheButton) {
  TCustomButtonCellEditor editor;
  editor.SetBounds(0, 0, 100, 20);
  editor.Button()->SetDown(true);
  editor.Popup()->OnClose(editor.Popup());
  EXPECT_FALSE(editor.Button()->Down());
}

TEST(ButtonEditor, TheButtonIsHotWhileThePointerIsOverTheEditor) {
  TCustomButtonCellEditor editor;
  editor.SetBounds(0, 0, 100, 20);
  editor.show();
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(&editor, &enter);
  EXPECT_TRUE(editor.Button()->Hot());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&editor, &leave);
  EXPECT_FALSE(editor.Button()->Hot());
}

// ---- small buttons in both looks -------------------------------------------------

TEST(SmallButtons, ClassicExecuteButtonIsARaisedFaceOrAShadowRectangleWhenDown) {
  ThemeLook look(false);
  TExecuteButton button;
  button.SetBounds(0, 0, 21, 20);
  button.show();
  button.Repaint();
  EXPECT_EQ(PixelAt(button.Image(), 0, 0), ColorToRGB(cl3DLight));
  EXPECT_EQ(PixelAt(button.Image(), 1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelAt(button.Image(), 20, 19), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(PixelAt(button.Image(), 10, 10), ColorToRGB(clBtnFace));
  button.SetDown(true);
  button.Repaint();
  EXPECT_EQ(PixelAt(button.Image(), 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(button.Image(), 20, 19), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(button.Image(), 10, 10), ColorToRGB(clBtnFace));
}

TEST(SmallButtons, TheGlyphIsCentred) {
  ThemeLook look(false);
  TExecuteButton button;
  button.SetBounds(0, 0, 21, 20);
  *button.Glyph() = TBitmap(5, 4);
  button.Glyph()->Canvas()->Brush()->SetColor(clRed);
  button.Glyph()->Canvas()->FillRect(TRect(0, 0, 5, 4));
  button.show();
  button.Repaint();
  // x = 21 div 2 − 5 div 2 = 8, y = 20 div 2 − 4 div 2 = 8.
  EXPECT_EQ(PixelAt(button.Image(), 8, 8), clRed);
  EXPECT_EQ(PixelAt(button.Image(), 12, 11), clRed);
  EXPECT_NE(PixelAt(button.Image(), 7, 8), clRed);
  EXPECT_NE(PixelAt(button.Image(), 13, 12), clRed);
}

TEST(SmallButtons, EachLookDrawsTheDropDownButtonDifferentlyWhenDown) {
  for (bool themed : {false, true}) {
    ThemeLook look(themed);
    TDropDownButton button;
    button.SetBounds(0, 0, 16, 20);
    button.show();
    button.Repaint();
    const QImage up = button.Image().copy();
    button.SetDown(true);
    button.Repaint();
    EXPECT_NE(up, button.Image()) << (themed ? "themed" : "classic");
    if (!themed) {
      EXPECT_EQ(PixelAt(up, 0, 0), ColorToRGB(clBtnFace));
      EXPECT_EQ(PixelAt(button.Image(), 0, 0), ColorToRGB(clBtnShadow));
    }
  }
}

TEST(SmallButtons, ThemedLooksFollowTheStateNumberDownBeforeHot) {
  ThemeLook look(true);
  const auto picture = [](TSmallButton& b, bool down, bool hot) {
    b.SetDown(down);
    b.SetHot(hot);
    b.Repaint();
    return b.Image().copy();
  };
  TExecuteButton execute;
  TDropDownButton dropDown;
  for (TSmallButton* b : {static_cast<TSmallButton*>(&execute), static_cast<TSmallButton*>(&dropDown)}) {
    b->SetBounds(0, 0, b->Width(), 20);
    b->show();
    const QImage normal = picture(*b, false, false), hot = picture(*b, false, true);
    const QImage down = picture(*b, true, false), downHot = picture(*b, true, true);
    EXPECT_NE(normal, hot);
    EXPECT_NE(normal, down);
    EXPECT_NE(hot, down);
    // Themed corners blend with what was there before; the faces must agree.
    const QRect face(2, 2, b->Width() - 4, 16);
    EXPECT_EQ(down.copy(face), downHot.copy(face)) << "down wins over hot";
  }
}

TEST(SmallButtons, HotRepaintsOnlyWhenItChanges) {
  TExecuteButton button;
  button.SetBounds(0, 0, 21, 20);
  button.show();
  button.Update();
  button.SetHot(false);
  EXPECT_TRUE(button.InvalidRegion().isEmpty());
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(&button, &enter);
  EXPECT_TRUE(button.Hot());
  EXPECT_FALSE(button.InvalidRegion().isEmpty());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&button, &leave);
  EXPECT_FALSE(button.Hot());
}

// ---- spin buttons ------------------------------------------------------------------

class Spin : public ::testing::Test {
 protected:
  void SetUp() override {
    spin.SetBounds(0, 0, 15, 20);
    spin.show();
    clock.Drive({spin.DelayTimer(), spin.RepeatTimer()});
    spin.OnSpin = [this](TObject*, int part) { spins.push_back({clock.Now(), part}); };
  }
  int SpinsBetween(int from, int to) const {
    return int(std::count_if(spins.begin(), spins.end(), [&](auto s) { return s.first >= from && s.first <= to; }));
  }
  ManualClock clock;
  TSpinButtons spin;
  std::vector<std::pair<int, int>> spins;  // (time, part)
};

TEST_F(Spin, HoldingFiresAtOnceThenEvery20MsFrom400MsUntilRelease) {
  QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(5, 15));
  EXPECT_EQ(spin.DownPart(), 2);
  ASSERT_EQ(spins.size(), 1u);
  EXPECT_EQ(spins[0], std::make_pair(0, 2));
  clock.Advance(419);
  EXPECT_EQ(spins.size(), 1u) << "nothing before the repeat starts";
  clock.Advance(1);
  EXPECT_EQ(spins.size(), 2u);
  EXPECT_EQ(spins[1].first, 420);
  clock.Advance(580);  // held for one second
  EXPECT_EQ(SpinsBetween(401, 1000), 30);
  QTest::mouseRelease(&spin, Qt::LeftButton, {}, QPoint(5, 15));
  EXPECT_EQ(spin.DownPart(), 0);
  const size_t held = spins.size();
  clock.Advance(1000);
  EXPECT_EQ(spins.size(), held);
}

TEST_F(Spin, TheUpperHalfSpinsUpAndIsHotUnderThePointer) {
  QTest::mouseMove(&spin, QPoint(5, 3));
  EXPECT_EQ(spin.HotPart(), 1);
  QTest::mouseMove(&spin, QPoint(5, 10));
  EXPECT_EQ(spin.HotPart(), 2);
  QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(5, 9));
  EXPECT_EQ(spins.back().second, 1);
  QTest::mouseRelease(&spin, Qt::LeftButton, {}, QPoint(5, 9));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&spin, &leave);
  EXPECT_EQ(spin.HotPart(), 0);
}

TEST_F(Spin, APressStopsWhenTheButtonsAreHiddenOrLoseTheMouse) {
  QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(5, 3));
  clock.Advance(500);
  spin.hide();
  const size_t stopped = spins.size();
  clock.Advance(500);
  EXPECT_EQ(spins.size(), stopped);
  EXPECT_EQ(spin.DownPart(), 0);

  spin.show();
  QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(5, 3));
  clock.Advance(440);
  QWidget thief;
  thief.show();
  thief.grabMouse();
  clock.Advance(100);
  thief.releaseMouse();
  EXPECT_EQ(spin.DownPart(), 0);
  const size_t lost = spins.size();
  clock.Advance(500);
  EXPECT_EQ(spins.size(), lost);
}

TEST(SpinInEditor, HoldingUpThenLeavingTheEditorStopsTheRepeat) {
  ManualClock clock;
  QWidget window;
  window.resize(200, 100);
  TTextualEditor other(&window);
  TTextualEditor editor(&window);
  other.SetBounds(0, 50, 100, 20);
  editor.SetBounds(0, 0, 100, 20);
  TSpinButtons spin(&editor);
  spin.SetBounds(85, 0, 15, 18);
  clock.Drive({spin.DelayTimer(), spin.RepeatTimer()});
  int spins = 0;
  spin.OnSpin = [&](TObject*, int) { ++spins; };
  ASSERT_TRUE(ShowFocused(window, editor));
  QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(5, 3));
  clock.Advance(500);
  other.SetFocus();
  ASSERT_TRUE(WaitFor([&] { return other.Focused(); }));
  const int atExit = spins;
  clock.Advance(500);
  EXPECT_EQ(spins, atExit);
  EXPECT_EQ(spin.DownPart(), 0);
}

// Fresh spin buttons painted with the given hot and pressed halves, so that
// every picture starts from the same background.
QImage SpinPicture(bool themed, TSpinPart hot, TSpinPart down) {
  ThemeLook look(themed);
  TSpinButtons spin;
  spin.SetBounds(0, 0, 15, 20);
  spin.show();
  spin.SetHotPart(hot);
  spin.SetDownPart(down);
  spin.Repaint();
  return spin.Image().copy();
}

QImage Upper(const QImage& spin) { return spin.copy(0, 0, 15, 10); }
QImage Lower(const QImage& spin) { return spin.copy(0, 10, 15, 10); }

TEST(SpinLooks, ThemedHalvesAreHotOrPressedOneAtATime) {
  const QImage normal = SpinPicture(true, spNone, spNone), lowerHot = SpinPicture(true, spLower, spNone);
  const QImage lowerDown = SpinPicture(true, spLower, spLower);
  EXPECT_EQ(Upper(normal), Upper(lowerHot));
  EXPECT_NE(Lower(normal), Lower(lowerHot));
  EXPECT_NE(Lower(lowerHot), Lower(lowerDown));
  EXPECT_EQ(Upper(lowerHot), Upper(lowerDown));
}

TEST(SpinLooks, ClassicHalvesShowTheirPushedState) {
  const QImage up = SpinPicture(false, spNone, spNone), upperPressed = SpinPicture(false, spNone, spUpper);
  EXPECT_NE(Upper(up), Upper(upperPressed));
  EXPECT_EQ(Lower(up), Lower(upperPressed));
  EXPECT_EQ(up, SpinPicture(false, spUpper, spNone)) << "the classic look has no hot half";
}

}  // namespace
