#include "Shapes.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace shapes {

namespace {

QPointF Scaled(QPointF v, double k) { return QPointF(v.x() * k, v.y() * k); }

double Distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

void SoftShadow(QPainter& p, const QRectF& r, double radius) {
  p.setPen(Qt::NoPen);
  for (int i = 3; i >= 1; --i) {
    p.setBrush(QColor(0, 0, 0, 14));
    p.drawRoundedRect(r.translated(i, i + 1).adjusted(-i * 0.5, -i * 0.5, i * 0.5, i * 0.5), radius, radius);
  }
}

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

void Screw(QPainter& p, QPointF c, double r) {
  QRadialGradient g(c - QPointF(r * 0.3, r * 0.3), r * 1.4);
  g.setColorAt(0, QColor(245, 245, 240));
  g.setColorAt(1, QColor(150, 150, 145));
  p.setPen(QPen(QColor(100, 100, 95), 0.8));
  p.setBrush(g);
  p.drawEllipse(c, r, r);
  p.setPen(QPen(QColor(80, 80, 75), 1.2));
  p.drawLine(c + QPointF(-r * 0.6, -r * 0.2), c + QPointF(r * 0.6, r * 0.2));
}

// The number printed on the panel beside a socket.
void SocketBadge(QPainter& p, QPointF c, const QString& name) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(245, 245, 245));
  p.drawEllipse(c, 7, 7);
  Text(p, QRectF(c.x() - 8, c.y() - 8, 16, 16), name, QColor(30, 34, 40), 10.5, true, Qt::AlignCenter);
}

}  // namespace

QFont Font(double pixels, bool bold) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(int(std::lround(pixels)));
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void Text(QPainter& p, const QRectF& box, const QString& text, const QColor& color, double pixels, bool bold,
          int flags) {
  p.setFont(Font(pixels, bold));
  p.setPen(color);
  p.drawText(box, flags, text);
}

void BackedText(QPainter& p, const QRectF& box, const QString& text, const QColor& color, double pixels, bool bold,
                int flags) {
  p.setFont(Font(pixels, bold));
  const QRectF used = p.boundingRect(box, flags, text);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 235));
  p.drawRoundedRect(used.adjusted(-3, -1, 3, 1), 3, 3);
  p.setPen(color);
  p.drawText(box, flags, text);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
  p.setPen(QPen(color, 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
  const double len = Distance(from, to);
  if (len < 1) return;
  const QPointF d = Scaled(to - from, 1.0 / len);
  const QPointF n(-d.y(), d.x());
  QPolygonF head;
  head << to << to - Scaled(d, 7) + Scaled(n, 3.5) << to - Scaled(d, 7) - Scaled(n, 3.5);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPolygon(head);
}

void TelephoneSocket(QPainter& p, QPointF c, double k) {
  const QRectF housing(c.x() - 12 * k, c.y() - 10 * k, 24 * k, 20 * k);
  p.setPen(QPen(QColor(70, 74, 78), 1));
  p.setBrush(Vertical(housing, QColor(228, 231, 234), QColor(186, 190, 195)));
  p.drawRoundedRect(housing, 2.5 * k, 2.5 * k);
  QPainterPath opening;
  opening.addRect(QRectF(c.x() - 7.5 * k, c.y() - 6 * k, 15 * k, 10 * k));
  opening.addRect(QRectF(c.x() - 3.5 * k, c.y() + 3.5 * k, 7 * k, 3.5 * k));
  opening.setFillRule(Qt::WindingFill);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(22, 24, 27));
  p.drawPath(opening.simplified());
  p.setPen(QPen(QColor(222, 176, 58), std::max(0.8, 1.0 * k)));
  for (int i = 0; i < 4; ++i) {
    const double x = c.x() + (-4.5 + 3 * i) * k;
    p.drawLine(QPointF(x, c.y() - 5 * k), QPointF(x, c.y() - 2 * k));
  }
}

void UsbSocket(QPainter& p, QPointF c) {
  QPolygonF shell;
  shell << QPointF(c.x() - 6, c.y() - 8) << QPointF(c.x() + 6, c.y() - 8) << QPointF(c.x() + 9, c.y() - 5)
        << QPointF(c.x() + 9, c.y() + 8) << QPointF(c.x() - 9, c.y() + 8) << QPointF(c.x() - 9, c.y() - 5);
  p.setPen(QPen(QColor(60, 62, 66), 1));
  p.setBrush(Vertical(shell.boundingRect(), QColor(235, 237, 240), QColor(160, 165, 170)));
  p.drawPolygon(shell);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(25, 27, 30));
  p.drawRect(QRectF(c.x() - 7, c.y() - 5, 14, 11));
  p.setBrush(QColor(250, 250, 250));
  p.drawRect(QRectF(c.x() - 4, c.y() - 3, 8, 6));
}

