#include "app/ProgressDisplay.h"

#include <windows.h>

#include <string>

#include "core/Progress.h"
#include "ui/Application.h"
#include "ui/Controls.h"

TProgressDisplay::TProgressDisplay(TProgressBar* bar, Control* label)
    : Bar(bar), Label(bar ? label : nullptr), Pacer([] { return GetTickCount64(); }) {}

TProgressDisplay::~TProgressDisplay() {
  if (!Pacer.Pending()) return;
  try {
    Show(Pacer.Value());
  } catch (...) {
    // Leaving by a failure already: the picture stays one step behind.
  }
}

void TProgressDisplay::Step(long long position) { Take(Pacer.Step(position)); }

void TProgressDisplay::Finish() { Take(Pacer.Finish()); }

void TProgressDisplay::Take(TProgressPacer::TFrame frame) {
  if (frame.Show) Show(Pacer.Value());
  if (frame.Pump) Application::Instance().ProcessMessages();
}

void TProgressDisplay::Show(long long position) {
  if (!Bar) return;
  Bar->SetPosition(static_cast<int>(position));
  if (!Label) return;
  const std::string text = std::to_string(PercentComplete(Bar->Position(), Bar->Max())) + "% complete";
  // The same text once more within a run would only repaint the label.
  if (text == ShownText) return;
  Label->SetCaption(text);
  ShownText = text;
}
