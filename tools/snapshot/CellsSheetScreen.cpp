// The cell painters at a glance: one row per column kind with values that
// show what each display does, and the three header styles with a column
// sorted each way, in the classic and the themed look side by side.

#include <functional>
#include <memory>
#include <vector>

#include "Snapshot.h"
#include "grid/ColumnClasses.h"
#include "grid/Displays.h"
#include "grid/Providers.h"
#include "platform/ImageList.h"
#include "platform/SysUtils.h"
#include "platform/Themes.h"

namespace {

constexpr int kLabelWidth = 110, kCellWidth = 120, kRowHeight = 28, kCellsPerRow = 3;
constexpr int kPanelWidth = 8 + kLabelWidth + kCellsPerRow * kCellWidth + 8;

// One cell: its own column, set up to show one thing, and the value loaded.
struct Cell {
  std::function<TCustomColumn*()> make;
  std::function<void(TColumnDisplay*)> load;
  bool hint = false;
};

struct KindRow {
  const char* label;
  std::vector<Cell> cells;
};

template <typename Column>
std::function<TCustomColumn*()> Kind(std::function<void(Column*)> setUp = {}) {
  return [setUp] {
    auto* column = new Column;
    column->SetColor(clWindow);
    column->SetVerticalAlignment(vaMiddle);
    if (setUp) setUp(column);
    return column;
  };
}

std::function<void(TColumnDisplay*)> Text(const char* text) {
  return [text](TColumnDisplay* d) { d->TextValue = QString::fromUtf8(text); };
}
std::function<void(TColumnDisplay*)> Number(double v) {
  return [v](TColumnDisplay* d) { d->FloatValue = v; };
}
std::function<void(TColumnDisplay*)> Integer(int v) {
  return [v](TColumnDisplay* d) { d->IntegerValue = v; };
}

// Small pictures drawn here so the sheet needs no files.
QImage Badge(TColor color, const QString& letter) {
  TBitmap picture(16, 16);
  TCanvas* c = picture.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 16, 16));
  c->Brush()->SetColor(color);
  c->Pen()->SetColor(clBlack);
  c->Ellipse(1, 1, 15, 15);
  c->Font()->SetColor(clWhite);
  c->Font()->SetStyle(fsBold);
  TRect box(0, 0, 16, 16);
  c->Brush()->SetStyle(bsClear);
  c->DrawText(letter, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  return picture.Image();
}

TBitmap Diamond(TColor fill) {
  TBitmap picture(12, 12);
  TCanvas* c = picture.Canvas();
  c->Brush()->SetColor(clFuchsia);  // the bottom-left colour: left out when drawn
  c->FillRect(TRect(0, 0, 12, 12));
  c->Brush()->SetColor(fill);
  c->Pen()->SetColor(clGray);
  c->Polygon({TPoint(6, 0), TPoint(11, 6), TPoint(6, 11), TPoint(1, 6)});
  return picture;
}

TImageList& Badges() {
  static TImageList list(nullptr, 16, 16);
  if (list.Count() == 0) {
    list.Add(Badge(RGB(0, 128, 0), QStringLiteral("1")));
    list.Add(Badge(RGB(192, 0, 0), QStringLiteral("2")));
    list.Add(Badge(RGB(0, 64, 192), QStringLiteral("3")));
  }
  return list;
}

TBitmap& Landscape() {
  static TBitmap picture(40, 24);
  static bool drawn = false;
  if (!drawn) {
    TGraphicsProvider::GradientVertical(picture.Canvas(), TRect(0, 0, 40, 16), RGB(120, 170, 240), clWhite);
    TGraphicsProvider::GradientVertical(picture.Canvas(), TRect(0, 16, 40, 24), RGB(60, 150, 60), RGB(30, 90, 30));
    drawn = true;
  }
  return picture;
}

