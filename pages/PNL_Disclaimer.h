#pragma once

#include "app/Frame_Panel.h"

class TPnlDisclaimer : public TFramePanel {
 public:
  TPnlDisclaimer();
  void InitButtons(tPmButtonBar& bar) override;
  // Refills the agreement, shows its top and clears the box: it must be ticked on every visit.
  void BeforeShow() override;

 private:
  void btnNextClick();
  void btnPreviousClick();
};
