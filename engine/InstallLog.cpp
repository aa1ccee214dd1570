#include "engine/InstallLog.h"

#include "core/SilentOptions.h"

TInstallLog::TInstallLog(TOutput output, TLogClock clock)
    : FOutput(std::move(output)), FClock(std::move(clock)) {}

void TInstallLog::Note(const std::string& text) { FOutput(LogLine(FClock.Now(), text)); }

void TInstallLog::Started(const std::string& mode, const std::string& commandLine) {
  Note("Install Pelmora P2P 4.44 started (" + mode + ")");
  Note("Command line: " + commandLine);
}

void TInstallLog::Choices(const TRunChoices& choices) {
  Note("Installation folder: " + choices.InstallDir);
  Note("Download folder: " + choices.DownloadDir);
  Note("Connection kind: " + std::to_string(choices.ConnectionKind) + " (" +
       ConnectionKindKeyword(choices.ConnectionKind) + ")");
  Note(std::string("Desktop shortcut: ") + (choices.DesktopShortcut ? "yes" : "no"));
}

void TInstallLog::StepStarted(const std::string& step) {
  FStepStart = FClock.Milliseconds();
  Note("Step \"" + step + "\" started");
}

void TInstallLog::StepEnded(const std::string& step, TStepResult result, const std::string& detail) {
  const std::string took = " in " + std::to_string(FClock.Milliseconds() - FStepStart) + " ms";
  switch (result) {
    case TStepResult::Done:
      Note("Step \"" + step + "\" done" + took + (detail.empty() ? "" : ": " + detail));
      break;
    case TStepResult::Abandoned:
      Note("Step \"" + step + "\" failed" + took + ", the installation goes on without it: " + detail);
      break;
    case TStepResult::Failed:
      Note("Step \"" + step + "\" failed" + took + ": " + detail);
      break;
  }
}

void TInstallLog::Failed(const std::string& what, const std::string& message, int exitCode) {
  Note(what + ": " + message + " (exit code " + std::to_string(exitCode) + ")");
}

void TInstallLog::Finished(int exitCode) {
  Note("Installation finished (exit code " + std::to_string(exitCode) + ")");
}
