#pragma once

#include "app/Frame_Panel.h"

class TPNLUpgradeReady : public TFramePanel {
 public:
  TPNLUpgradeReady();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnStartClick();
};
