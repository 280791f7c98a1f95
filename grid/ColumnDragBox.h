#pragma once
// Moving columns by dragging their header: the floating box that looks like
// the dragged header and follows the mouse, the two red arrows that mark
// where the column will land, and the small decisions the grid makes around
// them (when a drag starts, where a drop counts, what a drop does).

#include <QPointer>
#include <functional>
#include <memory>

#include "grid/FlyoutControl.h"

class TColumnDragBox;
class TColumnPartDisplay;
class TCustomColumn;
class TCustomGridViewControl;

// Sender and the pointer in screen coordinates.
using TColumnDragEvent = std::function<void(TColumnDragBox* Sender, TPoint ScreenPoint)>;

class TColumnDragBox : public TFlyoutControl {
  Q_OBJECT
 public:
  explicit TColumnDragBox(TCustomGridViewControl* AGrid);
  ~TColumnDragBox() override;

  TCustomGridViewControl* Grid() const { return grid_; }
  TCustomColumn* Column() const { return column_; }
  TColumnPartDisplay* PartDisplay() const { return partDisplay_.get(); }
  bool Dragging() const { return dragging_; }

  // Lays the box over the column's header as the grid shows it now (scrolled
  // columns included), sized to the header, with the grid's font.
  void PlaceOnHeader(TCustomColumn* AColumn);
  // Shows the box for the column and takes the mouse until the left button
  // is released; without a column nothing happens.
  void StartDrag(TCustomColumn* AColumn);
  // Ends a drag without a drop: the box hides and lets the mouse go, so no
  // late release can drop the column.
  void CancelDrag();

  TColumnDragEvent OnDrop;
  TColumnDragEvent OnDragMove;

 protected:
  void DoDrop(TPoint ScreenPoint);
  void DoDragMove(TPoint ScreenPoint);
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;

 private:
  void PaintFrame();

  TCustomGridViewControl* grid_;
  QPointer<TCustomColumn> column_;  // a column deleted mid-drag is not painted
  std::unique_ptr<TColumnPartDisplay> partDisplay_;
  bool dragging_ = false;
};

// A 9 × 9 red arrow shaped by its window region.
class TDragArrow : public TFlyoutControl {
  Q_OBJECT
 public:
  enum TArrowDirection : int { NoShape = 0, PointsUp = 1, PointsDown = 2 };
  static constexpr int kSize = 9;

  explicit TDragArrow(QWidget* AOwner = nullptr);

  TArrowDirection Direction() const { return direction_; }
  // Other values than the three directions are ignored.
  void SetDirection(TArrowDirection v);
  // Puts the arrow's top-left corner at P (screen coordinates).
  void PlaceAt(TPoint P);

 protected:
  void CreateWnd() override;
  void Paint() override;

 private:
  void BuildRegion();

  TArrowDirection direction_ = NoShape;
};

// ---- the grid's decisions ----------------------------------------------------

// A press on a header turns into a drag once the pointer is more than 3
// pixels away from it on either axis.
bool DragStarts(TPoint Down, TPoint Now);

// Where a drop counts (client coordinates): the header and one header height
// below it, never past the client area. The arrows and the drop both use
// this one zone, so a drop does what the cursor showed.
TRect DropZone(int HeaderRight, int ClientWidth, int HeaderSize);
TRect DropZone(const TCustomGridViewControl& Grid);

// The arrows are shown (and the drop cursor) when the point lies in the zone
// over a column; TargetColumn is -1 when no column is under the point.
bool ShowsDropPlace(TPoint ClientPoint, const TRect& Zone, int TargetColumn);

// Top-left corners of the arrows for a target whose header's top-left corner
// is at TargetScreen: the down arrow above the header, the up one below it,
// both tips on the target's left border.
struct TArrowPlaces {
  TPoint Top;
  TPoint Bottom;
};
TArrowPlaces ArrowPlaces(TPoint TargetScreen, int HeaderSize);

enum TDropAction : uint8_t { daNone, daMove, daHide };
struct TDropOutcome {
  TDropAction Action = daNone;
  int ToPosition = -1;  // the display place for daMove
  friend bool operator==(const TDropOutcome&, const TDropOutcome&) = default;
};
// What releasing the dragged column at a client point does. TargetPosition
// is the display place of the column under the point, -1 for none.
TDropOutcome DropOutcome(TPoint ClientPoint, const TRect& Zone, int DraggedPosition, int TargetPosition,
                         bool CanHideColumn);
