#pragma once
// The installation log: one line per event, each with its local date and time: the start with
// the command line, the choices the installation run starts with, each step of the run with its
// result and how long it took, and the end with the exit code or the failure's message. It
// formats only; where its lines go is its output's business.

#include <cstdint>
#include <functional>
#include <string>

#include "core/LogLine.h"
#include "engine/RunJournal.h"

struct TLogClock {
  std::function<TLogTime()> Now;              // the local date and time of a line
  std::function<std::int64_t()> Milliseconds;  // a steady count, for the steps' durations
};

// What the installation run starts with.
struct TRunChoices {
  std::string InstallDir;
  std::string DownloadDir;
  std::int32_t ConnectionKind = 8;
  bool DesktopShortcut = false;
};

class TInstallLog final : public TRunJournal {
 public:
  using TOutput = std::function<void(const std::string& line)>;
  TInstallLog(TOutput output, TLogClock clock);

  // "Install Pelmora P2P 4.44 started (<mode>)" and the command line as the system gave it.
  void Started(const std::string& mode, const std::string& commandLine);
  void Choices(const TRunChoices& choices);
  void StepStarted(const std::string& step) override;
  void StepEnded(const std::string& step, TStepResult result, const std::string& detail) override;
  // "Installation failed: <message>" or "Installation refused: <message>" with the exit code.
  void Failed(const std::string& what, const std::string& message, int exitCode);
  void Finished(int exitCode);
  void Note(const std::string& text);

 private:
  TOutput FOutput;
  TLogClock FClock;
  std::int64_t FStepStart = 0;
};
