#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallChooseConnection : public TFramePanel {
 public:
  TPNLInstallChooseConnection();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnNextClick();
  void btnPreviousClick();
};
