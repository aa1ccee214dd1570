#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallGo : public TFramePanel {
 public:
  TPNLInstallGo();
  // Shows the chosen folders and the shortcut choice as they are stored now.
  void BeforeShow() override;

 protected:
  void Loaded() override;

 private:
  TLabel* Label6 = nullptr;
  TLabel* Label7 = nullptr;
  TLabel* Label9 = nullptr;
};
