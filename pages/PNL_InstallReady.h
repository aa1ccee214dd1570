#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallReady : public TFramePanel {
 public:
  TPNLInstallReady();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnStartClick();
};
