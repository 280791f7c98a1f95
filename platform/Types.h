#pragma once
// Geometry and small shared enumerations with Windows semantics:
// a rectangle's right and bottom edges are exclusive.

#include <QFlags>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstdint>

struct TPoint {
  int X = 0;
  int Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
  QPoint ToQt() const { return QPoint(X, Y); }
  static TPoint FromQt(const QPoint& p) { return TPoint(p.x(), p.y()); }
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
  constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
  // QRect keeps inclusive right/bottom; convert through width and height.
  QRect ToQt() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
  static TRect FromQt(const QRect& r) { return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
};

constexpr TRect Rect(int l, int t, int r, int b) { return TRect(l, t, r, b); }
constexpr TRect Bounds(int l, int t, int w, int h) { return TRect(l, t, l + w, t + h); }
constexpr TPoint Point(int x, int y) { return TPoint(x, y); }

constexpr bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
constexpr bool PtInRect(const TRect& r, const TPoint& p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
constexpr void InflateRect(TRect& r, int dx, int dy) {
  r.Left -= dx;
  r.Top -= dy;
  r.Right += dx;
  r.Bottom += dy;
}
constexpr void OffsetRect(TRect& r, int dx, int dy) {
  r.Left += dx;
  r.Top += dy;
  r.Right += dx;
  r.Bottom += dy;
}
// Returns false and an empty rectangle when the two do not overlap.
constexpr bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
  dst =
      TRect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom));
  if (IsRectEmpty(dst)) {
    dst = TRect();
    return false;
  }
  return true;
}
constexpr bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
  if (IsRectEmpty(a))
    dst = b;
  else if (IsRectEmpty(b))
    dst = a;
  else
    dst = TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                std::max(a.Bottom, b.Bottom));
  return !IsRectEmpty(dst);
}

// Alignments are published by columns, so their names live in Qt's
// meta-object system for the stored forms.
namespace PlatformTypes {
Q_NAMESPACE
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
enum TVerticalAlignment : uint8_t { vaTop, vaMiddle, vaBottom };
Q_ENUM_NS(TVerticalAlignment)
}  // namespace PlatformTypes
using PlatformTypes::TAlignment;
using PlatformTypes::TVerticalAlignment;
using enum PlatformTypes::TAlignment;
using enum PlatformTypes::TVerticalAlignment;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : uint16_t {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
  ssDouble = 0x40
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

// Cursor identifiers: the stock ones are negative, named pictures positive.
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crNo = -18;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crHandPoint = -21;
