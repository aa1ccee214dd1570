#pragma once

#include "pages/ProgressPage.h"

// The installing page: runs the installation and then shows the finish page.
class TPNLInstallInstalling : public TProgressPage {
 public:
  TPNLInstallInstalling();
  void AfterShow() override;
};
