#include "pages/PNL_UpgradeStart.h"

#include "app/Appl_Globals.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Label, .Name = "Label13", .Left = 16, .Top = 16,
     .Caption = "Upgrade Pelmora P2P installed in:"},
    {.Kind = TControlKind::ComboBox, .Name = "ComboBoxUpgrade", .Left = 16, .Top = 32,
     .Width = 457, .Description = "Installation to upgrade"},
};

}  // namespace

const TPageButton TPNLUpgradeStart::kButtons[] = {
    kExitButton,
    {.Caption = "&Upgrade", .ButtonID = 2, .Handler = Handler(&TPNLUpgradeStart::btnUpgradeClick)},
    {.Caption = "&Previous", .ButtonID = 3, .Target = TPageId::Install},
};

TPNLUpgradeStart::TPNLUpgradeStart() : TFramePanel(TPageId::UpgradeStart, kDesign, kButtons) {
  Title = "Ready to upgrade";
}

void TPNLUpgradeStart::Loaded() { Bind(ComboBoxUpgrade, "ComboBoxUpgrade"); }

void TPNLUpgradeStart::BeforeShow() {
  ComboBoxUpgrade->Clear();
  for (const std::string& program : FoundInstallations)
    ComboBoxUpgrade->AddItem(program.substr(0, program.find_last_of('\\') + 1));
  ComboBoxUpgrade->SetItemIndex(0);
  // The page may not be visible yet; then the list simply does not get the focus.
  SetFocus(ComboBoxUpgrade->Handle());
}

void TPNLUpgradeStart::btnUpgradeClick() {
  InstallDir = ComboBoxUpgrade->Item(ComboBoxUpgrade->ItemIndex());
  GoTo(TPageId::UpgradeUpgrading);
}
