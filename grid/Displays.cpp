#include "grid/Displays.h"

#include <cmath>
#include <optional>

#include "grid/ColumnClasses.h"
#include "grid/Providers.h"
#include "platform/Canvas.h"
#include "platform/FormatFloat.h"
#include "platform/SysUtils.h"
#include "platform/Themes.h"

namespace {

template <typename Display>
void RegisterDisplay(const char* name) {
  RegisterDisplayClass(QString::fromLatin1(name), [](TCustomColumn* c) { return std::make_unique<Display>(c); });
}

// The picture without the colour of its bottom-left pixel.
QImage KeyedImage(const TBitmap& picture) {
  if (picture.Empty()) return {};
  TBitmap keyed(picture);
  keyed.SetTransparentColor(clDefault);
  keyed.SetTransparent(true);
  return keyed.MaskedImage();
}

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

}  // namespace

void RegisterColumnDisplays() {
  static const bool registered = [] {
    RegisterDisplay<TTextualColumnDisplay>("TTextualColumnDisplay");
    RegisterDisplay<TNumericColumnDisplay>("TNumericColumnDisplay");
    RegisterDisplay<TDateColumnDisplay>("TDateColumnDisplay");
    RegisterDisplay<TIncrementColumnDisplay>("TIncrementColumnDisplay");
    RegisterDisplay<TCheckBoxColumnDisplay>("TCheckBoxColumnDisplay");
    RegisterDisplay<TImageColumnDisplay>("TImageColumnDisplay");
    RegisterDisplay<TProgressColumnDisplay>("TProgressColumnDisplay");
    RegisterDisplay<TRateColumnDisplay>("TRateColumnDisplay");
    RegisterDisplay<TGraphicColumnDisplay>("TGraphicColumnDisplay");
    RegisterDisplay<THtmlColumnDisplay>("THtmlColumnDisplay");
    RegisterPlayClass(QStringLiteral("TCheckBoxColumnPlay"),
                      [](TCustomColumn* c) { return std::make_unique<TCheckBoxColumnPlay>(c); });
    return true;
  }();
  Q_UNUSED(registered);
}

// ---- texts ---------------------------------------------------------------------

void TTextualColumnDisplay::PaintValue() {
  const auto* column = qobject_cast<const TTextualColumn*>(Column());
  DrawCellText(column ? column->FormatText(TextValue) : TextValue, GetTextRect());
}

void TNumericColumnDisplay::PaintValue() {
  const auto* column = qobject_cast<const TNumericColumn*>(Column());
  const QString mask = column ? column->FormatMask() : QString();
  const QString number = mask.isEmpty() ? FloatToStr(FloatValue) : FormatFloat(mask, FloatValue);
  DrawCellText(column ? number + column->TextAfter() : number, GetTextRect());
}

void TDateColumnDisplay::PaintValue() {
  const auto* column = qobject_cast<const TDateColumn*>(Column());
  if (DateTimeValue == 0 && column && column->HideWhenEmpty())
    return DrawCellText(column->EmptyCaption(), GetTextRect());
  QString text;
  try {
    text = DateTimeToStr(DateTimeValue);
  } catch (const EConvertError&) {
    return;  // a date the calendar cannot show leaves the cell without text
  }
  DrawCellText(text, GetTextRect());
}

void TIncrementColumnDisplay::PaintValue() { DrawCellText(QString::number(qint64(IntegerValue) + 1), GetTextRect()); }

// ---- pictures ------------------------------------------------------------------

void TCheckBoxColumnDisplay::PaintValue() {
  if (!Canvas) return;
  TGraphicsProvider::DrawCheckBox(ThemeWindow, Canvas, CellRect, Column()->Alignment(), Column()->VerticalAlignment(),
                                  BooleanValue, false, false);
}

void TImageColumnDisplay::PaintValue() {
  const auto* column = qobject_cast<const TImageColumn*>(Column());
  if (!Canvas || !column || !column->Images()) return;
  const TImageList* images = column->Images();
  const int index = IntegerValue;
  if (index < 0 || index >= images->Count()) return;
  const TPoint p = TCalcProvider::AlignBox(images->Width(), images->Height(), 2, CellRect, column->Alignment(),
                                           column->VerticalAlignment());
  if (!column->Masked()) return Canvas->Draw(p.X, p.Y, images->Image(index));
  const TImageList* masks = column->Masks();
  if (!masks || index >= masks->Count()) return;
  const QImage image = images->Image(index), mask = masks->Image(index);
  // Lists of two sizes have no mask for this picture; painting goes on.
  if (image.size() != mask.size()) return;
  TMaskProvider::DrawMasked(Canvas, p.X, p.Y, image, mask);
}

