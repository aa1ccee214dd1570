#include "pages/PNL_UpgradeStart.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"

namespace {

const ControlSpec kDesign[] = {
    {.Kind = ControlKind::Label, .Name = "Label13", .Left = 16, .Top = 16,
     .Caption = "Upgrade Pelmora P2P installed in:"},
    {.Kind = ControlKind::ComboBox, .Name = "ComboBoxUpgrade", .Left = 16, .Top = 32,
     .Width = 457},
};

}  // namespace

TPNLUpgradeStart::TPNLUpgradeStart() : TFramePanel("PNLUpgradeStart", kDesign) {
  Title = "Ready to upgrade";
}

void TPNLUpgradeStart::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Upgrade", 2, [this](TLbSpeedButton&) { btnUpgradeClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPNLUpgradeStart::BeforeShow() {
  auto& list = Controls.Get<TComboBox>("ComboBoxUpgrade");
  list.Clear();
  for (const std::string& program : FoundInstallations)
    list.AddItem(program.substr(0, program.find_last_of('\\') + 1));
  list.SetItemIndex(0);
  // The page may not be visible yet; then the list simply does not get the focus.
  SetFocus(list.Handle());
}

void TPNLUpgradeStart::btnUpgradeClick() {
  if (Form().Sliding) return;
  auto& list = Controls.Get<TComboBox>("ComboBoxUpgrade");
  InstallDir = list.Item(list.ItemIndex());
  Form().ShowPanel("PnlUpgradeUpgrading", true);
}

void TPNLUpgradeStart::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlInstall", true);
}
