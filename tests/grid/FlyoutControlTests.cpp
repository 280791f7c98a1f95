#include <gtest/gtest.h>

#include <QTest>
#include <QWindow>

#include "TestSupport.h"
#include "grid/FlyoutControl.h"

namespace {

TEST(RollShadow, PlaceAtCentresTheDotOnThePoint) {
  QWidget owner;
  TRollShadow shadow(&owner);
  EXPECT_FALSE(shadow.isVisible());
  shadow.PlaceAt(TPoint(100, 200));
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
