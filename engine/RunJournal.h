#pragma once
// The steps of a run as they happen: the run names each step as it starts and tells how it
// ended, so that a log can record them. The engine reports through this without knowing who
// listens; a run that nobody records reports to TNoJournal.

#include <string>


enum class TStepResult {
  Done,       // the step did its work
  Abandoned,  // the step failed and the run goes on without it
  Failed,     // the step failed and its failure ends the run
};

class TRunJournal {
 public:
  virtual void StepStarted(const std::string& step) = 0;
  // detail: what the step settled or wrote (a folder, a file), or the failure's message.
  virtual void StepEnded(const std::string& step, TStepResult result, const std::string& detail) = 0;

 protected:
  ~TRunJournal() = default;
};

class TNoJournal final : public TRunJournal {
 public:
  void StepStarted(const std::string&) override {}
  void StepEnded(const std::string&, TStepResult, const std::string&) override {}
};

// What a step's failure means: the run ends, or it goes on without the step.
enum class TOnFailure { EndRun, GoOn };
