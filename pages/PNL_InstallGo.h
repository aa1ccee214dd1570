#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallGo : public TFramePanel {
 public:
  TPNLInstallGo();
  void InitButtons(tPmButtonBar& bar) override;
  // Shows the chosen folders and the shortcut choice as they are stored now.
  void BeforeShow() override;

 private:
  void btnInstallNowClick();
  void btnPreviousClick();
};
