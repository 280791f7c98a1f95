#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"

namespace {

// A white image with a canvas on it; pixels are read back as TColor.
struct Surface {
  QImage image;
  TCanvas canvas;
  explicit Surface(int w = 40, int h = 30) : image(w, h, QImage::Format_RGB32), canvas(&image) {
    image.fill(Qt::white);
  }
  TColor At(int x, int y) {
    canvas.Release();
    return FromQColor(QColor::fromRgb(image.pixel(x, y)));
  }
  // Columns (or rows) holding any non-white pixel.
  QRect Ink() {
    canvas.Release();
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
    return box;
  }
};

TEST(Canvas, LinesLeaveOutTheirEndPixel) {
  Surface s;
  s.canvas.Pen()->SetColor(clRed);
  s.canvas.MoveTo(2, 2);
  s.canvas.LineTo(10, 2);
  EXPECT_EQ(s.At(2, 2), clRed);
  EXPECT_EQ(s.At(9, 2), clRed);
  EXPECT_EQ(s.At(10, 2), clWhite);
  s.canvas.MoveTo(5, 5);
  s.canvas.LineTo(5, 9);
  EXPECT_EQ(s.At(5, 8), clRed);
  EXPECT_EQ(s.At(5, 9), clWhite);
  s.canvas.MoveTo(20, 5);
  s.canvas.LineTo(25, 10);
  EXPECT_EQ(s.At(24, 9), clRed);
  EXPECT_EQ(s.At(25, 10), clWhite);
  EXPECT_EQ(s.canvas.PenPos(), TPoint(25, 10));
}

// Every direction: the start pixel drawn, the end pixel left out, one pixel
// per step along the main axis.
TEST(Canvas, LinesInEveryDirectionKeepTheirStartAndLeaveOutTheirEnd) {
  const TPoint from(10, 10);
  for (int dx = -4; dx <= 4; ++dx)
    for (int dy = -4; dy <= 4; ++dy) {
      if (std::max(std::abs(dx), std::abs(dy)) != 4) continue;
      Surface s;
      s.canvas.Pen()->SetColor(clRed);
      s.canvas.MoveTo(from.X, from.Y);
      s.canvas.LineTo(from.X + dx, from.Y + dy);
      const std::string line = std::to_string(dx) + "," + std::to_string(dy);
      EXPECT_EQ(s.At(from.X, from.Y), clRed) << line;
      EXPECT_EQ(s.At(from.X + dx, from.Y + dy), clWhite) << line;
      int drawn = 0;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) drawn += s.At(x, y) == clRed;
      EXPECT_EQ(drawn, 4) << line;
    }
}

TEST(Canvas, PolygonOutlinesEveryCornerAndFillsInside) {
  Surface s;
  s.canvas.Pen()->SetColor(clRed);
  s.canvas.Brush()->SetColor(clBlue);
  s.canvas.Polygon({TPoint(15, 0), TPoint(19, 0), TPoint(19, 4)});
  for (const TPoint& corner : {TPoint(15, 0), TPoint(19, 0), TPoint(19, 4)})
    EXPECT_EQ(s.At(corner.X, corner.Y), clRed) << corner.X << "," << corner.Y;
  EXPECT_EQ(s.At(14, 0), clWhite);
  EXPECT_EQ(s.At(15, 1), clWhite);
  EXPECT_EQ(s.At(19, 5), clWhite);
  s.canvas.Polygon({TPoint(2, 10), TPoint(12, 10), TPoint(12, 20), TPoint(2, 20)});
  EXPECT_EQ(s.At(7, 15), clBlue);
  EXPECT_EQ(s.At(12, 20), clRed);
}

TEST(Canvas, PolylineDrawsEveryVertexOnceSoXorKeepsCorners) {
  Surface s;
  s.canvas.Pen()->SetColor(clWhite);
  s.canvas.Pen()->SetMode(pmXor);
  s.canvas.Polyline({TPoint(2, 2), TPoint(8, 2), TPoint(8, 8)});
  EXPECT_EQ(s.At(8, 2), clBlack);  // the corner inverted once, not twice
  EXPECT_EQ(s.At(8, 7), clBlack);
  EXPECT_EQ(s.At(8, 8), clWhite);
}