Panel DevicePanel(QPainter& p, const QRectF& body, const std::vector<QString>& socketNames) {
  SoftShadow(p, body, 9);
  p.setPen(QPen(QColor(18, 20, 23), 1.2));
  p.setBrush(Vertical(body, QColor(84, 91, 100), QColor(38, 42, 47)));
  p.drawRoundedRect(body, 9, 9);
  p.setPen(QPen(QColor(255, 255, 255, 60), 1));
  p.drawLine(body.topLeft() + QPointF(9, 1.5), body.topRight() + QPointF(-9, 1.5));

  Panel panel;
  const int count = int(socketNames.size());
  const double usbSlot = 46;
  const double pitch = (body.width() - usbSlot - 20) / count;
  const double socketY = body.center().y() + 2;
  for (int i = 0; i < count; ++i) {
    const QPointF c(body.left() + 10 + pitch * (i + 0.5), socketY);
    TelephoneSocket(p, c);
    SocketBadge(p, c + QPointF(20, -14), socketNames[size_t(i)]);
    panel.sockets.push_back(c);
  }
  panel.usb = QPointF(body.right() - usbSlot / 2 - 4, socketY);
  UsbSocket(p, panel.usb);
  Text(p, QRectF(panel.usb.x() - 22, body.top() + 2, 44, 14), QStringLiteral("USB"), Qt::white, 10, true,
       Qt::AlignCenter);
  Text(p, QRectF(body.left() + 10, body.bottom() - 13, body.width() - 20, 11), QStringLiteral("CALLER ID"),
       QColor(150, 160, 172), 8, true, Qt::AlignLeft | Qt::AlignVCenter);
  return panel;
}

