#pragma once
// The shapes the wiring pictures are made of: the device's back
// panel, sockets, cables with plugs, telephone, laptop, splitter, modem.
// Everything is drawn with fixed fonts and no randomness, so a picture
// comes out the same on every run.

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

namespace shapes {

inline const QColor kInk(26, 26, 26);
inline const QColor kRed(206, 17, 26);
inline const QColor kPaper(255, 255, 255);
inline const QColor kLineCable(118, 124, 132);
inline const QColor kUsbCable(40, 44, 50);

QFont Font(double pixels, bool bold = false);

// Text in a box, word-wrapped, with the given alignment flags.
void Text(QPainter& p, const QRectF& box, const QString& text, const QColor& color, double pixels, bool bold = false,
          int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);

// Text on a paper-coloured patch, for inscriptions that lie across cables.
void BackedText(QPainter& p, const QRectF& box, const QString& text, const QColor& color, double pixels, bool bold,
                int flags);

// A thin arrow from `from` to `to`, used by callouts.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color);

struct Panel {
  std::vector<QPointF> sockets;  // centres of the telephone sockets, left to right
  QPointF usb;                   // centre of the USB socket
};
// The device's back panel with numbered telephone sockets and a USB socket.
Panel DevicePanel(QPainter& p, const QRectF& body, const std::vector<QString>& socketNames);

void TelephoneSocket(QPainter& p, QPointF centre, double scale = 1.0);
void UsbSocket(QPainter& p, QPointF centre);

// A round cable leaving `from` towards fromDir and arriving at `to` from toDir.
void Cable(QPainter& p, QPointF from, QPointF fromDir, QPointF to, QPointF toDir, const QColor& color);
// The clear plug of a telephone cable sitting in a socket.
void TelephonePlug(QPainter& p, QPointF centre, double scale = 1.0);
void UsbPlug(QPainter& p, QPointF centre);

// Returns the centre of the plate's socket.
QPointF WallSocket(QPainter& p, const QRectF& plate);
// A two-way adapter plugged into a wall socket; returns its two socket centres.
std::pair<QPointF, QPointF> Doubler(QPainter& p, const QRectF& body);
// Returns the point where the handset cord enters the set.
QPointF Telephone(QPainter& p, const QRectF& box);
// Returns the point of the USB port on the laptop's left side.
QPointF Laptop(QPainter& p, const QRectF& box);

struct SplitterPorts {
  QPointF line, modem, phone;
};
SplitterPorts Splitter(QPainter& p, const QRectF& body, double scale = 1.0);
// Returns the modem's line socket.
QPointF Modem(QPainter& p, const QRectF& body);
void JunctionBox(QPainter& p, const QRectF& body);

}  // namespace shapes
