#pragma once
// Serving the GUI thread's messages while a test waits for what they bring about.

#include <windows.h>

#include <functional>

#include "ui/Application.h"
#include "tests/driver/Waiting.h"

// Processes the GUI thread's messages until condition holds or timeoutMs has passed, and says
// whether it held. The bound is generous by default: timers and threads come late on a loaded
// machine, and the wait ends as soon as the condition holds.
inline bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatientMs) {
  const ULONGLONG start = GetTickCount64();
  while (!condition()) {
    if (GetTickCount64() - start > timeoutMs) return false;
    TApplication::Instance().ProcessMessagesUntil(GetTickCount64(), 5);
  }
  return true;
}
