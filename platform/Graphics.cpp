#include "platform/Graphics.h"

#include <QPainter>
#include <array>
#include <cmath>

#include "platform/Canvas.h"
#include "platform/Exceptions.h"

namespace {

// Windows 2000 classic scheme, indexed by system colour number.
constexpr std::array<TColor, 31> kSystemPalette = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(180, 180, 180), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(10, 36, 106),
    RGB(212, 208, 200)};

}  // namespace

TColor ColorToRGB(TColor color) {
  if ((color & clSystemColor) == clSystemColor) {
    const size_t index = size_t(color & 0xFF);
    return index < kSystemPalette.size() ? kSystemPalette[index] : clBlack;
  }
  return color & 0xFFFFFF;
}

QColor ToQColor(TColor color) {
  const TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

// ---- TFont -----------------------------------------------------------------

void RegisterFontSubstitutes() {
  // "MS Sans Serif" is narrow; DejaVu Sans would clip the button captions
  // that were measured with it, Liberation Sans keeps them whole.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
  QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetName(const QString& v) {
  if (v == name_ || v.isEmpty()) return;
  name_ = v;
  Changed();
}

void TFont::SetHeight(int v) {
  if (v == height_) return;
  height_ = v;
  Changed();
}

int TFont::Size() const { return -int(std::lround(height_ * 72.0 / kPixelsPerInch)); }

void TFont::SetSize(int points) { SetHeight(-int(std::lround(points * double(kPixelsPerInch) / 72.0))); }

void TFont::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}

void TFont::SetStyle(TFontStyles v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}

void TFont::SetCharset(int v) {
  if (TFontCharset(v) == charset_) return;
  charset_ = TFontCharset(v);
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = qobject_cast<TFont*>(Source)) {
    // An equal font changes nothing: painters assign a font per cell, and
    // each notice makes the canvas build its font anew.
    if (f == this || (name_ == f->name_ && height_ == f->height_ && color_ == f->color_ && style_ == f->style_ &&
                      charset_ == f->charset_))
      return;
    name_ = f->name_;
    height_ = f->height_;
    color_ = f->color_;
    style_ = f->style_;
    charset_ = f->charset_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

QFont TFont::ToQFont() const {
  QFont font(name_);
  font.setPixelSize(std::max(1, std::abs(height_)));
  font.setBold(style_ & fsBold);
  font.setItalic(style_ & fsItalic);
  font.setUnderline(style_ & fsUnderline);
  font.setStrikeOut(style_ & fsStrikeOut);
  // Pixels must not depend on the machine's font smoothing.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

// ---- TBitmap ---------------------------------------------------------------

QImage::Format TBitmap::QtFormat(TPixelFormat f) { return f == pf32bit ? QImage::Format_ARGB32 : QImage::Format_RGB32; }

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }

TBitmap::TBitmap(const TBitmap& other) : TObject() { Assign(other); }

TBitmap::~TBitmap() = default;

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(&image_);
  return canvas_.get();
}

void TBitmap::ReleaseCanvas() const {
  if (canvas_) canvas_->Release();
}

QImage& TBitmap::Image() {
  ReleaseCanvas();
  return image_;
}

const QImage& TBitmap::Image() const {
  ReleaseCanvas();
  return image_;
}

uchar* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= Height()) ListIndexError(y);
  return Image().scanLine(y);
}

void TBitmap::SetSize(int width, int height) {
  if (width == Width() && height == Height()) return;
  ReleaseCanvas();
  if (width <= 0 || height <= 0) {
    image_ = QImage();
  } else {
    QImage next(width, height, QtFormat(format_));
    next.fill(format_ == pf32bit ? Qt::transparent : Qt::white);
    if (!image_.isNull()) {
      // Keep the pixels that still fit, as the platform does on a resize.
      QPainter p(&next);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(0, 0, image_);
    }
    image_ = next;
  }
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  ReleaseCanvas();
  format_ = format;
  if (!image_.isNull()) image_ = image_.convertToFormat(QtFormat(format));
  Changed();
}

TColor TBitmap::Pixel(int x, int y) const {
  ReleaseCanvas();
  if (!image_.valid(x, y)) return clNone;
  return FromQColor(QColor::fromRgb(image_.pixel(x, y)));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  ReleaseCanvas();
  if (!image_.valid(x, y)) return;
  image_.setPixel(x, y, ToQColor(color).rgb());
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  ReleaseCanvas();
  other.ReleaseCanvas();
  image_ = other.image_;
  format_ = other.format_;
  transparent_ = other.transparent_;
  transparentColor_ = other.transparentColor_;
  Changed();
}

void TBitmap::LoadFromImage(const QImage& image) {
  ReleaseCanvas();
  format_ = image.hasAlphaChannel() ? pf32bit : pf24bit;
  image_ = image.convertToFormat(QtFormat(format_));
  Changed();
}

void TBitmap::LoadFromFile(const QString& path) {
  QImage image(path);
  if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot load picture '%1'").arg(path));
  LoadFromImage(image);
}

QImage TBitmap::MaskedImage() const {
  ReleaseCanvas();
  if (!transparent_ || image_.isNull()) return image_;
  const TColor key = transparentColor_ == clDefault ? Pixel(0, Height() - 1) : ColorToRGB(transparentColor_);
  QImage out = image_.convertToFormat(QImage::Format_ARGB32);
  const QRgb keyRgb = ToQColor(key).rgb();
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] | 0xFF000000u) == keyRgb) line[x] = 0;
  }
  return out;
}
