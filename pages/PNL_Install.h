#pragma once

#include "app/Frame_Panel.h"

class TPnlInstall : public TFramePanel {
 public:
  TPnlInstall();
  void InitButtons(tPmButtonBar& bar) override;

 protected:
  void Loaded() override;

 private:
  void RadioButton1Click();
  void RadioButton2Click();
  void Label18Click();
  void btnNextClick();
  void btnPreviousClick();
};
