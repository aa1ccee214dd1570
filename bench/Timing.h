#pragma once
// The clock of the benchmarks: milliseconds from the performance counter.

#include <windows.h>

inline double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How long one call of step takes, in milliseconds.
template <class Step>
double Timed(Step step) {
  const double start = Now();
  step();
  return Now() - start;
}
