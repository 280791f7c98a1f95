#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>

#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Sound.h"

namespace {

QImage Filled(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(colour);
  return image;
}

TEST(ImageList, PicturesTakeTheListsSizeAndBadIndicesRaise) {
  TImageList list(nullptr, 16, 16);
  EXPECT_EQ(list.Add(Filled(16, 16, qRgb(255, 0, 0))), 0);
  EXPECT_EQ(list.Add(Filled(32, 8, qRgb(0, 0, 255))), 1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Image(1).size(), QSize(16, 16));
  EXPECT_EQ(list.Image(1).pixel(8, 8), qRgb(0, 0, 255));
  TIcon icon;
  list.GetIcon(0, icon);
  EXPECT_EQ(icon.Image().pixel(3, 3), qRgb(255, 0, 0));
  EXPECT_THROW(list.Image(2), EListError);
  EXPECT_THROW(list.GetIcon(-1, icon), EListError);
  EXPECT_THROW(list.Add(QImage()), EInvalidGraphic);
  list.SetWidth(32);
  EXPECT_EQ(list.Count(), 0);
}

TEST(Icon, HandlesNameThePictureUntilItChanges) {
  TIcon empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Handle(), 0u);

  TIcon icon(Filled(16, 16, qRgb(1, 2, 3)));
  const HICON first = icon.Handle();
  EXPECT_NE(first, 0u);
  EXPECT_EQ(icon.Handle(), first);
  EXPECT_EQ(IconImage(first).pixel(0, 0), qRgb(1, 2, 3));

  TIcon copy(icon);
  EXPECT_NE(copy.Handle(), first);  // a copy is a picture of its own

  icon.SetImage(Filled(16, 16, qRgb(9, 9, 9)));
  EXPECT_TRUE(IconImage(first).isNull());  // the old handle is gone
  EXPECT_EQ(IconImage(icon.Handle()).pixel(0, 0), qRgb(9, 9, 9));
}

TEST(PopupMenu, ItemsKeepOrderAndTheFirstDefaultWins) {
  TPopupMenu menu;
  TMenuItem* clear = menu.Add("Listeyi sil");
  TMenuItem* exit = menu.Add("Çıkış");
  EXPECT_EQ(menu.Count(), 2);
  EXPECT_EQ(menu.Items(1), exit);
  EXPECT_EQ(menu.Menu()->actions().at(0)->text(), QStringLiteral("Listeyi sil"));
  EXPECT_EQ(menu.DefaultItem(), nullptr);
  exit->SetDefault(true);
  clear->SetDefault(true);
  EXPECT_EQ(menu.DefaultItem(), clear);
  EXPECT_TRUE(clear->Action()->font().bold());
  EXPECT_THROW(menu.Items(2), EListError);
}

TEST(PopupMenu, ChoosingAnItemRaisesItsClickAndPopupsCanBeRecorded) {
  TPopupMenu menu;
  QStringList log;
  TMenuItem* item = menu.Add("Çıkış");
  item->OnClick = [&](TObject* s) { log << (s == item ? "click" : "wrong sender"); };
  item->Action()->trigger();
  TPopupMenu::SetPopupHook(
      [&](TPopupMenu* m, int x, int y) { log << QStringLiteral("popup %1 %2 %3").arg(m == &menu).arg(x).arg(y); });
  menu.Popup(10, 20);
  TPopupMenu::SetPopupHook(nullptr);
  EXPECT_EQ(log, (QStringList{"click", "popup 1 10 20"}));
}

TEST(Sound, TonesGoToTheHookAndBadFrequenciesAreRefused) {
  QStringList tones;
  Sound::SetBeepHook([&](uint32_t f, uint32_t ms) { tones << QStringLiteral("%1/%2").arg(f).arg(ms); });
  EXPECT_TRUE(Sound::Beep(1000, 100));
  EXPECT_FALSE(Sound::Beep(36, 100));
  EXPECT_FALSE(Sound::Beep(32768, 100));
  Sound::SetBeepHook(nullptr);
  EXPECT_EQ(tones, QStringList{"1000/100"});
}

TEST(Sound, ARealToneLastsItsLength) {
  QElapsedTimer t;
  t.start();
  EXPECT_TRUE(Sound::Beep(1000, 60));
  EXPECT_GE(t.elapsed(), 55);  // a tone or the same length of silence
  EXPECT_LT(t.elapsed(), 1500);
}

}  // namespace
