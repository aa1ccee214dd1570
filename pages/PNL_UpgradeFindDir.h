#pragma once

#include "pages/ProgressPage.h"

// The search page: looks for installed client programs on the fixed disks, then offers them on
// the ready-to-upgrade page, or goes back to the install-or-upgrade page when there is none.
class TPnlUpgradeFindDir : public TProgressPage {
 public:
  TPnlUpgradeFindDir();
  void AfterShow() override;

 protected:
  void Loaded() override;

 private:
  TStaticText* StaticText4 = nullptr;
};
