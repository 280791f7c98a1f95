#pragma once
// The classic window frame. Window sizes and screen positions in the layouts
// are outer ones: they include a 4-pixel sizing border on every side and a
// 26-pixel caption bar. Qt places and sizes the client area, so the layouts
// convert through these constants, the same on every machine.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

constexpr int kFrameBorder = 4;
constexpr int kCaptionHeight = 26;
constexpr int kFrameWidth = 2 * kFrameBorder;                    // outer width minus client width
constexpr int kFrameHeight = 2 * kFrameBorder + kCaptionHeight;  // outer height minus client height

constexpr QSize ClientSizeOf(QSize outer) { return QSize(outer.width() - kFrameWidth, outer.height() - kFrameHeight); }
constexpr QSize OuterSizeOf(QSize client) {
  return QSize(client.width() + kFrameWidth, client.height() + kFrameHeight);
}

// Outer top-left corner that centres a window of this outer size on the primary screen.
QPoint ScreenCentredPosition(QSize outer);

// The window drawn with its frame and caption bar, as it looks on screen.
QImage RenderFramedWindow(QWidget& window, const QString& caption);
