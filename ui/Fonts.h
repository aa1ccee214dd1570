#pragma once

#include <windows.h>

#include "ui/Design.h"

// Fonts and solid brushes are shared and live until the process ends.
HFONT GetFont(const TFontSpec& font);
HBRUSH GetSolidBrush(COLORREF color);
