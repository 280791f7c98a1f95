#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextLayout>
#include <cmath>
#include <optional>

#include "platform/Exceptions.h"

namespace {

constexpr TCopyMode SRCINVERT = 0x00660046;
constexpr TCopyMode SRCAND = 0x008800C6;
constexpr TCopyMode SRCPAINT = 0x00EE0086;

const QString kEllipsis = QStringLiteral("...");

// Lines per generation of the shaped-line cache: a few pages of cells.
constexpr qsizetype kShapedLines = 512;

QPainter::CompositionMode PenComposition(TPenMode mode) {
  switch (mode) {
    case pmBlack:
      return QPainter::RasterOp_ClearDestination;
    case pmWhite:
      return QPainter::RasterOp_SetDestination;
    case pmNot:
      return QPainter::RasterOp_NotDestination;
    case pmNotCopy:
      return QPainter::RasterOp_NotSource;
    case pmXor:
      return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
      return QPainter::RasterOp_NotSourceXorDestination;
    case pmCopy:
    case pmNop:
      break;
  }
  return QPainter::CompositionMode_SourceOver;
}

QVector<qreal> DashPattern(TPenStyle style) {
  switch (style) {
    case psDash:
      return {18, 6};
    case psDot:
      return {3, 3};
    case psDashDot:
      return {9, 6, 3, 6};
    case psDashDotDot:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

// Removes single '&' prefix marks ("&&" stays one '&') and reports which
// character they underline.
QString StripPrefixes(const QString& text, int* underlined) {
  QString out;
  out.reserve(text.size());
  *underlined = -1;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != u'&') *underlined = int(out.size());
    }
    out += text[i];
  }
  return out;
}

// Cuts the line to maxWidth with "..." at the end; width gets the result's
// width, so that a line that fits is measured once.
QString ElideEnd(const QString& line, int maxWidth, const QFontMetrics& fm, int& width) {
  width = fm.horizontalAdvance(line);
  if (width <= maxWidth) return line;
  int lo = 0, hi = int(line.size());
  while (lo < hi) {  // longest prefix that still fits with the dots
    const int mid = (lo + hi + 1) / 2;
    if (fm.horizontalAdvance(line.left(mid) + kEllipsis) <= maxWidth)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QString cut = line.left(lo) + kEllipsis;
  width = fm.horizontalAdvance(cut);
  return cut;
}

QStringList WrapWords(const QString& paragraph, int maxWidth, const QFontMetrics& fm) {
  QStringList lines;
  QString current;
  for (const QString& word : paragraph.split(u' ')) {
    const QString candidate = current.isEmpty() ? word : current + u' ' + word;
    if (!current.isEmpty() && fm.horizontalAdvance(candidate) > maxWidth) {
      lines << current;
      current = word;
    } else {
      current = candidate;
    }
  }
  lines << current;
  return lines;
}

QRect Q(const TRect& r) { return r.ToQt(); }

}  // namespace

// What lines or a polygon through the points may touch with this pen.
TRect TCanvas::PointsBounds(const std::vector<TPoint>& points) const {
  TRect box(points.front().X, points.front().Y, points.front().X, points.front().Y);
  for (const TPoint& p : points) {
    box.Left = std::min(box.Left, p.X);
    box.Top = std::min(box.Top, p.Y);
    box.Right = std::max(box.Right, p.X);
    box.Bottom = std::max(box.Bottom, p.Y);
  }
  const int reach = pen_.Width() / 2 + 1;
  return TRect(box.Left - reach + 1, box.Top - reach + 1, box.Right + reach, box.Bottom + reach);
}

size_t qHash(const TShapeKey& key, size_t seed) noexcept {
  return qHashMulti(seed, key.text, key.fontName, key.fontHeight, key.fontStyle, key.rightToLeft);
}

