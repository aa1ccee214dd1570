#include "app/SilentInstall.h"

#include <windows.h>
#include <objbase.h>

#include "app/Appl_Globals.h"
#include "app/InstallerTurn.h"
#include "core/CommandLine.h"
#include "core/Exceptions.h"
#include "core/FolderName.h"
#include "app/ProgramStart.h"
#include "core/Random.h"
#include "app/RunLog.h"
#include "ui/Application.h"
#include "engine/Files.h"
#include "engine/FolderProposals.h"
#include "engine/InstallationRun.h"
#include "platform/MessagePump.h"
#include "platform/SystemError.h"
#include "platform/SystemLibrary.h"
#include "web/LIB_GetMemStreamFromTheWeb.h"
#include "web/ReportURL.h"

namespace {

// The installing page's title, the report's field A for a failure of the run.
constexpr char kInstallingTitle[] = "Installing Pelmora P2P";
// How long the failure report may keep a finished silent run from ending.
constexpr double kReportWaitMs = 10000;

// Progress without a window: nothing to show and no window to keep answering.
class TSilentProgress final : public TRunProgress, public TProgressSink {
 public:
  void SetMax(long long maximum) override { FMax = maximum; }
  long long Max() const override { return FMax; }
  void SetProgress(long long) override {}
  void ProcessMessages() override {}
  void Wait(unsigned milliseconds) override { Sleep(milliseconds); }
  TProgressSink& PayloadProgress() override { return *this; }
  void ShowProgress(long long) override {}

 private:
  long long FMax = 0;
};

int ExitCodeOf(TSilentRefusal refusal) {
  switch (refusal) {
    case TSilentRefusal::BadSwitch: return kExitBadSwitch;
    case TSilentRefusal::InvalidInstallDir: return kExitInvalidInstallDir;
    case TSilentRefusal::InvalidDownloadDir: return kExitInvalidDownloadDir;
    case TSilentRefusal::UnknownConnection: return kExitUnknownConnection;
    case TSilentRefusal::None: break;
  }
  return kExitSuccess;
}

std::string RefusalText(const TSilentOptions& options) {
  switch (options.Refusal) {
    case TSilentRefusal::BadSwitch: return "unknown, repeated or incomplete switch \"" + options.Refused + "\"";
    case TSilentRefusal::InvalidInstallDir: return "invalid installation folder \"" + options.Refused + "\"";
    case TSilentRefusal::InvalidDownloadDir: return "invalid download folder \"" + options.Refused + "\"";
    case TSilentRefusal::UnknownConnection: return "unknown connection kind \"" + options.Refused + "\"";
    case TSilentRefusal::None: break;
  }
  return "";
}

// The error page's failure report, sent with the page of the run as its page. The process
// ends after the run, which would cut the report off: it waits for it, within a bound.
void SendFailureReport(const std::string& message) {
  const std::string url = ReportURL(
      ReportAddress(), {kInstallingTitle, InstallDir, DownloadDir, ClientDataDir, AppDataDir, message});
  bool done = false;
  try {
    tLibGetMemStreamFromTheWeb::Start(url, [&done](tLibGetMemStreamFromTheWeb&) { done = true; });
  } catch (const std::exception&) {
    return;
  }
  TMessagePump::Instance().ProcessMessagesUntil(GetTickCount64(), kReportWaitMs, [&done] { return done; });
}

int Refuse(const std::string& text, int exitCode) {
  RunLog().Failed("Installation refused", text, exitCode);
  return exitCode;
}

}  // namespace

int RunSilentInstallation(const TSilentOptions& options, const std::string& commandLine) {
  if (options.LogFile.empty())
    OpenNewRunLog();
  else
    OpenRunLog(options.LogFile);
  TInstallLog& log = RunLog();
  log.Started("silent", commandLine);
  NoteCutOffRun(log);
  if (options.Refusal != TSilentRefusal::None)
    return Refuse(RefusalText(options), ExitCodeOf(options.Refusal));

  try {
    // Shell links need COM on this thread.
    CoInitialize(nullptr);
    // Key texts, scrambling and the client's identity must differ between installations.
    Randomize();
    ReleaseCode = "01";

    // The folders the pages propose, as "&Next" accepts them.
    InstallDir = options.InstallDir.empty() ? WithBackslash(ProposedInstallDir()) : options.InstallDir;
    ClientDataDir = InstallDir;
    // A folder that was asked for is the one installed into, or none: never the Windows folder,
    // and never another one in its stead. Its making is tried now and undone: the run makes it,
    // and removes it again when the run fails.
    if (!options.InstallDir.empty()) {
      if (IsInWindowsFolder(InstallDir))
        return Refuse("the installation folder " + InstallDir + " is the Windows folder or lies in it",
                      kExitInvalidInstallDir);
      if (const unsigned long code = FolderCanBeMade(InstallDir))
        return Refuse("the installation folder " + InstallDir + " cannot be made: " + SystemErrorText(code),
                      kExitInvalidInstallDir);
    }
    if (FileExists(InstallDir + "Pelmora.exe"))
      return Refuse("Pelmora P2P is installed in " + InstallDir + " already", kExitAlreadyInstalled);
    DownloadDir = options.DownloadDir.empty() ? WithBackslash(ProposedDownloadDir(InstallDir)) : options.DownloadDir;
    ConnectionKind = options.ConnectionKind;
    CreateDesktopShortcut = options.DesktopShortcut;
  } catch (const std::exception& failure) {
    log.Failed("Start-up failed", ExceptionMessage(failure), kExitStartupFailed);
    return kExitStartupFailed;
  }

  TSilentProgress progress;
  try {
    InstallationRun({InstallDir, AppDataDir, ClientDataDir, CreateDesktopShortcut, DownloadDir, ReleaseCode,
                     ConnectionKind},
                    progress, InstallationRunJournal());
  } catch (const std::exception& failure) {
    const std::string message = ExceptionMessage(failure);
    log.Failed("Installation failed", message, kExitRunFailed);
    SendFailureReport(message);
    return kExitRunFailed;
  }
  log.Finished(kExitSuccess);
  return kExitSuccess;
}

int RunInstaller() {
  RestrictDllSearchToSystemFolder();
  const std::string commandLine = GetCommandLineA();
  const TProgramCommand command = ParseProgramCommand(commandLine);
  const TSilentOptions& options = command.Switches;
  // Before anything is written, the log included: another installer may be writing it.
  int refusal = kExitSuccess;
  if (!TakeInstallerTurn(options.Quiet, &refusal)) return refusal;
  if (options.Quiet) return RunSilentInstallation(options, commandLine);
  if (!options.LogFile.empty()) {
    OpenRunLog(options.LogFile);
    RunLog().Started("wizard", commandLine);
    NoteCutOffRun(RunLog());
  }
  const int exitCode = RunWizard(command.AutoUpdate);
  RunLog().Note("Wizard ended (exit code " + std::to_string(exitCode) + ")");
  return exitCode;
}
