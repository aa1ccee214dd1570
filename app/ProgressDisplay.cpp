#include "app/ProgressDisplay.h"

#include <string>

#include "core/Progress.h"
#include "ui/Application.h"
#include "ui/Controls.h"

TProgressDisplay::TProgressDisplay(TProgressBar* bar, TControl* label)
    : Bar(bar), Label(bar ? label : nullptr) {}

void TProgressDisplay::ShowProgress(long long position) {
  if (!Bar) return;
  Bar->SetPosition(static_cast<int>(position));
  if (!Label) return;
  const std::string text = std::to_string(PercentComplete(Bar->Position(), Bar->Max())) + "% complete";
  // The same text once more within a stretch would only repaint the label.
  if (text == ShownText) return;
  Label->SetCaption(text);
  ShownText = text;
}

void TProgressDisplay::ProcessMessages() { TApplication::Instance().ProcessMessages(); }
