#include "pages/PNL_UpgradeStart.h"

#include "app/Form_Main.h"

TPNLUpgradeStart::TPNLUpgradeStart() : TFramePanel("PNLUpgradeStart") { Title = "Ready to upgrade"; }

void TPNLUpgradeStart::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Upgrade", 2, [this](TLbSpeedButton&) { btnUpgradeClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPNLUpgradeStart::btnUpgradeClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlUpgradeUpgrading", true);
}

void TPNLUpgradeStart::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlInstall", true);
}
