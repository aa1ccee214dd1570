#pragma once

#include "app/Frame_Panel.h"

class TPNLInstallChooseDownloadDir : public TFramePanel {
 public:
  TPNLInstallChooseDownloadDir();
  void InitButtons(tPmButtonBar& bar) override;

 private:
  void btnNextClick();
  void btnPreviousClick();
};
