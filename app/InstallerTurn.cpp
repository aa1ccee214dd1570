#include "app/InstallerTurn.h"

#include <windows.h>

#include "app/SilentInstall.h"
#include "platform/InstallerLock.h"
#include "platform/MessageBoxes.h"
#include "platform/RunRecordStore.h"

namespace {

constexpr char kTitle[] = "Install Pelmora P2P";

TCutOffRun& CutOff() {
  static TCutOffRun cutOff;
  return cutOff;
}

std::string FailuresText(const TCutOffRun& cutOff) {
  std::string text;
  for (const std::string& failure : cutOff.Failures) text += "\r" + failure;
  return text;
}

}  // namespace

bool TakeInstallerTurn(bool quiet, int* exitCode) {
  if (!AcquireInstallerLock()) {
    if (!quiet) ShowMessageBox(nullptr, kInstallerBusyMessage, kTitle, MB_OK | MB_ICONINFORMATION);
    *exitCode = kExitInstallerBusy;
    return false;
  }
  TCutOffRun& cutOff = CutOff();
  cutOff = FinishCutOffRun();
  // What is left of it stays recorded; a new run would write its own record over it.
  if (cutOff.Kept) {
    if (!quiet)
      ShowMessageBox(nullptr,
                     "An earlier " + cutOff.Kind + " of Pelmora P2P was cut off, and not all of it can be undone yet:" +
                         FailuresText(cutOff) + "\rStart this program again later; nothing else was changed.",
                     kTitle, MB_OK | MB_ICONWARNING);
    *exitCode = kExitStartupFailed;
    return false;
  }
  *exitCode = kExitSuccess;
  return true;
}

void NoteCutOffRun(TInstallLog& log) {
  const TCutOffRun& cutOff = CutOff();
  if (!cutOff.Found) return;
  log.Note("An earlier " + (cutOff.Kind.empty() ? std::string("run") : cutOff.Kind) + " was cut off in the step \"" +
           cutOff.Step + "\"" + (cutOff.InstallDir.empty() ? "" : " in " + cutOff.InstallDir) + ": " +
           std::to_string(cutOff.Undone) + " changes undone" +
           (cutOff.Failures.empty() ? "" : "; " + FailuresText(cutOff)));
}
