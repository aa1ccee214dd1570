#pragma once
// What the system tells of its displays: their scale, their work areas, and what a window's
// frame adds at a scale. The calls of newer systems are looked up when the program runs, so
// that older systems, which know one scale for all displays, still start it.

#include <windows.h>

#include "core/DisplayScale.h"

// The scale of the display that new windows start on, in dots per inch.
int SystemDpi();
// The scale of the display that a window stands on.
int WindowDpi(HWND window);
// A display's whole area and its work area (the display less the task bar).
struct TDisplayArea {
  RECT Screen;
  RECT Work;
};
// The display nearest to an area; the primary display for an empty one.
TDisplayArea DisplayAreaNear(const RECT& area);
// What a window's frame (border and caption) adds to its client area at a scale.
TPixelSize FrameSize(DWORD style, DWORD exStyle, int dpi);
