#include "core/ProgressPacer.h"

#include <utility>

TProgressPacer::TProgressPacer(TClock clock) : FClock(std::move(clock)), FFrameStart(FClock()) {}

TProgressPacer::TFrame TProgressPacer::Step(long long value) {
  FValue = value;
  FRecorded = true;
  const std::uint64_t now = FClock();
  if (now - FFrameStart < kFrameMs) return {};
  return Frame(now);
}

TProgressPacer::TFrame TProgressPacer::Finish() { return Frame(FClock()); }

void TProgressPacer::MarkShown() {
  if (!FRecorded) return;
  FShownValue = FValue;
  FShown = true;
}

TProgressPacer::TFrame TProgressPacer::Frame(std::uint64_t now) {
  FFrameStart = now;
  const TFrame frame{.Show = Pending(), .Pump = true};
  MarkShown();
  return frame;
}
