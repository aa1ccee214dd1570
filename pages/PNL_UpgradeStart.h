#pragma once

#include "app/Frame_Panel.h"

class TPNLUpgradeStart : public TFramePanel {
 public:
  TPNLUpgradeStart();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnUpgradeClick();
  void btnPreviousClick();
};
