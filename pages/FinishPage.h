#pragma once
// What the installation and upgrade finish pages share: an end point whose bar offers "&Exit" and
// "&Start Pelmora P2P", which starts the installed client and then closes the wizard.

#include <span>

#include "app/Frame_Panel.h"

class TFinishPage : public TFramePanel {
 protected:
  TFinishPage(TPageId page, std::span<const TControlSpec> design);

 private:
  static const TPageButton kButtons[];

  void btnStartClick();
};
