#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextEdit>

#include "FakeZarvo.h"
#include "TestSupport.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit5.h"
#include "grid/GridView.h"
#include "platform/Timers.h"

namespace {

const QString kNoticeLine1 = QStringLiteral("Cihaz ile ilgili başka program çalışıyorsa lütfen sonlandırınız.");
const QString kNoticeLine2 = QStringLiteral("Aynı anda, 1 uygulama cihaza  bağlantı sağlayabilir.");

class MainWindow : public ::testing::Test {
 protected:
  TFakeZarvoClass fakeClass;
  TForms forms = CreateForms();
  TForm1& form = *forms.Form1;
  TFakeZarvo& device = *fakeClass.last;

  QStringList MemoLines() const {
    QStringList lines = form.Memo2->toPlainText().split('\n');
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
  }
};

TEST_F(MainWindow, LayoutAndCaptions) {
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Cihaz Test"));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(form.PageControl1->count(), 4);
  EXPECT_EQ(form.PageControl1->tabText(0), QStringLiteral("Test"));
  EXPECT_EQ(form.PageControl1->tabText(1), QStringLiteral("Bağlantı Kılavuzu !"));
  EXPECT_EQ(form.PageControl1->tabText(2), QStringLiteral("Ayar"));
  EXPECT_FALSE(form.PageControl1->isTabVisible(2));
  EXPECT_EQ(form.PageControl1->tabText(3), QStringLiteral("?"));
  EXPECT_EQ(form.GroupBox2->title(), QStringLiteral("     Cihaz Modeli - Bağlantı Durumu   "));
  EXPECT_EQ(form.GroupBox2->size(), QSize(319, 142));
  EXPECT_EQ(form.tek->title(), QStringLiteral("  Sinyaller   "));
  EXPECT_EQ(form.tek->size(), QSize(206, 142));
  EXPECT_EQ(form.GridView1->size(), QSize(532, 170));
  EXPECT_EQ(form.Memo2->height(), 48);
  EXPECT_EQ(form.Memo2->width(), form.GridView1->width());
  EXPECT_EQ(form.Label22->pos(), QPoint(14, 19));
  EXPECT_EQ(form.Label22->text(), QStringLiteral("Çağrı sayısı : "));
  EXPECT_EQ(form.Label5->pos(), QPoint(153, 20));
  EXPECT_EQ(form.Label9->pos(), QPoint(14, 53));
  EXPECT_EQ(form.Label24->pos(), QPoint(14, 89));
  EXPECT_EQ(form.Label25->pos(), QPoint(14, 114));
  EXPECT_EQ(form.Label9->text(), QStringLiteral("--"));
  EXPECT_EQ(form.Label9->font().family(), QStringLiteral("Arial Narrow"));
  EXPECT_TRUE(form.Label9->font().italic());
  EXPECT_EQ(form.Label9->font().pixelSize(), 24);
  EXPECT_EQ(form.Label24->font().pixelSize(), 13);
  EXPECT_EQ(form.Zarvo1->Widget()->geometry(), QRect(280, 80, 26, 26));
  EXPECT_EQ(form.Zarvo1->Widget()->parentWidget(), form.GroupBox2);
  EXPECT_EQ(form.Timer1->Interval(), 500);
  EXPECT_EQ(form.Timer2->Interval(), 50);
  EXPECT_EQ(MemoLines(), (QStringList{kNoticeLine1, kNoticeLine2, ""}));
  EXPECT_EQ(Application->Title(), QStringLiteral("Caller ID Test"));
  EXPECT_EQ(form.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
  EXPECT_EQ(form.size(), QSize(552, 409));  // 560 x 443 with the frame
  form.show();
  EXPECT_EQ(form.GroupBox4->geometry(), form.TabSheet1->rect());
  EXPECT_GT(form.GroupBox4->width(), form.Memo2->geometry().right());
  EXPECT_GT(form.GroupBox4->height(), form.tek->geometry().bottom());
}

TEST_F(MainWindow, FormShowResetsCounterSelectsTestTabAndStartsTheDevice) {
  form.PageControl1->setCurrentIndex(3);
  form.FormShow(nullptr);
  EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
  EXPECT_EQ(form.Label5->text(), QStringLiteral("0"));
  EXPECT_EQ(device.calls, (QStringList{"FormVisible=0", "Start"}));
}

TEST_F(MainWindow, NoDeviceAtStartWaitsWithoutReset) {
  form.Memo2->setPlainText("kept\n");
  form.Timer1Timer(nullptr);
  EXPECT_EQ(form.Label9->text(), QStringLiteral("Bağlantı bekleniyor"));
  EXPECT_EQ(form.Label24->text(), QString());
  EXPECT_EQ(form.Label25->text(), QString());
  EXPECT_EQ(MemoLines(), QStringList{"kept"});
  EXPECT_EQ(device.calls, QStringList{"devicemodel"});  // no serial asked without a model
}

TEST_F(MainWindow, DevicePresentThenRemovedResetsCounterAndMessageBox) {
  device.model = "KR926";
  device.serial = "S-1";
  form.Timer1Timer(nullptr);
  EXPECT_EQ(form.Label9->text(), QStringLiteral("Cihaz bağlı"));
  EXPECT_EQ(form.Label24->text(), QStringLiteral("Cihaz modeli: KR926"));
  EXPECT_EQ(form.Label25->text(), QStringLiteral("Seri no: S-1"));
  form.AddMemo2Line("12:00:00:first");
  form.AddMemo2Line("12:00:01:second");
  device.model.clear();
  form.Timer1Timer(nullptr);
  EXPECT_EQ(form.Label9->text(), QStringLiteral("Bağlantı bekleniyor"));
  EXPECT_EQ(form.Label5->text(), QStringLiteral("0"));
  EXPECT_EQ(form.CallCounter(), 0);
  EXPECT_EQ(MemoLines(), (QStringList{kNoticeLine1, kNoticeLine2}));
  EXPECT_EQ(form.Label24->text(), QString());
  // Waiting again is no new disconnection: nothing more is reset.
  form.AddMemo2Line("later");
  form.Timer1Timer(nullptr);
  EXPECT_EQ(MemoLines(), (QStringList{kNoticeLine2, "later"}));
}

TEST_F(MainWindow, EmptySerialStillShowsItsCaptionAndTextsGoThroughTheCodePage) {
  device.model = QStringLiteral("Model Ж");
  form.Timer1Timer(nullptr);
  EXPECT_EQ(form.Label25->text(), QStringLiteral("Seri no: "));
  EXPECT_EQ(form.Label24->text(), QStringLiteral("Cihaz modeli: Model ?"));
}

TEST_F(MainWindow, FailingCommandAddsOneErrorLinePerTickAndNextTickTriesAgain) {
  device.model = "KR926";
  form.Timer1Timer(nullptr);
  device.failCommands = true;
  form.Timer1->Tick();
  EXPECT_EQ(MemoLines().size(), 2);
  EXPECT_TRUE(MemoLines().last().endsWith(":OLE error 80004005")) << MemoLines().last().toStdString();
  EXPECT_EQ(form.Label9->text(), QStringLiteral("Cihaz bağlı"));  // the rest of the tick was skipped
  form.Timer1->Tick();
  EXPECT_EQ(MemoLines().size(), 2);
  EXPECT_TRUE(MemoLines().first().endsWith(":OLE error 80004005"));
  EXPECT_EQ(device.calls.count("devicemodel"), 3);
  device.failCommands = false;
  device.model.clear();
  form.Timer1->Tick();
  EXPECT_EQ(form.Label9->text(), QStringLiteral("Bağlantı bekleniyor"));
}

TEST_F(MainWindow, ErrorReportLineIsTimeColonMessage) {
  form.ApplicationEvents1Exception(nullptr, Exception("'x' is not a valid integer value"));
  const QString line = MemoLines().last();
  EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d:'x' is not a valid integer value$").match(line).hasMatch())
      << line.toStdString();
}

TEST_F(MainWindow, MessageBoxKeepsTheTwoNewestRows) {
  form.AddMemo2Line("one");
  EXPECT_EQ(MemoLines(), (QStringList{"", "one"}));  // the empty line stays with the first report
  form.AddMemo2Line("two");
  form.AddMemo2Line("three");
  EXPECT_EQ(MemoLines(), (QStringList{"two", "three"}));
  EXPECT_EQ(form.Memo2DisplayedRows(), 2);
}

TEST_F(MainWindow, WrappedLinesCountAndAreDeletedAsDisplayedRows) {
  QString longLine;
  for (int i = 0; i < 40; ++i) longLine += QStringLiteral("kelime%1 ").arg(i);
  form.AddMemo2Line(longLine.trimmed());
  EXPECT_EQ(form.Memo2DisplayedRows(), 2);
  // Only the last two displayed rows of the long line are left.
  const QString text = form.Memo2->toPlainText();
  EXPECT_TRUE(text.endsWith("kelime39\n"));
  EXPECT_FALSE(text.contains("kelime0 "));
  EXPECT_GT(text.size(), 20);
  form.AddMemo2Line("short");
  EXPECT_EQ(form.Memo2DisplayedRows(), 2);
  EXPECT_TRUE(form.Memo2->toPlainText().endsWith("kelime39\nshort\n"));
}

TEST_F(MainWindow, HugeMessageDoesNotOverflowTheStack) {
  form.AddMemo2Line(QString(200000, QLatin1Char('x')));
  EXPECT_EQ(form.Memo2DisplayedRows(), 2);
}

TEST_F(MainWindow, SecondTimerStopsForGoodAfterItsTick) {
  form.Timer2->Tick();
  EXPECT_FALSE(form.Timer2->Enabled());
}

TEST(Startup, UnknownClassIdentifierStopsTheStart) {
  UnregisterZarvoClass(CLASS_Zarvo);
  EXPECT_THROW(CreateForms(), EOleError);
  EXPECT_EQ(RunProgram(), 1);
}

}  // namespace

namespace {

TEST(Startup, CreatesSixWindowsInOrderAndShowsOnlyTheMainOne) {
  TFakeZarvoClass fakeClass;
  TForms forms = CreateForms();
  const QList<QWidget*> windows = forms.InCreationOrder();
  QStringList classes;
  for (QWidget* w : windows) classes << w->metaObject()->className();
  EXPECT_EQ(classes, (QStringList{"TForm1", "TForm2", "TForm3", "TADSlbag", "TForm6", "Tsplnedir"}));
  EXPECT_EQ(Form2, windows[1]);
  EXPECT_EQ(splnedir, windows[5]);
  EXPECT_EQ(Application->MainForm(), windows[0]);
  forms.Form1->show();
  for (QWidget* w : windows) EXPECT_EQ(w->isVisible(), w == windows[0]) << w->metaObject()->className();
  EXPECT_EQ(fakeClass.last->calls.mid(0, 2), (QStringList{"FormVisible=0", "Start"}));  // shown once: FormShow ran
}

}  // namespace
