#include "ui/Display.h"

namespace {

// A function of user32 that older systems lack; null there.
template <class Function>
Function NewerUser32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

}  // namespace

int SystemDpi() {
  static const auto getDpiForSystem = NewerUser32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  if (getDpiForSystem) return static_cast<int>(getDpiForSystem());
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = NewerUser32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

TDisplayArea DisplayAreaNear(const RECT& area) {
  HMONITOR monitor = IsRectEmpty(&area) ? MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)
                                        : MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) return {info.rcMonitor, info.rcWork};
  TDisplayArea display{{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, {}};
  display.Work = display.Screen;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &display.Work, 0);
  return display;
}

TPixelSize FrameSize(DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi =
      NewerUser32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, 0, 0};
  if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}
