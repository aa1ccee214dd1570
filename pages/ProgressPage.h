#pragma once
// Base of the pages that show a run of the engine: a bar ProgressBar1 and its percentage label
// Label12 from the page's design, moved by SetProgress. The page starts its run in AfterShow
// and goes on to the next page when the run returns.

#include <span>

#include "app/Frame_Panel.h"
#include "app/ProgressDisplay.h"
#include "engine/RunProgress.h"

class TProgressPage : public TFramePanel, public TRunProgress {
 public:
  TProgressPage(TPageId page, std::span<const TControlSpec> design);

  // SetProgress with position 0: an empty bar and "0% complete".
  void BeforeShow() override;

  void SetMax(long long maximum) override;
  long long Max() const override;
  // Moves the bar and shows its percentage, then lets the window answer.
  void SetProgress(long long position) override;
  void ProcessMessages() override;
  void Wait(unsigned milliseconds) override;
  TProgressSink& PayloadProgress() override;

 protected:
  void Loaded() override;

  TProgressBar* ProgressBar1 = nullptr;
  TControl* Label12 = nullptr;
  TProgressDisplay PayloadDisplay{nullptr, nullptr};
};
