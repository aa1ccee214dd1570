#include "ui/Timer.h"

#include <map>

#include "platform/MessagePump.h"
#include "platform/MessageWindow.h"

namespace {

std::map<UINT_PTR, TTimer*>& ActiveTimers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

UINT_PTR NextTimerId() {
  static UINT_PTR next = 1;
  return next++;
}

}  // namespace

HWND TTimer::SharedWindow() {
  static HWND window = CreateMessageWindow("PmTimerWindow", &TTimer::WindowProc);
  return window;
}

LRESULT CALLBACK TTimer::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER) return DefWindowProcA(handle, message, wParam, lParam);
  auto found = ActiveTimers().find(wParam);
  if (found == ActiveTimers().end()) return 0;
  TTimer* timer = found->second;
  return Guarded(handle, [timer] {
    if (timer->OnTimer) timer->OnTimer(*timer);
    return LRESULT{0};
  });
}

TTimer::TTimer(UINT interval, bool enabled) : FInterval(interval), FEnabled(enabled), FId(NextTimerId()) {
  Restart();
}

TTimer::~TTimer() {
  ActiveTimers().erase(FId);
  KillTimer(SharedWindow(), FId);
}

void TTimer::SetEnabled(bool enabled) {
  if (FEnabled == enabled) return;
  FEnabled = enabled;
  Restart();
}

void TTimer::SetInterval(UINT interval) {
  if (FInterval == interval) return;
  FInterval = interval;
  Restart();
}

void TTimer::Restart() {
  KillTimer(SharedWindow(), FId);
  ActiveTimers().erase(FId);
  if (!FEnabled || FInterval == 0) return;
  ActiveTimers()[FId] = this;
  SetTimer(SharedWindow(), FId, FInterval, nullptr);
}
