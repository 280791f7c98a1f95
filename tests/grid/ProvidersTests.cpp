#include <gtest/gtest.h>
#include <malloc.h>

#include "TestSupport.h"
#include "grid/Providers.h"
#include "platform/Exceptions.h"
#include "platform/Themes.h"

namespace {

struct Surface {
  QImage image;
  TCanvas canvas;
  explicit Surface(int w = 40, int h = 30, QColor fill = Qt::white)
      : image(w, h, QImage::Format_RGB32), canvas(&image) {
    image.fill(fill);
  }
  TColor At(int x, int y) {
    canvas.Release();
    return FromQColor(QColor::fromRgb(image.pixel(x, y)));
  }
};

// Runs a test body with one theme look and puts the default back.
struct ThemeLook {
  explicit ThemeLook(bool active) { SetThemesActive(active); }
  ~ThemeLook() { SetThemesActive(true); }
};

TEST(CalcProvider, ArithmeticAndGeometry) {
  EXPECT_DOUBLE_EQ(TCalcProvider::Percent(1, 4), 25.0);
  EXPECT_TRUE(TCalcProvider::RectsIntersect(TRect(0, 0, 10, 10), TRect(10, 10, 20, 20)));
  EXPECT_FALSE(TCalcProvider::RectsIntersect(TRect(0, 0, 10, 10), TRect(11, 0, 20, 10)));
  EXPECT_EQ(TCalcProvider::AlignBox(13, 13, 2, TRect(0, 0, 20, 20), taCenter, vaMiddle), TPoint(4, 4));
  EXPECT_EQ(TCalcProvider::AlignBox(13, 13, 2, TRect(0, 0, 20, 20), taRightJustify, vaBottom), TPoint(5, 5));
  EXPECT_EQ(TCalcProvider::AlignBox(13, 13, 2, TRect(10, 10, 30, 30), taLeftJustify, vaTop), TPoint(12, 12));
  // Division truncates toward zero for negative spans too.
  EXPECT_EQ(TCalcProvider::AlignBox(3, 3, 0, TRect(0, 0, -5, -5), taCenter, vaMiddle), TPoint(-3, -3));
  EXPECT_EQ(TCalcProvider::InflateSides(TRect(10, 10, 20, 20), 2, 0, -1, -1), TRect(12, 10, 19, 19));
}

TEST(GraphicsProvider, BlendColorsRoundsDownPerChannel) {
  EXPECT_EQ(TGraphicsProvider::BlendColors(clWhite, clBlack, 255), RGB(254, 254, 254));
  EXPECT_EQ(TGraphicsProvider::BlendColors(clWhite, clBlack, 0), clBlack);
  EXPECT_EQ(TGraphicsProvider::BlendColors(clBlack, clWhite, 0), RGB(254, 254, 254));
  EXPECT_EQ(TGraphicsProvider::BlendColors(RGB(200, 100, 50), RGB(0, 50, 250), 128), RGB(100, 74, 149));
  // System colours are resolved first: clBtnFace is (212, 208, 200).
  EXPECT_EQ(TGraphicsProvider::BlendColors(clBtnFace, clBlack, 255), RGB(211, 207, 199));
  EXPECT_EQ(TMaskProvider::BlendColors(clWhite, clBlack, 255), RGB(254, 254, 254));
  // Out-of-range weights act as the nearest end, never as another colour.
  EXPECT_EQ(TGraphicsProvider::BlendColors(RGB(200, 0, 0), RGB(0, 0, 200), 300), RGB(199, 0, 0));
  EXPECT_EQ(TGraphicsProvider::BlendColors(RGB(200, 0, 0), RGB(0, 0, 200), -5), RGB(0, 0, 199));
}

TEST(GraphicsProvider, MixColorsRoundsHalvesToEven) {
  EXPECT_EQ(TGraphicsProvider::MixColors(RGB(1, 1, 1), RGB(2, 2, 2), 0.5), RGB(2, 2, 2));
  EXPECT_EQ(TGraphicsProvider::MixColors(RGB(0, 0, 0), RGB(1, 1, 1), 0.5), RGB(0, 0, 0));
  EXPECT_EQ(TGraphicsProvider::MixColors(RGB(10, 20, 30), RGB(200, 100, 0), 0), RGB(10, 20, 30));
  EXPECT_EQ(TGraphicsProvider::MixColors(RGB(10, 20, 30), RGB(200, 100, 0), 1), RGB(200, 100, 0));
  EXPECT_EQ(TGraphicsProvider::MixColors(clWindow, clHighlight, 0.25), RGB(194, 200, 218));
  // Ratios outside 0..1 stay inside the channel instead of spilling over.
  EXPECT_EQ(TGraphicsProvider::MixColors(RGB(0, 0, 0), RGB(200, 200, 200), 2), RGB(255, 255, 255));
}

TEST(MaskProvider, LuminanceAndSplit) {
  EXPECT_EQ(TMaskProvider::Luminance(clWhite), 255);
  EXPECT_EQ(TMaskProvider::Luminance(clRed), 76);
  EXPECT_EQ(TMaskProvider::Luminance(clBtnShadow), 128);
  int r = 0, g = 0, b = 0;
  TMaskProvider::SplitColor(clBtnFace, r, g, b);
  EXPECT_EQ(std::tuple(r, g, b), std::tuple(212, 208, 200));
}

TEST(GraphicsProvider, GradientsGiveEachLineItsMixAndStopShortOfC2) {
  Surface s;
  TGraphicsProvider::GradientVertical(&s.canvas, TRect(2, 2, 10, 6), clBlack, RGB(200, 100, 40));
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(s.At(2, 2 + i), TGraphicsProvider::MixColors(clBlack, RGB(200, 100, 40), i / 4.0)) << i;
  EXPECT_EQ(s.At(2, 5), RGB(150, 75, 30));
  EXPECT_EQ(s.At(9, 3), RGB(50, 25, 10));
  EXPECT_EQ(s.At(10, 3), clWhite);  // lines leave out their end pixel
  EXPECT_EQ(s.At(2, 6), clWhite);

  TGraphicsProvider::GradientHorizontal(&s.canvas, TRect(20, 0, 22, 3), clBlack, clWhite);
  EXPECT_EQ(s.At(20, 0), clBlack);
  EXPECT_EQ(s.At(21, 2), RGB(128, 128, 128));
  EXPECT_EQ(s.At(20, 3), clWhite);

  Surface flat;
  const QImage before = flat.image.copy();
  TGraphicsProvider::GradientVertical(&flat.canvas, TRect(0, 5, 10, 5), clRed, clBlue);
  flat.canvas.Release();
  EXPECT_EQ(flat.image, before);
  TGraphicsProvider::GradientVertical(&flat.canvas, TRect(0, 5, 10, 6), clRed, clBlue);
  EXPECT_EQ(flat.At(0, 5), clRed);
}

TEST(GraphicsProvider, DrawTextShowsAmpersandsAndLeavesTheBrushSolid) {
  Surface provider(120, 20), direct(120, 20);
  TGraphicsProvider::DrawText(&provider.canvas, TRect(0, 0, 120, 20), taLeftJustify, QStringLiteral("A&&B"), false);
  TRect r(0, 0, 120, 20);
  direct.canvas.Brush()->SetStyle(bsClear);
  direct.canvas.DrawText(QStringLiteral("A&&B"), r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  provider.canvas.Release();
  direct.canvas.Release();
  EXPECT_EQ(provider.image, direct.image);
  EXPECT_EQ(provider.canvas.Brush()->Style(), bsSolid);

  Surface prefixed(120, 20);
  TRect p(0, 0, 120, 20);
  prefixed.canvas.Brush()->SetStyle(bsClear);
  prefixed.canvas.DrawText(QStringLiteral("A&&B"), p, DT_SINGLELINE | DT_VCENTER);
  prefixed.canvas.Release();
  EXPECT_NE(prefixed.image, provider.image);
}

TEST(GraphicsProvider, DrawTextCutsLongTextWithDotsInsideTheRectangle) {
  Surface s(200, 20);
  TGraphicsProvider::DrawText(&s.canvas, TRect(10, 0, 60, 20), taRightJustify,
                              QStringLiteral("Arayan numara çok uzun bir metin"), false);
  s.canvas.Release();
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 200; ++x)
      if (x < 10 || x >= 60) {
        ASSERT_EQ(s.image.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
      }
  }
}

TEST(GraphicsProvider, ClassicCheckBoxPixels) {
  ThemeLook classic(false);
  Surface s;
  // Box at AlignBox(11, 11, 2, (0, 0, 20, 20), centre, middle) = (5, 5).
  TGraphicsProvider::DrawCheckBox(nullptr, &s.canvas, TRect(0, 0, 20, 20), taCenter, vaMiddle, true, false, false);
  EXPECT_EQ(s.At(5, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(15, 15), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(16, 16), clWhite);
  EXPECT_EQ(s.At(6, 6), ColorToRGB(clWindow));
  for (auto [x, y] : {std::pair{2, 4}, {3, 5}, {4, 6}, {4, 8}, {5, 5}, {8, 2}, {8, 4}})
    EXPECT_EQ(s.At(5 + x, 5 + y), clBlack) << x << "," << y;
  EXPECT_EQ(s.At(5 + 9, 5 + 1), ColorToRGB(clWindow));  // end points left out
  EXPECT_EQ(s.At(5 + 2, 5 + 7), ColorToRGB(clWindow));

  Surface pressed;
  TGraphicsProvider::DrawCheckBox(nullptr, &pressed.canvas, TRect(0, 0, 20, 20), taLeftJustify, vaTop, false, true,
                                  false);
  EXPECT_EQ(pressed.At(2, 2), ColorToRGB(clBtnShadow));
  EXPECT_EQ(pressed.At(3, 3), ColorToRGB(clBtnFace));
  EXPECT_EQ(pressed.At(2 + 4, 2 + 6), ColorToRGB(clBtnFace));  // no mark
}

TEST(GraphicsProvider, ThemedCheckBoxIsThirteenPixelsAndShowsItsState) {
  ThemeLook themed(true);
  Surface unchecked(20, 20), checked(20, 20);
  TGraphicsProvider::DrawCheckBox(nullptr, &unchecked.canvas, TRect(0, 0, 20, 20), taCenter, vaMiddle, false, false,
                                  false);
  TGraphicsProvider::DrawCheckBox(nullptr, &checked.canvas, TRect(0, 0, 20, 20), taCenter, vaMiddle, true, false,
                                  false);
  unchecked.canvas.Release();
  checked.canvas.Release();
  EXPECT_NE(unchecked.image, checked.image);
  // Only the 13 × 13 box at (4, 4) is touched.
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      if (x < 4 || y < 4 || x >= 17 || y >= 17) {
        ASSERT_EQ(checked.At(x, y), clWhite) << x << "," << y;
      }
  EXPECT_NE(checked.At(4, 10), clWhite);  // the frame
}

TEST(GraphicsProvider, IndicatorCellFlatCurrentAndSelected) {
  Surface s(12, 40, Qt::black);
  const TRect r(0, 10, 12, 27);
  TGraphicsProvider::DrawIndicator(&s.canvas, r, true, false, false);
  EXPECT_EQ(s.At(0, 10), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.At(0, 27), ColorToRGB(clBtnHighlight));  // the left line reaches one below
  EXPECT_EQ(s.At(1, 10), ColorToRGB(clBtnFace));       // rounded corners
  EXPECT_EQ(s.At(10, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(s.At(2, 10), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.At(11, 12), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(5, 26), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(1, 26), ColorToRGB(clBtnFace));
  // The arrow: p = AlignBox(6, 11, 0, r, centre, middle) = (3, 13).
  EXPECT_EQ(s.At(3, 13), clBlack);
  EXPECT_EQ(s.At(8, 18), clBlack);
  EXPECT_EQ(s.At(3, 23), clBlack);
  EXPECT_EQ(s.At(7, 14), ColorToRGB(clBtnFace));
  EXPECT_EQ(s.At(0, 28), clBlack);  // below the cell untouched

  Surface selected(12, 40, Qt::black);
  TGraphicsProvider::DrawIndicator(&selected.canvas, r, true, true, false);
  EXPECT_EQ(selected.At(3, 13), clWhite);
  EXPECT_EQ(selected.At(7, 14), ColorToRGB(clBtnFace) ^ 0xFFFFFF);
  EXPECT_EQ(selected.At(0, 27), ColorToRGB(clBtnHighlight));  // outside r: not inverted
  EXPECT_EQ(selected.canvas.CopyMode(), SRCCOPY);
}

TEST(GraphicsProvider, OldStyleIndicatorIsAPushedButtonFace) {
  Surface s(12, 20, Qt::black);
  TGraphicsProvider::DrawIndicator(&s.canvas, TRect(0, 0, 12, 17), false, false, true);
  EXPECT_EQ(s.At(0, 0), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.At(0, 15), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.At(11, 0), ColorToRGB(clWindowFrame));
  EXPECT_EQ(s.At(0, 16), ColorToRGB(clWindowFrame));
  EXPECT_EQ(s.At(11, 16), ColorToRGB(clWindowFrame));
  EXPECT_EQ(s.At(5, 5), ColorToRGB(clBtnFace));
}

TEST(GraphicsProvider, FocusDottedIsErasedByASecondDrawAndRestoresColours) {
  Surface s;
  const QImage before = s.image.copy();
  TGraphicsProvider::DrawFocus(&s.canvas, TRect(2, 2, 12, 8), false);
  EXPECT_EQ(s.At(2, 2), clBlack);
  EXPECT_EQ(s.At(3, 2), clWhite);
  EXPECT_EQ(s.canvas.TextColor(), clBlack);
  EXPECT_EQ(s.canvas.BkColor(), clWhite);
  TGraphicsProvider::DrawFocus(&s.canvas, TRect(2, 2, 12, 8), false);
  s.canvas.Release();
  EXPECT_EQ(s.image, before);
  TGraphicsProvider::DrawFocus(&s.canvas, TRect(2, 2, 12, 8), true);
  EXPECT_EQ(s.At(3, 2), ColorToRGB(clHighlight));
  EXPECT_EQ(s.At(11, 7), ColorToRGB(clHighlight));
  EXPECT_EQ(s.At(5, 5), clWhite);
}

TEST(MaskProvider, DrawMaskedBlendsByTheMaskGreyLevel) {
  Surface s(16, 16, QColor(0, 0, 200));
  QImage image(4, 1, QImage::Format_RGB32), mask(4, 1, QImage::Format_RGB32);
  image.fill(QColor(200, 0, 0));
  mask.setPixel(0, 0, qRgb(255, 255, 255));
  mask.setPixel(1, 0, qRgb(0, 0, 0));
  mask.setPixel(2, 0, qRgb(128, 128, 128));
  mask.setPixel(3, 0, qRgb(255, 0, 0));  // luminance 76
  TMaskProvider::DrawMasked(&s.canvas, 3, 4, image, mask);
  EXPECT_EQ(s.At(3, 4), RGB(199, 0, 0));
  EXPECT_EQ(s.At(4, 4), RGB(0, 0, 199));
  EXPECT_EQ(s.At(5, 4), TGraphicsProvider::BlendColors(RGB(200, 0, 0), RGB(0, 0, 200), 128));
  EXPECT_EQ(s.At(6, 4), TGraphicsProvider::BlendColors(RGB(200, 0, 0), RGB(0, 0, 200), 76));
  EXPECT_EQ(s.At(7, 4), RGB(0, 0, 200));
}

TEST(MaskProvider, SizeMismatchRaisesAndDrawsNothing) {
  Surface s;
  const QImage before = s.image.copy();
  TBitmap image(16, 16), mask(16, 15);
  try {
    TMaskProvider::DrawMasked(&s.canvas, 0, 0, image, mask);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Image and Mask size differ");
  }
  s.canvas.Release();
  EXPECT_EQ(s.image, before);
}

TEST(DrawProvider, ThirtyTwoBitPicturesBlendByAlphaOthersDrawPlainly) {
  Surface s(10, 10, QColor(0, 0, 255));
  TBitmap picture(2, 1, pf32bit);
  picture.Image().setPixel(0, 0, qRgba(255, 0, 0, 128));
  picture.Image().setPixel(1, 0, qRgba(255, 0, 0, 0));
  TDrawProvider::DrawGraphic(&s.canvas, 1, 1, picture);
  EXPECT_EQ(s.At(1, 1), TGraphicsProvider::BlendColors(clRed, clBlue, 128));
  EXPECT_EQ(s.At(2, 1), RGB(0, 0, 254));

  TBitmap plain(2, 1, pf24bit);
  plain.Canvas()->Brush()->SetColor(clRed);
  plain.Canvas()->FillRect(TRect(0, 0, 2, 1));
  TDrawProvider::DrawGraphic(&s.canvas, 1, 3, plain);
  EXPECT_EQ(s.At(2, 3), clRed);
}

TEST(Themes, SwitchAtRunTimeAndReportFailures) {
  SetThemesActive(false);
  EXPECT_FALSE(ThemesActive());
  SetThemesActive(true);
  EXPECT_TRUE(ThemesActive());
  SetThemeStyleName(QStringLiteral("NoSuchStyle"));
  try {
    ThemesActive();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Error in Themes");
  }
  SetThemeStyleName(QStringLiteral("Fusion"));
  EXPECT_TRUE(ThemesActive());
}

TEST(Themes, EveryPartTheSuiteUsesDrawsInsideItsRectangle) {
  struct Part {
    TThemeClass cls;
    int part;
    int state;
  };
  for (const Part& p :
       {Part{TThemeClass::Button, 1, 1}, Part{TThemeClass::Button, 1, 3}, Part{TThemeClass::Button, 3, 5},
        Part{TThemeClass::Header, 1, 2}, Part{TThemeClass::Header, 2, 1}, Part{TThemeClass::Edit, 1, 0},
        Part{TThemeClass::ComboBox, 1, 1}, Part{TThemeClass::Spin, 1, 1}, Part{TThemeClass::Spin, 2, 3},
        Part{TThemeClass::Rebar, 0, 1}, Part{TThemeClass::ListView, 1, 0}}) {
    Surface s(40, 30, QColor(1, 2, 3));
    DrawThemed(nullptr, &s.canvas, TRect(5, 5, 25, 21), p.cls, p.part, p.state);
    s.canvas.Release();
    bool drew = false;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool inside = x >= 5 && x < 25 && y >= 5 && y < 21;
        const bool changed = (s.image.pixel(x, y) & 0xFFFFFF) != 0x010203;
        if (!inside) {
          ASSERT_FALSE(changed) << int(p.cls) << p.part << " at " << x << "," << y;
        }
        drew = drew || changed;
      }
    EXPECT_TRUE(drew) << int(p.cls) << p.part;
  }
  Surface s;
  EXPECT_THROW(DrawThemed(nullptr, &s.canvas, TRect(0, 0, 5, 5), TThemeClass::Header, 4, 1), Exception);
}

// The style keeps the pixmaps it draws with, keyed by the palette among
// other things: painting the same parts again must find them, not add more.
TEST(Themes, RepaintingThePartsAddsNothingToTheStylesCaches) {
  Surface s(60, 30);
  const auto paintAll = [&s] {
    DrawThemed(nullptr, &s.canvas, TRect(0, 0, 60, 20), TThemeClass::Header, 1, 1);
    DrawThemed(nullptr, &s.canvas, TRect(0, 0, 60, 20), TThemeClass::Button, 1, 2);
    DrawThemed(nullptr, &s.canvas, TRect(0, 0, 16, 16), TThemeClass::Button, 3, 5);
  };
  paintAll();
  const size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 2000; ++i) paintAll();
  const size_t after = mallinfo2().uordblks;
  EXPECT_LT(after, before + 256 * 1024) << "heap grew by " << (after - before) / 1024 << " kB";
}

}  // namespace
