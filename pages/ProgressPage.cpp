#include "pages/ProgressPage.h"

#include "ui/Application.h"

TProgressPage::TProgressPage(TPageId page, std::span<const TControlSpec> design)
    : TFramePanel(page, design) {}

void TProgressPage::Loaded() {
  Bind(ProgressBar1, "ProgressBar1");
  Bind(Label12, "Label12");
}

void TProgressPage::BeforeShow() { SetProgress(0); }

void TProgressPage::SetMax(long long maximum) { ProgressBar1->SetMax(static_cast<int>(maximum)); }

long long TProgressPage::Max() const { return ProgressBar1->Max(); }

void TProgressPage::SetProgress(long long position) {
  // Each position marks the end of a stretch of a run: it is shown at once, not paced away.
  TProgressDisplay(ProgressBar1, Label12).ShowProgress(position);
  ProcessMessages();
}

TProgressSink& TProgressPage::PayloadProgress() {
  PayloadDisplay = TProgressDisplay(ProgressBar1, Label12);
  return PayloadDisplay;
}

void TProgressPage::ProcessMessages() { TApplication::Instance().ProcessMessages(); }

void TProgressPage::Wait(unsigned milliseconds) {
  TApplication::Instance().ProcessMessagesUntil(GetTickCount64(), milliseconds);
}
