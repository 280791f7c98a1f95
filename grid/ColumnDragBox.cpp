#include "grid/ColumnDragBox.h"

#include <QPolygon>
#include <algorithm>
#include <cstdlib>

#include "grid/CustomGridViewControl.h"
#include "grid/Displays.h"

namespace {

// The box shows the header lifted off the strip, so it is never drawn
// pressed even though the grid still holds its header as pressed.
class TDragBoxPartDisplay : public TColumnPartDisplay {
 public:
  using TColumnPartDisplay::TColumnPartDisplay;
  void InvertPressed() override {}
};

}  // namespace

// ---- TColumnDragBox ----------------------------------------------------------

TColumnDragBox::TColumnDragBox(TCustomGridViewControl* AGrid)
    : TFlyoutControl(AGrid), grid_(AGrid), partDisplay_(std::make_unique<TDragBoxPartDisplay>(AGrid, Canvas())) {
  Q_ASSERT(AGrid);
}

TColumnDragBox::~TColumnDragBox() = default;

void TColumnDragBox::PlaceOnHeader(TCustomColumn* AColumn) {
  if (!AColumn) return;
  const TPoint origin = grid_->ClientToScreen(TPoint(AColumn->ScreenLeft(), 0));
  SetBounds(origin.X, origin.Y, AColumn->Width(), grid_->HeaderSize());
  Font()->Assign(grid_->Font());
}

void TColumnDragBox::StartDrag(TCustomColumn* AColumn) {
  if (!AColumn) return;
  column_ = AColumn;
  partDisplay_->Column = AColumn;
  partDisplay_->RightToLeft = grid_->UseRightToLeftReading();
  dragging_ = true;
  SetVisible(true);
  Invalidate();
  // The grid got the press; from here on the box hears the mouse.
  SetMouseCapture(true);
}

void TColumnDragBox::CancelDrag() {
  dragging_ = false;
  SetMouseCapture(false);
  SetVisible(false);
  column_ = nullptr;
  partDisplay_->Column = nullptr;
}

void TColumnDragBox::DoDrop(TPoint ScreenPoint) {
  if (OnDrop) OnDrop(this, ScreenPoint);
}

void TColumnDragBox::DoDragMove(TPoint ScreenPoint) {
  if (OnDragMove) OnDragMove(this, ScreenPoint);
}

void TColumnDragBox::MouseMove(TShiftState Shift, int X, int Y) {
  TFlyoutControl::MouseMove(Shift, X, Y);
  if (!dragging_) return;
  const TPoint p = ClientToScreen(TPoint(X, Y));
  DoDragMove(p);
  if (!dragging_) return;  // the receiver gave the drag up
  // Centred on the pointer, the bottom edge just below it, so the pointer
  // stays over the box and the box over the header it is dragged along.
  SetBounds(p.X - ClientWidth() / 2, p.Y - ClientHeight() + 4, Width(), Height());
}

void TColumnDragBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TFlyoutControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !dragging_) return;
  const TPoint p = ClientToScreen(TPoint(X, Y));
  dragging_ = false;
  SetMouseCapture(false);
  SetVisible(false);
  DoDrop(p);
}

void TColumnDragBox::WndProc(TMessage& Message) {
  TFlyoutControl::WndProc(Message);
  if (Message.Msg == WM_ACTIVATEAPP && Message.WParam == 0 && dragging_) CancelDrag();
}

void TColumnDragBox::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(column_ ? column_->Header()->Color() : clBtnFace);
  canvas->FillRect(ClientRect());
  PaintFrame();
  if (!column_) return;
  canvas->Font()->Assign(Font());
  partDisplay_->Column = column_;
  partDisplay_->PartRect = TRect(0, 2, ClientWidth() - 2, ClientHeight() - 2);
  partDisplay_->PaintHeaderContent();
}

// A raised 3D frame inside a black outer bottom row and right column.
void TColumnDragBox::PaintFrame() {
  TCanvas* canvas = Canvas();
  const int w = ClientWidth(), h = ClientHeight();
  TRect inner(0, 0, w - 1, h - 1);
  canvas->DrawEdge(inner, BDR_RAISEDINNER, BF_RECT);
  canvas->Pen()->SetColor(clBlack);
  canvas->MoveTo(0, h - 1);
  canvas->LineTo(w - 1, h - 1);
  canvas->LineTo(w - 1, -1);
}

// ---- TDragArrow --------------------------------------------------------------

TDragArrow::TDragArrow(QWidget* AOwner) : TFlyoutControl(AOwner) { SetBounds(Left(), Top(), kSize, kSize); }

void TDragArrow::SetDirection(TArrowDirection v) {
  if (v != NoShape && v != PointsUp && v != PointsDown) return;
  direction_ = v;
  BuildRegion();
}

void TDragArrow::PlaceAt(TPoint P) { SetBounds(P.X, P.Y, kSize, kSize); }

void TDragArrow::CreateWnd() {
  TFlyoutControl::CreateWnd();
  BuildRegion();
}

// An arrow head over a two-pixel-wide stem; the down arrow is the up one
// turned over.
void TDragArrow::BuildRegion() {
  static const QPolygon up({QPoint(-1, 5), QPoint(4, -1), QPoint(9, 5), QPoint(6, 5), QPoint(6, 9), QPoint(3, 9),
                            QPoint(3, 4), QPoint(0, 5)});
  static const QPolygon down(
      {QPoint(5, 0), QPoint(3, 0), QPoint(3, 4), QPoint(0, 4), QPoint(4, 9), QPoint(9, 4), QPoint(6, 4), QPoint(6, 0)});
  switch (direction_) {
    case PointsUp:
      SetRegion(QRegion(up, Qt::WindingFill));
      break;
    case PointsDown:
      SetRegion(QRegion(down, Qt::WindingFill));
      break;
    default:
      SetRegion(QRegion());
  }
}

void TDragArrow::Paint() {
  Canvas()->Brush()->SetColor(RGB(255, 0, 0));
  Canvas()->FillRect(ClientRect());
}

// ---- the grid's decisions ----------------------------------------------------

bool DragStarts(TPoint Down, TPoint Now) { return std::abs(Now.X - Down.X) > 3 || std::abs(Now.Y - Down.Y) > 3; }

TRect DropZone(int HeaderRight, int ClientWidth, int HeaderSize) {
  return TRect(0, 0, std::min(HeaderRight, ClientWidth), 2 * HeaderSize);
}

TRect DropZone(const TCustomGridViewControl& Grid) {
  return DropZone(Grid.HeaderRect().Right, Grid.ClientWidth(), Grid.HeaderSize());
}

bool ShowsDropPlace(TPoint ClientPoint, const TRect& Zone, int TargetColumn) {
  return TargetColumn >= 0 && PtInRect(Zone, ClientPoint);
}

TArrowPlaces ArrowPlaces(TPoint TargetScreen, int HeaderSize) {
  return {TPoint(TargetScreen.X - 4, TargetScreen.Y - 12), TPoint(TargetScreen.X - 4, TargetScreen.Y + HeaderSize - 1)};
}

TDropOutcome DropOutcome(TPoint ClientPoint, const TRect& Zone, int DraggedPosition, int TargetPosition,
                         bool CanHideColumn) {
  if (!PtInRect(Zone, ClientPoint)) return {CanHideColumn ? daHide : daNone, -1};
  if (TargetPosition < 0 || TargetPosition == DraggedPosition) return {};
  return {daMove, TargetPosition};
}
