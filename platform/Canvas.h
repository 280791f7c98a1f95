#pragma once
// A drawing surface over a QImage that keeps the Windows drawing rules:
// lines leave out their end pixel, rectangles are drawn inside their box,
// inverting pens and copies really invert the pixels underneath.

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Graphics.h"

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TPenMode : uint8_t { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmXor, pmNotXor };
enum TBrushStyle : uint8_t { bsSolid, bsClear };

// A line of text as shaped in one font and direction: what a shaped line is
// looked up by, so that a change of text or font can never find an old one.
struct TShapeKey {
  QString text;
  QString fontName;
  int fontHeight = 0;
  int fontStyle = 0;
  bool rightToLeft = false;
  bool operator==(const TShapeKey&) const = default;
};
size_t qHash(const TShapeKey& key, size_t seed = 0) noexcept;

// Copy modes (raster operations) understood by CopyRect.
using TCopyMode = uint32_t;
constexpr TCopyMode SRCCOPY = 0x00CC0020;
constexpr TCopyMode DSTINVERT = 0x00550009;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmDstInvert = DSTINVERT;

// DrawText flags.
constexpr uint32_t DT_LEFT = 0x0;
constexpr uint32_t DT_TOP = 0x0;
constexpr uint32_t DT_CENTER = 0x1;
constexpr uint32_t DT_RIGHT = 0x2;
constexpr uint32_t DT_VCENTER = 0x4;
constexpr uint32_t DT_BOTTOM = 0x8;
constexpr uint32_t DT_WORDBREAK = 0x10;
constexpr uint32_t DT_SINGLELINE = 0x20;
constexpr uint32_t DT_CALCRECT = 0x400;
constexpr uint32_t DT_NOPREFIX = 0x800;
constexpr uint32_t DT_EXTERNALLEADING = 0x200;
constexpr uint32_t DT_END_ELLIPSIS = 0x8000;
constexpr uint32_t DT_RTLREADING = 0x20000;

// DrawEdge edges and sides.
constexpr uint32_t BDR_RAISEDOUTER = 0x1;
constexpr uint32_t BDR_SUNKENOUTER = 0x2;
constexpr uint32_t BDR_RAISEDINNER = 0x4;
constexpr uint32_t BDR_SUNKENINNER = 0x8;
constexpr uint32_t EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr uint32_t EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr uint32_t EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr uint32_t EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr uint32_t BF_LEFT = 0x1;
constexpr uint32_t BF_TOP = 0x2;
constexpr uint32_t BF_RIGHT = 0x4;
constexpr uint32_t BF_BOTTOM = 0x8;
constexpr uint32_t BF_RECT = 0xF;
constexpr uint32_t BF_MIDDLE = 0x800;
constexpr uint32_t BF_ADJUST = 0x2000;

// DrawFrameControl kinds and states.
constexpr uint32_t DFC_SCROLL = 3;
constexpr uint32_t DFC_BUTTON = 4;
constexpr uint32_t DFCS_SCROLLUP = 0x0;
constexpr uint32_t DFCS_SCROLLDOWN = 0x1;
constexpr uint32_t DFCS_SCROLLLEFT = 0x2;
constexpr uint32_t DFCS_SCROLLRIGHT = 0x3;
constexpr uint32_t DFCS_SCROLLCOMBOBOX = 0x5;
constexpr uint32_t DFCS_BUTTONPUSH = 0x10;
constexpr uint32_t DFCS_PUSHED = 0x200;
constexpr uint32_t DFCS_ADJUSTRECT = 0x2000;

class TPen {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = std::max(1, v); }
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v) { style_ = v; }
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode v) { mode_ = v; }

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

class TBrush {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor v) {
    color_ = v;
    if (style_ == bsClear) style_ = bsSolid;
  }
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v) { style_ = v; }

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

class TCanvas;
using TCanvasChangeEvent = std::function<void(TCanvas* Sender, const QRect& Area)>;

