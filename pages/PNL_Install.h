#pragma once

#include "app/Frame_Panel.h"

class TPnlInstall : public TFramePanel {
 public:
  TPnlInstall();

 protected:
  void Loaded() override;

 private:
  static const TPageButton kButtons[];

  void RadioButton1Click();
  void RadioButton2Click();
  void Label18Click();
  void btnNextClick();

  TRadioButton* RadioButton1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TLabel* Label18 = nullptr;
};
