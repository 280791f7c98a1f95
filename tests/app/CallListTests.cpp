// Calls arriving from the device: the rolling list, the counter, the tone
// and balloon, the resets and a call that fails half-way.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTextEdit>

#include "FakeZarvo.h"
#include "TestSupport.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "device/SimulatedZarvo.h"
#include "grid/ColumnClasses.h"
#include "grid/GridView.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "platform/Streaming.h"
#include "tray/NotifyIcon.h"

namespace {

using C = TForm1;

struct TBalloon {
  QString title;
  QString text;
  uint32_t icon;
  uint32_t timeoutMs;
};

class CallList : public ::testing::Test {
 protected:
  std::shared_ptr<TShellRecorder> shell = std::make_shared<TShellRecorder>();
  QStringList events;  // tones and balloons in the order they came
  TFakeZarvoClass fakeClass;
  std::optional<TForms> forms;
  TForm1* form = nullptr;
  TFakeZarvo* device = nullptr;
  TFormatSettings savedSettings = FormatSettings;

  void SetUp() override {
    SetShellBackend(shell);
    Sound::SetBeepHook([this](uint32_t hz, uint32_t ms) { events << QStringLiteral("tone %1 %2").arg(hz).arg(ms); });
    forms.emplace(CreateForms());
    form = forms->Form1.get();
    device = fakeClass.last;
    form->Clock = [] { return EncodeDate(2026, 12, 8) + EncodeTime(14, 5, 7, 0); };
  }
  void TearDown() override {
    forms.reset();
    Sound::SetBeepHook(nullptr);
    SetShellBackend(nullptr);
    FormatSettings = savedSettings;
  }

