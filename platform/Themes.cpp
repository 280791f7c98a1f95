#include "platform/Themes.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Exceptions.h"

namespace {

bool themesActive = true;
QString styleName = QStringLiteral("Fusion");
QPointer<QStyle> themeStyle;
// Made once with the style: every standardPalette() call is a new palette
// with a new cache key, and the style caches its pixmaps by that key, so a
// fresh palette per paint would fill the pixmap cache without end.
QPalette themePalette;

[[noreturn]] void ThemeError() { throw Exception(QStringLiteral("Error in Themes")); }

// The style is made once per name and lives as long as the application.
QStyle& Style() {
  if (!themeStyle || themeStyle->name().compare(styleName, Qt::CaseInsensitive) != 0) {
    QStyle* style = qApp ? QStyleFactory::create(styleName) : nullptr;
    if (!style) ThemeError();
    style->setParent(qApp);
    themeStyle = style;
    themePalette = style->standardPalette();
  }
  return *themeStyle;
}

// Fills the parts every option shares; the standard palette keeps pixels
// the same on every desktop.
void Prepare(QStyleOption& opt, const TRect& r, QStyle::State state) {
  opt.rect = r.ToQt();
  opt.palette = themePalette;
  opt.direction = Qt::LeftToRight;
  opt.state = state;
}

// Push-button-like states: 1 normal, 2 hot, 3 pressed, 4 disabled, 5 default.
QStyle::State ButtonState(int state) {
  QStyle::State s = QStyle::State_Active;
  if (state != 4) s |= QStyle::State_Enabled;
  s |= state == 3 ? QStyle::State_Sunken : QStyle::State_Raised;
  if (state == 2) s |= QStyle::State_MouseOver;
  return s;
}

void DrawBevel(QStyle& style, QPainter& p, QWidget* w, const TRect& r, int state) {
  QStyleOptionButton opt;
  Prepare(opt, r, ButtonState(state));
  style.drawPrimitive(QStyle::PE_PanelButtonCommand, &opt, &p, w);
}

void DrawArrowButton(QStyle& style, QPainter& p, QWidget* w, const TRect& r, int state,
                     QStyle::PrimitiveElement arrow) {
  DrawBevel(style, p, w, r, state);
  QStyleOption opt;
  Prepare(opt, r, ButtonState(state));
  style.drawPrimitive(arrow, &opt, &p, w);
}

// Check box states: 1-4 unchecked, 5-8 checked, 9-12 mixed; within each
// group normal, hot, pressed, disabled.
void DrawCheckBox(QStyle& style, QPainter& p, QWidget* w, const TRect& r, int state) {
  if (state < 1 || state > 12) ThemeError();
  const int group = (state - 1) / 4, look = (state - 1) % 4 + 1;
  QStyle::State s = QStyle::State_Active;
  if (look != 4) s |= QStyle::State_Enabled;
  if (look == 2) s |= QStyle::State_MouseOver;
  if (look == 3) s |= QStyle::State_Sunken;
  s |= group == 0 ? QStyle::State_Off : group == 1 ? QStyle::State_On : QStyle::State_NoChange;
  QStyleOptionButton opt;
  Prepare(opt, r, s);
  style.drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &p, w);
}

void DrawHeaderItem(QStyle& style, QPainter& p, QWidget* w, const TRect& r, int part, int state) {
  QStyleOptionHeader opt;
  QStyle::State s = QStyle::State_Active | QStyle::State_Enabled | QStyle::State_Horizontal;
  s |= state == 3 ? QStyle::State_Sunken : QStyle::State_Raised;
  if (state == 2) s |= QStyle::State_MouseOver;
  Prepare(opt, r, s);
  opt.orientation = Qt::Horizontal;
  opt.position = part == 2   ? QStyleOptionHeader::Beginning
                 : part == 3 ? QStyleOptionHeader::End
                             : QStyleOptionHeader::Middle;
  style.drawControl(QStyle::CE_HeaderSection, &opt, &p, w);
}

void DrawFrame(QStyle& style, QPainter& p, QWidget* w, const TRect& r, QStyle::PrimitiveElement element) {
  QStyleOptionFrame opt;
  Prepare(opt, r, QStyle::State_Active | QStyle::State_Enabled | QStyle::State_Sunken);
  opt.lineWidth = 1;
  opt.frameShape = QFrame::StyledPanel;
  style.drawPrimitive(element, &opt, &p, w);
}

void DrawRebar(QStyle& style, QPainter& p, QWidget* w, const TRect& r) {
  QStyleOptionToolBar opt;
  Prepare(opt, r, QStyle::State_Active | QStyle::State_Enabled | QStyle::State_Horizontal);
  p.fillRect(opt.rect, opt.palette.window());
  style.drawControl(QStyle::CE_ToolBar, &opt, &p, w);
}

// Draws the part or answers false when the class has no such part.
bool DrawPart(QStyle& style, QPainter& p, QWidget* window, const TRect& r, TThemeClass cls, int part, int state) {
  switch (cls) {
    case TThemeClass::Button:
      if (part == 1) DrawBevel(style, p, window, r, state);
      if (part == 3) DrawCheckBox(style, p, window, r, state);
      return part == 1 || part == 3;
    case TThemeClass::Header:
      if (part < 1 || part > 3) return false;
      DrawHeaderItem(style, p, window, r, part, state);
      return true;
    case TThemeClass::Edit:
      if (part == 1) DrawFrame(style, p, window, r, QStyle::PE_PanelLineEdit);
      return part == 1;
    case TThemeClass::ListView:
      if (part == 1) DrawFrame(style, p, window, r, QStyle::PE_Frame);
      return part == 1;
    case TThemeClass::ComboBox:
      if (part == 1) DrawArrowButton(style, p, window, r, state, QStyle::PE_IndicatorArrowDown);
      return part == 1;
    case TThemeClass::Spin:
      if (part == 1) DrawArrowButton(style, p, window, r, state, QStyle::PE_IndicatorArrowUp);
      if (part == 2) DrawArrowButton(style, p, window, r, state, QStyle::PE_IndicatorArrowDown);
      return part == 1 || part == 2;
    case TThemeClass::Rebar:
      if (part == 0) DrawRebar(style, p, window, r);
      return part == 0;
  }
  return false;
}

}  // namespace

bool ThemesActive() {
  if (!themesActive) return false;
  Style();
  return true;
}

void SetThemesActive(bool active) {
  if (active == themesActive) return;
  themesActive = active;
  // Every control learns of the new look: grids recompute their metrics,
  // custom controls repaint.
  ForEachWinControl([](TWinControl* c) { c->Perform(WM_THEMECHANGED); });
}

void SetThemeStyleName(const QString& name) { styleName = name; }

void DrawThemed(QWidget* window, TCanvas* canvas, const TRect& r, TThemeClass themeClass, int part, int state) {
  QStyle& style = Style();
  QPainter& p = canvas->Painter(r);
  p.save();
  bool drawn = false;
  try {
    drawn = DrawPart(style, p, window, r, themeClass, part, state);
  } catch (...) {
    p.restore();
    throw;
  }
  p.restore();
  if (!drawn) ThemeError();
}
