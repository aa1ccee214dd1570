#include "app/ProgressDisplay.h"

#include <string>

#include "core/Progress.h"
#include "ui/Application.h"
#include "ui/Controls.h"

TProgressDisplay::TProgressDisplay(TProgressBar* bar, TControl* label)
    : FBar(bar), FLabel(bar ? label : nullptr) {}

void TProgressDisplay::ShowProgress(long long position) {
  if (!FBar) return;
  FBar->SetPosition(static_cast<int>(position));
  if (!FLabel) return;
  const std::string text = std::to_string(PercentComplete(FBar->Position(), FBar->Max())) + "% complete";
  // The same text once more within a stretch would only repaint the label.
  if (text == FShownText) return;
  FLabel->SetCaption(text);
  FShownText = text;
}

void TProgressDisplay::ProcessMessages() { TApplication::Instance().ProcessMessages(); }
