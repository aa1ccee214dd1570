#include "pages/PNL_Install.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"

TPnlInstall::TPnlInstall() : TFramePanel("PnlInstall") { Title = "Install or upgrade?"; }

void TPnlInstall::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Next", 2, [this](TLbSpeedButton&) { btnNextClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPnlInstall::btnNextClick() {
  if (Form().Sliding) return;
  Form().ShowPanel(UpgradeChosen ? "PnlUpgradeFindDir" : "PnlInstallChooseDir", true);
}

void TPnlInstall::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlDisclaimer", true);
}
