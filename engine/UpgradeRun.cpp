#include "engine/UpgradeRun.h"

#include "engine/PayloadTotals.h"
#include "engine/WindowsRun.h"

const volatile TWaitSecond kUpgradeWaitSecond = {"PelmoraWaitSec", 1000};

void UpgradeRun(const std::string& installDir, bool autoUpdate, TRunProgress& progress, TRunJournal& journal,
                const TNoticeEvent& showNotice, unsigned secondMs) {
  TWindowsRunActions actions;
  TWindowsRunSystem system;
  RunPlan(UpgradePlan(installDir, autoUpdate, actions, showNotice, secondMs, kPayloadTotal), system, progress,
          journal);
}