TCanvas::TCanvas(QImage* target) : target_(target) {
  font_.OnChange = [this](TObject*) {
    if (qtFontStale_ || font_.Name() != qtFontName_ || font_.Height() != qtFontHeight_ ||
        font_.Style() != qtFontStyle_) {
      qtFontStale_ = true;
      fontDirty_ = true;
    }
  };
}

TCanvas::~TCanvas() { Release(); }

void TCanvas::SetTarget(QImage* target) {
  Release();
  target_ = target;
}

void TCanvas::Release() {
  if (painter_) painter_->end();
  painter_.reset();
  stateDirty_ = true;
  fontDirty_ = true;
}

bool TCanvas::Drawable() const { return target_ && !target_->isNull(); }

void TCanvas::Changing(const TRect& logical) {
  if (!OnChange || !Drawable()) return;
  const QRect area = Q(logical).translated(origin_.X, origin_.Y) & target_->rect();
  if (!area.isEmpty()) OnChange(this, area);
}

QPainter& TCanvas::Painter(const TRect& area) {
  Changing(area);
  return ActivePainter();
}

QPainter& TCanvas::ActivePainter() {
  if (!painter_) {
    if (!Drawable()) throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
    painter_ = std::make_unique<QPainter>(target_);
    stateDirty_ = true;
  }
  if (stateDirty_) ApplyState();
  if (fontDirty_) {
    painter_->setFont(QtFont());
    fontDirty_ = false;
  }
  return *painter_;
}

void TCanvas::ApplyState() {
  QPainter& p = *painter_;
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.resetTransform();
  if (hasUserClip_ || hasSystemClip_) {
    QRegion clip = hasUserClip_ ? userClip_ : systemClip_;
    if (hasUserClip_ && hasSystemClip_) clip &= systemClip_;
    p.setClipRegion(clip);
  } else {
    p.setClipping(false);
  }
  p.translate(origin_.X, origin_.Y);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  stateDirty_ = false;
}

void TCanvas::SetOrigin(TPoint p) {
  origin_ = p;
  stateDirty_ = true;
}

void TCanvas::SetClipRect(const TRect& r) { SetClipRegion(QRegion(Q(r))); }

void TCanvas::SetClipRegion(const QRegion& r) {
  userClip_ = r.translated(origin_.X, origin_.Y);
  hasUserClip_ = true;
  stateDirty_ = true;
}

void TCanvas::ResetClip() {
  hasUserClip_ = false;
  userClip_ = QRegion();
  stateDirty_ = true;
}

void TCanvas::ExcludeClipRect(const TRect& r) {
  if (!Drawable()) return;
  if (!hasUserClip_) userClip_ = QRegion(target_->rect());
  userClip_ -= QRegion(Q(r).translated(origin_.X, origin_.Y));
  hasUserClip_ = true;
  stateDirty_ = true;
}

void TCanvas::SetSystemClip(const QRegion& r) {
  systemClip_ = r;
  hasSystemClip_ = true;
  stateDirty_ = true;
}

void TCanvas::ClearSystemClip() {
  hasSystemClip_ = false;
  systemClip_ = QRegion();
  stateDirty_ = true;
}

// The device area a logical rectangle may touch: inside the image and the clip.
QRegion TCanvas::DeviceClip(const TRect& logical) const {
  if (!Drawable()) return {};
  QRegion area = QRegion(Q(logical).translated(origin_.X, origin_.Y)) & QRegion(target_->rect());
  if (hasUserClip_) area &= userClip_;
  if (hasSystemClip_) area &= systemClip_;
  return area;
}

TRect TCanvas::ClipRect() const {
  if (!Drawable()) return TRect();
  QRegion area(target_->rect());
  if (hasUserClip_) area &= userClip_;
  if (hasSystemClip_) area &= systemClip_;
  TRect box = TRect::FromQt(area.boundingRect());
  OffsetRect(box, -origin_.X, -origin_.Y);
  return box;
}

// ---- lines -------------------------------------------------------------------