std::vector<KindRow> Rows() {
  const auto rate = [](TRateColumn* c) {
    c->SetGlyph(Diamond(RGB(255, 200, 0)));
    c->SetEmptyGlyph(Diamond(clWhite));
    c->SetTransparent(true);
    c->SetAlignment(taCenter);
  };
  const auto progress = [](TProgressStyle style, bool text) {
    return Kind<TProgressColumn>([style, text](TProgressColumn* c) {
      c->SetProgressStyle(style);
      c->SetShowText(text);
    });
  };
  const auto date = Kind<TDateColumn>([](TDateColumn* c) {
    c->SetHideWhenEmpty(true);
    c->SetEmptyCaption(QStringLiteral("yok"));
  });
  const auto graphic = [](bool stretch) {
    return Kind<TGraphicColumn>([stretch](TGraphicColumn* c) { c->SetStrecht(stretch); });
  };
  const auto picture = [](TColumnDisplay* d) { d->Graphic = &Landscape(); };
  return {
      {"TTextualColumn",
       {{Kind<TTextualColumn>([](TTextualColumn* c) {
           c->SetTextBefore(QStringLiteral("("));
           c->SetTextAfter(QStringLiteral(")"));
         }),
         Text("0212 555 12 34")},
        {Kind<TTextualColumn>(), Text("İpucu var"), true},
        {Kind<TTextualColumn>([](TTextualColumn* c) { c->SetAlignment(taRightJustify); }),
         Text("Çok uzun bir hücre metni")}}},
      {"TComboBoxColumn",
       {{Kind<TComboBoxColumn>(), Text("Hat 1")},
        {Kind<TComboBoxColumn>([](TComboBoxColumn* c) { c->SetAlignment(taCenter); }), Text("Seçenek")},
        {Kind<TComboBoxColumn>(), Text("")}}},
      {"TNumericColumn",
       {{Kind<TNumericColumn>([](TNumericColumn* c) {
           c->SetFormatMask(QStringLiteral("#,##0.00"));
           c->SetTextAfter(QStringLiteral(" TL"));
           c->SetAlignment(taRightJustify);
         }),
         Number(1234.5)},
        {Kind<TNumericColumn>(), Number(-7.25)},
        {Kind<TNumericColumn>([](TNumericColumn* c) { c->SetFormatMask(QStringLiteral("0.0E+00")); }),
         Number(123456)}}},
      {"TDateColumn",
       {{date, [](TColumnDisplay* d) { d->DateTimeValue = EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 0, 0); }},
        {date, [](TColumnDisplay* d) { d->DateTimeValue = 0; }},
        {date, [](TColumnDisplay* d) { d->DateTimeValue = EncodeDate(1999, 12, 31); }}}},
      {"TCheckBoxColumn",
       {{Kind<TCheckBoxColumn>([](TCheckBoxColumn* c) { c->SetAlignment(taCenter); }),
         [](TColumnDisplay* d) { d->BooleanValue = false; }},
        {Kind<TCheckBoxColumn>([](TCheckBoxColumn* c) { c->SetAlignment(taCenter); }),
         [](TColumnDisplay* d) { d->BooleanValue = true; }},
        {Kind<TCheckBoxColumn>(), [](TColumnDisplay* d) { d->BooleanValue = true; }}}},
      {"THtmlColumn",
       {{Kind<THtmlColumn>(), Text("<b>Kalın</b> ve düz")},
        {Kind<THtmlColumn>(), Text("<font color=#C00000>kırmızı</font> <i>eğik</i> <a href=x>bağ</a>")},
        {Kind<THtmlColumn>(), Text("<u>iki</u><br>satır")}}},
      {"TImageColumn",
       {{Kind<TImageColumn>([](TImageColumn* c) { c->SetImages(&Badges()); }), Integer(0)},
        {Kind<TImageColumn>([](TImageColumn* c) {
           c->SetImages(&Badges());
           c->SetAlignment(taCenter);
         }),
         Integer(1)},
        {Kind<TImageColumn>([](TImageColumn* c) {
           c->SetImages(&Badges());
           c->SetAlignment(taRightJustify);
         }),
         Integer(2)}}},
      {"TProgressColumn",
       {{progress(ColumnKinds::psSolid, true), Number(45)},
        {progress(ColumnKinds::psGradient, false), Number(100)},
        {progress(ColumnKinds::psCylinder, false), Number(70)}}},
      {"TRateColumn",
       {{Kind<TRateColumn>(rate), Integer(3)},
        {Kind<TRateColumn>(rate), Integer(5)},
        {Kind<TRateColumn>(rate), Integer(0)}}},
      {"TIncrementColumn",
       {{Kind<TIncrementColumn>(), Integer(0)},
        {Kind<TIncrementColumn>(), Integer(1)},
        {Kind<TIncrementColumn>(), Integer(41)}}},
      {"TGraphicColumn", {{graphic(false), picture}, {graphic(true), picture}, {graphic(false), {}}}},
  };
}

void Label(TCanvas* c, const TRect& r, const QString& text) {
  TFont plain;
  c->Font()->Assign(&plain);
  TGraphicsProvider::DrawText(c, r, taLeftJustify, text, false);
}

// A cell as the grid paints it: clipped, background, grid lines, hint, value.
void PaintCell(TCanvas* c, const Cell& cell, const TRect& r) {
  std::unique_ptr<TCustomColumn> column(cell.make());
  TColumnDisplay* display = column->Display();
  display->Canvas = c;
  display->CellRect = TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
  c->SetClipRect(r);
  c->Pen()->SetColor(clBtnFace);
  c->Polyline({TPoint(r.Left, r.Bottom - 1), TPoint(r.Right - 1, r.Bottom - 1), TPoint(r.Right - 1, r.Top - 1)});
  display->FillBackground(column->Color(), true);
  if (cell.hint) display->DrawHintMark();
  c->Font()->Assign(column->Font());
  if (cell.load) cell.load(display);
  display->PaintValue();
  c->ResetClip();
}

