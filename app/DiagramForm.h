#pragma once
// What the five wiring-diagram windows share: a picture at the top-left of
// the client area, an optional inscription below it, the classic outer
// geometry, and modal showing. Closing only hides a window; it lives for the
// whole run and opens again as it was.

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QString>
#include <optional>

#include "platform/Classes.h"
#include "platform/StdCtrls.h"
#include "platform/WindowFrame.h"

// The pictures, embedded under app/resources/diagrams.
namespace DiagramPictures {
inline const QString SingleLine = QStringLiteral(":/app/diagrams/tek-hat.bmp");
inline const QString TwoLines = QStringLiteral(":/app/diagrams/iki-hat.bmp");
inline const QString FourLines = QStringLiteral(":/app/diagrams/dort-hat.bmp");
inline const QString SplitterExplained = QStringLiteral(":/app/diagrams/splitter-nedir.jpg");
inline const QString InternetLine = QStringLiteral(":/app/diagrams/internet-hatti.jpg");
// Thumbnails of the help tab, drawn transparent by their bottom-left pixel.
inline const QString DeviceThumbnail = QStringLiteral(":/app/diagrams/cihaz-kucuk.bmp");
inline const QString SplitterThumbnail = QStringLiteral(":/app/diagrams/splitter-kucuk.bmp");
}  // namespace DiagramPictures

class TDiagramForm : public QDialog, public TObject {
  Q_OBJECT
 public:
  // Shows the window modally and returns when it is closed.
  void ShowModal();
  void Close();

  QString Caption() const { return windowTitle(); }
  // Outer geometry on the screen, frame included.
  int Left() const { return pos().x(); }
  int Top() const { return pos().y(); }
  int Width() const { return width() + kFrameWidth; }
  int Height() const { return height() + kFrameHeight; }
  int ClientWidth() const { return width(); }
  int ClientHeight() const { return height(); }

  // The window with its frame, for screenshots.
  QImage RenderImage();

  // The picture at the top-left corner.
  TClickLabel* Picture() const { return picture_; }

  // A click on the window's empty area.
  TNotifyEvent OnClick;

 protected:
  // Loads the picture; raises EInvalidGraphic when it cannot be read.
  TDiagramForm(const QString& caption, const QString& picturePath, QWidget* parent);

  // A fixed outer size; without one the window fits its picture.
  void SetOuterSize(int width, int height);
  void FitToPicture();
  // Windows open centred on the screen unless given a position of their own.
  void SetDesignedPosition(int left, int top);
  // The 24-pixel inscription under the picture.
  TClickLabel* AddInscription(const QString& text, int left, int top);

  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void DoClick();
  void Place();

  TClickLabel* picture_;
  std::optional<QPoint> designedPosition_;
  TClickTracker click_;
};