  void Call(const QString& number, const QString& line = QStringLiteral("1"),
            const QString& serial = QStringLiteral("ZR-0042")) {
    const size_t before = shell->Requests.size();
    device->Fire(DISPID_OnCallerID,
                 {serial, line, number, QStringLiteral("08.12.2026 14:05:07"), QStringLiteral("CID")});
    // Each balloon goes out as the old one hidden, then the new one shown.
    for (size_t i = before; i < shell->Requests.size(); ++i) {
      const TNotifyIconData& d = shell->Requests[i].data;
      const bool last = i + 1 == shell->Requests.size();
      if ((d.uFlags & NIF_INFO) && last)
        events << QStringLiteral("balloon %1|%2|%3|%4")
                      .arg(AnsiField(d.szInfoTitle, sizeof d.szInfoTitle), AnsiField(d.szInfo, sizeof d.szInfo))
                      .arg(d.dwInfoFlags)
                      .arg(d.uTimeoutOrVersion);
    }
  }
  QString Text(int col, int row) const { return form->GridView1->CellText(col, row); }
  QStringList Column(int col) const {
    QStringList texts;
    for (int r = 0; r < form->GridView1->RowCount(); ++r) texts << Text(col, r);
    return texts;
  }
  QStringList MemoLines() const { return form->Memo2->toPlainText().split('\n', Qt::SkipEmptyParts); }
};

TEST_F(CallList, IsAFiveColumnReportListShownInItsOwnOrder) {
  TGridView* grid = form->GridView1;
  EXPECT_EQ(grid->size(), QSize(532, 170));
  EXPECT_EQ(grid->pos(), QPoint(6, 8));
  EXPECT_EQ(grid->GridStyle(), gsReport);
  EXPECT_EQ(grid->GridLinesStyle(), lsNormal);
  EXPECT_EQ(grid->BorderStyle(), bsSingle);
  EXPECT_EQ(grid->Options(), goDissableColumnMoving | goGrid | goHeader);
  EXPECT_EQ(grid->HeaderSize(), 20);
  EXPECT_EQ(grid->HeaderStyle(), hsAuto);
  EXPECT_EQ(grid->RowSize(), 20);
  EXPECT_EQ(grid->InputSize(), 12);
  EXPECT_EQ(grid->SlideSize(), 60);
  EXPECT_TRUE(grid->HideScrollBar());
  EXPECT_EQ(grid->SelectionMoveDirection(), mdNone);
  EXPECT_FALSE(grid->WantReturns());
  EXPECT_TRUE(grid->TabStop());

  const TColumns& columns = *grid->Columns();
  ASSERT_EQ(columns.Count(), 5);
  QStringList shown;
  for (int i = 0; i < 5; ++i) shown << columns.DisplayItems(i)->Header()->Caption();
  EXPECT_EQ(shown, (QStringList{"Hat no.", "Arayan numara", "Saat", "Cihaz seri no.", "Çağrı sıra no"}));
  const struct {
    int index;
    const char* caption;
    int width;
    TSortKind sortKind;
  } expected[] = {{C::ccTime, "Saat", 96, skAscending},
                  {C::ccSerial, "Cihaz seri no.", 116, skAscending},
                  {C::ccCounter, "Çağrı sıra no", 101, skAscending},
                  {C::ccLine, "Hat no.", 69, skDescending},
                  {C::ccNumber, "Arayan numara", 128, skAscending}};
  for (const auto& e : expected) {
    TCustomColumn* c = columns.Items(e.index);
    SCOPED_TRACE(e.caption);
    ASSERT_NE(qobject_cast<TTextualColumn*>(c), nullptr);
    EXPECT_EQ(c->Header()->Caption(), QString::fromUtf8(e.caption));
    EXPECT_EQ(c->DefaultWidth(), e.width);
    EXPECT_EQ(c->SortKind(), e.sortKind);
    EXPECT_EQ(c->Alignment(), taCenter);
    EXPECT_EQ(c->VerticalAlignment(), vaMiddle);
    EXPECT_EQ(c->WrapKind(), wkEllipsis);
    EXPECT_EQ(c->Color(), clWindow);
    EXPECT_EQ(c->Header()->Color(), clBtnFace);
    EXPECT_EQ(c->Header()->DisplayMode(), dmTextOnly);
    EXPECT_EQ(c->Options(), coAutoSize | coCanInput | coDontHighlight | coPublicUsing);
    EXPECT_FALSE(c->Sorted());
    EXPECT_EQ(c->SortType(), stAlphabetic);
    EXPECT_TRUE(qobject_cast<TTextualColumn*>(c)->AutoExecute());
  }
}

TEST_F(CallList, FirstCallFillsOneRowCountsAndAnnouncesItself) {
  FormatSettings = TFormatSettings::Turkish();
  Call(QStringLiteral("05321234567"), QStringLiteral("3"));
  ASSERT_EQ(form->GridView1->RowCount(), 1);
  EXPECT_EQ(Text(C::ccLine, 0), QStringLiteral("3"));
  EXPECT_EQ(Text(C::ccNumber, 0), QStringLiteral("05321234567"));
  EXPECT_EQ(Text(C::ccTime, 0), QStringLiteral("14:05:07"));
  EXPECT_EQ(Text(C::ccSerial, 0), QStringLiteral("ZR-0042"));
  EXPECT_EQ(Text(C::ccCounter, 0), QStringLiteral("1"));
  EXPECT_EQ(form->Label5->text(), QStringLiteral("1"));
  EXPECT_EQ(form->CallCounter(), 1);
  // The tone comes first, then the ten-second information balloon.
  EXPECT_EQ(events, (QStringList{"tone 1000 100", "balloon Çağrı: 1|05321234567|1|10000"}));
  EXPECT_FALSE(form->GridView1->UpdateLockedNow());
}

TEST_F(CallList, KeepsTheSixNewestWithTheNewestAtTheBottom) {
  for (int i = 1; i <= 7; ++i) Call(QStringLiteral("0500000000%1").arg(i));
  EXPECT_EQ(Column(C::ccCounter), (QStringList{"2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(Column(C::ccNumber).first(), QStringLiteral("05000000002"));
  EXPECT_EQ(Column(C::ccNumber).last(), QStringLiteral("05000000007"));
  EXPECT_EQ(form->Label5->text(), QStringLiteral("7"));
}

TEST_F(CallList, CounterKeepsRisingWhileTheListRolls) {
  for (int i = 1; i <= 13; ++i) Call(QStringLiteral("0212%1").arg(i));
  EXPECT_EQ(form->GridView1->RowCount(), 6);
  EXPECT_EQ(Column(C::ccCounter), (QStringList{"8", "9", "10", "11", "12", "13"}));
  EXPECT_EQ(form->Label5->text(), QStringLiteral("13"));
  EXPECT_EQ(events.filter(QStringLiteral("tone")).size(), 13);
  EXPECT_EQ(events.last(), QStringLiteral("balloon Çağrı: 13|021213|1|10000"));
}

TEST_F(CallList, AWithheldNumberStillCountsWithAnEmptyBalloon) {
  Call(QString());
  ASSERT_EQ(form->GridView1->RowCount(), 1);
  EXPECT_EQ(Text(C::ccNumber, 0), QString());
  EXPECT_EQ(Text(C::ccCounter, 0), QStringLiteral("1"));
  EXPECT_EQ(events, (QStringList{"tone 1000 100", "balloon Çağrı: 1||1|10000"}));
}

TEST_F(CallList, LineAndSerialPassThroughWhileTheNumberBecomesEightBitText) {
  // The Greek letter has no place in the Turkish code page; "ş" has one.
  const QString line = QStringLiteral(" Hat-Ω 2 ");
  const QString serial = QStringLiteral("şΩ#00'7");
  Call(QStringLiteral("0ş5Ω"), line, serial);
  EXPECT_EQ(Text(C::ccLine, 0), line);
  EXPECT_EQ(Text(C::ccSerial, 0), serial);
  EXPECT_EQ(Text(C::ccNumber, 0), QStringLiteral("0ş5?"));
  EXPECT_EQ(events.last(), QStringLiteral("balloon Çağrı: 1|0ş5?|1|10000"));
}

struct TimeCase {
  const char* name;
  bool turkish;
  int hour;
  const char* shown;
};

class CallTime : public CallList, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(CallTime, IsTheLocalTimeInTheLocalesLongFormat) {
  const TimeCase& c = GetParam();
  FormatSettings = c.turkish ? TFormatSettings::Turkish() : TFormatSettings();
  form->Clock = [&c] { return EncodeDate(2026, 12, 8) + EncodeTime(c.hour, 5, 7, 0); };
  Call(QStringLiteral("1"));
  EXPECT_EQ(Text(C::ccTime, 0), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Locales, CallTime,
                         ::testing::Values(TimeCase{"TurkishMorning", true, 9, "09:05:07"},
                                           TimeCase{"TurkishEvening", true, 21, "21:05:07"},
                                           TimeCase{"TwelveHourEvening", false, 21, "9:05:07 PM"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ResetCase {
  const char* name;
  std::function<void(TForm1&, TFakeZarvo&)> reset;
};

class CallListReset : public CallList, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(CallListReset, EmptiesTheListAndStartsCountingAgain) {
  device->model = QStringLiteral("KR926");
  form->Timer1Timer(nullptr);
  for (int i = 0; i < 3; ++i) Call(QStringLiteral("0312"));
  GetParam().reset(*form, *device);
  EXPECT_EQ(form->GridView1->RowCount(), 0);
  EXPECT_EQ(form->Label5->text(), QStringLiteral("0"));
  Call(QStringLiteral("0312"));
  EXPECT_EQ(Column(C::ccCounter), QStringList{"1"});
  EXPECT_EQ(events.last(), QStringLiteral("balloon Çağrı: 1|0312|1|10000"));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CallListReset,
    ::testing::Values(ResetCase{"ClearListCommand", [](TForm1& f, TFakeZarvo&) { f.Listeyisil1->Click(); }},
                      ResetCase{"DeviceGone",
                                [](TForm1& f, TFakeZarvo& d) {
                                  d.model.clear();
                                  f.Timer1Timer(nullptr);
                                }},
                      ResetCase{"WindowShown", [](TForm1& f, TFakeZarvo&) { f.FormShow(nullptr); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CallList, ADeviceThatStaysConnectedKeepsItsCalls) {
  device->model = QStringLiteral("KR926");
  form->Timer1Timer(nullptr);
  Call(QStringLiteral("0312"));
  form->Timer1Timer(nullptr);
  EXPECT_EQ(form->GridView1->RowCount(), 1);
  EXPECT_EQ(form->Label5->text(), QStringLiteral("1"));
}

QString StoredListForm() {
  QFile file(QStringLiteral(":/app/forms/GridView1.txt"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return QString::fromUtf8(file.readAll());
}

// The stored list without its last column: writing the number then fails.
QString FourColumnForm() {
  QString text = StoredListForm();
  text.truncate(text.lastIndexOf(QStringLiteral("  object TTextualColumn")));
  return text + QStringLiteral("end\n");
}

TEST_F(CallList, AFailedCellWriteIsReportedOnceAndLeavesTheListWorking) {
  ReadObjectText(form->GridView1, FourColumnForm());
  ASSERT_EQ(form->GridView1->Columns()->Count(), 4);
  EXPECT_NO_THROW(Call(QStringLiteral("0312"), QStringLiteral("2")));

  const QStringList lines = MemoLines();
  EXPECT_EQ(lines.filter(QStringLiteral("List index out of bounds (4)")).size(), 1);
  EXPECT_TRUE(lines.last().endsWith(QStringLiteral(":List index out of bounds (4)"))) << lines.last().toStdString();
  EXPECT_EQ(lines.size(), 1);
  // The steps before the failure happened, the ones after did not.
  EXPECT_EQ(Text(C::ccLine, 0), QStringLiteral("2"));
  EXPECT_EQ(Text(C::ccTime, 0), QString());
  EXPECT_EQ(form->Label5->text(), QStringLiteral("1"));
  EXPECT_TRUE(events.isEmpty());
  // The bracket was closed: cell changes are announced again.
  EXPECT_FALSE(form->GridView1->UpdateLockedNow());
  int changes = 0;
  form->GridView1->OnChange = [&changes](TObject*, int, int) { ++changes; };
  form->GridView1->SetCellText(C::ccLine, 0, QStringLiteral("9"));
  EXPECT_EQ(changes, 1);
  form->GridView1->OnChange = nullptr;

  ReadObjectText(form->GridView1, StoredListForm());
  Call(QStringLiteral("0216"));
  ASSERT_EQ(form->GridView1->RowCount(), 1);
  EXPECT_EQ(Text(C::ccCounter, 0), QStringLiteral("2"));
  EXPECT_EQ(Text(C::ccNumber, 0), QStringLiteral("0216"));
  EXPECT_EQ(events, (QStringList{"tone 1000 100", "balloon Çağrı: 2|0216|1|10000"}));
}

TEST_F(CallList, SixRowsFitBelowTheHeaderWithoutAScrollBar) {
  form->show();
  for (int i = 1; i <= 7; ++i) Call(QStringLiteral("0%1").arg(i));
  Pump(20);
  TGridView* grid = form->GridView1;
  EXPECT_EQ(grid->RowCount(), C::kCallListRows);
  // The columns share the width exactly, so nothing scrolls either way.
  EXPECT_EQ(grid->TotalWidth(), grid->ClientWidth());
  EXPECT_FALSE(grid->HorzScrollBar()->Visible());
  EXPECT_FALSE(grid->VertScrollBar()->Visible());
  // Below the frame's top edge: a 20-pixel header with its edge, then six
  // rows of 20 pixels, each closed by a one-pixel grid line.
  const QImage image = grid->grab().toImage();
  const int x = 40;
  const QRgb gridLine = image.pixel(x, 42);
  const QRgb background = image.pixel(x, 30);
  EXPECT_NE(gridLine, background);
  for (int r = 0; r < C::kCallListRows; ++r) {
    EXPECT_EQ(image.pixel(x, 42 + 21 * r), gridLine) << r;
    EXPECT_EQ(image.pixel(x, 22 + 21 * r), background) << r;
  }
  EXPECT_EQ(image.pixel(x, 160), background);
}

}  // namespace

// The main window hosting the shipped control's simulated device, stepped
// by the test; tones are counted, the tray is recorded.
class CallListWithSimulatedDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    SetShellBackend(std::make_shared<TShellRecorder>());
    Sound::SetBeepHook([this](uint32_t, uint32_t) { ++tones; });
    RegisterShippedZarvo(926);
    forms = std::make_unique<TForms>(CreateForms());
    device = dynamic_cast<TSimulatedZarvo*>(Form().Zarvo1->ControlInterface());
    ASSERT_NE(device, nullptr);
    device->SetManualStepping(true);
    Form().FormShow(nullptr);
  }
  void TearDown() override {
    forms.reset();
    UnregisterZarvoClass(CLASS_Zarvo);
    Sound::SetBeepHook(nullptr);
    SetShellBackend(nullptr);
  }
  TForm1& Form() { return *forms->Form1; }
  // Steps the device until the next call is in the list.
  void NextCall() {
    const int calls = Form().CallCounter();
    for (int step = 0; step < 100000 && Form().CallCounter() == calls; ++step) device->Step();
  }

  std::unique_ptr<TForms> forms;
  TSimulatedZarvo* device = nullptr;
  int tones = 0;
};

// The shipped control's simulated device rings and reports on its own.
TEST_F(CallListWithSimulatedDevice, ACallFromTheDeviceLandsInTheList) {
  NextCall();
  TForm1& form = Form();
  ASSERT_EQ(form.CallCounter(), 1);
  ASSERT_EQ(form.GridView1->RowCount(), 1);
  EXPECT_EQ(form.GridView1->CellText(TForm1::ccSerial, 0), device->Serial());
  const int line = form.GridView1->CellText(TForm1::ccLine, 0).toInt();
  EXPECT_GE(line, 1);
  EXPECT_LE(line, TSimulatedZarvo::kLines);
  EXPECT_EQ(form.GridView1->CellText(TForm1::ccCounter, 0), QStringLiteral("1"));
  EXPECT_EQ(tones, 1);
}

// Callers who withhold their number, or have none to send, reach the list
// as words rather than as an empty cell.
TEST_F(CallListWithSimulatedDevice, WithheldAndUnavailableNumbersShowAsWords) {
  QSet<QString> seen;
  for (int call = 0; call < 100 && seen.size() < 2; ++call) {
    NextCall();
    const QString number = Form().GridView1->CellText(TForm1::ccNumber, Form().GridView1->RowCount() - 1);
    EXPECT_FALSE(number.isEmpty());
    if (number == QLatin1String("Gizli numara") || number == QLatin1String("Numara yok")) seen << number;
  }
  EXPECT_EQ(seen, (QSet<QString>{"Gizli numara", "Numara yok"}));
}
