#pragma once
// Small top-most windows shown above everything for a short time, and the
// marker shown where the middle button went down for roll scrolling.

#include "platform/Controls.h"

class TFlyoutControl : public TCustomControl {
  Q_OBJECT
 public:
  explicit TFlyoutControl(QWidget* AOwner = nullptr);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
};

class TRollShadow : public TFlyoutControl {
  Q_OBJECT
 public:
  explicit TRollShadow(QWidget* AOwner = nullptr);

  // Centres the marker's dot on P (screen coordinates).
  void PlaceAt(TPoint P);
  TPoint Placement() const { return placement_; }

 protected:
  // Gives the window its shape; at its creation and at every placement.
  virtual void BuildRegion();
  void CreateWnd() override;
  void Paint() override;

 private:
  TPoint placement_;
};
