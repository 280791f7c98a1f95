#pragma once
// Stateless drawing and arithmetic services every painter of the grid suite
// uses, so that positions, colours, text and themes come out the same way.

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

class QWidget;

// False where the platform draws only 8-bit text; such text is converted to
// the code page first.
extern bool UnicodePlatform;

class TCalcProvider {
 public:
  TCalcProvider() = delete;
  static double Percent(double Part, double Whole);
  // Rectangles that only touch at an edge count as intersecting.
  static bool RectsIntersect(const TRect& A, const TRect& B);
  // Top-left corner of a Width × Height box placed in R.
  static TPoint AlignBox(int Width, int Height, int Margin, const TRect& R, TAlignment HAlign,
                         TVerticalAlignment VAlign);
  static TRect InflateSides(const TRect& R, int DLeft, int DTop, int DRight, int DBottom);
};

class TGraphicsProvider {
 public:
  TGraphicsProvider() = delete;
  // (c1 × alpha + c2 × (255 − alpha)) div 256 per channel.
  static TColor BlendColors(TColor C1, TColor C2, int Alpha);
  // round(c2 × T + (1 − T) × c1) per channel, halves to even.
  static TColor MixColors(TColor C1, TColor C2, double T);
  static void SetClipRect(TCanvas* Canvas, const TRect& R);
  static void DrawButtonFace(TCanvas* Canvas, const TRect& R, bool Down);
  static void DrawFocus(TCanvas* Canvas, const TRect& R, bool Solid);
  static void DrawCheckBox(QWidget* Window, TCanvas* Canvas, const TRect& R, TAlignment HAlign,
                           TVerticalAlignment VAlign, bool Checked, bool Pressed, bool Hot);
  static void GradientVertical(TCanvas* Canvas, const TRect& R, TColor C1, TColor C2);
  static void GradientHorizontal(TCanvas* Canvas, const TRect& R, TColor C1, TColor C2);
  // One line, vertically centred, "&" shown as is, cut with "..." at the end.
  static void DrawText(TCanvas* Canvas, const TRect& R, TAlignment Alignment, const QString& Text, bool RightToLeft);
  // The grid's row indicator cell.
  static void DrawIndicator(TCanvas* Canvas, const TRect& R, bool Current, bool Selected, bool OldStyle);
};

class TMaskProvider {
 public:
  TMaskProvider() = delete;
  // Grey level 0..255.
  static int Luminance(TColor C);
  static TColor BlendColors(TColor C1, TColor C2, int Alpha) { return TGraphicsProvider::BlendColors(C1, C2, Alpha); }
  static void SplitColor(TColor C, int& R, int& G, int& B);
  // Draws Image at (X, Y) with each pixel's opacity taken from Mask's grey
  // level; raises Exception("Image and Mask size differ").
  static void DrawMasked(TCanvas* Canvas, int X, int Y, const QImage& Image, const QImage& Mask);
  static void DrawMasked(TCanvas* Canvas, int X, int Y, const TBitmap& Image, const TBitmap& Mask) {
    DrawMasked(Canvas, X, Y, Image.Image(), Mask.Image());
  }
};

class TDrawProvider {
 public:
  TDrawProvider() = delete;
  // A 32-bit picture is blended by its alpha channel; others drawn normally.
  static void DrawGraphic(TCanvas* Canvas, int X, int Y, const TBitmap& Picture);
  static void DrawGraphic(TCanvas* Canvas, int X, int Y, const QImage& Picture);
};
