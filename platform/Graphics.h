#pragma once
// Colours, fonts and bitmaps.

#include <QColor>
#include <QFont>
#include <QImage>
#include <cstdint>
#include <memory>

#include "platform/Classes.h"
#include "platform/Types.h"

class TCanvas;

// 0x00BBGGRR; a top byte of 0xFF names a system colour by its index.
using TColor = int32_t;

constexpr TColor RGB(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor clSystemColor = TColor(0xFF000000);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// Resolves system colours from one fixed palette (the classic Windows
// defaults), so pixels are the same on every machine.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

enum TFontStyle : uint8_t { fsBold = 0x01, fsItalic = 0x02, fsUnderline = 0x04, fsStrikeOut = 0x08 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset TURKISH_CHARSET = 162;

// Maps the Windows font families the layouts name to the installed fonts
// with the closest metrics. Called once by the application object.
void RegisterFontSubstitutes();

// Screen resolution the layouts are drawn for: 8 points are 11 pixels.
constexpr int kPixelsPerInch = 96;

class TFont : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Style READ StyleBits WRITE SetStyleBits)
 public:
  TFont() = default;

  const QString& Name() const { return name_; }
  void SetName(const QString& v);
  // Negative heights are character heights in pixels, as the platform keeps them.
  int Height() const { return height_; }
  void SetHeight(int v);
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(int v);

  void Assign(TPersistent* Source) override;
  QFont ToQFont() const;

  TNotifyEvent OnChange;

 private:
  int StyleBits() const { return int(style_); }
  void SetStyleBits(int v) { SetStyle(TFontStyles(v)); }
  void Changed();

  QString name_ = QStringLiteral("MS Sans Serif");
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_;
  TFontCharset charset_ = DEFAULT_CHARSET;
};

enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// A picture in memory. Pixels are addressed with Windows colours.
class TBitmap : public TObject {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pf24bit);
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other) {
    Assign(other);
    return *this;
  }
  ~TBitmap() override;

  // Draws on the picture; created on first use and kept with the picture.
  TCanvas* Canvas();

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  bool Empty() const { return image_.isNull(); }
  void SetSize(int width, int height);
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat format);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) {
    transparent_ = v;
    Changed();
  }
  TColor TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor v) {
    transparentColor_ = v;
    Changed();
  }

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  void Assign(const TBitmap& other);
  void LoadFromImage(const QImage& image);
  // Raises EInvalidGraphic when the file is missing or not a picture.
  void LoadFromFile(const QString& path);

  // Direct access ends any drawing session of the canvas first.
  QImage& Image();
  const QImage& Image() const;
  // One row of 32-bit pixels (blue, green, red, alpha bytes).
  uchar* ScanLine(int y);
  // The picture with transparent pixels cleared, ready to be drawn.
  QImage MaskedImage() const;

  TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  static QImage::Format QtFormat(TPixelFormat f);

  void ReleaseCanvas() const;

  QImage image_;
  std::unique_ptr<TCanvas> canvas_;
  TPixelFormat format_ = pfDevice;
  bool transparent_ = false;
  TColor transparentColor_ = clDefault;
};