namespace {

// 0 for no maximum; never outside 0..100, so the bar stays inside its box.
double ProgressPercent(double value, int max) {
  if (max == 0) return 0;
  const double percent = TCalcProvider::Percent(value, max);
  return std::isnan(percent) ? 0 : std::clamp(percent, 0.0, 100.0);
}

}  // namespace

void TProgressColumnDisplay::PaintValue() {
  const auto* column = qobject_cast<const TProgressColumn*>(Column());
  if (!Canvas || !column || (FloatValue == 0 && column->HideWhenEmpty())) return;
  const double percent = ProgressPercent(FloatValue, column->Max());
  TRect box = CellRect;
  InflateRect(box, -column->Margin(), -column->Margin());
  if (column->ShowText()) {
    DrawCellText(FormatFloat(QStringLiteral("0"), percent) + u'%', GetTextRect());
    box.Left += 30;
  }
  Canvas->Brush()->SetColor(column->BorderColor());
  if (column->Transparent()) {
    Canvas->FrameRect(box);
  } else {
    Canvas->Brush()->SetColor(column->Color());
    Canvas->Pen()->SetColor(column->BorderColor());
    Canvas->Rectangle(box);
  }
  // One pixel of the background stays between the bar and the border.
  TRect inner = box;
  InflateRect(inner, -2, -2);
  const TRect bar(inner.Left, inner.Top, inner.Left + RoundHalfEven(inner.Width() * percent / 100), inner.Bottom);
  if (IsRectEmpty(bar)) return;
  Canvas->Brush()->SetColor(column->ProgressColor());
  switch (column->ProgressStyle()) {
    case ColumnKinds::psSolid:
      Canvas->FillRect(bar);
      break;
    case ColumnKinds::psGradient:
      TGraphicsProvider::GradientHorizontal(Canvas, bar, column->Color(), column->ProgressColor());
      break;
    case ColumnKinds::psCylinder:
      TGraphicsProvider::GradientVertical(Canvas, bar, column->Color(), column->ProgressColor());
      break;
  }
}

const QImage& TRateColumnDisplay::Keyed(const TBitmap& symbol, int slot) {
  KeyedSymbol& keyed = keyed_[size_t(slot)];
  const qint64 source = symbol.Image().cacheKey();
  if (keyed.source != source || keyed.image.isNull() != symbol.Empty()) {
    keyed.source = source;
    keyed.image = KeyedImage(symbol);
  }
  return keyed.image;
}

namespace {

// Where a row of symbols starts, as AlignBox places it with no margin; the
// row may be wider than a coordinate holds.
int64_t RowLeft(int64_t width, const TRect& r, TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return r.Right - width;
    case taCenter:
      return r.Left + r.Width() / 2 - width / 2;
    default:
      return r.Left;
  }
}

}  // namespace

void TRateColumnDisplay::PaintValue() {
  auto* column = qobject_cast<TRateColumn*>(Column());
  if (!Canvas || !column || (IntegerValue == 0 && column->HideWhenEmpty())) return;
  const TBitmap& full = *column->Glyph();
  // The row is laid out by the full symbol's width; without one there is none.
  const int width = full.Width();
  if (width <= 0 || column->Max() <= 0) return;
  const int y =
      TCalcProvider::AlignBox(width, full.Height(), 0, CellRect, column->Alignment(), column->VerticalAlignment()).Y;
  // Symbols wholly left of the cell are skipped, not drawn one by one.
  int64_t first = 1, x = RowLeft(int64_t(width) * column->Max(), CellRect, column->Alignment());
  if (x + width <= CellRect.Left) {
    const int64_t skipped = (CellRect.Left - x) / width;
    first += skipped;
    x += skipped * width;
  }
  for (int64_t i = first; i <= column->Max() && x < CellRect.Right; ++i, x += width) {
    const bool empty = IntegerValue < i;
    const TBitmap& symbol = empty ? *column->EmptyGlyph() : full;
    if (column->Masked()) {
      const TBitmap& mask = empty ? *column->EmptyGlyphMask() : *column->GlyphMask();
      // A mask of another size cannot cover its symbol; the others still show.
      if (symbol.Image().size() == mask.Image().size()) TMaskProvider::DrawMasked(Canvas, int(x), y, symbol, mask);
    } else if (column->Transparent()) {
      Canvas->Draw(int(x), y, Keyed(symbol, empty));
    } else {
      Canvas->Draw(int(x), y, symbol);
    }
  }
}

