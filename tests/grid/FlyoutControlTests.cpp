#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

#include "TestSupport.h"
#include "grid/FlyoutControl.h"

namespace {

// A flyout whose subclass asks for a border and a client edge.
class TFramedFlyout : public TFlyoutControl {
 public:
  using TFlyoutControl::TFlyoutControl;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TFlyoutControl::CreateParams(Params);
    Params.Style |= WS_BORDER;
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(ClientRect());
  }
};

TEST(FlyoutControl, TheWindowIsMadeOnFirstNeedWithTheSubclassParameters) {
  // Placed on screen before its window exists, inside an owner whose client
  // area starts at (2, 2).
  struct TOwner : TCustomControl {
    void CreateParams(TCreateParams& p) override {
      TCustomControl::CreateParams(p);
      p.ExStyle |= WS_EX_CLIENTEDGE;
    }
  } owner;
  owner.SetBounds(10, 10, 200, 100);
  owner.show();
  TFramedFlyout flyout(&owner);
  EXPECT_FALSE(flyout.HandleAllocated());
  flyout.SetBounds(300, 200, 40, 20);
  flyout.show();
  EXPECT_TRUE(flyout.HandleAllocated());
  EXPECT_TRUE(flyout.isWindow());
  EXPECT_TRUE(flyout.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(flyout.geometry(), QRect(300, 200, 40, 20));
  EXPECT_EQ(flyout.ClientOrigin(), TPoint(1, 1));
  EXPECT_EQ(flyout.ClientWidth(), 38);
  const QImage shown = flyout.grab().toImage();
  EXPECT_EQ(FromQColor(QColor::fromRgb(shown.pixel(0, 10))), ColorToRGB(clWindowFrame));
  EXPECT_EQ(FromQColor(QColor::fromRgb(shown.pixel(1, 10))), ColorToRGB(clWindow));
}

// A roll marker of another shape: its window takes the subclass's shape.
class TSquareShadow : public TRollShadow {
 protected:
  void BuildRegion() override { SetRegion(QRegion(0, 0, 4, 4)); }
};

TEST(RollShadow, ASubclassShapesTheWindowFromTheStart) {
  TSquareShadow shadow;
  shadow.show();
  EXPECT_EQ(shadow.mask(), QRegion(0, 0, 4, 4));
}

TEST(RollShadow, PlaceAtCentresTheDotOnThePoint) {
  QWidget owner;
  TRollShadow shadow(&owner);
  EXPECT_FALSE(shadow.isVisible());
  shadow.PlaceAt(TPoint(100, 200));
  shadow.show();
  EXPECT_EQ(shadow.geometry(), QRect(93, 189, 32, 32));
  EXPECT_EQ(shadow.Placement(), TPoint(100, 200));
  EXPECT_TRUE(shadow.isWindow());
  EXPECT_TRUE(shadow.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(shadow.windowFlags() & Qt::Tool);
  EXPECT_EQ(shadow.Perform(WM_ERASEBKGND), 1);
}

TEST(RollShadow, ShapeIsTwoTrianglesAndADot) {
  TRollShadow shadow;
  shadow.PlaceAt(TPoint(100, 200));
  const QRegion shape = shadow.mask();
  EXPECT_TRUE(shape.contains(QPoint(7, 3)));  // up triangle
  EXPECT_TRUE(shape.contains(QPoint(12, 6)));
  EXPECT_TRUE(shape.contains(QPoint(6, 18)));   // down triangle
  EXPECT_TRUE(shape.contains(QPoint(7, 11)));   // the dot on the press point
  EXPECT_FALSE(shape.contains(QPoint(1, 11)));  // between the arrows, beside the dot
  EXPECT_FALSE(shape.contains(QPoint(20, 11)));
  EXPECT_FALSE(shape.contains(QPoint(25, 25)));
  EXPECT_FALSE(shape.contains(QPoint(14, 3)));
}

TEST(RollShadow, PaintsGrayTextAndTheWindowKeepsOnlyTheShape) {
  TRollShadow shadow;
  shadow.PlaceAt(TPoint(100, 200));
  shadow.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&shadow));
  shadow.Repaint();
  EXPECT_EQ(FromQColor(QColor::fromRgb(shadow.Image().pixel(7, 11))), ColorToRGB(clGrayText));
  // The platform window itself carries the shape, so presses and painting
  // outside it belong to the windows below.
  ASSERT_NE(shadow.windowHandle(), nullptr);
  const QRegion windowShape = shadow.windowHandle()->mask();
  EXPECT_TRUE(windowShape.contains(QPoint(7, 11)));
  EXPECT_FALSE(windowShape.contains(QPoint(25, 25)));
}

}  // namespace
