#pragma once

#include "app/Frame_Panel.h"

class TPNLUpgradeStart : public TFramePanel {
 public:
  TPNLUpgradeStart();
  void InitButtons(tPmButtonBar& bar) override;
  // Lists the folders of the copies the search found, the first one picked.
  void BeforeShow() override;

 private:
  void btnUpgradeClick();
  void btnPreviousClick();
};
