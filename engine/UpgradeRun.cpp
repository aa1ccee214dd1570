#include "engine/UpgradeRun.h"

#include <exception>

#include "engine/Files.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "engine/PayloadTotals.h"
#include "engine/Shortcuts.h"

std::string RetryNotice(int attempt) {
  return "Pelmora P2P is still running or in use by another program. Upgrade will retry in a "
         "few seconds. (Attempt " + std::to_string(attempt) + ")";
}

void UpgradeRun(const std::string& installDir, bool autoUpdate, TRunProgress& progress, TRunJournal& journal,
                const TNoticeEvent& showNotice, unsigned secondMs) {
  progress.SetMax(kPayloadTotal);
  JournalledStep(journal, "Installation folder", TOnFailure::EndRun, [&] {
    if (!FolderExists(installDir)) ForceFolders(installDir);
    return installDir;
  });
  if (autoUpdate)
    for (int second = 0; second < kUnattendedWaitSeconds; ++second) progress.Wait(secondMs);

  for (int attempt = 1; attempt <= kUpgradeAttempts; ++attempt) {
    const std::string step = "Client program (attempt " + std::to_string(attempt) + ")";
    journal.StepStarted(step);
    try {
      GB_PelmoraP2P_exe::ExtractPayload(installDir + "Pelmora.Exe", &progress.PayloadProgress());
      journal.StepEnded(step, TStepResult::Done, installDir + "Pelmora.Exe");
      break;
    } catch (const std::exception& failure) {
      // The old program is still whole: a running client holds it, or the new one could not
      // be written. Another try a little later.
      journal.StepEnded(step, TStepResult::Abandoned, failure.what());
      showNotice(RetryNotice(attempt));
      for (int second = 0; second < kRetryWaitSeconds; ++second) progress.Wait(secondMs);
      showNotice("");
    }
  }

  JournalledStep(journal, "Uninstaller", TOnFailure::EndRun, [&] {
    GB_Uninstall_exe::ExtractPayload(installDir + "Uninstall.Exe");
    return installDir + "Uninstall.Exe";
  });
  JournalledStep(journal, "Shortcuts", TOnFailure::EndRun, [&] {
    CreateStartMenuShortcuts(installDir, TShortcutRun::Upgrade);
    return std::string("start menu");
  });
  progress.SetProgress(progress.Max());
}
