// The error report, the popup menu and the tray icon as the program uses them.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTextEdit>

#include "FakeZarvo.h"
#include "TestSupport.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "platform/Menus.h"
#include "platform/Shell.h"
#include "tray/NotifyIcon.h"

namespace {

class MainWindowTray : public ::testing::Test {
 protected:
  std::shared_ptr<TShellRecorder> shell = std::make_shared<TShellRecorder>();
  QStringList popups;
  TFakeZarvoClass fakeClass;
  std::optional<TForms> forms;
  TForm1* form = nullptr;

  void SetUp() override {
    SetShellBackend(shell);
    TPopupMenu::SetPopupHook([this](TPopupMenu* m, int, int) {
      QStringList items;
      for (int i = 0; i < m->Count(); ++i) items << m->Items(i)->Caption();
      popups << items.join('|');
    });
    forms.emplace(CreateForms());
    form = forms->Form1.get();
  }
  void TearDown() override {
    forms.reset();
    TPopupMenu::SetPopupHook(nullptr);
    SetShellBackend(nullptr);
  }
  QStringList MemoLines() const { return form->Memo2->toPlainText().split('\n', Qt::SkipEmptyParts); }
};

TEST_F(MainWindowTray, TwoErrorsInARowLeaveExactlyThoseTwoLines) {
  form->ApplicationEvents1Exception(nullptr, Exception("first"));
  form->ApplicationEvents1Exception(nullptr, Exception("second"));
  const QStringList lines = MemoLines();
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].endsWith(":first"));
  EXPECT_TRUE(lines[1].endsWith(":second"));
}

TEST_F(MainWindowTray, ClearingTheListRestoresNoticeAndCounterEvenWhenEmpty) {
  form->ApplicationEvents1Exception(nullptr, Exception("boom"));
  form->Listeyisil1->Click();
  EXPECT_EQ(form->Label5->text(), QStringLiteral("0"));
  EXPECT_EQ(form->CallCounter(), 0);
  EXPECT_EQ(MemoLines(),
            (QStringList{QStringLiteral("Cihaz ile ilgili başka program çalışıyorsa lütfen sonlandırınız."),
                         QStringLiteral("Aynı anda, 1 uygulama cihaza  bağlantı sağlayabilir.")}));
}

TEST_F(MainWindowTray, AnErrorOpeningTheStatusMenuBecomesOneLineOfTheBox) {
  TPopupMenu::SetPopupHook([](TPopupMenu*, int, int) { throw EConvertError(QStringLiteral("menu")); });
  form->show();
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), form->Label9->mapToGlobal(QPoint(2, 2)));
  EXPECT_NO_THROW(QApplication::sendEvent(form->Label9, &event));
  ASSERT_FALSE(MemoLines().isEmpty());
  EXPECT_TRUE(MemoLines().last().endsWith(":menu"));
}

TEST_F(MainWindowTray, MenuItemsInOrderWithoutDefault) {
  ASSERT_EQ(form->PopupMenu1->Count(), 2);
  EXPECT_EQ(form->PopupMenu1->Items(0)->Caption(), QStringLiteral("Listeyi sil"));
  EXPECT_EQ(form->PopupMenu1->Items(1)->Caption(), QStringLiteral("Çıkış"));
  EXPECT_EQ(form->PopupMenu1->DefaultItem(), nullptr);
}

TEST_F(MainWindowTray, RightClickOnStatusLabelsAndTheTrayIconOpensTheSameMenu) {
  form->show();
  for (QLabel* label : {form->Label9, form->Label24, form->Label25}) {
    label->setText("xxxxxxxx");
    label->adjustSize();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &event);
  }
  shell->Notify(form->TrayIcon1->Identifier(), WM_RBUTTONDOWN);
  EXPECT_EQ(popups, QStringList(4, QStringLiteral("Listeyi sil|Çıkış")));
  // A right click on another label opens nothing.
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(2, 2));
  QApplication::sendEvent(form->Label22, &event);
  EXPECT_EQ(popups.size(), 4);
}

TEST_F(MainWindowTray, TrayIconIsAddedWithoutTipAndLeavesWhenTheProgramEnds) {
  const auto isAdd = [](const TShellRecorder::TRequest& r) { return r.message == NIM_ADD; };
  ASSERT_EQ(std::count_if(shell->Requests.begin(), shell->Requests.end(), isAdd), 1);
  const auto& add = *std::find_if(shell->Requests.begin(), shell->Requests.end(), isAdd);
  EXPECT_EQ(add.data.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  EXPECT_NE(add.data.hIcon, HICON(0));
  EXPECT_EQ(QByteArray(add.data.szTip, 128), QByteArray(128, '\0'));
  EXPECT_TRUE(form->TrayIcon1->IconVisible());
  EXPECT_EQ(form->TrayIcon1->CycleInterval(), 400u);
  EXPECT_TRUE(form->TrayIcon1->WantEnterExitEvents());
  const uint32_t id = form->TrayIcon1->Identifier();
  forms.reset();
  ASSERT_FALSE(shell->Requests.empty());
  EXPECT_EQ(shell->Requests.back().message, NIM_DELETE);
  EXPECT_EQ(shell->Requests.back().data.uID, id);
}

TEST_F(MainWindowTray, ExitItemClosesTheMainWindow) {
  form->show();
  ASSERT_TRUE(form->isVisible());
  form->ki1->Click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(Application->Terminated());
}

}  // namespace