void Cable(QPainter& p, QPointF from, QPointF fromDir, QPointF to, QPointF toDir, const QColor& color) {
  const double reach = std::clamp(Distance(from, to) * 0.45, 18.0, 70.0);
  QPainterPath path(from);
  path.cubicTo(from + Scaled(fromDir, reach), to + Scaled(toDir, reach), to);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(color.darker(150), 5.2, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(path);
  p.setPen(QPen(color, 3.6, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(path);
  p.setPen(QPen(color.lighter(150), 1.1, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(path.translated(-0.6, -0.6));
}

void TelephonePlug(QPainter& p, QPointF c, double k) {
  const QRectF body(c.x() - 6.5 * k, c.y() - 5.5 * k, 13 * k, 9 * k);
  p.setPen(QPen(QColor(120, 140, 160, 220), 0.9));
  p.setBrush(QColor(214, 228, 240, 215));
  p.drawRoundedRect(body, 1.5 * k, 1.5 * k);
  p.setPen(QPen(QColor(222, 176, 58), std::max(0.7, 0.9 * k)));
  for (int i = 0; i < 4; ++i) {
    const double x = c.x() + (-4.5 + 3 * i) * k;
    p.drawLine(QPointF(x, c.y() - 4.5 * k), QPointF(x, c.y() - 2.5 * k));
  }
}

void UsbPlug(QPainter& p, QPointF c) {
  p.setPen(QPen(QColor(15, 15, 18), 1));
  p.setBrush(Vertical(QRectF(c.x() - 8, c.y() - 7, 16, 14), QColor(70, 74, 80), QColor(30, 32, 36)));
  p.drawRoundedRect(QRectF(c.x() - 7, c.y() - 6, 14, 12), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(190, 195, 200));
  p.drawRect(QRectF(c.x() - 3, c.y() - 2, 6, 4));
}

QPointF WallSocket(QPainter& p, const QRectF& plate) {
  SoftShadow(p, plate, 6);
  p.setPen(QPen(QColor(150, 150, 145), 1));
  p.setBrush(Vertical(plate, QColor(255, 255, 252), QColor(226, 224, 216)));
  p.drawRoundedRect(plate, 6, 6);
  const QRectF inner = plate.adjusted(6, 6, -6, -6);
  p.setPen(QPen(QColor(200, 198, 190), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(inner, 4, 4);
  const QPointF c = plate.center();
  TelephoneSocket(p, c, 0.9);
  return c;
}

std::pair<QPointF, QPointF> Doubler(QPainter& p, const QRectF& body) {
  SoftShadow(p, body, 4);
  p.setPen(QPen(QColor(140, 140, 135), 1));
  p.setBrush(Vertical(body, QColor(252, 252, 250), QColor(214, 212, 205)));
  p.drawRoundedRect(body, 4, 4);
  const double y = body.center().y();
  const QPointF left(body.left() + body.width() * 0.28, y);
  const QPointF right(body.right() - body.width() * 0.28, y);
  TelephoneSocket(p, left, 0.75);
  TelephoneSocket(p, right, 0.75);
  return {left, right};
}

QPointF Telephone(QPainter& p, const QRectF& box) {
  const double w = box.width();
  const double h = box.height();
  const QRectF base(box.left(), box.top() + h * 0.3, w, h * 0.7);
  QPainterPath body;
  body.moveTo(base.left() + w * 0.12, base.top());
  body.lineTo(base.right() - w * 0.12, base.top());
  body.lineTo(base.right(), base.bottom() - 4);
  body.quadTo(base.right(), base.bottom(), base.right() - 4, base.bottom());
  body.lineTo(base.left() + 4, base.bottom());
  body.quadTo(base.left(), base.bottom(), base.left(), base.bottom() - 4);
  body.closeSubpath();
  SoftShadow(p, base.adjusted(2, 2, -2, 0), 5);
  p.setPen(QPen(QColor(120, 112, 92), 1.1));
  p.setBrush(Vertical(base, QColor(240, 235, 220), QColor(200, 192, 170)));
  p.drawPath(body);

  // Handset resting on the cradle.
  const QRectF handset(box.left() + w * 0.02, box.top(), w * 0.96, h * 0.34);
  QPainterPath hs;
  hs.addRoundedRect(QRectF(handset.left(), handset.top(), w * 0.24, handset.height()), 7, 7);
  hs.addRoundedRect(QRectF(handset.right() - w * 0.24, handset.top(), w * 0.24, handset.height()), 7, 7);
  hs.addRoundedRect(QRectF(handset.left() + w * 0.12, handset.top() + 1, w * 0.72, handset.height() * 0.45), 5, 5);
  hs.setFillRule(Qt::WindingFill);
  p.setPen(QPen(QColor(20, 22, 26), 1));
  p.setBrush(Vertical(handset, QColor(80, 86, 94), QColor(30, 33, 38)));
  p.drawPath(hs.simplified());

  // Keypad, three by four.
  const double keyW = w * 0.1;
  const double keyH = h * 0.08;
  const double padLeft = base.center().x() - keyW * 1.5 - keyW * 0.4;
  p.setPen(QPen(QColor(150, 144, 128), 0.8));
  p.setBrush(QColor(252, 251, 247));
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 3; ++col)
      p.drawRoundedRect(QRectF(padLeft + col * keyW * 1.4, base.top() + h * 0.1 + row * keyH * 1.45, keyW, keyH), 1.5,
                        1.5);
  return QPointF(base.left() + w * 0.08, base.bottom() - h * 0.12);
}

QPointF Laptop(QPainter& p, const QRectF& box) {
  const double w = box.width();
  const double h = box.height();
  const QRectF lid(box.left() + w * 0.1, box.top(), w * 0.8, h * 0.72);
  SoftShadow(p, lid, 5);
  p.setPen(QPen(QColor(20, 22, 25), 1));
  p.setBrush(QColor(45, 49, 54));
  p.drawRoundedRect(lid, 5, 5);
  const QRectF screen = lid.adjusted(5, 5, -5, -6);
  QLinearGradient sky(screen.topLeft(), screen.bottomRight());
  sky.setColorAt(0, QColor(88, 152, 226));
  sky.setColorAt(1, QColor(24, 76, 150));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawRect(screen);
  // A test program window on the desktop.
  const QRectF window(screen.left() + screen.width() * 0.15, screen.top() + screen.height() * 0.15,
                      screen.width() * 0.7, screen.height() * 0.66);
  p.setBrush(QColor(212, 208, 200));
  p.drawRect(window);
  p.setBrush(QColor(10, 36, 106));
  p.drawRect(QRectF(window.left(), window.top(), window.width(), 5));
  p.setBrush(Qt::white);
  p.drawRect(window.adjusted(3, 8, -3, -window.height() * 0.45));
  p.setPen(QPen(QColor(160, 160, 160), 0.6));
  for (int i = 1; i < 4; ++i) {
    const double y = window.top() + 8 + i * (window.height() * 0.55 - 8) / 4;
    p.drawLine(QPointF(window.left() + 3, y), QPointF(window.right() - 3, y));
  }

  QPainterPath base;
  const double top = lid.bottom();
  base.moveTo(lid.left() - 2, top);
  base.lineTo(lid.right() + 2, top);
  base.lineTo(box.right(), box.bottom() - 3);
  base.quadTo(box.right(), box.bottom(), box.right() - 3, box.bottom());
  base.lineTo(box.left() + 3, box.bottom());
  base.quadTo(box.left(), box.bottom(), box.left(), box.bottom() - 3);
  base.closeSubpath();
  p.setPen(QPen(QColor(90, 96, 104), 1));
  p.setBrush(Vertical(QRectF(box.left(), top, w, box.bottom() - top), QColor(226, 230, 234), QColor(168, 175, 183)));
  p.drawPath(base);
  p.setPen(QPen(QColor(130, 136, 144), 0.7));
  const double rows = 3;
  for (int i = 1; i <= rows; ++i) {
    const double t = i / (rows + 1);
    const double y = top + (box.bottom() - top) * t * 0.8;
    const double inset = (1 - t) * 6 + 8;
    p.drawLine(QPointF(lid.left() + inset - 8 * t, y), QPointF(lid.right() - inset + 8 * t, y));
  }
  return QPointF(box.left() + w * 0.06, top + (box.bottom() - top) * 0.5);
}

SplitterPorts Splitter(QPainter& p, const QRectF& body, double k) {
  SoftShadow(p, body, 6 * k);
  p.setPen(QPen(QColor(120, 124, 128), 1.1));
  p.setBrush(Vertical(body, QColor(255, 255, 255), QColor(208, 212, 216)));
  p.drawRoundedRect(body, 6 * k, 6 * k);
  Text(p, QRectF(body.left(), body.top() + 4 * k, body.width(), 12 * k), QStringLiteral("ADSL SPLITTER"),
       QColor(40, 70, 120), 8.5 * k, true, Qt::AlignCenter);
  // The ports sit low on the front so that the cables hang clear of the inscriptions.
  const double y = body.bottom() - 14 * k;
  SplitterPorts ports{QPointF(body.left() + body.width() * 0.2, y), QPointF(body.left() + body.width() * 0.8, y),
                      QPointF(body.left() + body.width() * 0.5, y)};
  const std::pair<QString, QPointF> named[] = {{QStringLiteral("LINE"), ports.line},
                                               {QStringLiteral("PHONE"), ports.phone},
                                               {QStringLiteral("MODEM"), ports.modem}};
  for (const auto& [name, centre] : named) {
    TelephoneSocket(p, centre, 0.85 * k);
    Text(p, QRectF(centre.x() - 22 * k, y - 23 * k, 44 * k, 11 * k), name, kInk, 8.5 * k, true, Qt::AlignCenter);
  }
  return ports;
}

QPointF Modem(QPainter& p, const QRectF& body) {
  p.setPen(QPen(QColor(30, 32, 36), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(body.topRight() + QPointF(-12, 2), body.topRight() + QPointF(-4, -22));
  p.drawLine(body.topLeft() + QPointF(12, 2), body.topLeft() + QPointF(4, -22));
  SoftShadow(p, body, 6);
  p.setPen(QPen(QColor(10, 10, 12), 1));
  p.setBrush(Vertical(body, QColor(74, 78, 86), QColor(22, 24, 28)));
  p.drawRoundedRect(body, 6, 6);
  Text(p, QRectF(body.left() + 8, body.top() + 4, body.width() - 16, 13), QStringLiteral("ADSL MODEM"),
       QColor(220, 225, 232), 9, true, Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < 5; ++i) {
    const QPointF led(body.left() + 12 + i * 11, body.bottom() - 9);
    QRadialGradient g(led, 4);
    g.setColorAt(0, QColor(180, 255, 170));
    g.setColorAt(1, QColor(30, 170, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(led, 2.6, 2.6);
  }
  return QPointF(body.left(), body.center().y());
}

void JunctionBox(QPainter& p, const QRectF& body) {
  SoftShadow(p, body, 5);
  p.setPen(QPen(QColor(140, 138, 130), 1.2));
  p.setBrush(Vertical(body, QColor(250, 249, 244), QColor(210, 207, 196)));
  p.drawRoundedRect(body, 5, 5);
  const QRectF bed = body.adjusted(8, 8, -8, -8);
  p.setPen(QPen(QColor(175, 172, 162), 1));
  p.setBrush(QColor(236, 234, 226));
  p.drawRoundedRect(bed, 3, 3);
  // Two pairs of screw terminals with the line wires clamped under them.
  const QColor wires[] = {QColor(200, 40, 40), QColor(245, 245, 245), QColor(200, 40, 40), QColor(245, 245, 245)};
  for (int i = 0; i < 4; ++i) {
    const QPointF c(bed.left() + bed.width() * (0.2 + 0.2 * i), bed.center().y());
    p.setPen(QPen(QColor(90, 90, 90), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, QPointF(c.x(), i < 2 ? body.top() - 6 : body.bottom() + 6));
    p.setPen(QPen(wires[i], 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, QPointF(c.x(), i < 2 ? body.top() - 6 : body.bottom() + 6));
    Screw(p, c, bed.width() * 0.07);
  }
}

}  // namespace shapes