void TCanvas::ApplyPen() {
  QPainter& p = ActivePainter();
  QPen pen(ToQColor(pen_.Color()));
  pen.setWidth(pen_.Width() > 1 ? pen_.Width() : 0);
  // A flat cap leaves the end pixel out, as the platform's lines do.
  pen.setCapStyle(Qt::FlatCap);
  const QVector<qreal> dashes = DashPattern(pen_.Style());
  if (!dashes.isEmpty()) pen.setDashPattern(dashes);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.setCompositionMode(PenComposition(pen_.Mode()));
}

void TCanvas::DrawLineExcludingEnd(QPoint from, QPoint to) {
  if (from == to || pen_.Style() == psClear || pen_.Mode() == pmNop || !Drawable()) return;
  Changing(PointsBounds({TPoint::FromQt(from), TPoint::FromQt(to)}));
  ApplyPen();
  // Qt's thin lines leave out the pixel furthest along the main axis, which
  // is the start of a line drawn towards smaller coordinates: such a line is
  // drawn whole and its end pixel clipped away.
  const QPoint d = to - from;
  const bool backwards = std::abs(d.x()) >= std::abs(d.y()) ? d.x() < 0 : d.y() < 0;
  if (backwards && pen_.Width() == 1) {
    QPainter& p = *painter_;
    p.save();
    QPen pen = p.pen();
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    const QRegion clip = p.hasClipping() ? p.clipRegion() : QRegion(target_->rect().translated(-origin_.X, -origin_.Y));
    p.setClipRegion(clip - QRegion(to.x(), to.y(), 1, 1));
    p.drawLine(from, to);
    p.restore();
  } else {
    painter_->drawLine(from, to);
  }
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::LineTo(int x, int y) {
  DrawLineExcludingEnd(penPos_.ToQt(), QPoint(x, y));
  penPos_ = TPoint(x, y);
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  for (size_t i = 1; i < points.size(); ++i) DrawLineExcludingEnd(points[i - 1].ToQt(), points[i].ToQt());
}

// ---- areas -------------------------------------------------------------------

void TCanvas::ApplyFillBrush() {
  QPainter& p = ActivePainter();
  p.setBrush(brush_.Style() == bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_.Color())));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::FillSolid(const TRect& r, TColor color) {
  if (IsRectEmpty(r) || !Drawable()) return;
  Changing(r);
  QPainter& p = ActivePainter();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(Q(r), ToQColor(color));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::FillRect(const TRect& r) {
  if (brush_.Style() != bsClear) FillSolid(r, brush_.Color());
}

void TCanvas::FrameRect(const TRect& r) {
  if (brush_.Style() != bsClear) FrameSolid(r, brush_.Color());
}

void TCanvas::FrameSolid(const TRect& r, TColor c) {
  if (IsRectEmpty(r)) return;
  FillSolid(TRect(r.Left, r.Top, r.Right, r.Top + 1), c);
  FillSolid(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), c);
  FillSolid(TRect(r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1), c);
  FillSolid(TRect(r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1), c);
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (!Drawable()) return;
  Changing(TRect(l, t, r, b));
  const bool outlined = pen_.Style() != psClear && pen_.Mode() != pmNop;
  // Without a pen the filled area is one pixel smaller, as on the platform.
  const TRect inner = outlined ? TRect(l + 1, t + 1, r - 1, b - 1) : TRect(l, t, r - 1, b - 1);
  FillRect(inner);
  if (!outlined) return;
  const int w = std::min(pen_.Width(), std::max(1, std::min(r - l, b - t) / 2));
  if (pen_.Style() != psSolid) {
    ApplyPen();
    painter_->drawRect(QRect(l, t, r - l - 1, b - t - 1));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return;
  }
  // Four bands that never overlap, so inverting pens touch each pixel once.
  QPainter& p = ActivePainter();
  p.setCompositionMode(PenComposition(pen_.Mode()));
  const QColor color = ToQColor(pen_.Color());
  for (const QRect& band : {QRect(l, t, r - l, w), QRect(l, b - w, r - l, w), QRect(l, t + w, w, b - t - 2 * w),
                            QRect(r - w, t + w, w, b - t - 2 * w)})
    if (band.isValid()) p.fillRect(band, color);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2 || !Drawable()) return;
  Changing(PointsBounds(points));
  QPolygon polygon;
  for (const TPoint& pt : points) polygon << pt.ToQt();
  if (brush_.Style() != bsClear) {
    QPainter& p = ActivePainter();
    p.setPen(Qt::NoPen);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBrush(QBrush(ToQColor(brush_.Color())));
    p.drawPolygon(polygon, Qt::WindingFill);
  }
  // The outline as closed lines, so that every corner is drawn once.
  for (size_t i = 0; i < points.size(); ++i)
    DrawLineExcludingEnd(points[i].ToQt(), points[(i + 1) % points.size()].ToQt());
}