namespace {

// The picture scaled to fit g in proportion, centred along the roomier axis.
TRect ProportionalBox(const TRect& g, int pictureWidth, int pictureHeight) {
  const double sx = double(g.Width()) / pictureWidth, sy = double(g.Height()) / pictureHeight;
  const double s = std::min(sx, sy);
  const int w = RoundHalfEven(pictureWidth * s), h = RoundHalfEven(pictureHeight * s);
  int left = g.Left, top = g.Top;
  if (sx >= sy)
    left = g.Left + g.Width() / 2 - w / 2;
  else
    top = g.Top + g.Height() / 2 - h / 2;
  return TRect(left, top, left + w, top + h);
}

}  // namespace

void TGraphicColumnDisplay::PaintValue() {
  const auto* column = qobject_cast<const TGraphicColumn*>(Column());
  if (!Canvas || !column) return;
  TRect box = CellRect;
  InflateRect(box, -column->Margin(), -column->Margin());
  Canvas->Brush()->SetColor(Selected ? clHighlightText : clBtnFace);
  const TRect drawable = Canvas->ClipRect();
  for (int k = 1; k <= column->BorderWidth(); ++k) {
    TRect frame = box;
    InflateRect(frame, k, k);
    // Once a frame's inside holds all that can be drawn, the wider ones miss it.
    if (IsRectEmpty(drawable) || (frame.Left < drawable.Left && frame.Top < drawable.Top &&
                                  frame.Right > drawable.Right && frame.Bottom > drawable.Bottom))
      break;
    Canvas->FrameRect(frame);
  }
  const auto* picture = dynamic_cast<const TBitmap*>(Graphic);
  if (!picture || picture->Empty() || IsRectEmpty(box)) return;
  const TRect target = column->Strecht() ? box : ProportionalBox(box, picture->Width(), picture->Height());
  Canvas->StretchDraw(target, picture->MaskedImage());
}

// ---- mark-up ---------------------------------------------------------------------

namespace {

enum THtmlTag { tgUnknown, tgA, tgB, tgBr, tgFont, tgI, tgU, tgCount };
enum THtmlAttribute { atUnknown, atColor, atName, atHref, atSize };

// 1 for the first name, 2 for the second …, 0 for none of them.
int NameNumber(const QString& name, std::initializer_list<const char*> names) {
  int number = 1;
  for (const char* candidate : names) {
    if (name.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0) return number;
    ++number;
  }
  return 0;
}

int TagNumber(const QString& name) { return NameNumber(name, {"a", "b", "br", "font", "i", "u"}); }
int AttributeNumber(const QString& name) { return NameNumber(name, {"color", "name", "href", "size"}); }

bool IsHexDigit(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// "#RRGGBB"; anything else is no colour.
std::optional<TColor> MarkupColor(const QString& value) {
  if (value.size() != 7 || value[0] != u'#' || !std::all_of(value.begin() + 1, value.end(), IsHexDigit))
    return std::nullopt;
  const uint rgb = value.mid(1).toUInt(nullptr, 16);
  return RGB(int(rgb >> 16), int(rgb >> 8) & 0xFF, int(rgb & 0xFF));
}

// Sizes in points; outside this range a size is taken for a typing error.
constexpr int kLargestMarkupSize = 1000;

std::optional<int> MarkupSize(const QString& value) {
  const std::optional<int> size = TryStrToInt(value);
  if (!size || *size < 1 || *size > kLargestMarkupSize) return std::nullopt;
  return size;
}

void SetFontStyle(TFont* font, TFontStyle style, bool on) {
  font->SetStyle(on ? font->Style() | style : font->Style() & ~TFontStyles(style));
}

// Draws mark-up character by character from the top-left corner of R.
class THtmlRenderer {
 public:
  THtmlRenderer(TCanvas* canvas, const TRect& r, bool ellipsis)
      : canvas_(canvas), r_(r), ellipsis_(ellipsis), x_(r.Left), y_(r.Top) {}

  void Render(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i];
      if (inTag_) {
        TagCharacter(c);
      } else if (c == u'<') {
        OpenTag();
      } else {
        // A surrogate pair is one character.
        const qsizetype n = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        if (!DrawCharacter(text.mid(i, n))) return;
        i += n - 1;
      }
    }
  }

