#include "grid/FlyoutControl.h"

#include <QPolygon>

// The window is made when first shown, so a subclass's creation parameters
// decide what kind of window it is.
TFlyoutControl::TFlyoutControl(QWidget* AOwner) : TCustomControl(AOwner) { hide(); }

void TFlyoutControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
  Params.Style |= WS_POPUP;
  Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.WindowClassStyle |= CS_SAVEBITS;
}

void TFlyoutControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;  // subclasses paint every pixel
    return;
  }
  TCustomControl::WndProc(Message);
}

TRollShadow::TRollShadow(QWidget* AOwner) : TFlyoutControl(AOwner) {}

void TRollShadow::CreateWnd() {
  TFlyoutControl::CreateWnd();
  BuildRegion();
}

void TRollShadow::PlaceAt(TPoint P) {
  BuildRegion();
  placement_ = P;
  SetBounds(P.X - 7, P.Y - 11, 32, 32);
}

// Two triangles, one pointing up and one down, and a dot between them.
void TRollShadow::BuildRegion() {
  const QPolygon up({QPoint(-1, 7), QPoint(7, -1), QPoint(8, 0), QPoint(14, 7), QPoint(0, 6)});
  const QPolygon down({QPoint(-1, 15), QPoint(14, 15), QPoint(6, 22), QPoint(6, 22), QPoint(-1, 14)});
  QRegion shape;
  shape = shape.united(QRegion(up, Qt::WindingFill)).united(QRegion(down, Qt::WindingFill));
  shape = shape.united(QRegion(QRect(5, 9, 5, 5), QRegion::Ellipse));
  SetRegion(shape);
}

void TRollShadow::Paint() {
  TFlyoutControl::Paint();
  Canvas()->Brush()->SetColor(clGrayText);
  Canvas()->FillRect(ClientRect());
}
