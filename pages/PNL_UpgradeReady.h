#pragma once

#include "pages/FinishPage.h"

class TPNLUpgradeReady : public TFinishPage {
 public:
  TPNLUpgradeReady();
};
