#pragma once

#include "pages/FinishPage.h"

class TPNLInstallReady : public TFinishPage {
 public:
  TPNLInstallReady();
};
