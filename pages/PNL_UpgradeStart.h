#pragma once

#include "app/Frame_Panel.h"

class TPNLUpgradeStart : public TFramePanel {
 public:
  TPNLUpgradeStart();
  // Lists the folders of the copies the search found, the first one picked.
  void BeforeShow() override;

 protected:
  void Loaded() override;

 private:
  static const TPageButton kButtons[];

  void btnUpgradeClick();

  TComboBox* ComboBoxUpgrade = nullptr;
};
