#pragma once

#include "app/Frame_Panel.h"

class TPnlUpgradeFindDir : public TFramePanel {
 public:
  TPnlUpgradeFindDir();
};
