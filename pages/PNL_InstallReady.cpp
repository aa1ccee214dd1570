#include "pages/PNL_InstallReady.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "engine/ClientProcess.h"

TPNLInstallReady::TPNLInstallReady() : TFramePanel("PNLInstallReady") { Title = "Installation of Pelmora P2P ready"; }

void TPNLInstallReady::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Start Pelmora P2P", 2, [this](TLbSpeedButton&) { btnStartClick(); }, 2);
}

void TPNLInstallReady::btnStartClick() {
  if (Form().Sliding) return;
  StartClient(InstallDir);
  Form().Close();
}
