#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/CodePage.h"

TEST(CodePage, TurkishLettersTakeTheirOwnBytes) {
  const QString turkish = QStringLiteral("ĞİŞğış Çç Öö Üü");
  const QByteArray bytes = ToAnsi(turkish);
  EXPECT_EQ(bytes, QByteArray("\xD0\xDD\xDE\xF0\xFD\xFE \xC7\xE7 \xD6\xF6 \xDC\xFC"));
  EXPECT_EQ(FromAnsi(bytes), turkish);
}

TEST(CodePage, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  EXPECT_EQ(ToAnsi(FromAnsi(all)), all);
  EXPECT_EQ(FromAnsi(QByteArray("\x80\x9F")), QStringLiteral("€Ÿ"));
}

TEST(CodePage, CharactersOutsideBecomeOneQuestionMarkEach) {
  EXPECT_EQ(ToAnsi(QStringLiteral("aĀb")), QByteArray("a?b"));
  EXPECT_EQ(ToAnsi(QStringLiteral("x😀y")), QByteArray("x?y"));  // one code point, two units
  EXPECT_EQ(ToAnsi(QStringLiteral("Ж€")), QByteArray("?\x80"));
  EXPECT_EQ(AnsiRoundTrip(QStringLiteral("Ğ日")), QStringLiteral("Ğ?"));
}
