#pragma once

#include "app/Frame_Panel.h"

class TPnlInstallChooseDir : public TFramePanel {
 public:
  TPnlInstallChooseDir();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnNextClick();
  void btnPreviousClick();
};
