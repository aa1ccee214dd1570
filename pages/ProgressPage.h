#pragma once
// Base of the pages that show a run of the engine: a bar ProgressBar1 and its percentage label
// Label12 from the page's design, moved by SetProgress. The page starts its run in AfterShow
// and goes on to the next page when the run returns.

#include <span>

#include "app/Frame_Panel.h"
#include "app/ProgressDisplay.h"
#include "engine/RunProgress.h"

// The design rows of the percentage label and the bar, at the same place on every progress
// page; the bar's description tells a screen reader what progresses.
inline constexpr TControlSpec kProgressLabelRow = {
    // Wide enough for "100% complete", which the label grows to as it would size itself.
    .Kind = TControlKind::Label, .Name = "Label12", .Left = 344, .Top = 200, .Width = 120, .Height = 13,
    .Caption = "0% complete", .FontColor = Colors::White, .Font = {.Height = 11}};
constexpr TControlSpec ProgressBarRow(const char* description) {
  return {.Kind = TControlKind::ProgressBar, .Name = "ProgressBar1", .Left = 39, .Top = 232, .Width = 634,
          .Height = 26, .Description = description};
}

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
