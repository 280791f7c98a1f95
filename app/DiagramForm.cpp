#include "app/DiagramForm.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"

// ---- TDiagramForm ----------------------------------------------------------

TDiagramForm::TDiagramForm(const QString& caption, const QString& picturePath, QWidget* parent)
    : QDialog(parent), picture_(new TClickLabel(this)) {
  setWindowTitle(caption);
  setFont(TFont().ToQFont());
  QPalette face = palette();
  face.setColor(QPalette::Window, ToQColor(clBtnFace));
  setPalette(face);
  setAutoFillBackground(true);

  const QImage image(picturePath);
  if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot load picture '%1'").arg(picturePath));
  picture_->setPixmap(QPixmap::fromImage(image));
  picture_->setGeometry(0, 0, image.width(), image.height());
}

void TDiagramForm::SetOuterSize(int width, int height) {
  setFixedSize(ClientSizeOf(QSize(width, height)));
  Place();
}

void TDiagramForm::FitToPicture() {
  setFixedSize(picture_->size());
  Place();
}

void TDiagramForm::SetDesignedPosition(int left, int top) {
  designedPosition_ = QPoint(left, top);
  Place();
}

void TDiagramForm::Place() { move(designedPosition_.value_or(ScreenCentredPosition(OuterSizeOf(size())))); }

TClickLabel* TDiagramForm::AddInscription(const QString& text, int left, int top) {
  auto* label = new TClickLabel(this);
  TFont font;
  font.SetName(QStringLiteral("Arial"));
  font.SetHeight(-24);
  label->setFont(font.ToQFont());
  label->setText(text);
  label->move(left, top);
  label->adjustSize();
  return label;
}

void TDiagramForm::ShowModal() {
  Place();
  // Keep above the main window, which stays on top of other windows.
  if (!parentWidget() && Application && Application->MainForm()) {
    winId();
    windowHandle()->setTransientParent(Application->MainForm()->windowHandle());
  }
  exec();
}

void TDiagramForm::Close() { reject(); }

QImage TDiagramForm::RenderImage() { return RenderFramedWindow(*this, Caption()); }

void TDiagramForm::mousePressEvent(QMouseEvent* event) {
  click_.Press(*event);
  QDialog::mousePressEvent(event);
}

void TDiagramForm::mouseReleaseEvent(QMouseEvent* event) {
  if (click_.Release(*event, rect())) Dispatch(this, [this] { DoClick(); });
  QDialog::mouseReleaseEvent(event);
}

void TDiagramForm::keyPressEvent(QKeyEvent* event) {
  // These windows have no cancel button: Escape does not close them.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TDiagramForm::DoClick() {
  if (OnClick) OnClick(this);
}
