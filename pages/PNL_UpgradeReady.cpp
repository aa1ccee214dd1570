#include "pages/PNL_UpgradeReady.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "engine/ClientProcess.h"

TPNLUpgradeReady::TPNLUpgradeReady() : TFramePanel("PNLUpgradeReady") { Title = "Upgrade of Pelmora P2P ready"; }

void TPNLUpgradeReady::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Start Pelmora P2P", 2, [this](TLbSpeedButton&) { btnStartClick(); }, 2);
}

void TPNLUpgradeReady::btnStartClick() {
  if (Form().Sliding) return;
  StartClient(InstallDir);
  Form().Close();
}
