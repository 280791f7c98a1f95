// The main window's line signals, the "?" tab's gate and line commands, and
// the help topics.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "FakeZarvo.h"
#include "TestSupport.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "app/Unit6.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"

namespace {

class MainWindowControls : public ::testing::Test {
 protected:
  TFakeZarvoClass fakeClass;
  TForms forms = CreateForms();
  TForm1& form = *forms.Form1;
  TFakeZarvo& device = *fakeClass.last;
  QStringList dialogs;  // "title|text" of every message dialog shown

  void SetUp() override {
    SetMessageDlgHook(
        [this](const QString& title, const QString& text, TMsgDlgType) { dialogs << title + "|" + text; });
  }
  void TearDown() override { SetMessageDlgHook(nullptr); }

  void Signal(const QStringList& levels) { device.Fire(DISPID_OnSignalA, levels); }
  QStringList Bars() const {
    QStringList shown;
    for (QProgressBar* bar : {form.ProgressBar1, form.ProgressBar2, form.ProgressBar3, form.ProgressBar4})
      shown << QString::number(bar->value());
    return shown;
  }
  QStringList Values() const {
    return {form.Label1->text(), form.Label2->text(), form.Label3->text(), form.Label4->text()};
  }
  int MemoLineCount() const { return form.Memo2->toPlainText().count('\n'); }
  void Answer(const QString& text) {
    form.Edit1->setText(text);
    form.BitBtn1Click(nullptr);
  }
};

TEST_F(MainWindowControls, SignalMetersSitAtTheirRows) {
  const QList<QLabel*> captions{form.Label6, form.Label7, form.Label8, form.Label15};
  const QList<QProgressBar*> bars{form.ProgressBar1, form.ProgressBar2, form.ProgressBar3, form.ProgressBar4};
  const QList<QLabel*> values{form.Label1, form.Label2, form.Label3, form.Label4};
  for (int i = 0; i < 4; ++i) {
    const int top = 40 + 24 * i;
    EXPECT_EQ(captions[i]->text(), QStringLiteral("Telefon %1").arg(i + 1));
    EXPECT_EQ(captions[i]->pos(), QPoint(10, top - 2));
    EXPECT_EQ(captions[i]->font().pixelSize(), 13);
    EXPECT_EQ(bars[i]->geometry(), QRect(71, top, 99, 13));
    EXPECT_EQ(bars[i]->maximum(), 30);
    EXPECT_EQ(bars[i]->value(), 0);
    EXPECT_EQ(values[i]->geometry(), QRect(174, top, 25, 13));
    EXPECT_EQ(values[i]->text(), QStringLiteral("-"));
  }
}

TEST_F(MainWindowControls, LevelsShowAsBarsClampedAndNumbersAsParsed) {
  Signal({"0", "2", "31", "-1", "x", "y", "", "z"});  // levels 5 to 8 are ignored even when bad
  EXPECT_EQ(Bars(), (QStringList{"0", "2", "30", "0"}));
  EXPECT_EQ(Values(), (QStringList{"0", "2", "31", "-1"}));
  Signal({"07", " 5", "30", "15"});
  EXPECT_EQ(Values(), (QStringList{"7", "5", "30", "15"}));
  EXPECT_EQ(MemoLineCount(), 3);  // the initial notice and empty line, no error
}

TEST_F(MainWindowControls, BadLevelTextChangesNothingAndReportsOneLine) {
  Signal({"1", "2", "3", "4", "0", "0", "0", "0"});
  const QString huge(100000, QLatin1Char('9'));
  for (const QString& bad : {QString(), QStringLiteral("abc"), huge, QStringLiteral("Ж")}) {
    Signal({"9", bad, "9", "9", "0", "0", "0", "0"});
    EXPECT_EQ(Bars(), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(Values(), (QStringList{"1", "2", "3", "4"}));
  }
  const QString text = form.Memo2->toPlainText();
  // The last report names the 8-bit text it could not parse.
  EXPECT_TRUE(text.endsWith(":'?' is not a valid integer value\n")) << text.right(80).toStdString();
  EXPECT_EQ(form.Memo2DisplayedRows(), 2);
}

TEST_F(MainWindowControls, QuestionTabLayout) {
  EXPECT_EQ(form.Label11->text(), QStringLiteral("Soru : "));
  EXPECT_EQ(form.Label11->pos(), QPoint(284, 336));
  EXPECT_EQ(form.Label14->pos(), QPoint(317, 329));
  EXPECT_EQ(form.Label18->pos(), QPoint(328, 326));
  EXPECT_LT(form.Label18->y(), form.Label14->y());  // the exponent sits higher
  EXPECT_EQ(form.Edit1->geometry(), QRect(356, 330, 41, 21));
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("??"));
  EXPECT_EQ(form.BitBtn1->geometry(), QRect(404, 325, 97, 30));
  EXPECT_EQ(form.BitBtn1->text(), QStringLiteral("Tamam"));
  EXPECT_FALSE(form.BitBtn1->icon().isNull());
  EXPECT_EQ(form.GroupBox3->geometry(), QRect(0, 79, 536, 76));
  EXPECT_TRUE(form.GroupBox3->isHidden());
  EXPECT_EQ(form.Button1->toolTip(), QStringLiteral("Hat meşgul"));
  EXPECT_EQ(form.Button2->toolTip(), QStringLiteral("Çağrı beklenir"));
  EXPECT_EQ(form.Edit2->geometry(), QRect(192, 31, 105, 21));
  EXPECT_EQ(form.Button3->geometry(), QRect(300, 27, 101, 28));
  // Keyboard order inside the group.
  EXPECT_EQ(form.Button1->nextInFocusChain(), form.Button2);
  EXPECT_EQ(form.Button2->nextInFocusChain(), form.Button3);
  EXPECT_EQ(form.Button3->nextInFocusChain(), form.Button4);
  EXPECT_EQ(form.Button4->nextInFocusChain(), form.Edit2);
}

TEST_F(MainWindowControls, GateAnswers) {
  form.PageControl1->setCurrentWidget(form.TabSheet4);
  Answer("926 ");
  EXPECT_TRUE(form.GroupBox3->isHidden());
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("??"));
  EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
  Answer(" 926");
  EXPECT_TRUE(form.GroupBox3->isHidden());
  Answer("926");
  EXPECT_FALSE(form.GroupBox3->isHidden());
  Answer("");  // a later wrong answer keeps the group
  EXPECT_FALSE(form.GroupBox3->isHidden());
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("??"));
  EXPECT_FALSE(device.calls.contains("ShowAbout"));
  Answer("8");  // 2 to the power of 3
  EXPECT_EQ(device.calls.last(), QStringLiteral("ShowAbout"));
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("8"));
}

