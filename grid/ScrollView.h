#pragma once
// The grid suite's scrolling window: two scroll-position models, pixel
// scrolling of a subclass-chosen rectangle, and roll scrolling with the
// middle mouse button.

#include <memory>

#include "grid/FlyoutControl.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Timers.h"

class TScrollView;

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

// Cursors the view registers for roll scrolling.
constexpr int crRoll = 3003;
constexpr int crRollUp = 3004;
constexpr int crRollDown = 3005;

// One scroll bar of a view, in the platform's model: positions run from Min
// to Max, PageSize sizes the thumb.
class TControlScrollBar : public TPersistent {
  Q_OBJECT
 public:
  explicit TControlScrollBar(TScrollView* AOwner);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool b);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind k) { kind_ = k; }
  int Max() const { return max_; }
  void SetMax(int n);
  int Min() const { return min_; }
  void SetMin(int n);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int n);
  int Position() const { return position_; }
  void SetPosition(int p);
  int PreviousPosition() const { return previousPosition_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool b);
  void SetParams(int APosition, int AMin, int AMax, int APageSize, bool AEnabled, bool AVisible);

  // Pushes the model to the window's bar.
  virtual void Update();
  void Assign(TPersistent* Source) override;

  // Requests that travel as scroll messages through the view's handler.
  void LineUp() { Request(SB_LINEUP); }
  void LineDown() { Request(SB_LINEDOWN); }
  void PageUp() { Request(SB_PAGEUP); }
  void PageDown() { Request(SB_PAGEDOWN); }

  int PageStep = 1;
  int LineStep = 1;

 private:
  void Request(int code);

  TScrollView* owner_;
  bool enabled_ = true;
  TScrollBarKind kind_ = sbHorizontal;
  int max_ = 100;
  int min_ = 0;
  int previousPosition_ = 0;
  int pageSize_ = 0;
  int position_ = 0;
  bool visible_ = true;
  bool updateLock_ = false;
};

class TCustomScrollView : public TCustomControl {
  Q_OBJECT
 public:
  explicit TCustomScrollView(QWidget* AOwner = nullptr);

  // Moves the content by dx horizontal or dy vertical positions.
  virtual void ScrollBy(int dx, int dy);

  int HorzScrollDelta = 0;
  TRect HorzScrollRect;
  int HorzScrollUnit = 0;
  int VertScrollDelta = 0;
  TRect VertScrollRect;
  int VertScrollUnit = 0;
};

class TScrollView : public TCustomScrollView {
  Q_OBJECT
 public:
  explicit TScrollView(QWidget* AOwner = nullptr);
  ~TScrollView() override;

  TControlScrollBar* HorzScrollBar() const { return horzScrollBar_.get(); }
  TControlScrollBar* VertScrollBar() const { return vertScrollBar_.get(); }
  TRollShadow* RollShadow() const { return rollShadow_.get(); }
  TTimer* RollTimer() const { return rollTimer_.get(); }
  TPoint RollOrigin() const { return rollOrigin_; }
  bool Rolling() const { return rolling_; }
  bool RollingUp() const { return rollUp_; }
  bool RollingDown() const { return rollDown_; }

  // Called after a bar changed its position, before the content moves.
  virtual void ScrollPositionChanged(TScrollBarKind Kind);
  // One roll-scrolling timer tick.
  void RollTick();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void ScrollMessage(TControlScrollBar* bar, TMessage& Message);

  std::unique_ptr<TControlScrollBar> horzScrollBar_;
  TPoint rollOrigin_;
  std::unique_ptr<TRollShadow> rollShadow_;
  std::unique_ptr<TTimer> rollTimer_;
  std::unique_ptr<TControlScrollBar> vertScrollBar_;
  bool rolling_ = false;
  bool rollUp_ = false;
  bool rollDown_ = false;
};
