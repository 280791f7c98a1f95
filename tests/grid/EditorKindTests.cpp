// The specialised editors: numeric filtering, pasting, showing and reading;
// spin steps by keys and wheel; the combo box's index, keys and list size;
// the date editor's texts and calendar; the check box's toggling and
// painting; and the editor each column kind opens with its settings.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <string>

#include "DisplaysTestSupport.h"
#include "TestSupport.h"
#include "grid/CellEditors.h"
#include "grid/ColumnClasses.h"
#include "platform/Exceptions.h"

namespace {

// The cases are written with a full stop as decimal separator.
class FullStopSeparator {
 public:
  FullStopSeparator() { FormatSettings.DecimalSeparator = QLatin1Char('.'); }
  ~FullStopSeparator() { FormatSettings = saved_; }
  FullStopSeparator(const FullStopSeparator&) = delete;
  FullStopSeparator& operator=(const FullStopSeparator&) = delete;

 private:
  TFormatSettings saved_ = FormatSettings;
};

void Type(TWinControl& editor, const QString& chars) {
  for (QChar c : chars) editor.Perform(WM_CHAR, c.unicode());
}

Word PressKey(TWinControl& editor, Word key) { return Word(editor.Perform(WM_KEYDOWN, key)); }

void Wheel(QWidget& widget, int delta) {
  QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&widget, &wheel);
}

TColor PixelAt(const QImage& image, int x, int y) { return FromQColor(QColor::fromRgb(image.pixel(x, y))); }

// The overlay the editor draws on is blended once, which may leave a
// channel one step off.
bool IsBlue(const QImage& image, int x, int y) {
  const QColor c = QColor::fromRgb(image.pixel(x, y));
  return c.blue() >= 250 && c.red() <= 5 && c.green() <= 5;
}

// ---- numeric: showing and reading -------------------------------------------------

struct ShowCase {
  const char* name;
  int precision;
  const char* textAfter;
  const char* nullText;
  TEditOptions options;
  double value;
  const char* shown;
};

class NumericShowing : public ::testing::TestWithParam<ShowCase> {};

TEST_P(NumericShowing, ShowsTheValueAndReadsItBack) {
  const ShowCase& c = GetParam();
  FullStopSeparator separator;
  TNumericEditor editor;
  editor.SetOptions(c.options);
  editor.SetPrecision(c.precision);
  editor.SetTextAfter(QString::fromUtf8(c.textAfter));
  editor.SetNullText(QString::fromUtf8(c.nullText));
  editor.SetValue(c.value);
  EXPECT_EQ(editor.GetAsText(), QString::fromUtf8(c.shown));
  EXPECT_DOUBLE_EQ(editor.Value(), c.value);
}

const TEditOptions kDefaultOptions = eoAllowFloat | eoAllowSigns;