class TCanvas : public TObject {
 public:
  explicit TCanvas(QImage* target = nullptr);
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The image drawn on; changing it ends the drawing session on the old one.
  QImage* Target() const { return target_; }
  void SetTarget(QImage* target);
  // Ends the drawing session so that the image may be resized or shown.
  void Release();

  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }
  TFont* Font() { return &font_; }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode v) { copyMode_ = v; }
  TPoint PenPos() const { return penPos_; }
  // Colours of the dotted focus pattern, as the device context keeps them.
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor v) { textColor_ = v; }
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor v) { bkColor_ = v; }

  // Logical origin: drawing at (0, 0) lands on Origin() of the image.
  TPoint Origin() const { return origin_; }
  void SetOrigin(TPoint p);

  // Clipping in logical coordinates; the bounding box of what may be drawn.
  void SetClipRect(const TRect& r);
  void SetClipRegion(const QRegion& r);
  void ResetClip();
  // Takes r out of what may be drawn.
  void ExcludeClipRect(const TRect& r);
  TRect ClipRect() const;
  // The area the platform lets paint (a control's invalid region), in image
  // coordinates; every other clip is intersected with it.
  void SetSystemClip(const QRegion& r);
  void ClearSystemClip();

  void MoveTo(int x, int y) { penPos_ = TPoint(x, y); }
  void LineTo(int x, int y);
  void Polyline(const std::vector<TPoint>& points);
  void Polygon(const std::vector<TPoint>& points);
  void Rectangle(int l, int t, int r, int b);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int l, int t, int r, int b);
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  TColor Pixels(int x, int y) const;
  void SetPixels(int x, int y, TColor color);

  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
  // Returns the height of the drawn text; DT_CALCRECT only measures into r.
  int DrawText(const QString& text, TRect& r, uint32_t flags);

  void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);
  void DrawFocusRect(const TRect& r);
  void DrawEdge(TRect& r, uint32_t edge, uint32_t flags);
  void DrawFrameControl(TRect& r, uint32_t kind, uint32_t state);

  void Draw(int x, int y, const QImage& picture);
  void Draw(int x, int y, const TBitmap& picture) { Draw(x, y, picture.MaskedImage()); }
  void StretchDraw(const TRect& r, const QImage& picture);

  // The painter with this canvas's clip and origin, for drawing the canvas
  // cannot express (styled theme parts) inside area, which is reported as
  // changed.
  QPainter& Painter(const TRect& area);
  const QFontMetrics& FontMetrics();

  // Fired before drawing with the image area (in image coordinates) the
  // drawing may change, so that a window can show what changed.
  TCanvasChangeEvent OnChange;

 private:
  QPainter& ActivePainter();
  void Changing(const TRect& logical);
  TRect PointsBounds(const std::vector<TPoint>& points) const;
  void ApplyState();
  void ApplyPen();
  void ApplyFillBrush();
  bool Drawable() const;
  void DrawLineExcludingEnd(QPoint from, QPoint to);
  void FillSolid(const TRect& r, TColor color);
  void FrameSolid(const TRect& r, TColor color);
  QRegion DeviceClip(const TRect& logical) const;
  void XorPixels(const QRegion& area, const std::function<QRgb(int x, int y)>& pattern);
  void DrawTextLine(const QString& line, const QRect& box, uint32_t flags, int lineHeight);
  const QFont& QtFont();
  // A line's glyphs relative to its baseline and its width as the font
  // metrics measure it, shaped once while it is drawn again and again.
  struct TShapedLine {
    int width = 0;
    QList<QGlyphRun> runs;
  };
  const TShapedLine* ShapedLine(const QString& line, bool rightToLeft);
  int LineWidth(const QString& line);

  QImage* target_ = nullptr;
  std::unique_ptr<QPainter> painter_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TCopyMode copyMode_ = SRCCOPY;
  TPoint penPos_;
  TColor textColor_ = clBlack;
  TColor bkColor_ = clWhite;
  TPoint origin_;
  bool hasUserClip_ = false;
  QRegion userClip_;  // image coordinates
  bool hasSystemClip_ = false;
  QRegion systemClip_;
  bool stateDirty_ = true;
  bool fontDirty_ = true;  // the painter's font
  // The Qt font and its metrics are built again only when the glyphs
  // change: a font's colour changes per cell and is applied per drawing.
  bool qtFontStale_ = true;
  QFont qtFont_;
  QString qtFontName_;
  int qtFontHeight_ = 0;
  TFontStyles qtFontStyle_;
  std::optional<QFontMetrics> metrics_;
  // Two generations, so that the lines of the last paints stay and the
  // cache stays bounded whatever is drawn.
  QHash<TShapeKey, TShapedLine> shaped_;
  QHash<TShapeKey, TShapedLine> shapedBefore_;
};
