#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallInstalling : public TFramePanel {
 public:
  TPNLInstallInstalling();
};
