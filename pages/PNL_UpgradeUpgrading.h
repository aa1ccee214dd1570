#pragma once

#include "engine/UpgradeRun.h"
#include "pages/ProgressPage.h"

// The upgrading page: runs the upgrade, then shows the finish page, or, unattended, starts the
// new client and ends the installer.
class TPNLUpgradeUpgrading : public TProgressPage {
 public:
  TPNLUpgradeUpgrading();
  void AfterShow() override;

  // The length of one second of the run's waits; tests shorten it, the product keeps 1000.
  unsigned WaitSecondMs = kUpgradeWaitSecond.Milliseconds;

 protected:
  void Loaded() override;

 private:
  TLabel* Label1 = nullptr;
};
