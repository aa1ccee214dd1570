#pragma once

#include "app/Frame_Panel.h"

class TPNLUpgradeUpgrading : public TFramePanel {
 public:
  TPNLUpgradeUpgrading();
};
