#pragma once

#include "app/Frame_Panel.h"

class TPnlDisclaimer : public TFramePanel {
 public:
  TPnlDisclaimer();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnNextClick();
  void btnPreviousClick();
};