TEST_F(MainWindowControls, EnterInTheAnswerFieldPressesTheDefaultButton) {
  form.show();
  form.PageControl1->setCurrentWidget(form.TabSheet4);
  form.Edit1->setFocus();
  // Marked, announced and framed in the dark shadow colour as the window's
  // default button while the answer field has the focus.
  const QRgb frame = ToQColor(cl3DDkShadow).rgb();
  EXPECT_TRUE(form.BitBtn1->isDefault());
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(form.BitBtn1)->state().defaultButton);
  EXPECT_EQ(form.BitBtn1->grab().toImage().pixel(0, 15), frame);
  EXPECT_EQ(form.Button1->grab().toImage().pixel(0, 15), ToQColor(clBtnFace).rgb());
  form.Edit1->setText("926");
  QTest::keyClick(form.Edit1, Qt::Key_Return);
  EXPECT_FALSE(form.GroupBox3->isHidden());
  // A click on the field selects its whole text, so typing replaces it.
  QTest::mouseClick(form.Edit1, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(form.Edit1->selectedText(), QStringLiteral("926"));
}

TEST_F(MainWindowControls, LineCommandsAreSentExactly) {
  form.Button1->click();
  form.Button2->click();
  form.Button3->click();  // unchanged field
  form.Edit2->clear();
  form.Button3->click();
  form.Edit2->setText(" 0532 ");
  form.Button3->click();
  EXPECT_EQ(device.calls, (QStringList{"LineStatus1", "LineStatus0", "dial05..", "dial", "dial 0532 "}));
}

TEST_F(MainWindowControls, FailingCommandOrAboutIsReportedAndNothingElseChanges) {
  device.failCommands = true;
  device.failShowAbout = true;
  form.Button1->click();
  form.Edit1->setText("8");
  form.BitBtn1->click();
  const QStringList lines = form.Memo2->toPlainText().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].endsWith(":OLE error 80004005"));
  EXPECT_TRUE(lines[1].endsWith(":OLE error 80004005"));
  EXPECT_EQ(form.Edit1->text(), QStringLiteral("8"));
}

TEST_F(MainWindowControls, VoiceMessageButtonShowsItsInformation) {
  form.Button4->click();
  EXPECT_EQ(dialogs,
            QStringList{QStringLiteral("Bilgi|Çağrı cevaplanır, veya numara çevrilir. Sonra sesli mesaj dinletilir.\r\n"
                                       "İsterseniz bu özellik  eklenebilir ($)\r\n\r\n")});
  EXPECT_TRUE(device.calls.isEmpty());
}

// Clicks a help control; each diagram window that opens is recorded and
// closed by a click on its picture. The click returns once the last closes.
QStringList OpenTopic(QWidget* control) {
  QStringList opened;
  QTimer closer;
  closer.setInterval(20);
  QObject::connect(&closer, &QTimer::timeout, [&opened] {
    if (auto* modal = qobject_cast<TDiagramForm*>(QApplication::activeModalWidget())) {
      opened << modal->metaObject()->className();
      QTest::mouseClick(modal->Picture(), Qt::LeftButton, {}, QPoint(10, 10));
    }
  });
  closer.start();
  QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(3, 3));
  return opened;
}

