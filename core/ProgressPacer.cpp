#include "core/ProgressPacer.h"

#include <utility>

TProgressPacer::TProgressPacer(Clock clock) : clock_(std::move(clock)), frameStart_(clock_()) {}

TProgressPacer::TFrame TProgressPacer::Step(long long value) {
  value_ = value;
  recorded_ = true;
  const std::uint64_t now = clock_();
  if (now - frameStart_ < kFrameMs) return {};
  return Frame(now);
}

TProgressPacer::TFrame TProgressPacer::Finish() { return Frame(clock_()); }

void TProgressPacer::MarkShown() {
  if (!recorded_) return;
  shownValue_ = value_;
  shown_ = true;
}

TProgressPacer::TFrame TProgressPacer::Frame(std::uint64_t now) {
  frameStart_ = now;
  const TFrame frame{.Show = Pending(), .Pump = true};
  MarkShown();
  return frame;
}