void TCanvas::Ellipse(int l, int t, int r, int b) {
  if (!Drawable() || r - l < 1 || b - t < 1) return;
  Changing(TRect(l, t, r, b));
  if (pen_.Style() == psClear)
    ActivePainter().setPen(Qt::NoPen);
  else
    ApplyPen();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->setBrush(brush_.Style() == bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_.Color())));
  painter_->drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
}

TColor TCanvas::Pixels(int x, int y) const {
  const QPoint p(x + origin_.X, y + origin_.Y);
  if (!Drawable() || !target_->valid(p)) return clNone;
  return FromQColor(QColor::fromRgb(target_->pixel(p)));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  if (DeviceClip(TRect(x, y, x + 1, y + 1)).isEmpty()) return;
  Changing(TRect(x, y, x + 1, y + 1));
  target_->setPixel(x + origin_.X, y + origin_.Y, ToQColor(color).rgb());
}

// ---- text --------------------------------------------------------------------

const QFont& TCanvas::QtFont() {
  if (qtFontStale_) {
    qtFont_ = font_.ToQFont();
    metrics_.emplace(qtFont_);
    qtFontName_ = font_.Name();
    qtFontHeight_ = font_.Height();
    qtFontStyle_ = font_.Style();
    qtFontStale_ = false;
  }
  return qtFont_;
}

const QFontMetrics& TCanvas::FontMetrics() {
  QtFont();
  return *metrics_;
}

// Only plain lines are shaped ahead: control characters (tabs among them)
// and drawn decorations stay with the painter's own text drawing.
const TCanvas::TShapedLine* TCanvas::ShapedLine(const QString& line, bool rightToLeft) {
  if (font_.Style() & (fsUnderline | fsStrikeOut)) return nullptr;
  for (const QChar c : line)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return nullptr;
  const QFont& font = QtFont();
  TShapeKey key{line, qtFontName_, qtFontHeight_, int(qtFontStyle_), rightToLeft};
  if (auto it = shaped_.constFind(key); it != shaped_.cend()) return &*it;
  TShapedLine shaped;
  if (auto it = shapedBefore_.find(key); it != shapedBefore_.end()) {
    shaped = std::move(*it);
    shapedBefore_.erase(it);
  } else {
    shaped.width = metrics_->horizontalAdvance(line);
    QTextLayout layout(line, font, Drawable() ? target_ : nullptr);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine text = layout.createLine();
    layout.endLayout();
    if (!text.isValid()) return nullptr;
    // The painter draws a string from its baseline: the glyphs are kept so.
    shaped.runs = text.glyphRuns();
    for (QGlyphRun& run : shaped.runs) {
      QList<QPointF> positions = run.positions();
      for (QPointF& at : positions) at.ry() -= text.ascent();
      run.setPositions(positions);
    }
  }
  if (shaped_.size() >= kShapedLines) {
    shapedBefore_ = std::move(shaped_);
    shaped_.clear();
  }
  return &*shaped_.insert(std::move(key), std::move(shaped));
}

