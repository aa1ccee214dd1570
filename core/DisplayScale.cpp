#include "core/DisplayScale.h"

int ScaleToDpi(int designPixels, int dpi) {
  const long long product = static_cast<long long>(designPixels) * dpi;
  constexpr long long half = kDesignDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi));
}

TPixelSpan ScaleSpan(int start, int length, int dpi) {
  const int scaledStart = ScaleToDpi(start, dpi);
  return {scaledStart, ScaleToDpi(start + length, dpi) - scaledStart};
}

int DesignLengthCovering(int pixels, int dpi) {
  if (pixels <= 0) return 0;
  return static_cast<int>((static_cast<long long>(pixels) * kDesignDpi + dpi - 1) / dpi);
}

int LayoutDpi(int displayDpi, TPixelSize designClient, TPixelSize frame, TPixelSize workArea) {
  int dpi = displayDpi;
  while (dpi > kDesignDpi && (ScaleToDpi(designClient.Width, dpi) + frame.Width > workArea.Width ||
                              ScaleToDpi(designClient.Height, dpi) + frame.Height > workArea.Height))
    --dpi;
  return dpi < kDesignDpi ? kDesignDpi : dpi;
}
