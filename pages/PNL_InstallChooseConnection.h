#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallChooseConnection : public TFramePanel {
 public:
  TPNLInstallChooseConnection();
  void InitButtons(tPmButtonBar& bar) override;
  // Fills the explanation and the list, and selects the stored ConnectionKind.
  void BeforeShow() override;

 private:
  void btnNextClick();
  void btnPreviousClick();
};
