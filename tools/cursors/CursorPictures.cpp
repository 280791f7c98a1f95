// Draws the roll-scrolling cursors: a dot with an arrow above, below or
// both, black outlined and white filled, hot spot on the dot; and the
// reversed arrow an editor shows at its left edge, where a click selects
// the whole text: the usual arrow mirrored to point up and to the right.

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
                  ReversedArrow().save(dir.filePath(QStringLiteral("REVERSEDARROW.png")));
  return ok ? 0 : 1;
}
