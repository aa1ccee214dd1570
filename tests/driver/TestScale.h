#pragma once
// The display scale a test runs at: the LogPixels of its Wine prefix, named by the environment
// variable PELMORA_TEST_DPI (CMake's pelmora_add_scaled_tests), 96 dots per inch without it.

#include <windows.h>

#include <cstdlib>

#include "core/DisplayScale.h"

inline int TestDpi() {
  char value[16] = "";
  const DWORD length = GetEnvironmentVariableA("PELMORA_TEST_DPI", value, sizeof value);
  return length > 0 && length < sizeof value ? std::atoi(value) : kDesignDpi;
}

// The scale the display reports, for the check that the prefix has the scale the test expects.
inline int DisplayDpiReported() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// A rectangle of a design (left, top, right, bottom) at the test's scale, as the toolkit
// places it: each edge scaled.
inline RECT AtTestScale(const RECT& design) {
  const int dpi = TestDpi();
  return {ScaleToDpi(design.left, dpi), ScaleToDpi(design.top, dpi), ScaleToDpi(design.right, dpi),
          ScaleToDpi(design.bottom, dpi)};
}