class SheetGrid : public IPartDisplayGrid {
 public:
  explicit SheetGrid(THeaderStyle style) : style_(style) {}
  QWidget* ThemeWindow() const override { return nullptr; }
  THeaderStyle HeaderStyle() const override { return style_; }
  bool HasGridLines() const override { return true; }

 private:
  THeaderStyle style_;
};

// Three headers, the middle one sorted, then their input and footer cells.
int PaintHeaders(TCanvas* c, int top, THeaderStyle style, TSortKind kind) {
  TColumns columns;
  const char* captions[] = {"Hat no.", "Arayan numara", "Saat"};
  const int widths[] = {80, 130, 110};
  for (int i = 0; i < 3; ++i) {
    auto* column = new TTextualColumn;
    column->SetWidth(widths[i]);
    column->SetColor(clWindow);
    column->Header()->SetCaption(QString::fromUtf8(captions[i]));
    column->Footer()->SetCaption(i == 1 ? QStringLiteral("Toplam: 5") : QString());
    column->SetInputCaption(i == 2 ? QStringLiteral("Ara") : QString());
    columns.Add(column);
  }
  columns.Items(1)->SetSortKind(kind);
  columns.Items(1)->SetSorted(true);
  SheetGrid grid(style);
  TColumnPartDisplay parts(&grid, c);
  TFont gridFont;
  const int left = 8 + kLabelWidth;
  for (int i = 0; i < 3; ++i) {
    TCustomColumn* column = columns.Items(i);
    parts.Column = column;
    const int l = left + column->Left(), r = l + column->Width();
    c->Font()->Assign(&gridFont);
    parts.PartRect = TRect(l, top, r, top + 20);
    parts.PaintPart(pkHeader);
    parts.PartRect = TRect(l, top + 20, r, top + 36);
    parts.PaintPart(pkInput);
    parts.PartRect = TRect(l, top + 36, r, top + 54);
    parts.PaintPart(pkFooter);
  }
  return top + 54;
}

QImage RenderPanel(bool themed) {
  SetThemesActive(themed);
  const std::vector<KindRow> rows = Rows();
  const int height = 30 + int(rows.size()) * kRowHeight + 20 + 6 * 62 + 8;
  QImage image(kPanelWidth, height, QImage::Format_RGB32);
  image.fill(ToQColor(clBtnFace));
  TCanvas canvas(&image);
  Label(&canvas, TRect(8, 4, kPanelWidth, 24),
        themed ? QStringLiteral("Temalı görünüm") : QStringLiteral("Klasik görünüm"));
  int y = 30;
  for (const KindRow& row : rows) {
    Label(&canvas, TRect(8, y, 8 + kLabelWidth, y + kRowHeight), QString::fromLatin1(row.label));
    for (int i = 0; i < int(row.cells.size()); ++i) {
      const int x = 8 + kLabelWidth + i * kCellWidth;
      PaintCell(&canvas, row.cells[size_t(i)], TRect(x, y, x + kCellWidth, y + kRowHeight));
    }
    y += kRowHeight;
  }
  y += 20;
  const struct {
    THeaderStyle style;
    const char* name;
  } styles[] = {{hsAuto, "hsAuto"}, {hsDefault, "hsDefault"}, {hsOldStyle, "hsOldStyle"}};
  for (const auto& s : styles) {
    for (TSortKind kind : {skAscending, skDescending}) {
      Label(&canvas, TRect(8, y, 8 + kLabelWidth, y + 20),
            QString::fromLatin1(s.name) + (kind == skAscending ? QStringLiteral(" ↑") : QStringLiteral(" ↓")));
      y = PaintHeaders(&canvas, y, s.style, kind) + 8;
    }
  }
  canvas.Release();
  SetThemesActive(true);
  return image;
}

QImage RenderCellsSheet() {
  const QImage classic = RenderPanel(false), themed = RenderPanel(true);
  QImage sheet(classic.width() + themed.width(), std::max(classic.height(), themed.height()), QImage::Format_RGB32);
  sheet.fill(ToQColor(clBtnFace));
  QPainter p(&sheet);
  p.drawImage(0, 0, classic);
  p.drawImage(classic.width(), 0, themed);
  return sheet;
}

}  // namespace

SNAPSHOT_SCREEN("cells-sheet.png", RenderCellsSheet);
