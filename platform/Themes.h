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
void SetThemesActive(bool active);
// The style that draws the themed look ("Fusion"); tests name a missing one
// to see the failure.
void SetThemeStyleName(const QString& name);

// Draws part `part` in state `state` of theme class `className` ("button",
// "header", "edit", "combobox", "spin", "rebar", "listview"; any case).
void DrawThemed(QWidget* window, TCanvas* canvas, const TRect& r, const QString& className, int part, int state);
