#pragma once

#include "app/Frame_Panel.h"

class TPnlInstall : public TFramePanel {
 public:
  TPnlInstall();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnNextClick();
  void btnPreviousClick();
};
