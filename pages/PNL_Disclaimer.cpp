#include "pages/PNL_Disclaimer.h"

#include "app/Form_Main.h"

TPnlDisclaimer::TPnlDisclaimer() : TFramePanel("PnlDisclaimer") { Title = "License agreement and disclaimer"; }

void TPnlDisclaimer::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Next", 2, [this](TLbSpeedButton&) { btnNextClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPnlDisclaimer::btnNextClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlInstall", true);
}

void TPnlDisclaimer::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlWelcome", true);
}
