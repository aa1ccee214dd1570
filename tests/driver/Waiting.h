#pragma once
// Waiting for what another process or thread brings about. A test reads what a window shows
// only once it is there: under load a window exists before its text is filled in.

#include <windows.h>

// How long a test waits for what another process or thread is to bring about. Generous, since
// a loaded machine is slow, and free when all is well: a wait ends as soon as its thing is there.
constexpr DWORD kPatientMs = 30000;

// Polls condition every 20 ms until it holds or timeoutMs has passed; says whether it held.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG start = GetTickCount64();
  while (!condition()) {
    if (GetTickCount64() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

// Reads until the value equals expected or timeoutMs has passed, and returns the last value
// read, so that the caller's assertion shows what was there when the time ran out.
template <class Read, class Value>
auto ReadUntil(Read read, const Value& expected, DWORD timeoutMs) {
  auto value = read();
  WaitUntil([&] { return (value = read()) == expected; }, timeoutMs);
  return value;
}
