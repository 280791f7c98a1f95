#include "grid/Providers.h"

#include <cfenv>
#include <cmath>

#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/Themes.h"

bool UnicodePlatform = true;

// ---- TCalcProvider -------------------------------------------------------------

double TCalcProvider::Percent(double Part, double Whole) { return Part / Whole * 100; }

bool TCalcProvider::RectsIntersect(const TRect& A, const TRect& B) {
  return !(A.Right < B.Left || A.Left > B.Right || A.Bottom < B.Top || A.Top > B.Bottom);
}

TPoint TCalcProvider::AlignBox(int Width, int Height, int Margin, const TRect& R, TAlignment HAlign,
                               TVerticalAlignment VAlign) {
  const TPoint centre(R.Left + (R.Right - R.Left) / 2, R.Top + (R.Bottom - R.Top) / 2);
  TPoint p;
  switch (HAlign) {
    case taLeftJustify:
      p.X = R.Left + Margin;
      break;
    case taRightJustify:
      p.X = R.Right - (Margin + Width);
      break;
    case taCenter:
      p.X = centre.X - Width / 2;
      break;
  }
  switch (VAlign) {
    case vaTop:
      p.Y = R.Top + Margin;
      break;
    case vaMiddle:
      p.Y = centre.Y - Height / 2;
      break;
    case vaBottom:
      p.Y = R.Bottom - (Margin + Height);
      break;
  }
  return p;
}

TRect TCalcProvider::InflateSides(const TRect& R, int DLeft, int DTop, int DRight, int DBottom) {
  return TRect(R.Left + DLeft, R.Top + DTop, R.Right + DRight, R.Bottom + DBottom);
}

// ---- TGraphicsProvider ---------------------------------------------------------

TColor TGraphicsProvider::BlendColors(TColor C1, TColor C2, int Alpha) {
  const uint32_t c1 = uint32_t(ColorToRGB(C1)), c2 = uint32_t(ColorToRGB(C2));
  // A weight outside 0..255 would spill into the neighbouring channels.
  const uint32_t a = uint32_t(std::clamp(Alpha, 0, 255)), b = a ^ 0xFF;
  // Red and blue in one multiplication, green in another.
  const uint32_t redBlue = ((c1 & 0xFF00FF) * a + (c2 & 0xFF00FF) * b) & 0xFF00FF00;
  const uint32_t green = ((c1 & 0xFF00) * a + (c2 & 0xFF00) * b) & 0xFF0000;
  return TColor((redBlue + green) >> 8);
}

TColor TGraphicsProvider::MixColors(TColor C1, TColor C2, double T) {
  const TColor a = ColorToRGB(C1), b = ColorToRGB(C2);
  const int previous = std::fegetround();
  std::fesetround(FE_TONEAREST);  // halves go to the even neighbour
  const auto mix = [T](int c1, int c2) { return std::clamp(int(std::nearbyint(c2 * T + (1 - T) * c1)), 0, 255); };
  const TColor result =
      RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
  std::fesetround(previous);
  return result;
}

void TGraphicsProvider::SetClipRect(TCanvas* Canvas, const TRect& R) { Canvas->SetClipRect(R); }

void TGraphicsProvider::DrawButtonFace(TCanvas* Canvas, const TRect& R, bool Down) {
  TRect face = R;
  InflateRect(face, -1, -1);
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(face);
  const int right = R.Right - 1, bottom = R.Bottom - 1;
  Canvas->Pen()->SetColor(clBtnHighlight);
  Canvas->Polyline({TPoint(R.Left, bottom), TPoint(R.Left, R.Top), TPoint(right, R.Top)});
  Canvas->Pen()->SetColor(Down ? clWindowFrame : clBtnShadow);
  Canvas->Polyline({TPoint(right, R.Top), TPoint(right, bottom), TPoint(R.Left - 1, bottom)});
}

void TGraphicsProvider::DrawFocus(TCanvas* Canvas, const TRect& R, bool Solid) {
  if (Solid) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clHighlight);
    Canvas->FrameRect(R);
    return;
  }
  const TColor bk = Canvas->BkColor(), text = Canvas->TextColor();
  Canvas->SetBkColor(clBlack);
  Canvas->SetTextColor(clWhite);
  Canvas->DrawFocusRect(R);
  Canvas->SetBkColor(bk);
  Canvas->SetTextColor(text);
}

