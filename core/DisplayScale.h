#pragma once
// The display scale. The designs give every length in pixels at 96 dots per inch; the window
// shows them multiplied by the display's dots per inch over 96, as its fonts, given in points,
// grow with it.

struct TPixelSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TPixelSize&) const = default;
};

// Where a span of a design (its start and length) lies at a scale: both of its edges are
// scaled, so that spans that meet in the design still meet, and the length is what lies
// between them.
struct TPixelSpan {
  int Start = 0;
  int Length = 0;
  bool operator==(const TPixelSpan&) const = default;
};

constexpr int kDesignDpi = 96;

// A length or place of the designs at dpi, to the nearest pixel (halves away from zero).
int ScaleToDpi(int designPixels, int dpi);
TPixelSpan ScaleSpan(int start, int length, int dpi);

// The shortest design length that spans at least pixels at dpi: a text measured at the
// display's scale fits a box of that design length.
int DesignLengthCovering(int pixels, int dpi);

// The dots per inch a window is laid out at on a display of displayDpi: the display's own or,
// where its client area of designClient times the scale and its frame (at displayDpi) would not
// fit the work area, the largest that fits. Never below the designs' own 96: smaller texts than
// designed could not be read.
int LayoutDpi(int displayDpi, TPixelSize designClient, TPixelSize frame, TPixelSize workArea);