int TCanvas::LineWidth(const QString& line) {
  const TShapedLine* shaped = ShapedLine(line, false);
  return shaped ? shaped->width : FontMetrics().horizontalAdvance(line);
}

int TCanvas::TextWidth(const QString& text) { return FontMetrics().horizontalAdvance(text); }

int TCanvas::TextHeight(const QString&) { return FontMetrics().height(); }

void TCanvas::TextOut(int x, int y, const QString& text) {
  const QFontMetrics& fm = FontMetrics();
  const int width = fm.horizontalAdvance(text);
  if (Drawable()) {
    Changing(
        TRect::FromQt(fm.boundingRect(text).translated(x, y + fm.ascent()).united(QRect(x, y, width, fm.height()))));
    if (brush_.Style() != bsClear) FillSolid(Bounds(x, y, width, fm.height()), brush_.Color());
    QPainter& p = ActivePainter();
    p.setPen(ToQColor(font_.Color()));
    p.drawText(x, y + fm.ascent(), text);
  }
  penPos_ = TPoint(x + width, y);
}

void TCanvas::DrawTextLine(const QString& line, const QRect& box, uint32_t flags, int lineHeight) {
  QPainter& p = ActivePainter();
  if (brush_.Style() != bsClear) {
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(box.left(), box.top(), box.width(), lineHeight), ToQColor(brush_.Color()));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  p.setPen(ToQColor(font_.Color()));
  const bool rightToLeft = flags & DT_RTLREADING;
  const QPointF baseline(box.left(), box.top() + FontMetrics().ascent());
  if (const TShapedLine* shaped = ShapedLine(line, rightToLeft)) {
    for (const QGlyphRun& run : shaped->runs) p.drawGlyphRun(baseline, run);
    return;
  }
  p.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  p.drawText(baseline, line);
  p.setLayoutDirection(Qt::LeftToRight);
}

int TCanvas::DrawText(const QString& text, TRect& r, uint32_t flags) {
  const QFontMetrics& fm = FontMetrics();
  int underlined = -1;
  const QString shown = (flags & DT_NOPREFIX) ? text : StripPrefixes(text, &underlined);
  const int lineHeight = fm.height() + ((flags & DT_EXTERNALLEADING) ? fm.leading() : 0);
  const bool single = flags & DT_SINGLELINE;

  QStringList lines;
  if (single) {
    lines << shown;
  } else {
    for (const QString& paragraph : QString(shown).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n'))
      lines << ((flags & DT_WORDBREAK) ? WrapWords(paragraph, r.Width(), fm) : QStringList{paragraph});
  }
  // Each line's width, measured once; -1 while not yet measured.
  std::vector<int> widths(size_t(lines.size()), -1);
  if (flags & DT_END_ELLIPSIS)
    for (qsizetype i = 0; i < lines.size(); ++i) {
      widths[size_t(i)] = LineWidth(lines[i]);
      if (widths[size_t(i)] > r.Width()) lines[i] = ElideEnd(lines[i], r.Width(), fm, widths[size_t(i)]);
    }

  const int height = lineHeight * int(lines.size());
  if (flags & DT_CALCRECT) {
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
    r.Right = r.Left + widest;
    r.Bottom = r.Top + height;
    return height;
  }
  if (!Drawable()) return height;

  int y = r.Top;  // only single lines are centred or bottom-aligned
  if (single && (flags & DT_VCENTER))
    y = r.Top + (r.Height() - lineHeight) / 2;
  else if (single && (flags & DT_BOTTOM))
    y = r.Bottom - lineHeight;

  QPainter& p = Painter(r);
  p.save();
  p.setClipRect(Q(r), p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    const int width = widths[size_t(i)] >= 0 ? widths[size_t(i)] : LineWidth(line);
    int x = r.Left;
    if (flags & DT_RIGHT)
      x = r.Right - width;
    else if (flags & DT_CENTER)
      x = r.Left + (r.Width() - width) / 2;
    DrawTextLine(line, QRect(x, y, width, lineHeight), flags, lineHeight);
    if (underlined >= 0 && underlined < line.size()) {
      const int ux = x + fm.horizontalAdvance(line.left(underlined));
      const int uw = fm.horizontalAdvance(line.mid(underlined, 1));
      p.fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), ToQColor(font_.Color()));
      underlined = -1;
    }
    y += lineHeight;
  }
  p.restore();
  return height;
}