 private:
  // False once the text has been cut with "...".
  bool DrawCharacter(const QString& c) {
    lineHeight_ = std::max(lineHeight_, canvas_->TextHeight(c));
    const int w = canvas_->TextWidth(c);
    if (ellipsis_ && x_ + w + 8 >= r_.Right) {
      canvas_->TextOut(x_, y_, QStringLiteral("..."));
      return false;
    }
    canvas_->TextOut(x_, y_, c);
    x_ += w;
    return true;
  }

  void OpenTag() {
    inTag_ = true;
    closing_ = inAttributes_ = inValue_ = false;
    tagName_.clear();
    attribute_.clear();
    value_.clear();
  }

  // A slash inside a value ("href=http://…") belongs to the value.
  void TagCharacter(QChar c) {
    if (c == u'>') {
      ApplyAttribute();
      FinishTag();
      inTag_ = false;
    } else if (c == u' ') {
      ApplyAttribute();
      attribute_.clear();
      value_.clear();
      inAttributes_ = true;
      inValue_ = false;
    } else if (c == u'=') {
      inValue_ = true;
      value_.clear();
    } else if (c == u'/' && !inValue_) {
      closing_ = true;
    } else {
      (inValue_ ? value_ : inAttributes_ ? attribute_ : tagName_) += c;
    }
  }

  // Only font takes attributes; a value it cannot read leaves the font as it was.
  void ApplyAttribute() {
    if (TagNumber(tagName_) != tgFont) return;
    TFont* font = canvas_->Font();
    switch (AttributeNumber(attribute_)) {
      case atColor:
        if (const auto color = MarkupColor(value_)) font->SetColor(*color);
        break;
      case atName:
        font->SetName(value_);
        break;
      case atSize:
        if (const auto size = MarkupSize(value_)) font->SetSize(*size);
        break;
      default:
        break;
    }
  }

  // Once per tag, whatever attributes it carries.
  void FinishTag() {
    const int tag = TagNumber(tagName_);
    int& count = counters_[size_t(tag)];
    count = closing_ ? std::max(0, count - 1) : count + 1;
    const bool open = count >= 1;
    TFont* font = canvas_->Font();
    switch (tag) {
      case tgA:
        SetFontStyle(font, fsUnderline, open);
        font->SetColor(open ? clBlue : clWindowText);
        break;
      case tgB:
        SetFontStyle(font, fsBold, open);
        break;
      case tgBr:
        y_ += lineHeight_;
        lineHeight_ = 0;
        x_ = r_.Left;
        break;
      case tgI:
        SetFontStyle(font, fsItalic, open);
        break;
      case tgU:
        SetFontStyle(font, fsUnderline, open);
        break;
      default:
        break;
    }
  }

  TCanvas* canvas_;
  TRect r_;
  bool ellipsis_;
  int x_, y_;
  int lineHeight_ = 0;
  std::array<int, tgCount> counters_{};
  bool inTag_ = false, closing_ = false, inAttributes_ = false, inValue_ = false;
  QString tagName_, attribute_, value_;
};

}  // namespace

void THtmlColumnDisplay::PaintValue() {
  if (!Canvas) return;
  const auto* column = qobject_cast<const THtmlColumn*>(Column());
  const QString text = column ? column->MarkupBefore() + TextValue + column->MarkupAfter() : TextValue;
  Canvas->Font()->Assign(Column()->Font());
  Canvas->Brush()->SetStyle(bsClear);
  THtmlRenderer(Canvas, CellRect, Column()->WrapKind() == wkEllipsis).Render(text);
  Canvas->Brush()->SetStyle(bsSolid);
}

// ---- TCheckBoxColumnPlay -------------------------------------------------------

TRect TCheckBoxColumnPlay::CheckBoxRect() const {
  const int size = ThemesActive() ? 13 : 11;
  const TRect cell(0, 0, CellRect.Width(), CellRect.Height());
  const TPoint p = TCalcProvider::AlignBox(size, size, 2, cell, Column()->Alignment(), Column()->VerticalAlignment());
  return Bounds(p.X, p.Y, size, size);
}

