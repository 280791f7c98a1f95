// Draws the roll-scrolling cursors: a dot with an arrow above, below or
// both, black outlined and white filled, hot spot on the dot.

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
                  Cursor(false, true).save(dir.filePath(QStringLiteral("ROLLDOWN.png")));
  return ok ? 0 : 1;
}
