#include "pages/PNL_InstallChooseDownloadDir.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"

TPNLInstallChooseDownloadDir::TPNLInstallChooseDownloadDir() : TFramePanel("PNLInstallChooseDownloadDir") { Title = "Choose download folder"; }

void TPNLInstallChooseDownloadDir::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Next", 2, [this](TLbSpeedButton&) { btnNextClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPNLInstallChooseDownloadDir::btnNextClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlInstallChooseConnection", true);
}

void TPNLInstallChooseDownloadDir::btnPreviousClick() {
  if (Form().Sliding) return;
  // Emptied so that the page proposes its default afresh next time.
  DownloadDir.clear();
  Form().ShowPanel("PnlInstallChooseDir", true);
}