TEST(Canvas, RectangleFillsWithBrushAndOutlinesInsideTheBox) {
  Surface s;
  s.canvas.Pen()->SetColor(clBlue);
  s.canvas.Brush()->SetColor(clYellow);
  s.canvas.Rectangle(2, 3, 12, 9);
  EXPECT_EQ(s.At(2, 3), clBlue);
  EXPECT_EQ(s.At(11, 8), clBlue);
  EXPECT_EQ(s.At(12, 8), clWhite);
  EXPECT_EQ(s.At(11, 9), clWhite);
  EXPECT_EQ(s.At(3, 4), clYellow);
  EXPECT_EQ(s.At(10, 7), clYellow);
  EXPECT_EQ(s.Ink(), QRect(2, 3, 10, 6));
}

TEST(Canvas, FillAndFrameUseTheBrushAndStopBeforeRightAndBottom) {
  Surface s;
  s.canvas.Brush()->SetColor(clGreen);
  s.canvas.FillRect(TRect(1, 1, 5, 4));
  EXPECT_EQ(s.Ink(), QRect(1, 1, 4, 3));
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.FrameRect(TRect(10, 10, 20, 16));
  EXPECT_EQ(s.At(10, 10), clRed);
  EXPECT_EQ(s.At(19, 15), clRed);
  EXPECT_EQ(s.At(15, 12), clWhite);
  EXPECT_EQ(s.At(20, 15), clWhite);
  s.canvas.Brush()->SetStyle(bsClear);
  s.canvas.FillRect(TRect(25, 25, 30, 30));
  EXPECT_EQ(s.At(26, 26), clWhite);
}

TEST(Canvas, PolygonFillsWithTheWindingRule) {
  Surface s(60, 60);
  s.canvas.Pen()->SetStyle(psClear);
  s.canvas.Brush()->SetColor(clBlack);
  // A five-pointed star: its centre is wound twice, filled under winding.
  s.canvas.Polygon({TPoint(30, 2), TPoint(48, 56), TPoint(2, 22), TPoint(58, 22), TPoint(12, 56)});
  EXPECT_EQ(s.At(30, 32), clBlack);
  EXPECT_EQ(s.At(30, 10), clBlack);
  EXPECT_EQ(s.At(3, 50), clWhite);
}

TEST(Canvas, InvertingPensErasedByDrawingAgain) {
  Surface s;
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.FillRect(TRect(0, 0, 40, 30));
  for (TPenMode mode : {pmNot, pmXor}) {
    s.canvas.Pen()->SetMode(mode);
    s.canvas.Pen()->SetColor(clWhite);
    s.canvas.MoveTo(5, 0);
    s.canvas.LineTo(5, 30);
    EXPECT_EQ(s.At(5, 10), RGB(0, 255, 255)) << int(mode);
    s.canvas.MoveTo(5, 0);
    s.canvas.LineTo(5, 30);
    EXPECT_EQ(s.At(5, 10), clRed) << int(mode);
  }
}

TEST(Canvas, FocusRectIsDottedInvertingAndErasedByASecondDraw) {
  Surface s;
  const QImage before = s.image.copy();
  s.canvas.SetTextColor(clWhite);
  s.canvas.SetBkColor(clBlack);
  s.canvas.DrawFocusRect(TRect(4, 4, 14, 10));
  EXPECT_EQ(s.At(4, 4), clBlack);  // (x + y) even: inverted
  EXPECT_EQ(s.At(5, 4), clWhite);  // odd: left alone
  EXPECT_EQ(s.At(6, 4), clBlack);
  EXPECT_EQ(s.At(13, 9), clBlack);
  EXPECT_EQ(s.At(13, 8), clWhite);
  EXPECT_EQ(s.At(12, 8), clWhite);  // inside stays untouched
  EXPECT_EQ(s.At(13, 5), clBlack);
  s.canvas.DrawFocusRect(TRect(4, 4, 14, 10));
  s.canvas.Release();
  EXPECT_EQ(s.image, before);
}

TEST(Canvas, DstInvertCopyInvertsExactlyTheRectangle) {
  Surface s;
  s.canvas.Brush()->SetColor(RGB(10, 20, 30));
  s.canvas.FillRect(TRect(0, 0, 40, 30));
  s.canvas.SetCopyMode(DSTINVERT);
  s.canvas.CopyRect(TRect(3, 3, 8, 6), &s.canvas, TRect(3, 3, 8, 6));
  EXPECT_EQ(s.At(3, 3), RGB(245, 235, 225));
  EXPECT_EQ(s.At(7, 5), RGB(245, 235, 225));
  EXPECT_EQ(s.At(8, 5), RGB(10, 20, 30));
  EXPECT_EQ(s.At(7, 6), RGB(10, 20, 30));
}

