// Switching the look at run time tells every control, which repaints in
// the new look.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Controls.h"
#include "platform/Themes.h"

namespace {

// Paints itself in one colour per look and counts the theme notices.
class TLookProbe : public TCustomControl {
 public:
  int Notices = 0;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_THEMECHANGED) ++Notices;
    TCustomControl::WndProc(m);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(ThemesActive() ? clBlue : clRed);
    Canvas()->FillRect(ClientRect());
  }
};

TEST(ThemeSwitch, EveryControlHearsOnceAndRepaintsInTheNewLook) {
  SetThemesActive(true);
  TLookProbe a, b;
  for (TLookProbe* p : {&a, &b}) {
    p->SetBounds(0, 0, 20, 10);
    p->Repaint();
  }
  SetThemesActive(false);
  SetThemesActive(false);  // no switch, no notice
  for (TLookProbe* p : {&a, &b}) {
    EXPECT_EQ(p->Notices, 1);
    p->Update();
    EXPECT_EQ(FromQColor(QColor::fromRgb(p->Image().pixel(19, 9))), clRed);
  }
  SetThemesActive(true);
  EXPECT_EQ(a.Notices, 2);
}

}  // namespace
