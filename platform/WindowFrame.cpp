#include "platform/WindowFrame.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "platform/Graphics.h"

QPoint ScreenCentredPosition(QSize outer) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 600);
  return QPoint(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

namespace {

void DrawRaisedEdge(QPainter& p, const QRect& r) {
  p.setPen(ToQColor(cl3DLight));
  p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
  p.setPen(ToQColor(clBtnHighlight));
  p.drawLine(r.left() + 1, r.top() + 1, r.right() - 2, r.top() + 1);
  p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 2);
  p.setPen(ToQColor(cl3DDkShadow));
  p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
  p.setPen(ToQColor(clBtnShadow));
  p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
  p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
}

void DrawCaptionBar(QPainter& p, const QRect& bar, const QString& caption) {
  QLinearGradient g(bar.topLeft(), bar.topRight());
  g.setColorAt(0, ToQColor(clActiveCaption));
  g.setColorAt(1, QColor(166, 202, 240));
  p.fillRect(bar, g);
  // Close box at the right end of the bar.
  const QRect box(bar.right() - bar.height() + 3, bar.top() + 3, bar.height() - 5, bar.height() - 6);
  p.fillRect(box, ToQColor(clBtnFace));
  DrawRaisedEdge(p, box);
  p.setPen(QPen(ToQColor(clBtnText), 2));
  p.drawLine(box.center() + QPoint(-4, -4), box.center() + QPoint(3, 3));
  p.drawLine(box.center() + QPoint(3, -4), box.center() + QPoint(-4, 3));
  TFont font;
  font.SetStyle(fsBold);
  p.setFont(font.ToQFont());
  p.setPen(ToQColor(clCaptionText));
  p.drawText(bar.adjusted(6, 0, -bar.height() - 4, 0), Qt::AlignLeft | Qt::AlignVCenter, caption);
}

}  // namespace

QImage RenderFramedWindow(QWidget& window, const QString& caption) {
  const QSize outer = OuterSizeOf(window.size());
  QImage image(outer, QImage::Format_RGB32);
  image.fill(ToQColor(clBtnFace));
  QPainter p(&image);
  DrawRaisedEdge(p, QRect(QPoint(0, 0), outer));
  DrawCaptionBar(p, QRect(kFrameBorder, kFrameBorder, outer.width() - kFrameWidth, kCaptionHeight - 2), caption);
  window.render(&p, QPoint(kFrameBorder, kFrameBorder + kCaptionHeight));
  return image;
}