// ---- copies and inverting ----------------------------------------------------

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src) {
  if (IsRectEmpty(dest) || !Drawable()) return;
  QPainter& p = Painter(dest);
  if (copyMode_ == DSTINVERT) {
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.fillRect(Q(dest), Qt::white);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return;
  }
  if (!source || !source->Drawable()) throw EInvalidOperation(QStringLiteral("Canvas does not allow drawing"));
  QPainter::CompositionMode mode;
  switch (copyMode_) {
    case SRCCOPY:
      mode = QPainter::CompositionMode_Source;
      break;
    case SRCINVERT:
      mode = QPainter::RasterOp_SourceXorDestination;
      break;
    case SRCAND:
      mode = QPainter::RasterOp_SourceAndDestination;
      break;
    case SRCPAINT:
      mode = QPainter::RasterOp_SourceOrDestination;
      break;
    default:
      throw EInvalidOperation(QStringLiteral("Unsupported copy mode %1").arg(copyMode_, 8, 16, QChar(u'0')));
  }
  // A copy first, so that copying a canvas onto itself reads unchanged pixels.
  const QImage piece = source->target_->copy(Q(src).translated(source->origin_.X, source->origin_.Y));
  p.setCompositionMode(mode);
  p.drawImage(Q(dest), piece);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::XorPixels(const QRegion& area, const std::function<QRgb(int x, int y)>& pattern) {
  for (const QRect& rect : area) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(target_->scanLine(y));
      for (int x = rect.left(); x <= rect.right(); ++x) line[x] ^= pattern(x, y) & 0x00FFFFFFu;
    }
  }
}

