#pragma once

#include <windows.h>

#include "ui/Design.h"

// A design font at a display scale, pixels high: its design height (pixels at 96 dots per inch)
// times the scale keeps its size in points; a text is set smaller where it would not fit its box
// at that size. At the designs' own scale a font is set in the designs' face; at any other in
// the face's scalable cut where the designs' face is a bitmap face, whose few fixed sizes cannot
// follow a scale.
HFONT GetFont(const TFontSpec& font, int dpi, int pixels);

// Solid brushes; they and the fonts are shared and live until the process ends.
HBRUSH GetSolidBrush(COLORREF color);

// A device context of the display for measuring texts in these fonts, shared like them: a
// window's own would cost a round trip to the window system each time it is taken and given
// back. The fonts give their heights in pixels, so the measure is the window's.
HDC MeasuringDc();
