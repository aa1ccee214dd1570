#include "pages/PNL_InstallGo.h"

#include "app/Form_Main.h"

TPNLInstallGo::TPNLInstallGo() : TFramePanel("PNLInstallGo") { Title = "Ready to install"; }

void TPNLInstallGo::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Install Now", 2, [this](TLbSpeedButton&) { btnInstallNowClick(); }, 2);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPNLInstallGo::btnInstallNowClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PNLInstallInstalling", true);
}

void TPNLInstallGo::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlInstallChooseConnection", true);
}
