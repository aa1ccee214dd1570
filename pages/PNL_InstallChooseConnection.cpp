#include "pages/PNL_InstallChooseConnection.h"

#include "app/Form_Main.h"

TPNLInstallChooseConnection::TPNLInstallChooseConnection() : TFramePanel("PNLInstallChooseConnection") { Title = "Select your internet-connection"; }

void TPNLInstallChooseConnection::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Next", 2, [this](TLbSpeedButton&) { btnNextClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPNLInstallChooseConnection::btnNextClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PNLInstallGo", true);
}

void TPNLInstallChooseConnection::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PNLInstallChooseDownloadDir", true);
}