namespace {

int CheckBoxState(bool checked, bool pressed, bool hot) {
  if (!hot) return checked ? 5 : 1;
  if (checked) return pressed ? 7 : 6;
  return pressed ? 3 : 2;
}

}  // namespace

void TGraphicsProvider::DrawCheckBox(QWidget* Window, TCanvas* Canvas, const TRect& R, TAlignment HAlign,
                                     TVerticalAlignment VAlign, bool Checked, bool Pressed, bool Hot) {
  if (ThemesActive()) {
    const TPoint p = TCalcProvider::AlignBox(13, 13, 2, R, HAlign, VAlign);
    DrawThemed(Window, Canvas, Bounds(p.X, p.Y, 13, 13), TThemeClass::Button, 3, CheckBoxState(Checked, Pressed, Hot));
    return;
  }
  const TPoint p = TCalcProvider::AlignBox(11, 11, 2, R, HAlign, VAlign);
  const int x = p.X, y = p.Y;
  Canvas->Brush()->SetColor(Pressed ? clBtnFace : clWindow);
  Canvas->Pen()->SetColor(clBtnShadow);
  Canvas->Rectangle(x, y, x + 11, y + 11);
  Canvas->Pen()->SetColor(clWindowText);
  if (!Checked) return;
  for (int i = 0; i < 3; ++i)
    Canvas->Polyline({TPoint(x + 2, y + 4 + i), TPoint(x + 4, y + 6 + i), TPoint(x + 9, y + 1 + i)});
}

void TGraphicsProvider::GradientVertical(TCanvas* Canvas, const TRect& R, TColor C1, TColor C2) {
  const int h = R.Bottom - R.Top;
  if (h <= 0) return;
  for (int y = R.Top; y < R.Bottom; ++y) {
    Canvas->Pen()->SetColor(MixColors(C1, C2, double(y - R.Top) / h));
    Canvas->MoveTo(R.Left, y);
    Canvas->LineTo(R.Right, y);
  }
}

void TGraphicsProvider::GradientHorizontal(TCanvas* Canvas, const TRect& R, TColor C1, TColor C2) {
  const int w = R.Right - R.Left;
  if (w <= 0) return;
  for (int x = R.Left; x < R.Right; ++x) {
    Canvas->Pen()->SetColor(MixColors(C1, C2, double(x - R.Left) / w));
    Canvas->MoveTo(x, R.Top);
    Canvas->LineTo(x, R.Bottom);
  }
}

void TGraphicsProvider::DrawText(TCanvas* Canvas, const TRect& R, TAlignment Alignment, const QString& Text,
                                 bool RightToLeft) {
  uint32_t flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_EXTERNALLEADING;
  if (Alignment == taRightJustify)
    flags |= DT_RIGHT;
  else if (Alignment == taCenter)
    flags |= DT_CENTER;
  if (RightToLeft) flags |= DT_RTLREADING;
  TRect box = R;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->DrawText(UnicodePlatform ? Text : AnsiRoundTrip(Text), box, flags);
  Canvas->Brush()->SetStyle(bsSolid);
}

