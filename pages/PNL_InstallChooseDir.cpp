#include "pages/PNL_InstallChooseDir.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"

TPnlInstallChooseDir::TPnlInstallChooseDir() : TFramePanel("PnlInstallChooseDir") { Title = "Choose installation folder"; }

void TPnlInstallChooseDir::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Next", 2, [this](TLbSpeedButton&) { btnNextClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPnlInstallChooseDir::btnNextClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PNLInstallChooseDownloadDir", true);
}

void TPnlInstallChooseDir::btnPreviousClick() {
  if (Form().Sliding) return;
  // Emptied so that the page proposes its default afresh next time.
  InstallDir.clear();
  Form().ShowPanel("PnlInstall", true);
}
