// The numeric editor fed typed characters, pasted texts, selections, cell
// texts and focus losses. After every step its text must read back as a
// value without an error, and a second reformat must keep the value a first
// one showed (a unit or a null text never joins the number).

#include <QClipboard>
#include <QGuiApplication>
#include <array>
#include <cmath>

#include "FuzzSupport.h"
#include "grid/CellEditors.h"
#include "platform/Exceptions.h"
#include "platform/Messages.h"

namespace {

class FuzzedEditor : public TNumericEditor {
 public:
  using TNumericEditor::WMKillFocus;
};

// Characters worth typing: everything the filter treats specially, plus the
// clipboard and tab keys the editor passes through.
constexpr std::array<char16_t, 20> kTyped = {u'0', u'1', u'5', u'9', u'-', u'+', u'.', u',', 8,    u'\r',
                                             u'a', u'E', u' ', 22,   3,    24,   9,    u'e', u'm', 0x131};

// Units and null texts, some with digits or separators of their own.
constexpr std::array<const char16_t*, 8> kTextAfter = {u"", u" kg", u" m2", u"%", u"1", u",5", u"-", u" "};
constexpr std::array<const char16_t*, 6> kNullText = {u"", u"(none)", u"yok 0", u"-", u"0", u"1,5 m2"};

double ReadBack(FuzzedEditor& editor, const char* after) {
  try {
    const double v = editor.Value();
    if (std::isnan(v)) FuzzFailure(QStringLiteral("%1: '%2' reads as NaN").arg(QLatin1String(after), editor.Text()));
    return v;
  } catch (const Exception& e) {
    FuzzFailure(
        QStringLiteral("%1: '%2' does not read back: %3").arg(QLatin1String(after), editor.Text(), e.Message()));
  }
}

// A reformat may round to Precision (and a value rounded to 0 then shows
// the null text); the value read back must stay what the first one showed.
void CheckReformatKeepsTheValue(FuzzedEditor& editor) {
  editor.WMKillFocus();
  const QString once = editor.Text();
  const double value = ReadBack(editor, "reformat");
  editor.WMKillFocus();
  if (ReadBack(editor, "second reformat") != value)
    FuzzFailure(QStringLiteral("reformat changed the value: '%1' (%2) became '%3' (%4)")
                    .arg(once)
                    .arg(value)
                    .arg(editor.Text())
                    .arg(editor.Value()));
}

// One editor for the whole run: making a window per input would cost more
// than everything the input does.
FuzzedEditor& Editor() {
  static FuzzedEditor* editor = [] {
    auto* e = new FuzzedEditor;
    e->HandleNeeded();
    return e;
  }();
  return *editor;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartFuzzApplication(argc, argv);
  Editor();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const uint8_t setup = in.Byte();
  const uint8_t texts = in.Byte();
  FormatSettings.DecimalSeparator = setup & 8 ? QLatin1Char('.') : QLatin1Char(',');

  FuzzedEditor& editor = Editor();
  editor.SetOptions(eoAllowAll);
  editor.SetTextAfter(QString());
  editor.SetNullText(QString());
  editor.SetAsText(QString());
  editor.SetOptions(TEditOptions::fromInt(setup & 7));
  editor.SetPrecision((setup >> 4) % 20);
  editor.SetTextAfter(QString::fromUtf16(kTextAfter[texts % kTextAfter.size()]));
  editor.SetNullText(QString::fromUtf16(kNullText[(texts >> 3) % kNullText.size()]));

  int steps = 0;
  while (!in.Empty() && ++steps < 64) {
    switch (in.Byte() % 6) {
      case 0:
        editor.Perform(WM_CHAR, kTyped[in.Byte() % kTyped.size()]);
        break;
      case 1: {
        const int start = in.Byte() % 24;
        editor.Perform(EM_SETSEL, WPARAM(start), start + in.Byte() % 24);
        break;
      }
      case 2:
        QGuiApplication::clipboard()->setText(in.Text(48));
        editor.Perform(WM_CHAR, 22);
        break;
      case 3:
        editor.SetAsText(in.Text(48));
        break;
      case 4:
        CheckReformatKeepsTheValue(editor);
        break;
      case 5: {
        // A value of any size, from its decimal exponent and digits.
        const double mantissa = (in.Byte() - 128) / 7.0;
        editor.SetValue(mantissa * std::pow(10.0, int(in.Byte() % 64) - 20));
        break;
      }
    }
    ReadBack(editor, "step");
  }
  if (!(editor.Options() & eoAllowAll)) CheckReformatKeepsTheValue(editor);
  return 0;
}