INSTANTIATE_TEST_SUITE_P(
    Numeric, NumericShowing,
    ::testing::Values(ShowCase{"TwoDecimals", 2, "", "", kDefaultOptions, 3.5, "3.50"},
                      ShowCase{"TwoDecimalsAndUnit", 2, " kg", "", kDefaultOptions, 3.5, "3.50 kg"},
                      ShowCase{"NullTextForZero", 2, " kg", "(none)", kDefaultOptions, 0, "(none)"},
                      ShowCase{"NullTextOnlyForZero", 2, "", "(none)", kDefaultOptions, 1, "1.00"},
                      ShowCase{"NoPrecisionIsGeneral", 0, "", "", kDefaultOptions, 3.25, "3.25"},
                      ShowCase{"NoFloatsIsGeneral", 2, "", "", eoAllowSigns, 7, "7"},
                      ShowCase{"HugeWithoutExponent", 0, "", "", kDefaultOptions, 1.5e20, "150000000000000000000"},
                      ShowCase{"HugeFixed", 1, "", "", kDefaultOptions, 1e20, "100000000000000000000.0"},
                      ShowCase{"TinyWithoutExponent", 0, "", "", kDefaultOptions, 0.00002, "0.00002"},
                      ShowCase{"WideUnit", 1, " 平方米", "", kDefaultOptions, 2.5, "2.5 平方米"},
                      ShowCase{"WideNullText", 1, "", "Şimdilik yok", kDefaultOptions, 0, "Şimdilik yok"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadCase {
  const char* name;
  const char* text;
  TEditOptions options;
  double expected;
};

class NumericReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(NumericReading, TheFilterLeavesANumberOrZero) {
  const ReadCase& c = GetParam();
  FullStopSeparator separator;
  TNumericEditor editor;
  editor.SetOptions(c.options);
  editor.SetTextAfter(QStringLiteral(" m2"));
  editor.SetNullText(QStringLiteral("yok 0"));
  editor.SetAsText(QString::fromUtf8(c.text));
  EXPECT_DOUBLE_EQ(editor.GetAsFloat(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Numeric, NumericReading,
                         ::testing::Values(ReadCase{"Empty", "", kDefaultOptions, 0},
                                           ReadCase{"LoneMinus", "-", kDefaultOptions, 0},
                                           ReadCase{"LonePlus", "+", kDefaultOptions, 0},
                                           ReadCase{"LoneSeparator", ".", kDefaultOptions, 0},
                                           ReadCase{"SignAndSeparator", "-.", kDefaultOptions, 0},
                                           ReadCase{"UnitAfterTheNumber", "3 m2", kDefaultOptions, 3},
                                           ReadCase{"NullTextWithADigit", "yok 0", kDefaultOptions, 0},
                                           ReadCase{"LettersDropOut", "1a2b", kDefaultOptions, 12},
                                           ReadCase{"SecondSeparatorDropsOut", "1.2.3", kDefaultOptions, 1.23},
                                           ReadCase{"SignWithoutSigns", "-4", eoAllowFloat, 4},
                                           ReadCase{"SeparatorWithoutFloats", "4.5", eoAllowSigns, 45},
                                           ReadCase{"Backspace", "1\b2", kDefaultOptions, 12},
                                           ReadCase{"Negative", "-2.5", kDefaultOptions, -2.5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NumericEditor, ReformattingWithAUnitKeepsTheValue) {
  FullStopSeparator separator;
  TNumericEditor editor;
  editor.SetPrecision(0);
  editor.SetTextAfter(QStringLiteral(" m2"));
  editor.SetValue(3);
  for (int i = 0; i < 3; ++i) editor.SetPrecision(0);  // each shows the value read back
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("3 m2"));
  editor.SetTextAfter(QStringLiteral(" kg"));
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("3 kg"));
}

// Texts that must read back as a value, and keep it through reformatting.
struct ReformatCase {
  const char* name;
  const char* textAfter;
  const char* nullText;
  std::string text;
  double expected;
};
void PrintTo(const ReformatCase& c, std::ostream* os) { *os << c.name; }

class NumericReformat : public ::testing::TestWithParam<ReformatCase> {};

TEST_P(NumericReformat, ReadsTheTextAndKeepsTheValue) {
  const ReformatCase& c = GetParam();
  FullStopSeparator separator;
  TNumericEditor editor;
  editor.SetTextAfter(QString::fromUtf8(c.textAfter));
  editor.SetNullText(QString::fromUtf8(c.nullText));
  editor.SetAsText(QString::fromStdString(c.text));
  double value = 0;
  ASSERT_NO_THROW(value = editor.Value()) << editor.GetAsText().toStdString();
  EXPECT_DOUBLE_EQ(value, c.expected);
  for (int i = 0; i < 2; ++i) {
    editor.SetPrecision(2);  // shows the value read back
    EXPECT_DOUBLE_EQ(editor.Value(), c.expected) << editor.GetAsText().toStdString();
  }
}

const double kLargest = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Numeric, NumericReformat,
    ::testing::Values(ReformatCase{"NullTextEndingInTheUnit", " m2", "en az 1 m2", "en az 1 m2", 0},
                      ReformatCase{"DigitsPastTheLargestDouble", "", "", std::string(400, '9'), kLargest},
                      ReformatCase{"NegativePastTheLargestDouble", "", "", "-" + std::string(400, '9'), -kLargest},
                      ReformatCase{"LongFractionPastTheLargest", " kg", "", std::string(320, '9') + ".5 kg", kLargest}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumericEditor, LosingTheFocusReformatsUnlessEverythingIsAllowed) {
  FullStopSeparator separator;
  QWidget window;
  TNumericEditor editor(&window);
  TTextualEditor other(&window);
  other.SetBounds(0, 40, 100, 20);
  ASSERT_TRUE(ShowActive(window));
  const auto typeAndLeave = [&](const QString& text) {
    editor.SetFocus();
    EXPECT_TRUE(WaitFor([&] { return editor.Focused(); }));
    editor.SetAsText(text);
    other.SetFocus();
    EXPECT_TRUE(WaitFor([&] { return other.Focused(); }));
    return editor.GetAsText();
  };
  EXPECT_EQ(typeAndLeave(QStringLiteral("4.5")), QStringLiteral("4.50"));
  editor.SetOptions(eoAllowAll);
  EXPECT_EQ(typeAndLeave(QStringLiteral("4.5x")), QStringLiteral("4.5x"));
}

// ---- numeric: typing and pasting ------------------------------------------------------

struct TypeCase {
  const char* name;
  TEditOptions options;
  const char* before;
  int caret;
  char16_t typed;
  const char* after;
};

class NumericTyping : public ::testing::TestWithParam<TypeCase> {};

TEST_P(NumericTyping, DroppedCharactersNeverReachOnKeyPress) {
  const TypeCase& c = GetParam();
  FullStopSeparator separator;
  TNumericEditor editor;
  editor.SetOptions(c.options);
  editor.HandleNeeded();
  editor.SetAsText(QString::fromUtf8(c.before));
  editor.SetCaret(c.caret);
  QString seen;
  editor.OnKeyPress = [&](TObject*, QChar& key) { seen += key; };
  Type(editor, QString(QChar(c.typed)));
  const QString after = QString::fromUtf8(c.after);
  EXPECT_EQ(editor.GetAsText(), after);
  const bool kept = after != QString::fromUtf8(c.before);
  EXPECT_EQ(seen, kept ? QString(QChar(c.typed)) : QString());
}

INSTANTIATE_TEST_SUITE_P(Numeric, NumericTyping,
                         ::testing::Values(TypeCase{"Digit", kDefaultOptions, "1", 1, u'7', "17"},
                                           TypeCase{"LetterDropped", kDefaultOptions, "1", 1, u'a', "1"},
                                           TypeCase{"MinusAfterFirstDigitDropped", kDefaultOptions, "12", 1, u'-',
                                                    "12"},
                                           TypeCase{"MinusAtTheStart", kDefaultOptions, "12", 0, u'-', "-12"},
                                           TypeCase{"SecondSignDropped", kDefaultOptions, "+12", 0, u'-', "+12"},
                                           TypeCase{"SignsNotAllowed", eoAllowFloat, "12", 0, u'-', "12"},
                                           TypeCase{"Separator", kDefaultOptions, "12", 2, u'.', "12."},
                                           TypeCase{"SecondSeparatorDropped", kDefaultOptions, "1.2", 3, u'.', "1.2"},
                                           TypeCase{"SeparatorWithoutFloats", eoAllowSigns, "12", 2, u'.', "12"},
                                           TypeCase{"EnterDropped", kDefaultOptions, "12", 2, u'\r', "12"},
                                           TypeCase{"BackspaceKept", kDefaultOptions, "12", 2, u'\b', "1"},
                                           TypeCase{"AllAllowsLetters", eoAllowAll, "12", 2, u'x', "12x"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DecimalKeyCase {
  const char* name;
  char16_t separator;
  Qt::KeyboardModifiers modifiers;
  const char* keyText;  // what the keyboard layout gives for the key
  const char* after;
};

class NumericDecimalKey : public ::testing::TestWithParam<DecimalKeyCase> {};

TEST_P(NumericDecimalKey, TheKeypadsDecimalKeyTypesTheSeparator) {
  const DecimalKeyCase& c = GetParam();
  const TFormatSettings saved = FormatSettings;
  FormatSettings.DecimalSeparator = QChar(c.separator);
  TNumericEditor editor;
  editor.HandleNeeded();
  editor.SetAsText(QString());
  QTest::keyClicks(&editor, QStringLiteral("1234"));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Period, c.modifiers, QString::fromLatin1(c.keyText));
  QCoreApplication::sendEvent(&editor, &press);
  QTest::keyClicks(&editor, QStringLiteral("5"));
  EXPECT_EQ(editor.GetAsText(), QString::fromLatin1(c.after));
  FormatSettings = saved;
}

INSTANTIATE_TEST_SUITE_P(
    Numeric, NumericDecimalKey,
    ::testing::Values(DecimalKeyCase{"KeypadFullStopUnderACommaLocale", u',', Qt::KeypadModifier, ".", "1234,5"},
                      DecimalKeyCase{"KeypadCommaUnderAFullStopLocale", u'.', Qt::KeypadModifier, ",", "1234.5"},
                      DecimalKeyCase{"MainFullStopUnderACommaLocaleDropped", u',', Qt::NoModifier, ".", "12345"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RangeCase {
  const char* name;
  double min, max;
  const char* typed;
  bool refused;
};

class NumericRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(NumericRange, ATypedValueOutsideMinAndMaxIsRefused) {
  const RangeCase& c = GetParam();
  FullStopSeparator separator;
  TSpinEditor editor;
  editor.SetMin(c.min);
  editor.SetMax(c.max);
  editor.SetAsText(QString::fromLatin1(c.typed));
  if (c.refused)
    EXPECT_THROW(editor.CheckValue(), EConvertError);
  else
    EXPECT_NO_THROW(editor.CheckValue());
}

INSTANTIATE_TEST_SUITE_P(Numeric, NumericRange,
                         ::testing::Values(RangeCase{"Inside", 0, 100, "100", false},
                                           RangeCase{"AboveMax", 0, 100, "150", true},
                                           RangeCase{"BelowMin", 10, 100, "9.5", true},
                                           RangeCase{"MaxZeroIsNoUpperLimit", 10, 0, "1000000", false},
                                           RangeCase{"MaxZeroStillHoldsMin", 10, 0, "-1", true},
                                           RangeCase{"NoRangeSet", 0, 0, "-5", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PasteCase {
  const char* name;
  const char* before;
  int selStart, selLength;
  const char* clipboard;
  const char* after;
};

class NumericPaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(NumericPaste, FiltersTheClipboardIntoTheSelectionAndKeepsTheCaret) {
  const PasteCase& c = GetParam();
  FullStopSeparator separator;
  TNumericEditor editor;
  editor.HandleNeeded();
  editor.SetAsText(QString::fromUtf8(c.before));
  editor.Perform(EM_SETSEL, WPARAM(c.selStart), c.selStart + c.selLength);
  QGuiApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
  Type(editor, QString(QChar(22)));  // Ctrl+V
  EXPECT_EQ(editor.GetAsText(), QString::fromUtf8(c.after));
  EXPECT_EQ(editor.SelStart(), c.selStart);
  EXPECT_EQ(editor.SelLength(), 0);
}

INSTANTIATE_TEST_SUITE_P(Numeric, NumericPaste,
                         ::testing::Values(PasteCase{"IntoEmpty", "", 0, 0, "12a.3.4", "12.34"},
                                           PasteCase{"OverTheSelection", "19", 1, 1, "5x", "15"},
                                           PasteCase{"SeparatorAlreadyLeft", "1.5", 0, 1, "2.7", "27.5"},
                                           PasteCase{"SignOnlyAtTheStart", "5", 1, 0, "-3", "53"},
                                           PasteCase{"SignAtTheStart", "5", 0, 0, "-3", "-35"},
                                           PasteCase{"BackspaceDropped", "", 0, 0, "1\b2", "12"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NumericEditor, AssignCopiesTheSettingsThenTheValue) {
  FullStopSeparator separator;
  TNumericEditor source, copy;
  source.SetMin(-5);
  source.SetMax(50);
  source.SetPrecision(1);
  source.SetValue(2.5);
  copy.Assign(&source);
  EXPECT_EQ(copy.Min(), -5);
  EXPECT_EQ(copy.Max(), 50);
  EXPECT_EQ(copy.Precision(), 1);
  EXPECT_EQ(copy.GetAsText(), QStringLiteral("2.5"));
  TTextualEditor text;
  EXPECT_THROW(copy.Assign(&text), EConvertError);
  EXPECT_THROW(copy.Assign(nullptr), EConvertError);
}

// ---- spin ------------------------------------------------------------------------------

enum SpinInput { UpKey, DownKey, WheelUp, WheelDown };

struct SpinCase {
  const char* name;
  double max, min, value, increment;
  SpinInput input;
  double expected;
};

class SpinSteps : public ::testing::TestWithParam<SpinCase> {};

TEST_P(SpinSteps, StepWithinTheLimits) {
  const SpinCase& c = GetParam();
  FullStopSeparator separator;
  TSpinEditor editor;
  editor.HandleNeeded();
  editor.SetMax(c.max);
  editor.SetMin(c.min);
  editor.SetIncrement(c.increment);
  editor.SetValue(c.value);
  switch (c.input) {
    case UpKey:
      PressKey(editor, VK_UP);
      break;
    case DownKey:
      PressKey(editor, VK_DOWN);
      break;
    case WheelUp:
      Wheel(editor, 120);
      break;
    case WheelDown:
      Wheel(editor, -120);
      break;
  }
  EXPECT_DOUBLE_EQ(editor.Value(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Spin, SpinSteps,
                         ::testing::Values(SpinCase{"UpPastMaxDoesNothing", 10, 0, 9.5, 1, UpKey, 9.5},
                                           SpinCase{"UpToMaxExactly", 10, 0, 9, 1, UpKey, 10},
                                           SpinCase{"MaxZeroHasNoLimit", 0, 0, 9.5, 1, UpKey, 10.5},
                                           SpinCase{"DownBelowMinDoesNothing", 0, 0, 0.5, 1, WheelDown, 0.5},
                                           SpinCase{"DownWithALowerMin", 0, -5, 0.5, 1, DownKey, -0.5},
                                           SpinCase{"WheelUpSteps", 0, 0, 2, 0.5, WheelUp, 2.5},
                                           SpinCase{"WheelDownSteps", 0, 0, 2, 0.5, WheelDown, 1.5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpinEditor, ArrowsPressAHalfGoNoFurtherAndKeyUpReleases) {
  TSpinEditor editor;
  editor.HandleNeeded();
  QStringList keys;
  editor.OnKeyDown = [&](TObject*, Word& key, TShiftState) { keys << QString::number(key); };
  EXPECT_EQ(PressKey(editor, VK_UP), 0);
  EXPECT_EQ(editor.SpinButtons()->DownPart(), 1);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("1"));
  editor.Perform(WM_KEYUP, VK_UP);
  EXPECT_EQ(editor.SpinButtons()->DownPart(), 0);
  PressKey(editor, VK_RETURN);
  EXPECT_EQ(keys, QStringList{"13"});
  EXPECT_EQ(editor.Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST(SpinEditor, ThePointerOverTheEditorMakesBothHalvesHot) {
  TSpinEditor editor;
  editor.SetBounds(0, 0, 100, 20);
  editor.show();
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(&editor, &enter);
  EXPECT_EQ(editor.SpinButtons()->HotPart(), 3);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&editor, &leave);
  EXPECT_EQ(editor.SpinButtons()->HotPart(), 0);
}

TEST(NumericEditor, MakingTheWindowShowsTheValueUnlessEverythingIsAllowed) {
  FullStopSeparator separator;
  TNumericEditor editor;
  editor.SetAsText(QStringLiteral("7x"));
  editor.HandleNeeded();
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("7.00"));
  editor.SetOptions(eoAllowAll);
  editor.SetAsText(QStringLiteral("7x"));
  editor.SetAlignment(taRightJustify);  // makes the window again
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("7x"));
}

struct PlaceCase {
  const char* name;
  TBorderStyle border;
  TRect expected;  // for a 100 × 20 editor
};

class SpinPlacing : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(SpinPlacing, TheButtonsStandAtTheRightAndTheTextEndsBeforeThem) {
  const PlaceCase& c = GetParam();
  TSpinEditor editor;
  editor.SetBorderStyle(c.border);
  editor.SetBounds(0, 0, 100, 20);
  editor.show();
  EXPECT_EQ(editor.SpinButtons()->BoundsRect(), c.expected);
  EXPECT_TRUE(editor.SpinButtons()->isVisible());
  TRect r;
  editor.GetEditRect(r);
  EXPECT_EQ(r.Right, c.expected.Left);
}

const int kBarWidth = GetSystemMetrics(SM_CXVSCROLL);

INSTANTIATE_TEST_SUITE_P(Spin, SpinPlacing,
                         ::testing::Values(PlaceCase{"SingleBorder", bsSingle, TRect(98 - kBarWidth, 1, 98, 18)},
                                           PlaceCase{"NoBorder", bsNone, TRect(100 - kBarWidth, 0, 100, 21)}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- combo box ---------------------------------------------------------------------------

struct IndexCase {
  const char* name;
  QStringList items;
  int index;
  int expected;
  const char* text;
};

class ComboIndex : public ::testing::TestWithParam<IndexCase> {};

TEST_P(ComboIndex, ClampedAndTheTextFollows) {
  const IndexCase& c = GetParam();
  TComboBoxEditor editor;
  editor.SetItems(c.items);
  editor.SetAsText(QStringLiteral("before"));
  editor.SetItemIndex(c.index);
  EXPECT_EQ(editor.ItemIndex(), c.expected);
  EXPECT_EQ(editor.GetAsText(), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Combo, ComboIndex,
                         ::testing::Values(IndexCase{"PastTheEnd", {"a", "b", "c"}, 7, 2, "c"},
                                           IndexCase{"BeforeTheStart", {"a", "b", "c"}, -4, 0, "a"},
                                           IndexCase{"Inside", {"a", "Ğüş 日本", "c"}, 1, 1, "Ğüş 日本"},
                                           IndexCase{"NoItemsNothingHappens", {}, 2, -1, "before"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComboEditor, UpAndDownStepWithoutReachingOnKeyDownAndTheWheelToo) {
  TComboBoxEditor editor;
  editor.HandleNeeded();
  editor.SetItems({"a", "b", "c"});
  QStringList keys;
  editor.OnKeyDown = [&](TObject*, Word& key, TShiftState) { keys << QString::number(key); };
  PressKey(editor, VK_DOWN);
  PressKey(editor, VK_DOWN);
  EXPECT_EQ(editor.ItemIndex(), 2);
  PressKey(editor, VK_UP);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("b"));
  EXPECT_TRUE(keys.isEmpty());
  PressKey(editor, VK_RETURN);
  EXPECT_EQ(keys, QStringList{"13"});
  Wheel(editor, -120);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("c"));
  Wheel(editor, 120);
  Wheel(editor, 120);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("a"));
}

// The editor is reused cell after cell: a cell's text must bring its own item
// with it, not step on from the item of the last edit.
TEST(ComboEditor, AnItemsTextMakesItCurrentAndAnyOtherTextNone) {
  TComboBoxEditor editor;
  editor.HandleNeeded();
  editor.SetItems({"a", "b", "c"});
  editor.SetAsText(QStringLiteral("c"));
  EXPECT_EQ(editor.ItemIndex(), 2);
  PressKey(editor, VK_UP);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("b"));
  editor.SetAsText(QStringLiteral("free text"));
  EXPECT_EQ(editor.ItemIndex(), -1);
  PressKey(editor, VK_DOWN);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("a"));
}

struct ListCase {
  const char* name;
  int items;
  int dropDownCount;
  int rows;
};

class ComboList : public ::testing::TestWithParam<ListCase> {};

TEST_P(ComboList, OpensUnderTheEditorWithWholeItems) {
  const ListCase& c = GetParam();
  TComboBoxEditor editor;
  QStringList items;
  for (int i = 0; i < c.items; ++i) items << QStringLiteral("item %1").arg(i);
  editor.SetItems(items);
  editor.SetDropDownCount(c.dropDownCount);
  editor.SetItemHeight(18);
  editor.SetBounds(30, 40, 120, 20);
  editor.show();
  QTest::mousePress(editor.Button(), Qt::LeftButton, {}, QPoint(5, 5));
  auto* list = static_cast<TPopupList*>(editor.Popup());
  EXPECT_FALSE(list->Closed());
  EXPECT_EQ(list->ClientHeight(), c.rows * 18);
  EXPECT_EQ(list->Width(), 120);
  EXPECT_EQ(list->Items(), &editor.Items());
  const TPoint corner = editor.ClientToScreen(TPoint(-1, editor.ClientHeight()));
  EXPECT_EQ(TPoint::FromQt(list->pos()), corner);
  list->CloseUp();
  EXPECT_FALSE(editor.Button()->Down());
}

INSTANTIATE_TEST_SUITE_P(Combo, ComboList,
                         ::testing::Values(ListCase{"ManyItems", 20, 8, 8}, ListCase{"FewItems", 3, 8, 3},
                                           ListCase{"NegativeCount", 3, -2, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ComboEditor, AClickOnTheListChoosesTheItemAndItsIndex) {
  TComboBoxEditor editor;
  editor.SetItems({"bir", "iki", "üç"});
  editor.SetBounds(0, 0, 120, 20);
  editor.show();
  QTest::mousePress(editor.Button(), Qt::LeftButton, {}, QPoint(5, 5));
  auto* list = static_cast<TPopupList*>(editor.Popup());
  list->Choose(5, 2 * 16 + 3);
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("üç"));
  EXPECT_EQ(editor.ItemIndex(), 2);
  list->CloseUp();
}

TEST(ComboEditor, AListOnlyEditorOpensOnAClickAnywhere) {
  TComboBoxEditor editor;
  editor.SetItems({"a", "b"});
  editor.SetStyle(dsDropDownList);
  editor.SetBounds(0, 0, 120, 20);
  editor.show();
  QTest::mousePress(editor.findChild<QLineEdit*>(), Qt::LeftButton, {}, QPoint(40, 5));
  EXPECT_FALSE(editor.Popup()->Closed());
  EXPECT_TRUE(editor.Button()->Down());
  editor.Popup()->CloseUp();
}

struct ImageCase {
  const char* name;
  TVerticalAlignment valign;
  int top;  // of the 8-pixel image in a 24-pixel client
};

class ComboImage : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ComboImage, TheChosenItemsImageSitsAtTheLeftByVerticalAlignment) {
  const ImageCase& c = GetParam();
  TImageList images(nullptr, 8, 8);
  QImage red(8, 8, QImage::Format_RGB32), blue(8, 8, QImage::Format_RGB32);
  red.fill(Qt::red);
  blue.fill(Qt::blue);
  images.Add(red);
  images.Add(blue);
  TComboBoxEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetVerticalAlignment(c.valign);
  editor.SetItems({"a", "b", "c"});
  editor.SetImages(&images);
  editor.SetBounds(0, 0, 100, 24);
  editor.show();
  editor.SetItemIndex(1);
  QImage shot = editor.grab().toImage();
  EXPECT_TRUE(IsBlue(shot, 2, c.top));
  EXPECT_TRUE(IsBlue(shot, 9, c.top + 7));
  EXPECT_FALSE(IsBlue(shot, 10, c.top + 3));
  EXPECT_FALSE(IsBlue(shot, 2, c.top - 1));
  EXPECT_FALSE(IsBlue(shot, 2, c.top + 8));
  TRect r;
  editor.GetEditRect(r);
  EXPECT_EQ(r.Left, 2 + 8 + 2);
  auto* edit = editor.findChild<QLineEdit*>();
  ASSERT_TRUE(edit);
  const int withImages = edit->textMargins().left();
  editor.SetShowImages(false);
  EXPECT_EQ(edit->textMargins().left(), withImages - 10);
  editor.SetShowImages(true);
  editor.SetItemIndex(2);  // no image for it: nothing drawn, nothing raised
  shot = editor.grab().toImage();
  EXPECT_FALSE(IsBlue(shot, 2, c.top));
}

INSTANTIATE_TEST_SUITE_P(Combo, ComboImage,
                         ::testing::Values(ImageCase{"Top", vaTop, 0}, ImageCase{"Middle", vaMiddle, 8},
                                           ImageCase{"Bottom", vaBottom, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- date ---------------------------------------------------------------------------------

struct DateCase {
  const char* name;
  const char* text;
  TDateTime expected;  // -1: today
};

class DateReading : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateReading, EmptyOrZeroIsTodayOtherwiseTheShortDate) {
  const DateCase& c = GetParam();
  TDatePickerEditor editor;
  editor.SetAsText(QString::fromUtf8(c.text));
  EXPECT_EQ(editor.GetAsDate(), c.expected < 0 ? Today() : c.expected);
  EXPECT_EQ(editor.Date(), editor.GetAsDate());
}

INSTANTIATE_TEST_SUITE_P(Date, DateReading,
                         ::testing::Values(DateCase{"Zero", "0", -1}, DateCase{"Empty", "", -1},
                                           DateCase{"ShortDate", "15.03.2024", EncodeDate(2024, 3, 15)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateEditor, ANonDateRaisesTheConversionErrorAndSettingShowsTheShortDate) {
  TDatePickerEditor editor;
  editor.SetAsText(QStringLiteral("31.02.x"));
  EXPECT_THROW(editor.GetAsDate(), EConvertError);
  editor.SetDate(EncodeDate(2026, 12, 8));
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("08.12.2026"));
}

TEST(DateEditor, TheCalendarOpensAtTheEditorsDateAndItsButtonsFillTheText) {
  TDatePickerEditor editor;
  editor.SetBounds(0, 0, 120, 20);
  editor.show();
  editor.SetAsText(QStringLiteral("15.03.2024"));
  QTest::mousePress(editor.Button(), Qt::LeftButton, {}, QPoint(5, 5));
  auto* calendar = static_cast<TDatePopup*>(editor.Popup());
  EXPECT_FALSE(calendar->Closed());
  EXPECT_EQ(calendar->Year(), 2024);
  EXPECT_EQ(calendar->Month(), 3);
  EXPECT_EQ(calendar->Day(), 15);
  EXPECT_EQ(calendar->SelectedDate(), EncodeDate(2024, 3, 15));
  EXPECT_EQ(calendar->Width(), 151);
  EXPECT_EQ(calendar->Height(), 163);
  // The first Friday cell of March 2024 (column 5, row 0) is the 1st.
  calendar->Choose(14 + 17 * 5 + 3, 40);
  EXPECT_EQ(editor.GetAsDate(), EncodeDate(2024, 3, 1));
  calendar->CloseUp();
  QTest::mouseRelease(editor.Button(), Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(DateEditor, NoneLeavesZeroWhichReadsAsToday) {
  TDatePickerEditor editor;
  editor.SetBounds(0, 0, 120, 20);
  editor.show();
  editor.SetAsText(QStringLiteral("15.03.2024"));
  QTest::mousePress(editor.Button(), Qt::LeftButton, {}, QPoint(5, 5));
  auto* calendar = static_cast<TDatePopup*>(editor.Popup());
  ASSERT_FALSE(calendar->Closed());
  const TRect none = calendar->NoneButton()->BoundsRect();
  QTest::mouseClick(calendar, Qt::LeftButton, {},
                    QPoint(none.Left + 5, none.Top + 5) + calendar->ClientOrigin().ToQt());
  EXPECT_TRUE(calendar->Closed());
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("0"));
  EXPECT_EQ(editor.GetAsDate(), Today());
  EXPECT_FALSE(editor.Button()->Down());
}

TEST(DateEditor, AHalfTypedDateOpensTheCalendarAtToday) {
  TDatePickerEditor editor;
  editor.SetBounds(0, 0, 120, 20);
  editor.show();
  editor.SetAsText(QStringLiteral("15.0"));
  QTest::mousePress(editor.Button(), Qt::LeftButton, {}, QPoint(5, 5));
  auto* calendar = static_cast<TDatePopup*>(editor.Popup());
  EXPECT_FALSE(calendar->Closed());
  EXPECT_EQ(calendar->SelectedDate(), Today());
  EXPECT_EQ(editor.GetAsText(), QStringLiteral("15.0"));
  calendar->CloseUp();
}

// ---- check box ------------------------------------------------------------------------------

struct CheckTextCase {
  const char* text;
  bool checked;
};

class CheckBoxText : public ::testing::TestWithParam<CheckTextCase> {};

TEST_P(CheckBoxText, TrueInAnyCaseChecksAnythingElseClears) {
  const CheckTextCase& c = GetParam();
  TCheckBoxEditor editor;
  editor.SetChecked(!c.checked);
  QStringList log;
  editor.OnChange = [&](TObject*) { log << QStringLiteral("change"); };
  editor.OnEdit = [&](TObject*, const QString& v) { log << QStringLiteral("edit ") + v; };
  editor.SetAsText(QString::fromUtf8(c.text));
  EXPECT_EQ(editor.Checked(), c.checked);
  EXPECT_EQ(editor.GetAsBoolean(), c.checked);
  const QString text = c.checked ? QStringLiteral("True") : QStringLiteral("False");
  EXPECT_EQ(editor.GetAsText(), text);
  EXPECT_EQ(log, (QStringList{"change", "edit " + text}));
}

INSTANTIATE_TEST_SUITE_P(CheckBox, CheckBoxText,
                         ::testing::Values(CheckTextCase{"TRUE", true}, CheckTextCase{"tRuE", true},
                                           CheckTextCase{"yes", false}, CheckTextCase{"", false},
                                           CheckTextCase{"true ", false}));

TEST(CheckBoxEditor, SpaceTogglesOnReleaseUnlessTheGridTookTheKey) {
  TCheckBoxEditor editor;
  editor.HandleNeeded();
  editor.Perform(WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(editor.Pressed());
  EXPECT_FALSE(editor.Checked());
  editor.Perform(WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(editor.Pressed());
  EXPECT_TRUE(editor.Checked());
  editor.OnKeyDown = [](TObject*, Word& key, TShiftState) { key = 0; };
  editor.OnKeyUp = [](TObject*, Word& key, TShiftState) { key = 0; };
  editor.Perform(WM_KEYDOWN, VK_SPACE);
  editor.Perform(WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(editor.Pressed());
  EXPECT_TRUE(editor.Checked());
  editor.Clear();
  EXPECT_FALSE(editor.Checked());
  EXPECT_EQ(editor.Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
}

TEST(CheckBoxEditor, AReleaseOnTheBoxTogglesWhereverThePressBegan) {
  ThemeLook look(false);
  TCheckBoxEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetAlignment(taCenter);
  editor.SetBounds(0, 0, 60, 20);
  editor.show();
  const TRect box = editor.BoxRect();
  const QPoint inside((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
  QTest::mousePress(&editor, Qt::LeftButton, {}, inside);
  EXPECT_TRUE(editor.Pressed());
  QTest::mouseRelease(&editor, Qt::LeftButton, {}, inside);
  EXPECT_TRUE(editor.Checked());
  EXPECT_FALSE(editor.Pressed());
  QTest::mousePress(&editor, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_FALSE(editor.Pressed());
  QTest::mouseRelease(&editor, Qt::LeftButton, {}, inside);
  EXPECT_FALSE(editor.Checked());
  QTest::mouseClick(&editor, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_FALSE(editor.Checked());
  QTest::mouseMove(&editor, inside);
  EXPECT_TRUE(editor.Hot());
  QTest::mouseMove(&editor, QPoint(2, 2));
  EXPECT_FALSE(editor.Hot());
}

struct BoxCase {
  const char* name;
  bool themed;
  TAlignment alignment;
  TVerticalAlignment valign;
  TRect expected;  // in a 60 × 20 client
};

class CheckBoxPlace : public ::testing::TestWithParam<BoxCase> {};

TEST_P(CheckBoxPlace, TheBoxFollowsTheLookAndAlignment) {
  const BoxCase& c = GetParam();
  ThemeLook look(c.themed);
  TCheckBoxEditor editor;
  editor.SetBorderStyle(bsNone);
  editor.SetAlignment(c.alignment);
  editor.SetVerticalAlignment(c.valign);
  editor.SetBounds(0, 0, 60, 20);
  editor.show();
  EXPECT_EQ(editor.BoxRect(), c.expected);
  const QImage shot = editor.grab().toImage();
  // Outside the box the editor is the window colour; the box's edge is not.
  EXPECT_EQ(PixelAt(shot, c.expected.Left - 1, c.expected.Top), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(shot, c.expected.Right, c.expected.Bottom - 1), ColorToRGB(clWindow));
  EXPECT_NE(PixelAt(shot, c.expected.Left, c.expected.Top), ColorToRGB(clWindow));
}

INSTANTIATE_TEST_SUITE_P(CheckBox, CheckBoxPlace,
                         ::testing::Values(BoxCase{"ClassicCentred", false, taCenter, vaMiddle, Bounds(25, 5, 11, 11)},
                                           BoxCase{"ClassicLeftTop", false, taLeftJustify, vaTop, Bounds(1, 1, 11, 11)},
                                           BoxCase{"ThemedCentred", true, taCenter, vaMiddle, Bounds(24, 4, 13, 13)},
                                           BoxCase{"ThemedRightBottom", true, taRightJustify, vaBottom,
                                                   Bounds(46, 6, 13, 13)}),
                         [](const auto& info) { return std::string(info.param.name); });

// The themed look shows a press only under the pointer; the classic look
// always.
TEST(CheckBoxEditor, CheckedAndGrayedBoxesLookDifferent) {
  for (bool themed : {false, true}) {
    ThemeLook look(themed);
    const auto picture = [](bool checked, bool grayed) {
      TCheckBoxEditor editor;
      editor.SetBorderStyle(bsNone);
      editor.SetBounds(0, 0, 40, 20);
      editor.show();
      editor.SetChecked(checked);
      editor.SetGrayed(grayed);
      const TRect box = editor.BoxRect();
      return editor.grab().toImage().copy(box.ToQt());
    };
    const QImage clear = picture(false, false), checked = picture(true, false), grayed = picture(false, true);
    EXPECT_NE(clear, checked) << themed;
    if (!themed) {
      EXPECT_NE(clear, grayed);
    }
  }
}

// ---- the editor each column kind opens --------------------------------------------------

template <class Column>
QString EditorClassOf() {
  Column column;
  QWidget* editor = column.Editor();
  return editor ? QString::fromLatin1(editor->metaObject()->className()) : QString();
}

TEST(ColumnEditors, EachKindMakesItsEditor) {
  EXPECT_EQ(EditorClassOf<TTextualColumn>(), "TTextualEditor");
  EXPECT_EQ(EditorClassOf<TComboBoxColumn>(), "TComboBoxEditor");
  EXPECT_EQ(EditorClassOf<TNumericColumn>(), "TSpinEditor");
  EXPECT_EQ(EditorClassOf<TDateColumn>(), "TDatePickerEditor");
  EXPECT_EQ(EditorClassOf<TCheckBoxColumn>(), "TCheckBoxEditor");
  EXPECT_EQ(EditorClassOf<THtmlColumn>(), QString());
  EXPECT_EQ(EditorClassOf<TImageColumn>(), QString());
  EXPECT_EQ(EditorClassOf<TProgressColumn>(), QString());
  EXPECT_EQ(EditorClassOf<TRateColumn>(), QString());
  EXPECT_EQ(EditorClassOf<TIncrementColumn>(), QString());
  EXPECT_EQ(EditorClassOf<TGraphicColumn>(), QString());
}

TEST(ColumnEditors, TheComboColumnGivesItsChoices) {
  TImageList images;
  TComboBoxColumn column;
  column.SetItems({"İzmir", "Muğla"});
  column.SetImages(&images);
  column.SetShowImages(false);
  column.SetDropDownCount(3);
  column.SetStyle(cbsDropDownList);
  column.PrepareEditor();
  auto* editor = qobject_cast<TComboBoxEditor*>(column.Editor());
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->Items(), (QStringList{"İzmir", "Muğla"}));
  EXPECT_EQ(editor->Images(), &images);
  EXPECT_FALSE(editor->ShowImages());
  EXPECT_EQ(editor->DropDownCount(), 3);
  EXPECT_EQ(editor->Style(), dsDropDownList);
  column.SetStyle(cbsDropDown);
  column.PrepareEditor();
  EXPECT_EQ(editor->Style(), dsDropDown);
}

TEST(ColumnEditors, TheNumericColumnGivesItsRangeAndTheDateColumnTyping) {
  TNumericColumn numeric;
  numeric.SetMin(-3);
  numeric.SetMax(7);
  numeric.PrepareEditor();
  auto* spin = qobject_cast<TSpinEditor*>(numeric.Editor());
  ASSERT_TRUE(spin);
  EXPECT_EQ(spin->Min(), -3.0);
  EXPECT_EQ(spin->Max(), 7.0);
  TDateColumn date;
  auto* picker = qobject_cast<TDatePickerEditor*>(date.Editor());
  ASSERT_TRUE(picker);
  picker->SetStyle(dsDropDownList);
  date.PrepareEditor();
  EXPECT_EQ(picker->Style(), dsDropDown);
}

}  // namespace
