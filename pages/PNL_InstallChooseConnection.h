#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallChooseConnection : public TFramePanel {
 public:
  TPNLInstallChooseConnection();
  // Fills the explanation and the list, and selects the stored ConnectionKind.
  void BeforeShow() override;

 protected:
  void Loaded() override;

 private:
  static const TPageButton kButtons[];

  void btnNextClick();

  TStaticText* StaticText1 = nullptr;
  TRadioGroup* rgConnection = nullptr;
};