void TGraphicsProvider::DrawIndicator(TCanvas* Canvas, const TRect& R, bool Current, bool Selected, bool OldStyle) {
  if (OldStyle) {
    DrawButtonFace(Canvas, R, true);
  } else {
    // A flat cell with rounded corners; x is absolute, the cell starts at 0.
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(TRect(1, R.Top + 1, R.Right - 1, R.Bottom));
    Canvas->Pen()->SetColor(clBtnHighlight);
    Canvas->SetPixels(1, R.Top, clBtnFace);
    Canvas->SetPixels(R.Right - 2, R.Top, clBtnFace);
    Canvas->MoveTo(0, R.Top);
    Canvas->LineTo(0, R.Bottom + 1);
    Canvas->MoveTo(2, R.Top);
    Canvas->LineTo(R.Right - 2, R.Top);
    Canvas->Pen()->SetColor(clBtnShadow);
    Canvas->SetPixels(1, R.Bottom - 1, clBtnFace);
    Canvas->SetPixels(R.Right - 2, R.Bottom - 1, clBtnFace);
    Canvas->MoveTo(R.Right - 1, R.Top);
    Canvas->LineTo(R.Right - 1, R.Bottom);
    Canvas->MoveTo(2, R.Bottom - 1);
    Canvas->LineTo(R.Right - 2, R.Bottom - 1);
  }
  if (Current) {
    Canvas->Pen()->SetColor(clWindowText);
    Canvas->Brush()->SetColor(clWindowText);
    const TPoint p = TCalcProvider::AlignBox(6, 11, 0, R, taCenter, vaMiddle);
    Canvas->Polygon({p, TPoint(p.X + 5, p.Y + 5), TPoint(p.X, p.Y + 10)});
  }
  if (Selected) {
    Canvas->SetCopyMode(DSTINVERT);
    Canvas->CopyRect(R, Canvas, R);
    Canvas->SetCopyMode(SRCCOPY);
  }
}

// ---- TMaskProvider -------------------------------------------------------------

int TMaskProvider::Luminance(TColor C) {
  const TColor c = ColorToRGB(C);
  return (GetBValue(c) * 28 + GetGValue(c) * 151 + GetRValue(c) * 77) >> 8;
}

void TMaskProvider::SplitColor(TColor C, int& R, int& G, int& B) {
  const TColor c = ColorToRGB(C);
  R = GetRValue(c);
  G = GetGValue(c);
  B = GetBValue(c);
}

namespace {

// The canvas pixels under a picture placed at (x, y).
QImage Background(TCanvas* canvas, int x, int y, QSize size) {
  const TPoint o = canvas->Origin();
  return canvas->Target()->copy(QRect(QPoint(x + o.X, y + o.Y), size)).convertToFormat(QImage::Format_RGB32);
}

TColor ToColor(QRgb p) { return RGB(qRed(p), qGreen(p), qBlue(p)); }
QRgb ToRgb(TColor c, int alpha = 0xFF) { return qRgba(GetRValue(c), GetGValue(c), GetBValue(c), alpha); }

}  // namespace

void TMaskProvider::DrawMasked(TCanvas* Canvas, int X, int Y, const QImage& Image, const QImage& Mask) {
  if (Image.size() != Mask.size()) throw Exception(QStringLiteral("Image and Mask size differ"));
  if (Image.isNull() || !Canvas->Target()) return;
  QImage back = Background(Canvas, X, Y, Image.size());
  const QImage image = Image.convertToFormat(QImage::Format_RGB32);
  const QImage mask = Mask.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < back.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(back.scanLine(y));
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const auto* grey = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    for (int x = 0; x < back.width(); ++x)
      out[x] = ToRgb(BlendColors(ToColor(in[x]), ToColor(out[x]), Luminance(ToColor(grey[x]))));
  }
  Canvas->Draw(X, Y, back);
}

// ---- TDrawProvider -------------------------------------------------------------

void TDrawProvider::DrawGraphic(TCanvas* Canvas, int X, int Y, const TBitmap& Picture) {
  if (Picture.PixelFormat() == pf32bit)
    DrawGraphic(Canvas, X, Y, Picture.Image());
  else
    Canvas->Draw(X, Y, Picture);
}

void TDrawProvider::DrawGraphic(TCanvas* Canvas, int X, int Y, const QImage& Picture) {
  if (!Picture.hasAlphaChannel() || !Canvas->Target()) {
    Canvas->Draw(X, Y, Picture);
    return;
  }
  const QImage picture = Picture.convertToFormat(QImage::Format_ARGB32);
  QImage blended = Background(Canvas, X, Y, picture.size());
  for (int y = 0; y < blended.height(); ++y) {
    const auto* px = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(blended.scanLine(y));
    for (int x = 0; x < blended.width(); ++x)
      out[x] = ToRgb(TGraphicsProvider::BlendColors(ToColor(px[x]), ToColor(out[x]), qAlpha(px[x])));
  }
  // The blend already holds the background, so it is drawn opaque.
  Canvas->Draw(X, Y, blended);
}
