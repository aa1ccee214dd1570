#pragma once

#include "app/Frame_Panel.h"

class TPnlWelcome : public TFramePanel {
 public:
  TPnlWelcome();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnNextClick();
};
