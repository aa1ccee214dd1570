#pragma once
// Where a step of the engine shows how far it has come. The page side implements it over its
// bar and percentage label (app/ProgressDisplay.h); the engine paces its calls to the display.

class TProgressSink {
 public:
  // Shows the position.
  virtual void ShowProgress(long long position) = 0;
  // Lets the window answer the messages that are waiting.
  virtual void ProcessMessages() = 0;

 protected:
  ~TProgressSink() = default;
};
