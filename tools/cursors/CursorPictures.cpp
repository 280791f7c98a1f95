// Draws the roll-scrolling cursors: a dot with an arrow above, below or
// both, black outlined and white filled, hot spot on the dot; and the
// reversed arrow an editor shows at its left edge, where a click selects
// the whole text: the usual arrow mirrored to point up and to the right.
// The grid's three: a column border's two-way split arrow, a no-drop sign
// where a dragged column cannot go, and a fat right-pointing arrow over the
// row indicator.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace {

constexpr int kSize = 32;
constexpr int kCentre = 15;

void Arrow(QPainter& p, bool up) {
  const int tip = up ? kCentre - 12 : kCentre + 12, base = up ? kCentre - 5 : kCentre + 5;
  p.drawPolygon(QPolygon({QPoint(kCentre, tip), QPoint(kCentre + 6, base), QPoint(kCentre - 6, base)}));
}

QImage Cursor(bool up, bool down) {
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawEllipse(QPoint(kCentre, kCentre), 3, 3);
  if (up) Arrow(p, true);
  if (down) Arrow(p, false);
  p.end();
  image.setText(QStringLiteral("HotSpotX"), QString::number(kCentre));
  image.setText(QStringLiteral("HotSpotY"), QString::number(kCentre));
  return image;
}

QImage ReversedArrow() {
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  // The arrow's tip at (kSize - 2, 0); its stem runs down and to the left.
  const int t = kSize - 2;
  p.drawPolygon(QPolygon({QPoint(t, 0), QPoint(t, 16), QPoint(t - 4, 12), QPoint(t - 7, 19), QPoint(t - 9, 18),
                          QPoint(t - 6, 11), QPoint(t - 11, 11)}));
  p.end();
  image.setText(QStringLiteral("HotSpotX"), QString::number(t));
  image.setText(QStringLiteral("HotSpotY"), QString::number(0));
  return image;
}

QImage Transparent() {
  QImage image(kSize, kSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

QImage WithHotSpot(QImage image, int x, int y) {
  image.setText(QStringLiteral("HotSpotX"), QString::number(x));
  image.setText(QStringLiteral("HotSpotY"), QString::number(y));
  return image;
}

// Two bars with an arrow out of each side, as over a column border.
QImage HorzSplit() {
  QImage image = Transparent();
  QPainter p(&image);
  p.setPen(Qt::white);
  p.setBrush(Qt::black);
  p.drawRect(kCentre - 2, kCentre - 8, 1, 16);
  p.drawRect(kCentre + 1, kCentre - 8, 1, 16);
  p.drawPolygon(
      QPolygon({QPoint(kCentre - 3, kCentre - 4), QPoint(kCentre - 3, kCentre + 4), QPoint(kCentre - 10, kCentre)}));
  p.drawPolygon(
      QPolygon({QPoint(kCentre + 3, kCentre - 4), QPoint(kCentre + 3, kCentre + 4), QPoint(kCentre + 10, kCentre)}));
  p.end();
  return WithHotSpot(image, kCentre, kCentre);
}

// A ring with a slash: nothing can be dropped here.
QImage ColumnNoDrag() {
  QImage image = Transparent();
  QPainter p(&image);
  p.setPen(QPen(Qt::black, 3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPoint(kCentre, kCentre), 8, 8);
  p.drawLine(kCentre - 5, kCentre - 5, kCentre + 5, kCentre + 5);
  p.end();
  return WithHotSpot(image, kCentre, kCentre);
}

// A solid arrow pointing right, its tip the hot spot.
QImage IndicatorSelect() {
  QImage image = Transparent();
  QPainter p(&image);
  p.setPen(Qt::white);
  p.setBrush(Qt::black);
  const int t = 20;
  p.drawPolygon(
      QPolygon({QPoint(t, kCentre), QPoint(t - 9, kCentre - 7), QPoint(t - 9, kCentre - 3), QPoint(t - 17, kCentre - 3),
                QPoint(t - 17, kCentre + 3), QPoint(t - 9, kCentre + 3), QPoint(t - 9, kCentre + 7)}));
  p.end();
  return WithHotSpot(image, t, kCentre);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: cursor-pictures DIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  const bool ok = Cursor(true, true).save(dir.filePath(QStringLiteral("ROLL.png"))) &&
                  Cursor(true, false).save(dir.filePath(QStringLiteral("ROLLUP.png"))) &&
                  Cursor(false, true).save(dir.filePath(QStringLiteral("ROLLDOWN.png"))) &&
                  ReversedArrow().save(dir.filePath(QStringLiteral("REVERSEDARROW.png"))) &&
                  HorzSplit().save(dir.filePath(QStringLiteral("HORZSPLIT.png"))) &&
                  ColumnNoDrag().save(dir.filePath(QStringLiteral("COLUMNNODRAG.png"))) &&
                  IndicatorSelect().save(dir.filePath(QStringLiteral("INDICATORSELECT.png")));
  return ok ? 0 : 1;
}
