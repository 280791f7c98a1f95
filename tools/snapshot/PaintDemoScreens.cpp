// The painting base at a glance: a scroll view with a static edge and both
// scroll bars, and the providers' drawings, in the classic and themed looks.

#include <QPixmap>

#include "Snapshot.h"
#include "grid/Providers.h"
#include "grid/ScrollView.h"
#include "platform/Themes.h"

namespace {

class TPaintDemoView : public TScrollView {
 protected:
  void CreateParams(TCreateParams& Params) override {
    TScrollView::CreateParams(Params);
    Params.ExStyle |= WS_EX_STATICEDGE;
  }

  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clWindow);
    c->FillRect(ClientRect());
    PaintCaptions(c);
    PaintIndicators(c);
    PaintCheckBoxes(c);
    PaintGradients(c);
    PaintFrames(c);
    PaintTexts(c);
  }

 private:
  static void Caption(TCanvas* c, int x, int y, const QString& text) {
    c->Font()->SetColor(clGrayText);
    TGraphicsProvider::DrawText(c, Bounds(x, y, 200, 14), taLeftJustify, text, false);
    c->Font()->SetColor(clWindowText);
  }

  void PaintCaptions(TCanvas* c) {
    Caption(c, 8, 4, ThemesActive() ? QStringLiteral("Temalı görünüm") : QStringLiteral("Klasik görünüm"));
  }

  void PaintIndicators(TCanvas* c) {
    Caption(c, 8, 22, QStringLiteral("Gösterge"));
    for (int i = 0; i < 4; ++i) {
      const TRect r(0, 40 + i * 18, 12, 40 + (i + 1) * 18);
      c->SetOrigin(TPoint(10, 0));
      TGraphicsProvider::DrawIndicator(c, r, i == 1, i == 2, i == 3);
      c->SetOrigin(TPoint());
    }
  }

  void PaintCheckBoxes(TCanvas* c) {
    Caption(c, 90, 22, QStringLiteral("Onay kutuları"));
    const bool states[][3] = {{false, false, false}, {true, false, false}, {true, true, false}, {false, false, true}};
    for (int i = 0; i < 4; ++i)
      TGraphicsProvider::DrawCheckBox(this, c, Bounds(90 + i * 22, 40, 20, 20), taCenter, vaMiddle, states[i][0],
                                      states[i][1], states[i][2]);
    if (!ThemesActive()) return;
    DrawThemed(this, c, Bounds(90, 66, 80, 20), TThemeClass::Header, 1, 1);
    DrawThemed(this, c, Bounds(170, 66, 16, 10), TThemeClass::Spin, 1, 1);
    DrawThemed(this, c, Bounds(170, 76, 16, 10), TThemeClass::Spin, 2, 3);
    DrawThemed(this, c, Bounds(190, 66, 17, 20), TThemeClass::ComboBox, 1, 1);
    DrawThemed(this, c, Bounds(90, 90, 120, 6), TThemeClass::Rebar, 0, 1);
  }

  void PaintGradients(TCanvas* c) {
    Caption(c, 230, 22, QStringLiteral("Geçişler"));
    TGraphicsProvider::GradientHorizontal(c, TRect(230, 40, 330, 56), clWindow, clHighlight);
    TGraphicsProvider::GradientVertical(c, TRect(230, 60, 330, 90), RGB(255, 255, 225), RGB(0, 128, 0));
  }

  void PaintFrames(TCanvas* c) {
    Caption(c, 8, 118, QStringLiteral("Kenarlar ve düğmeler"));
    TRect r = Bounds(8, 136, 40, 22);
    c->DrawEdge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    r = Bounds(54, 136, 40, 22);
    c->DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    r = Bounds(100, 136, 16, 16);
    c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLUP);
    r = Bounds(118, 136, 16, 16);
    c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    r = Bounds(136, 136, 17, 20);
    c->DrawFrameControl(r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_ADJUSTRECT);
    r = Bounds(158, 136, 40, 22);
    c->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH);
    TGraphicsProvider::DrawButtonFace(c, Bounds(204, 136, 40, 22), false);
    TGraphicsProvider::DrawFocus(c, Bounds(250, 136, 60, 22), false);
    TGraphicsProvider::DrawFocus(c, Bounds(316, 136, 40, 22), true);
  }

  void PaintTexts(TCanvas* c) {
    Caption(c, 8, 168, QStringLiteral("Metin"));
    const TAlignment alignments[] = {taLeftJustify, taCenter, taRightJustify};
    for (int i = 0; i < 3; ++i) {
      const TRect r = Bounds(8, 186 + i * 20, 150, 18);
      c->Brush()->SetColor(clBtnFace);
      c->FrameRect(r);
      TGraphicsProvider::DrawText(c, r, alignments[i], QStringLiteral("Arayan & numara"), false);
    }
    const TRect cut = Bounds(170, 186, 90, 18);
    c->FrameRect(cut);
    TGraphicsProvider::DrawText(c, cut, taLeftJustify, QStringLiteral("Çok uzun bir hücre metni"), false);
  }
};

QImage RenderPaintDemo(bool themed) {
  SetThemesActive(themed);
  TPaintDemoView view;
  view.SetBounds(0, 0, 400, 280);
  view.HandleNeeded();
  view.VertScrollBar()->SetParams(3, 0, 40, 1, true, true);
  view.HorzScrollBar()->SetParams(0, 0, 100, 5, true, true);
  view.Repaint();
  const QImage image = view.grab().toImage();
  SetThemesActive(true);
  return image;
}

}  // namespace

SNAPSHOT_SCREEN("paint-demo-classic.png", [] { return RenderPaintDemo(false); });
SNAPSHOT_SCREEN("paint-demo-themed.png", [] { return RenderPaintDemo(true); });
