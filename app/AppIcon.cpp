#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>

QImage ProgramIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, size > 16);
  const double u = size / 16.0;
  // A caller-ID box: dark blue body with a green display and a red handset.
  p.setPen(QPen(QColor(10, 36, 106), std::max(1.0, u * 0.75)));
  p.setBrush(QColor(58, 110, 165));
  p.drawRoundedRect(QRectF(0.5 * u, 3 * u, 15 * u, 12 * u), 2 * u, 2 * u);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(170, 230, 140));
  p.drawRect(QRectF(2 * u, 5 * u, 12 * u, 4 * u));
  p.setBrush(QColor(20, 70, 20));
  for (int i = 0; i < 5; ++i) p.drawRect(QRectF((3 + 2.2 * i) * u, 6 * u, 1.2 * u, 2 * u));
  QPainterPath handset;
  handset.moveTo(3 * u, 13.5 * u);
  handset.cubicTo(3 * u, 10 * u, 13 * u, 10 * u, 13 * u, 13.5 * u);
  handset.lineTo(11 * u, 13.5 * u);
  handset.cubicTo(11 * u, 12 * u, 5 * u, 12 * u, 5 * u, 13.5 * u);
  handset.closeSubpath();
  p.setBrush(QColor(200, 30, 30));
  p.drawPath(handset);
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
  return icon;
}
