#pragma once
// Visual themes: whether the themed look is on, and drawing one themed part.
// The themed look is drawn with a Qt style; the classic look is the
// callers' own drawing. Which one is active can be switched at run time.

#include <QString>

#include "platform/Types.h"

class QWidget;
class TCanvas;

// Raises Exception("Error in Themes") when the theme style cannot be had.
bool ThemesActive();
// Switching the look sends WM_THEMECHANGED to every windowed control.
void SetThemesActive(bool active);
// The style that draws the themed look ("Fusion"); tests name a missing one
// to see the failure.
void SetThemeStyleName(const QString& name);

// The theme classes the suite draws parts of.
enum class TThemeClass : uint8_t { Button, Header, Edit, ComboBox, Spin, Rebar, ListView };

// Draws part `part` in state `state` of theme class `themeClass`; a part the
// class does not have raises Exception("Error in Themes").
void DrawThemed(QWidget* window, TCanvas* canvas, const TRect& r, TThemeClass themeClass, int part, int state);
