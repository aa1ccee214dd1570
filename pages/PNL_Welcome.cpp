#include "pages/PNL_Welcome.h"

#include "app/Form_Main.h"

TPnlWelcome::TPnlWelcome() : TFramePanel("PnlWelcome") { Title = "Welcome"; }

void TPnlWelcome::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Next", 2, [this](TLbSpeedButton&) { btnNextClick(); }, 1);
}

void TPnlWelcome::btnNextClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlDisclaimer", true);
}
