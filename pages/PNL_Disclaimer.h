#pragma once

#include "app/Frame_Panel.h"

class TPnlDisclaimer : public TFramePanel {
 public:
  TPnlDisclaimer();
  // Refills the agreement, shows its top and clears the box: it must be ticked on every visit.
  void BeforeShow() override;

 protected:
  void Loaded() override;

 private:
  static const TPageButton kButtons[];

  void btnNextClick();

  TMemo* MemoDisclaimer = nullptr;
  TCheckBox* CheckBox1 = nullptr;
};