TEST(Canvas, SourceCopyReadsUnchangedPixelsWhenOverlapping) {
  Surface s;
  s.canvas.SetPixels(0, 0, clRed);
  s.canvas.SetPixels(1, 0, clBlue);
  s.canvas.CopyRect(TRect(1, 0, 3, 1), &s.canvas, TRect(0, 0, 2, 1));
  EXPECT_EQ(s.At(1, 0), clRed);
  EXPECT_EQ(s.At(2, 0), clBlue);
  s.canvas.SetCopyMode(0x12345678);
  EXPECT_THROW(s.canvas.CopyRect(TRect(0, 0, 1, 1), &s.canvas, TRect(0, 0, 1, 1)), EInvalidOperation);
}

TEST(Canvas, ClippingIntersectsTheSystemRegion) {
  Surface s;
  s.canvas.SetSystemClip(QRegion(0, 0, 20, 30));
  s.canvas.SetClipRect(TRect(10, 0, 40, 30));
  EXPECT_EQ(s.canvas.ClipRect(), TRect(10, 0, 20, 30));
  s.canvas.Brush()->SetColor(clBlack);
  s.canvas.FillRect(TRect(0, 0, 40, 30));
  EXPECT_EQ(s.Ink(), QRect(10, 0, 10, 30));
  s.canvas.SetPixels(25, 5, clBlack);
  EXPECT_EQ(s.At(25, 5), clWhite);
  s.canvas.ResetClip();
  s.canvas.ClearSystemClip();
  EXPECT_EQ(s.canvas.ClipRect(), TRect(0, 0, 40, 30));
}

TEST(Canvas, OriginShiftsDrawingAndClipping) {
  Surface s;
  s.canvas.SetOrigin(TPoint(10, 5));
  s.canvas.SetClipRect(TRect(0, 0, 4, 4));
  s.canvas.Brush()->SetColor(clBlack);
  s.canvas.FillRect(TRect(0, 0, 20, 20));
  EXPECT_EQ(s.Ink(), QRect(10, 5, 4, 4));
  EXPECT_EQ(s.canvas.Pixels(0, 0), clBlack);
}

TEST(Canvas, TextMeasuresFollowTheFont) {
  Surface s;
  s.canvas.Font()->SetName(QStringLiteral("Arial"));
  s.canvas.Font()->SetHeight(-11);
  const int narrow = s.canvas.TextWidth(QStringLiteral("ii"));
  const int wide = s.canvas.TextWidth(QStringLiteral("WW"));
  EXPECT_GT(wide, narrow);
  const int small = s.canvas.TextHeight(QStringLiteral("X"));
  s.canvas.Font()->SetHeight(-22);
  EXPECT_GT(s.canvas.TextHeight(QStringLiteral("X")), small);
}

TEST(Canvas, TextOutPaintsTheBrushBehindTheTextUnlessClear) {
  Surface s(80, 30);
  s.canvas.Brush()->SetColor(clYellow);
  s.canvas.Font()->SetColor(clBlack);
  s.canvas.TextOut(2, 2, QStringLiteral("Ab"));
  const int w = s.canvas.TextWidth(QStringLiteral("Ab")), h = s.canvas.TextHeight(QStringLiteral("Ab"));
  EXPECT_EQ(s.At(2 + w - 1, 2), clYellow);
  EXPECT_EQ(s.At(2 + w, 2), clWhite);
  EXPECT_EQ(s.At(2, 2 + h), clWhite);
  EXPECT_EQ(s.canvas.PenPos(), TPoint(2 + w, 2));
  s.canvas.Brush()->SetStyle(bsClear);
  s.canvas.TextOut(40, 2, QStringLiteral("Ab"));
  EXPECT_EQ(s.At(40 + w - 1, 2), clWhite);
}

