#pragma once
// A timer component: while enabled it calls OnTimer every Interval milliseconds on the GUI
// thread. All timers share one hidden window whose messages go through the guarded dispatch.

#include <windows.h>

#include <functional>

class TTimer {
 public:
  explicit TTimer(UINT interval = 1000, bool enabled = false);
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;
  ~TTimer();

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  UINT Interval() const { return FInterval; }
  void SetInterval(UINT interval);

  std::function<void(TTimer& sender)> OnTimer;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static HWND SharedWindow();
  void Restart();

  UINT FInterval;
  bool FEnabled;
  UINT_PTR FId;
};