void TCanvas::DrawFocusRect(const TRect& r) {
  if (IsRectEmpty(r) || !Drawable()) return;
  QRegion frame = DeviceClip(r);
  frame -= DeviceClip(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
  if (frame.isEmpty()) return;
  Changing(r);
  const QRgb even = ToQColor(textColor_).rgb(), odd = ToQColor(bkColor_).rgb();
  // Alternate pixels take the two colours, XORed in: drawing twice erases.
  XorPixels(frame, [&](int x, int y) { return ((x + y) & 1) == 0 ? even : odd; });
}

// ---- 3D edges and frame controls ---------------------------------------------

void TCanvas::DrawEdge(TRect& r, uint32_t edge, uint32_t flags) {
  struct Ring {
    TColor topLeft;
    TColor bottomRight;
  };
  std::vector<Ring> rings;
  if (edge & BDR_RAISEDOUTER)
    rings.push_back({cl3DLight, cl3DDkShadow});
  else if (edge & BDR_SUNKENOUTER)
    rings.push_back({clBtnShadow, clBtnHighlight});
  if (edge & BDR_RAISEDINNER)
    rings.push_back({clBtnHighlight, clBtnShadow});
  else if (edge & BDR_SUNKENINNER)
    rings.push_back({cl3DDkShadow, cl3DLight});

  TRect box = r;
  for (const Ring& ring : rings) {
    if (flags & BF_TOP) FillSolid(TRect(box.Left, box.Top, box.Right, box.Top + 1), ring.topLeft);
    if (flags & BF_LEFT) FillSolid(TRect(box.Left, box.Top, box.Left + 1, box.Bottom), ring.topLeft);
    if (flags & BF_BOTTOM) FillSolid(TRect(box.Left, box.Bottom - 1, box.Right, box.Bottom), ring.bottomRight);
    if (flags & BF_RIGHT) FillSolid(TRect(box.Right - 1, box.Top, box.Right, box.Bottom), ring.bottomRight);
    if (flags & BF_LEFT) ++box.Left;
    if (flags & BF_TOP) ++box.Top;
    if (flags & BF_RIGHT) --box.Right;
    if (flags & BF_BOTTOM) --box.Bottom;
  }
  if (flags & BF_MIDDLE) FillSolid(box, clBtnFace);
  if (flags & BF_ADJUST) r = box;
}

namespace {

enum class TArrow { Up, Down, Left, Right };

// A solid triangle of k rows centred in r, pointing the given way.
std::vector<TRect> ArrowRows(const TRect& r, TArrow arrow) {
  const int k = std::max(2, (std::min(r.Width(), r.Height()) - 4) / 3);
  std::vector<TRect> rows;
  const bool vertical = arrow == TArrow::Up || arrow == TArrow::Down;
  const int cx = r.Left + (r.Width() - 1) / 2, cy = r.Top + (r.Height() - 1) / 2;
  const int start = vertical ? r.Top + (r.Height() - k) / 2 : r.Left + (r.Width() - k) / 2;
  for (int i = 0; i < k; ++i) {
    const int half = (arrow == TArrow::Up || arrow == TArrow::Left) ? i : k - 1 - i;
    if (vertical)
      rows.emplace_back(cx - half, start + i, cx + half + 1, start + i + 1);
    else
      rows.emplace_back(start + i, cy - half, start + i + 1, cy + half + 1);
  }
  return rows;
}

}  // namespace

void TCanvas::DrawFrameControl(TRect& r, uint32_t kind, uint32_t state) {
  const bool pushed = state & DFCS_PUSHED;
  TRect face = r;
  if (kind == DFC_BUTTON && pushed) {
    FrameSolid(face, clWindowFrame);
    InflateRect(face, -1, -1);
    FrameSolid(face, clBtnShadow);
    InflateRect(face, -1, -1);
    FillSolid(face, clBtnFace);
  } else if (kind == DFC_SCROLL && pushed) {
    FrameSolid(face, clBtnShadow);
    InflateRect(face, -1, -1);
    FillSolid(face, clBtnFace);
    InflateRect(face, -1, -1);
  } else {
    DrawEdge(face, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  }
  if (kind == DFC_SCROLL) {
    const uint32_t shape = state & 0xF;
    const TArrow arrow = shape == DFCS_SCROLLUP      ? TArrow::Up
                         : shape == DFCS_SCROLLLEFT  ? TArrow::Left
                         : shape == DFCS_SCROLLRIGHT ? TArrow::Right
                                                     : TArrow::Down;
    TRect glyphBox = r;
    if (pushed) OffsetRect(glyphBox, 1, 1);
    for (const TRect& row : ArrowRows(glyphBox, arrow)) FillSolid(row, clBtnText);
  } else if (kind != DFC_BUTTON) {
    throw EInvalidOperation(QStringLiteral("Unsupported frame control %1").arg(kind));
  }
  if (state & DFCS_ADJUSTRECT) r = face;
}

// ---- pictures ----------------------------------------------------------------

void TCanvas::Draw(int x, int y, const QImage& picture) {
  if (picture.isNull() || !Drawable()) return;
  QPainter& p = Painter(Bounds(x, y, picture.width(), picture.height()));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(x, y, picture);
}

void TCanvas::StretchDraw(const TRect& r, const QImage& picture) {
  if (picture.isNull() || IsRectEmpty(r) || !Drawable()) return;
  QPainter& p = Painter(r);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(Q(r), picture);
}