void TCheckBoxColumnPlay::Toggle() {
  BooleanValue = !BooleanValue;
  Change();
}

void TCheckBoxColumnPlay::KeyPress(QChar Key) {
  if (Key == u' ') Toggle();
}

void TCheckBoxColumnPlay::MouseDown(const TPoint& P) {
  if (PtInRect(CheckBoxRect(), P)) Toggle();
}

void TCheckBoxColumnPlay::Start() {
  TColumnPlay::Start();
  TColumnDisplay* display = Column()->Display();
  if (!display) return;
  display->PaintValue();
  BooleanValue = true;
  display->PaintValue();
}

// ---- TColumnPartDisplay --------------------------------------------------------

namespace {

// Top and left edges in one colour, bottom and right in the other; the
// corners top-right and bottom-left take the second.
void Frame3D(TCanvas* canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  const int right = r.Right - 1, bottom = r.Bottom - 1;
  canvas->Pen()->SetColor(topLeft);
  canvas->Polyline({TPoint(r.Left, bottom), TPoint(r.Left, r.Top), TPoint(right, r.Top)});
  canvas->Pen()->SetColor(bottomRight);
  canvas->Polyline({TPoint(right, r.Top), TPoint(right, bottom), TPoint(r.Left - 1, bottom)});
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

bool IsDesigning(const TCustomColumn* column) {
  const TColumns* columns = column->Collection();
  return columns && columns->Control() && columns->Control()->IsDesigning();
}

}  // namespace

bool TColumnPartDisplay::HasGlyph() const {
  const TColumnHeader* header = Column->Header();
  return header->DisplayMode() != dmTextOnly && header->Glyph()->Height() > 0;
}

int TColumnPartDisplay::TextIndent() const {
  const bool themedText = grid_->HeaderStyle() == hsAuto && Column->Header()->DisplayMode() == dmTextOnly;
  return themedText && ThemesActive() ? 11 : 2;
}

void TColumnPartDisplay::PaintPart(uint8_t Kind) {
  partKind_ = Kind;
  if (!Column) return;
  switch (Kind) {
    case pkFooter:
      PaintFooter();
      break;
    case pkHeader:
      PaintHeaderBackground();
      PaintHeaderContent();
      break;
    case pkInput:
      PaintInput();
      break;
    default:
      break;
  }
}

void TColumnPartDisplay::PaintHeaderBackground() {
  const int place = Column->Place();
  const TColor color = Column->Header()->Color();
  switch (grid_->HeaderStyle()) {
    case hsAuto:
      if (ThemesActive())
        DrawHeaderThemed(PartRect, place, color);
      else
        DrawHeaderDefault(PartRect, place, color);
      break;
    case hsDefault:
      DrawHeaderDefault(PartRect, place, color);
      break;
    case hsOldStyle:
      DrawHeaderOld(PartRect, color);
      break;
  }
}

void TColumnPartDisplay::DrawHeaderDefault(const TRect& R, int Place, TColor Color) {
  DrawHeaderClassic(R, Place, Color);
}

// Neighbouring headers meet in short separators with clipped corners; only
// the outer ends of the strip reach the full height.
void TColumnPartDisplay::DrawHeaderClassic(const TRect& R, int Place, TColor Color) {
  const int l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
  canvas_->Brush()->SetColor(Color);
  canvas_->FillRect(TRect(l + 1, t + 1, r - 1, b - 1));
  if (Place == 0) return Frame3D(canvas_, R, clBtnHighlight, clBtnShadow);
  canvas_->Pen()->SetColor(clBtnHighlight);
  Line(canvas_, l, t, r, t);
  if (Place == 1) {
    Line(canvas_, l, t + 1, l, b - 1);
  } else {
    Line(canvas_, l, t + 2, l, b - 2);
    canvas_->SetPixels(l, t + 1, Color);
    canvas_->SetPixels(l, b - 2, Color);
  }
  canvas_->Pen()->SetColor(clBtnShadow);
  Line(canvas_, l, b - 1, r, b - 1);
  if (Place == 3) {
    Line(canvas_, r - 1, t, r - 1, b - 1);
  } else {
    Line(canvas_, r - 1, t + 2, r - 1, b - 2);
    canvas_->SetPixels(r - 1, t + 1, Color);
    canvas_->SetPixels(r - 1, b - 2, Color);
  }
}

void TColumnPartDisplay::DrawHeaderOld(const TRect& R, TColor Color) {
  canvas_->Brush()->SetColor(Color);
  canvas_->FillRect(R);
  Frame3D(canvas_, R, clBtnHighlight, clWindowFrame);
}

namespace {

// The style renders a themed part through a pixmap of the part's size, so
// only the columns of pixels that can show are handed to it: the clip box's
// and a few beyond, which keep the stretch's cut ends out of sight. Its
// shading runs top to bottom, so a horizontal cut leaves the pixels alike.
void DrawThemedVisible(QWidget* window, TCanvas* canvas, const TRect& R, TThemeClass themeClass, int part, int state) {
  constexpr int kMargin = 8;
  const TRect clip = canvas->ClipRect();
  const TRect stretch(std::max(R.Left, clip.Left - kMargin), R.Top, std::min(R.Right, clip.Right + kMargin), R.Bottom);
  if (stretch.Right <= stretch.Left || stretch.Bottom <= stretch.Top) return;
  DrawThemed(window, canvas, stretch, themeClass, part, state);
}

}  // namespace

void TColumnPartDisplay::DrawHeaderThemed(const TRect& R, int, TColor) {
  int state = 1;
  if (Column->IsPressed())
    state = 3;
  else if (Column->IsHot() && !IsDesigning(Column))
    state = 2;
  DrawThemedVisible(grid_->ThemeWindow(), canvas_, R, TThemeClass::Header, 1, state);
}

void TColumnPartDisplay::DrawThemedCorner(const TRect& R) {
  DrawThemedVisible(grid_->ThemeWindow(), canvas_, R, TThemeClass::Header, 1, 1);
}

void TColumnPartDisplay::DrawThemedFiller(const TRect& R) {
  DrawThemedVisible(grid_->ThemeWindow(), canvas_, R, TThemeClass::Header, 2, 1);
}

// Left edge of the sort arrow: just after the caption, not at the right edge.
int TColumnPartDisplay::SortArrowLeft() const {
  const TColumnHeader* header = Column->Header();
  const int glyph = header->Glyph()->Width();
  switch (header->DisplayMode()) {
    case dmImageOnly:
      return PartRect.Left + 2 + glyph + 19;
    case dmTextOnly:
      return PartRect.Left + 2 + canvas_->TextWidth(header->Caption()) + 19;
    case dmTextAndImage:
      break;
  }
  return PartRect.Left + 2 + glyph + canvas_->TextWidth(header->Caption()) + 21;
}

void TColumnPartDisplay::PaintHeaderContent() {
  const TRect& r = PartRect;
  const TColumnHeader* header = Column->Header();
  const bool themed = ThemesActive();
  const int arrowY = r.Top + r.Height() / 2 - 4 + (themed ? 1 : 0);
  int x = TextIndent() + r.Left + 1;
  if (HasGlyph()) {
    const TBitmap& glyph = *header->Glyph();
    canvas_->Draw(x, r.Top + r.Height() / 2 - glyph.Height() / 2, KeyedImage(glyph));
    x += glyph.Width() + 2;
  }
  if (header->DisplayMode() != dmImageOnly)
    TGraphicsProvider::DrawText(canvas_, TRect(x, r.Top, r.Right, r.Bottom), taLeftJustify, header->Caption(),
                                RightToLeft);
  if (Column->Sorted()) {
    const int ax = SortArrowLeft();
    if (ax + 8 < r.Right) DrawSortArrow(ax, arrowY);
  }
  // The themed look shows the press itself.
  if (Column->IsPressed() && (!themed || grid_->HeaderStyle() != hsAuto)) InvertPressed();
}

void TColumnPartDisplay::DrawSortArrow(int X, int Y) {
  const bool ascending = Column->SortKind() == skAscending;
  if (ThemesActive()) {
    canvas_->Pen()->SetColor(clGrayText);
    canvas_->Brush()->SetColor(clGrayText);
    if (ascending)
      canvas_->Polygon({TPoint(X, Y + 4), TPoint(X + 4, Y), TPoint(X + 8, Y + 4)});
    else
      canvas_->Polygon({TPoint(X, Y), TPoint(X + 4, Y + 4), TPoint(X + 8, Y)});
    return;
  }
  // A stepped outline, lit from the top left.
  canvas_->Pen()->SetColor(clBtnShadow);
  if (ascending)
    canvas_->Polyline({TPoint(X + 7, Y + 6), TPoint(X, Y + 6), TPoint(X, Y + 5), TPoint(X + 1, Y + 5),
                       TPoint(X + 1, Y + 3), TPoint(X + 2, Y + 3), TPoint(X + 2, Y + 1), TPoint(X + 3, Y + 1),
                       TPoint(X + 3, Y - 1)});
  else
    canvas_->Polyline({TPoint(X + 7, Y), TPoint(X, Y), TPoint(X, Y + 1), TPoint(X + 1, Y + 1), TPoint(X + 1, Y + 3),
                       TPoint(X + 2, Y + 3), TPoint(X + 2, Y + 5), TPoint(X + 3, Y + 5), TPoint(X + 3, Y + 7)});
  canvas_->Pen()->SetColor(clBtnHighlight);
  if (ascending)
    canvas_->Polyline({TPoint(X + 7, Y + 5), TPoint(X + 6, Y + 5), TPoint(X + 6, Y + 3), TPoint(X + 5, Y + 3),
                       TPoint(X + 5, Y + 1), TPoint(X + 4, Y + 1), TPoint(X + 4, Y - 1)});
  else
    canvas_->Polyline({TPoint(X + 7, Y + 1), TPoint(X + 6, Y + 1), TPoint(X + 6, Y + 3), TPoint(X + 5, Y + 3),
                       TPoint(X + 5, Y + 5), TPoint(X + 4, Y + 5), TPoint(X + 4, Y + 7)});
}

void TColumnPartDisplay::InvertPressed() {
  const TRect& r = PartRect;
  const TRect area = Column->IsOnlyVisible() ? TRect(r.Left - 1, r.Top - 1, r.Right, r.Bottom)
                                             : TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
  canvas_->SetCopyMode(DSTINVERT);
  canvas_->CopyRect(area, canvas_, area);
  canvas_->SetCopyMode(SRCCOPY);
}

void TColumnPartDisplay::DrawGridLines(TColor Color) {
  const TRect& r = PartRect;
  canvas_->Pen()->SetColor(Color);
  Line(canvas_, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
  Line(canvas_, r.Right - 1, r.Top, r.Right - 1, r.Bottom + 1);
}

void TColumnPartDisplay::PaintFooter() {
  const TRect& r = PartRect;
  const int g = grid_->HasGridLines() ? 1 : 0;
  canvas_->Font()->Assign(Column->Font());
  canvas_->Brush()->SetColor(Column->Footer()->Color());
  canvas_->FillRect(TCalcProvider::InflateSides(r, 0, 0, -g, -g));
  if (g) DrawGridLines(clBtnFace);
  TGraphicsProvider::DrawText(canvas_, TCalcProvider::InflateSides(r, 2, 0, -1, -1), Column->Alignment(),
                              Column->Footer()->Caption(), RightToLeft);
}

void TColumnPartDisplay::PaintInput() {
  const TRect& r = PartRect;
  const bool editing = Column->InputOpen();
  const int g = grid_->HasGridLines() && InputActive ? 1 : 0;
  TFont* font = canvas_->Font();
  font->Assign(Column->Font());
  font->SetStyle({});
  // The active row is highlighted, except under its open editor and in the
  // current column, which shows where typing goes.
  TColor text = clGrayText, back = Column->Color();
  if (InputActive && !editing && !Column->IsCurrent()) {
    text = clHighlightText;
    back = Focused ? clHighlight : clBtnFace;
  }
  font->SetColor(text);
  canvas_->Brush()->SetColor(back);
  const TRect area = TCalcProvider::InflateSides(r, 0, 0, -g, -g);
  if (editing)
    canvas_->FrameRect(area);
  else
    canvas_->FillRect(area);
  if (g) DrawGridLines(clHighlight);
  const bool typed = !Column->InputText().isEmpty();
  TGraphicsProvider::DrawText(canvas_, TCalcProvider::InflateSides(r, 2, 0, -1, -1),
                              typed ? Column->Alignment() : taCenter,
                              typed ? Column->InputText() : Column->InputCaption(), RightToLeft);
}
