#pragma once
// Paces a run of progress steps to the display. Steps come thousands of times a second, while a
// screen shows some sixty pictures a second and every touch of a control or of the message
// queue costs a trip to the window system. A step therefore only records its value; at most
// once a frame (kFrameMs) the caller shows the last recorded value, when it differs from the
// one shown, and processes pending window messages. The end of a run shows the last value and
// processes the messages in any case, so a run always ends on its exact final value.
//
// Values are shown in the order they were recorded; a value recorded and replaced within one
// frame is never shown.

#include <cstdint>
#include <functional>

class TProgressPacer {
 public:
  // Milliseconds on a clock that never goes back.
  using TClock = std::function<std::uint64_t()>;
  static constexpr std::uint64_t kFrameMs = 16;

  // What is due now; Show implies that the caller shows Value().
  struct TFrame {
    bool Show = false;
    bool Pump = false;
  };

  // The first frame falls due kFrameMs after the pacer is made: a run shorter than that
  // touches the display only at its end.
  explicit TProgressPacer(TClock clock);

  TFrame Step(long long value);
  // The end of a run: the last value, when not shown yet, and the messages. Steps may follow.
  TFrame Finish();

  long long Value() const { return FValue; }
  // A value was recorded that is not shown yet.
  bool Pending() const { return FRecorded && (!FShown || FShownValue != FValue); }
  // Takes note that the caller has shown Value() outside a frame.
  void MarkShown();

 private:
  TFrame Frame(std::uint64_t now);

  TClock FClock;
  std::uint64_t FFrameStart;
  long long FValue = 0;
  bool FRecorded = false;
  long long FShownValue = 0;
  bool FShown = false;
};
