#pragma once
// A bitmap to paint cells on, read back pixel by pixel, and the binding the
// grid does before it lets a display paint a cell.

#include <QImage>
#include <functional>

#include "grid/Displays.h"
#include "platform/Canvas.h"
#include "platform/Themes.h"

struct Sheet {
  QImage image;
  TCanvas canvas;
  explicit Sheet(int w = 160, int h = 80, TColor fill = clWhite) : image(w, h, QImage::Format_RGB32), canvas(&image) {
    image.fill(ToQColor(fill));
  }
  TColor At(int x, int y) {
    canvas.Release();
    return FromQColor(QColor::fromRgb(image.pixel(x, y)));
  }
  // The smallest rectangle holding every pixel in r that is not background.
  TRect Ink(const TRect& r, TColor background = clWhite) {
    canvas.Release();
    const QRgb back = ToQColor(background).rgb();
    TRect box(r.Right, r.Bottom, r.Left, r.Top);
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (image.pixel(x, y) != back) {
          box.Left = std::min(box.Left, x);
          box.Top = std::min(box.Top, y);
          box.Right = std::max(box.Right, x + 1);
          box.Bottom = std::max(box.Bottom, y + 1);
        }
    return IsRectEmpty(box) ? TRect() : box;
  }
  int CountOf(const TRect& r, TColor color) {
    canvas.Release();
    const QRgb wanted = ToQColor(color).rgb();
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += image.pixel(x, y) == wanted;
    return n;
  }
  const QImage& Picture() {
    canvas.Release();
    return image;
  }
};

// Runs a test body in one theme look and puts the default back.
struct ThemeLook {
  explicit ThemeLook(bool active) { SetThemesActive(active); }
  ~ThemeLook() { SetThemesActive(true); }
  ThemeLook(const ThemeLook&) = delete;
  ThemeLook& operator=(const ThemeLook&) = delete;
};

// Binds the column's display to the sheet and one cell, with the column's
// font on the canvas, as the grid does before each cell.
inline TColumnDisplay* Bind(TCustomColumn& column, Sheet& sheet, const TRect& cell) {
  TColumnDisplay* display = column.Display();
  display->Canvas = &sheet.canvas;
  display->CellRect = cell;
  sheet.canvas.Font()->Assign(column.Font());
  return display;
}

// A plain picture of one colour, w × h.
inline TBitmap Solid(int w, int h, TColor color) {
  TBitmap picture(w, h);
  picture.Image().fill(ToQColor(color));
  return picture;
}
