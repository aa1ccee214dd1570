#pragma once
// How a run of the engine shows its progress and keeps the window answering: the page that
// runs it implements this, so the engine reports upward without knowing the page.

#include <cmath>

#include "engine/ProgressSink.h"

class TRunProgress {
 public:
  virtual void SetMax(long long maximum) = 0;
  virtual long long Max() const = 0;
  // Moves the bar, shows its percentage and lets the window answer.
  virtual void SetProgress(long long position) = 0;
  // Lets the window answer the messages that are waiting.
  virtual void ProcessMessages() = 0;
  // Waits, answering the window's messages meanwhile.
  virtual void Wait(unsigned milliseconds) = 0;
  // Where ExtractPayload shows the progress of a payload itself; asked anew for each payload.
  virtual TProgressSink& PayloadProgress() = 0;

  // Moves the bar to a whole percentage of its range: Round(Max / 100 x percent).
  void SetProgressPercent(int percent) {
    SetProgress(std::llround(std::nearbyint(static_cast<double>(Max()) / 100.0 * percent)));
  }

 protected:
  ~TRunProgress() = default;
};
