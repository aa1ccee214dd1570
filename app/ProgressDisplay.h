#pragma once
// Progress on a bar and its percentage label: the engine's progress sink on the page side.
// The engine paces the calls; the display changes the controls and lets the window answer.
// One display serves one stretch of a run: it sets the label only when its text changes.

#include <string>

#include "engine/ProgressSink.h"

class TControl;
class TProgressBar;

class TProgressDisplay final : public TProgressSink {
 public:
  // Both controls are optional; the label is used only together with a bar. It shows the
  // bar's percentage as read back from the bar, followed by "% complete".
  TProgressDisplay(TProgressBar* bar, TControl* label);

  void ShowProgress(long long position) override;
  void ProcessMessages() override;

 private:
  TProgressBar* FBar;
  TControl* FLabel;
  std::string FShownText;
};