TEST_F(MainWindowControls, HelpTopicsOpenTheirDiagramWindowsModally) {
  form.show();
  form.PageControl1->setCurrentWidget(form.TabSheet2);
  EXPECT_EQ(OpenTopic(form.Label21), QStringList{"TForm6"});
  EXPECT_EQ(OpenTopic(form.Image2), QStringList{"TForm6"});
  EXPECT_EQ(OpenTopic(form.Label17), QStringList{"TForm2"});
  EXPECT_EQ(OpenTopic(form.Image1), QStringList{"TForm2"});
  EXPECT_EQ(OpenTopic(form.Label16), QStringList{"TForm3"});
  EXPECT_EQ(OpenTopic(form.Image3), QStringList{"TForm3"});
  EXPECT_TRUE(dialogs.isEmpty());
  // The internet line: the information first, then the two windows in order.
  EXPECT_EQ(OpenTopic(form.Label12), (QStringList{"Tsplnedir", "TADSlbag"}));
  ASSERT_EQ(dialogs.size(), 1);
  EXPECT_TRUE(
      dialogs[0].startsWith("Bilgi|İnternet bağlantısı olan hat varsa, mutlaka ADSL splitter kullanılır.\r\n"
                            "ADSL Splitter, modemle birlikte verilen bir \"cihazdır\".\r\n\r\n"));
  EXPECT_TRUE(
      dialogs[0].endsWith("bağlantı yapılır. \r\nADSL splitter, sadece internet bağlantısı olan hat için kullanılır."));
  EXPECT_EQ(OpenTopic(form.Image4), (QStringList{"Tsplnedir", "TADSlbag"}));
  for (const auto& w : forms.DiagramWindows) EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowControls, ImportantNotesShowInformationThenWarning) {
  form.show();
  form.PageControl1->setCurrentWidget(form.TabSheet2);
  QTest::mouseClick(form.Label19, Qt::LeftButton, {}, QPoint(3, 3));
  ASSERT_EQ(dialogs.size(), 2);
  EXPECT_TRUE(
      dialogs[0].startsWith("Bilgi|Caller ID cihazları, santralin gönderdiği arayan numara bilgisini, "
                            "bilgisayara aktarır. \r\nKabloya"));
  EXPECT_TRUE(
      dialogs[0].endsWith("\r\n 444 1 444 nolu  Türk Telekom servisini aramak suretiyle telefon hattının "
                          "numara gösterme özelliği açtırılabilir."));
  EXPECT_TRUE(
      dialogs[1].startsWith("Uyarı|Telefon kapalı ve zil çalmıyorsa, sinyal göstergeleri en fazla 0..2 "
                            "civarında olmalıdır. \r\nDaha yüksek ise sorun var demektir. İnternet hattında, "
                            "ADSL Siplitter kullanılmamış  veya ters bağlı olabilir. \r\n\r\nZil"));
  EXPECT_TRUE(dialogs[1].endsWith("Normal bir durumdur.\r\nFakat mutlaka, \"Caller ID sinyali var\" anlamına GELMEZ "));
  EXPECT_TRUE(form.Label19->font().underline());
}

TEST_F(MainWindowControls, HelpLayoutThumbnailsAndTheOkButtons) {
  EXPECT_EQ(form.GroupBox1->title(), QStringLiteral("  Yardım Konuları  "));
  EXPECT_EQ(form.Label21->pos(), QPoint(89, 43));
  EXPECT_EQ(form.Label19->pos(), QPoint(90, 345));
  EXPECT_EQ(form.Label12->text(), QStringLiteral("İnternet hattı, cihaza böyle bağlanır >"));
  EXPECT_EQ(form.Label21->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form.Image4->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form.Label21->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(form.Image2->geometry(), QRect(382, 16, 96, 68));
  EXPECT_EQ(form.Image4->geometry(), QRect(382, 255, 96, 68));
  // Transparent by the bottom-left pixel's colour: the corners are not drawn.
  const QImage thumb = form.Image2->pixmap().toImage();
  EXPECT_EQ(qAlpha(thumb.pixel(0, 67)), 0);
  EXPECT_EQ(qAlpha(thumb.pixel(48, 34)), 255);
  EXPECT_EQ(form.BitBtn3->geometry(), QRect(382, 331, 97, 30));
  EXPECT_EQ(form.Label10->text(), QStringLiteral("Ayarlar otomatiktir. "));
  EXPECT_EQ(form.BitBtn2->geometry(), QRect(402, 323, 97, 30));
  for (TBitBtn* ok : {form.BitBtn3, form.BitBtn2}) {
    form.PageControl1->setCurrentIndex(1);
    ok->click();
    EXPECT_EQ(form.PageControl1->currentWidget(), form.TabSheet1);
  }
}

}  // namespace
