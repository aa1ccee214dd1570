#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallGo : public TFramePanel {
 public:
  TPNLInstallGo();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnInstallNowClick();
  void btnPreviousClick();
};
