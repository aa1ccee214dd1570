#pragma once
// Progress on a bar and its percentage label, paced to the display by TProgressPacer: the
// controls change and pending window messages are processed at most once a frame, and the end
// of a run shows its last value.

#include <string>

#include "core/ProgressPacer.h"

class Control;
class TProgressBar;

class TProgressDisplay {
 public:
  // Both controls are optional; the label is used only together with a bar. It shows the
  // bar's percentage as read back from the bar, followed by "% complete".
  TProgressDisplay(TProgressBar* bar, Control* label);
  TProgressDisplay(const TProgressDisplay&) = delete;
  TProgressDisplay& operator=(const TProgressDisplay&) = delete;
  // A run left by a failure still shows how far it came; the messages wait for whoever
  // handles the failure.
  ~TProgressDisplay();

  void Step(long long position);
  void Finish();

 private:
  void Take(TProgressPacer::TFrame frame);
  void Show(long long position);

  TProgressBar* Bar;
  Control* Label;
  TProgressPacer Pacer;
  std::string ShownText;
};