// Flags of DrawText, each checked on where the ink lands.
TEST(CanvasDrawText, AlignsSingleLinesInTheRectangle) {
  Surface s(120, 40);
  s.canvas.Brush()->SetStyle(bsClear);
  const QString text = QStringLiteral("Hg");
  const int w = s.canvas.TextWidth(text), h = s.canvas.TextHeight(text);
  TRect r(0, 0, 120, 40);
  s.canvas.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  const QRect ink = s.Ink();
  EXPECT_LE(ink.right(), 119);
  EXPECT_GE(ink.left(), 120 - w);
  EXPECT_GE(ink.top(), (40 - h) / 2);
  EXPECT_LE(ink.bottom(), (40 - h) / 2 + h);

  Surface bottom(120, 40);
  bottom.canvas.Brush()->SetStyle(bsClear);
  bottom.canvas.DrawText(text, r, DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
  EXPECT_GE(bottom.Ink().top(), 40 - h);
  EXPECT_GE(bottom.Ink().left(), (120 - w) / 2);
  EXPECT_LE(bottom.Ink().right(), (120 - w) / 2 + w);
}

TEST(CanvasDrawText, PrefixesAndEllipsis) {
  Surface s(200, 40);
  TRect r(0, 0, 200, 40);
  TRect measured = r;
  s.canvas.DrawText(QStringLiteral("a&&b"), measured, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(measured.Width(), s.canvas.TextWidth(QStringLiteral("a&b")));
  measured = r;
  s.canvas.DrawText(QStringLiteral("a&&b"), measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(measured.Width(), s.canvas.TextWidth(QStringLiteral("a&&b")));

  const QString longText = QStringLiteral("A rather long caption that cannot fit");
  TRect narrow(0, 0, 60, 20);
  measured = narrow;
  s.canvas.DrawText(longText, measured, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(measured.Width(), 60);
  EXPECT_GT(measured.Width(), s.canvas.TextWidth(QStringLiteral("...")));
  s.canvas.Brush()->SetStyle(bsClear);
  s.canvas.DrawText(longText, narrow, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(s.Ink().right(), 59);
}

TEST(CanvasDrawText, WordBreakStacksLinesFromTheTopAndIsClipped) {
  Surface s(60, 80);
  const int line = s.canvas.TextHeight(QStringLiteral("X"));
  TRect r(0, 0, 60, 80);
  TRect measured = r;
  const int height = s.canvas.DrawText(QStringLiteral("one two three four"), measured, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GE(height, 2 * line);
  EXPECT_EQ(measured.Bottom, height);
  EXPECT_LE(measured.Width(), 60);

  s.canvas.Brush()->SetStyle(bsClear);
  TRect box(0, 0, 60, line);
  s.canvas.DrawText(QStringLiteral("one two three four"), box, DT_WORDBREAK | DT_VCENTER);
  EXPECT_LT(s.Ink().bottom(), line);  // later lines fall outside and are clipped
}

TEST(Canvas, EdgesUseTheClassicColours) {
  Surface s;
  TRect r(0, 0, 10, 10);
  s.canvas.DrawEdge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(r, TRect(2, 2, 8, 8));
  EXPECT_EQ(s.At(0, 0), ColorToRGB(cl3DLight));
  EXPECT_EQ(s.At(9, 9), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(s.At(1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.At(8, 8), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(5, 5), ColorToRGB(clBtnFace));
  TRect sunken(20, 0, 30, 10);
  s.canvas.DrawEdge(sunken, BDR_SUNKENOUTER, BF_RECT);
  EXPECT_EQ(s.At(20, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(29, 9), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.At(25, 5), clWhite);
}

TEST(Canvas, FrameControlScrollArrowsAndPushedLook) {
  Surface s(60, 20);
  TRect down(0, 0, 16, 16);
  s.canvas.DrawFrameControl(down, DFC_SCROLL, DFCS_SCROLLDOWN);
  // A 7-wide, 4-high arrow pointing down, centred.
  EXPECT_EQ(s.At(4, 6), ColorToRGB(clBtnText));
  EXPECT_EQ(s.At(10, 6), ColorToRGB(clBtnText));
  EXPECT_EQ(s.At(7, 9), ColorToRGB(clBtnText));
  EXPECT_EQ(s.At(6, 9), ColorToRGB(clBtnFace));
  EXPECT_EQ(s.At(3, 6), ColorToRGB(clBtnFace));

  TRect up(20, 0, 36, 16);
  s.canvas.DrawFrameControl(up, DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED | DFCS_ADJUSTRECT);
  EXPECT_EQ(s.At(20, 0), ColorToRGB(clBtnShadow));  // flat pushed frame
  EXPECT_EQ(s.At(35, 15), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(28, 7), ColorToRGB(clBtnText));  // apex moved by (1, 1)
  EXPECT_EQ(s.At(27, 6), ColorToRGB(clBtnFace));
  EXPECT_EQ(up, TRect(22, 2, 34, 14));

  TRect button(40, 0, 56, 16);
  s.canvas.DrawFrameControl(button, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_EQ(s.At(40, 0), ColorToRGB(clWindowFrame));
  EXPECT_EQ(s.At(41, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(48, 8), ColorToRGB(clBtnFace));
}

TEST(Canvas, PicturesDrawWithTransparencyAndStretch) {
  Surface s;
  TBitmap bmp(4, 4);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(TRect(0, 0, 4, 4));
  bmp.Canvas()->SetPixels(1, 1, clLime);
  bmp.SetTransparentColor(clLime);
  bmp.SetTransparent(true);
  s.canvas.Draw(2, 2, bmp);
  EXPECT_EQ(s.At(2, 2), clRed);
  EXPECT_EQ(s.At(3, 3), clWhite);  // the transparent pixel
  s.canvas.StretchDraw(TRect(10, 10, 18, 18), bmp.Image());
  EXPECT_EQ(s.At(17, 17), clRed);
  EXPECT_EQ(s.At(18, 18), clWhite);
}

TEST(Bitmap, CanvasRowsAndFormatShareThePixels) {
  TBitmap bmp(6, 3, pf32bit);
  EXPECT_EQ(bmp.PixelFormat(), pf32bit);
  bmp.Canvas()->Brush()->SetColor(clBlue);
  bmp.Canvas()->FillRect(TRect(0, 0, 6, 3));
  const auto* row = reinterpret_cast<const QRgb*>(bmp.ScanLine(2));
  EXPECT_EQ(qBlue(row[5]), 255);
  EXPECT_EQ(qRed(row[5]), 0);
  reinterpret_cast<QRgb*>(bmp.ScanLine(0))[0] = qRgb(0, 255, 0);
  EXPECT_EQ(bmp.Pixel(0, 0), clLime);
  EXPECT_THROW(bmp.ScanLine(3), EListError);
  bmp.SetSize(8, 3);  // drawing continues on the resized picture
  bmp.Canvas()->SetPixels(7, 0, clRed);
  EXPECT_EQ(bmp.Pixel(7, 0), clRed);
  EXPECT_EQ(bmp.Pixel(5, 2), clBlue);
}

}  // namespace

namespace {

TEST(Canvas, ExcludedRectangleKeepsItsPixels) {
  Surface s(20, 20);
  s.canvas.ExcludeClipRect(TRect(1, 1, 19, 19));
  s.canvas.Brush()->SetColor(clBlack);
  s.canvas.FillRect(TRect(0, 0, 20, 20));
  EXPECT_EQ(s.At(0, 0), clBlack);
  EXPECT_EQ(s.At(19, 10), clBlack);
  EXPECT_EQ(s.At(1, 1), clWhite);
  EXPECT_EQ(s.At(18, 18), clWhite);
  EXPECT_EQ(s.canvas.ClipRect(), TRect(0, 0, 20, 20));
}

}  // namespace

namespace {

TEST(CanvasDrawText, RightToLeftReadingMovesTrailingPunctuation) {
  Surface ltr(80, 20), rtl(80, 20);
  TRect r(0, 0, 80, 20);
  ltr.canvas.DrawText(QStringLiteral("abc!"), r, DT_SINGLELINE);
  rtl.canvas.DrawText(QStringLiteral("abc!"), r, DT_SINGLELINE | DT_RTLREADING);
  // Same ink width, but the exclamation mark leads when read right to left.
  EXPECT_EQ(ltr.Ink().width(), rtl.Ink().width());
  EXPECT_NE(ltr.image, rtl.image);
}

}  // namespace

namespace {

TEST(Canvas, EllipseStaysInsideItsBox) {
  Surface s;
  s.canvas.Pen()->SetColor(clBlack);
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.Ellipse(10, 5, 20, 15);
  EXPECT_EQ(s.At(15, 10), clRed);
  EXPECT_EQ(s.At(10, 5), clWhite);  // corners of the box are outside the curve
  EXPECT_EQ(s.At(19, 14), clWhite);
  EXPECT_EQ(s.At(10, 10), clBlack);
  EXPECT_TRUE(QRect(10, 5, 10, 10).contains(s.Ink()));
}

}  // namespace
