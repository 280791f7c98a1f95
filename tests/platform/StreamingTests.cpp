#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/Streaming.h"
#include "platform/Types.h"

class TSamplePart : public QObject {
  Q_OBJECT
  Q_PROPERTY(int Size READ Size WRITE SetSize)
 public:
  int Size() const { return size; }
  void SetSize(int v) { size = v; }
  int size = 3;
};

class TSample : public QObject {
  Q_OBJECT
  Q_PROPERTY(PlatformTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
  Q_PROPERTY(QImage Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(TSamplePart* Part READ Part)
 public:
  TAlignment Alignment() const { return alignment; }
  void SetAlignment(TAlignment v) { alignment = v; }
  bool Enabled() const { return enabled; }
  void SetEnabled(bool v) { enabled = v; }
  int Count() const { return count; }
  void SetCount(int v) { count = v; }
  double Ratio() const { return ratio; }
  void SetRatio(double v) { ratio = v; }
  QString Text() const { return text; }
  void SetText(const QString& v) { text = v; }
  QStringList Lines() const { return lines; }
  void SetLines(const QStringList& v) { lines = v; }
  QImage Picture() const { return picture; }
  void SetPicture(const QImage& v) { picture = v; }
  TSamplePart* Part() { return &part; }

  TAlignment alignment = taLeftJustify;
  bool enabled = false;
  int count = 0;
  double ratio = 0;
  QString text;
  QStringList lines;
  QImage picture;
  TSamplePart part;
};

TEST(Streaming, WritesPublishedPropertiesPartsAndQuotedTexts) {
  TSample sample;
  sample.setObjectName("ignored");
  sample.alignment = taCenter;
  sample.enabled = true;
  sample.count = -7;
  sample.ratio = 0.25;
  sample.text = "it's\r\nÇok";
  sample.lines = {"a", ""};
  sample.part.size = 9;
  EXPECT_EQ(WriteObjectText(&sample, "Sample1"),
            "object Sample1: TSample\n"
            "  Alignment = taCenter\n"
            "  Enabled = True\n"
            "  Count = -7\n"
            "  Ratio = 0.25\n"
            "  Text = 'it''s'#13#10'Çok'\n"
            "  Lines = ('a' '')\n"
            "  Part.Size = 9\n"
            "end\n");
}

TEST(Streaming, ReadsBackWhatItWrote) {
  TSample sample;
  sample.alignment = taRightJustify;
  sample.count = 2147483647;
  sample.ratio = 1.0 / 3;
  sample.text = "#'x'";
  sample.lines = {"one", "two 'quoted'"};
  sample.picture = QImage(3, 2, QImage::Format_RGB32);
  sample.picture.fill(Qt::blue);
  sample.picture.setPixel(2, 1, qRgb(1, 2, 3));
  sample.part.size = 11;
  TSample copy;
  ReadObjectText(&copy, WriteObjectText(&sample));
  EXPECT_EQ(copy.alignment, taRightJustify);
  EXPECT_EQ(copy.count, 2147483647);
  EXPECT_EQ(copy.ratio, 1.0 / 3);
  EXPECT_EQ(copy.text, "#'x'");
  EXPECT_EQ(copy.lines, sample.lines);
  EXPECT_EQ(copy.picture.pixel(2, 1), qRgb(1, 2, 3));
  EXPECT_EQ(copy.part.size, 11);
}

TEST(Streaming, ParsesIndentationFreeTextAndUnnamedChildren) {
  const TFormObject form = TextToForm("object A: TSample\nCount = 1\n\n  object TChild\n    Flags = []\n  end\nend");
  EXPECT_EQ(form.Name, "A");
  ASSERT_EQ(form.Children.size(), 1u);
  EXPECT_EQ(form.Children[0].Name, "");
  EXPECT_EQ(form.Children[0].ClassName, "TChild");
  EXPECT_EQ(form.Children[0].Line, 4);
  EXPECT_EQ(form.Children[0].Properties[0].Value.Type, TFormValue::Set);
  EXPECT_TRUE(form.Children[0].Properties[0].Value.Items.isEmpty());
}

namespace {

struct BadText {
  const char* name;
  const char* text;
  const char* message;
};

void PrintTo(const BadText& b, std::ostream* os) { *os << b.name; }

class BadSampleForms : public ::testing::TestWithParam<BadText> {};

}  // namespace

// A bad line anywhere leaves the object untouched, even after good lines.
TEST_P(BadSampleForms, RaiseOneErrorNamingLineAndPropertyAndChangeNothing) {
  TSample sample;
  sample.count = 5;
  try {
    ReadObjectText(&sample, QString::fromUtf8(GetParam().text));
    FAIL() << "no read error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), QString::fromUtf8(GetParam().message));
  }
  EXPECT_EQ(sample.count, 5);
  EXPECT_FALSE(sample.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSampleForms,
    ::testing::Values(
        BadText{"Empty", "", "Line 0: the text holds no object"},
        BadText{"NoObject", "Count = 1\n", "Line 1: 'object' expected"},
        BadText{"Unknown", "object S: TSample\n  Count = 1\n  Colour = 3\nend\n",
                "Line 3: property Colour of TSample: no such property"},
        BadText{"QtOwnProperty", "object S: TSample\n  objectName = 'x'\nend\n",
                "Line 2: property objectName of TSample: no such property"},
        BadText{"BadBoolean", "object S: TSample\n  Count = 1\n  Enabled = Yes\nend\n",
                "Line 3: property Enabled of TSample: True or False expected, found Yes"},
        BadText{"Overflow", "object S: TSample\n  Count = 2147483648\nend\n",
                "Line 2: property Count of TSample: '2147483648' is not a valid integer value"},
        BadText{"BadEnum", "object S: TSample\n  Enabled = True\n  Alignment = taLeft\nend\n",
                "Line 3: property Alignment of TSample: 'taLeft' is not a value of TAlignment"},
        BadText{"PartAsValue", "object S: TSample\n  Part = 3\nend\n",
                "Line 2: property Part of TSample: a part takes its values through dotted names"},
        BadText{"NestedUnknown", "object S: TSample\n  Part.Width = 3\nend\n",
                "Line 2: property Part.Width of TSample: no such property"},
        BadText{"Garbage", "object S: TSample\n  Count 3\nend\n",
                "Line 2: property assignment expected, found 'Count 3'"},
        BadText{"OpenSet", "object S: TSample\n  Lines = ('a'\nend\n", "Line 2: ')' expected"},
        BadText{"OddBinary", "object S: TSample\n  Picture = {ABC}\nend\n", "Line 2: bad binary data"},
        BadText{"NotAPicture", "object S: TSample\n  Picture = {ABCD}\nend\n",
                "Line 2: property Picture of TSample: a PNG picture expected, found {ABCD}"},
        BadText{"ChildrenNotKept", "object S: TSample\n  object TChild\n  end\nend\n",
                "Line 2: TSample keeps no child objects"},
        BadText{"TextAfterEnd", "object S: TSample\nend\nCount = 1\n", "Line 3: text after the end of the form"},
        BadText{"StrayEnd", "end\n", "Line 1: 'end' without an object"},
        BadText{"Truncated", "object S: TSample\n  Part.Size = 4\n  Text = 'abc", "Line 3: unterminated string"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Streaming, RegisteredClassesAreCreatedByName) {
  RegisterClass<TSamplePart>();
  std::unique_ptr<QObject> made = CreateRegistered("TSamplePart", 1);
  EXPECT_NE(qobject_cast<TSamplePart*>(made.get()), nullptr);
  try {
    CreateRegistered("TNothing", 12);
    FAIL() << "no read error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Line 12: class TNothing is not registered");
  }
}

// A class whose texts default to non-empty values, registered so that the
// writer can learn its defaults.
class TDefaultsSample : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Greeting READ Greeting WRITE SetGreeting)
  Q_PROPERTY(QStringList Choices READ Choices WRITE SetChoices)
  Q_PROPERTY(QString Note READ Note WRITE SetNote)
  Q_PROPERTY(TSamplePart* Part READ Part)
 public:
  QString Greeting() const { return greeting; }
  void SetGreeting(const QString& v) { greeting = v; }
  QStringList Choices() const { return choices; }
  void SetChoices(const QStringList& v) { choices = v; }
  QString Note() const { return note; }
  void SetNote(const QString& v) { note = v; }
  TSamplePart* Part() { return &part; }

  QString greeting = "merhaba";
  QStringList choices = {"evet", "hayır"};
  QString note;
  TSamplePart part;
};

TEST(Streaming, AnEmptyTextIsLeftOutOnlyWhereItsDefaultIsEmptyToo) {
  RegisterClass<TDefaultsSample>();
  TDefaultsSample emptied;
  emptied.greeting.clear();
  emptied.choices.clear();
  EXPECT_EQ(WriteObjectText(&emptied),
            "object TDefaultsSample\n"
            "  Greeting = ''\n"
            "  Choices = ()\n"
            "  Part.Size = 3\n"
            "end\n");
  TDefaultsSample read;
  ReadObjectText(&read, WriteObjectText(&emptied));
  EXPECT_EQ(read.greeting, "");
  EXPECT_TRUE(read.choices.isEmpty());
  // A class the writer cannot make by name has no known defaults: its empty
  // texts are all written.
  TSample unknown;
  EXPECT_TRUE(WriteObjectText(&unknown).contains("\n  Text = ''\n  Lines = ()\n"));
  EXPECT_FALSE(WriteObjectText(&unknown).contains("Picture"));
}

namespace {

QString NestedForm(int levels) {
  QString text;
  for (int i = 0; i < levels; ++i) text += QStringLiteral("object TSample\n");
  for (int i = 0; i < levels; ++i) text += QStringLiteral("end\n");
  return text;
}

int Depth(const TFormObject& form) {
  int depth = 1;
  for (const TFormObject* f = &form; !f->Children.empty(); f = &f->Children.front()) ++depth;
  return depth;
}

}  // namespace

TEST(Streaming, NestingPastTheLimitIsRefusedAtItsLine) {
  const TFormObject deepest = TextToForm(NestedForm(256));
  EXPECT_EQ(Depth(deepest), 256);
  EXPECT_TRUE(FormToText(deepest).endsWith("end\nend\n"));
  for (int levels : {257, 200000}) {
    try {
      TextToForm(NestedForm(levels));
      FAIL() << "no read error at " << levels << " levels";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Line 257: objects nested deeper than 256 levels");
    }
  }
  TSample sample;
  EXPECT_THROW(ReadObjectText(&sample, NestedForm(200000)), EReadError);
}

#include "StreamingTests.moc"
