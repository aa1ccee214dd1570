#pragma once
// The wizard's real window showing a page with nothing but a progress bar and its percentage
// label, placed as on the progress pages: what the benchmarks move while they time a run.

#include <memory>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "ui/Application.h"

class TBenchWindow {
 public:
  explicit TBenchWindow(const char* title) {
    ResetSettings();
    FForm.Create();
    FForm.Show();
    auto page = std::make_unique<TBenchPage>(title);
    TBenchPage& bench = *page;
    FForm.AddPanel(std::move(page));
    FForm.ShowPanel("BenchPage", false);
    TApplication::Instance().ProcessMessages();
    Bar = &bench.Controls.Get<TProgressBar>("ProgressBar1");
    Label = &bench.Controls.Get("Label12");
  }

  TProgressBar* Bar;
  TControl* Label;

 private:
  static constexpr TControlSpec kDesign[] = {
      {.Kind = TControlKind::Label, .Name = "Label12", .Left = 344, .Top = 200, .Width = 120, .Height = 13,
       .Caption = "0% complete", .FontColor = Colors::White},
      {.Kind = TControlKind::ProgressBar, .Name = "ProgressBar1", .Left = 39, .Top = 232, .Width = 634,
       .Height = 26},
  };

  class TBenchPage : public TFramePanel {
   public:
    explicit TBenchPage(const char* title) : TFramePanel("BenchPage", kDesign) { Title = title; }
    using TFramePanel::Controls;
  };

  TFormMain FForm;
};
