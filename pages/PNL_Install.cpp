#include "pages/PNL_Install.h"

#include <windows.h>

#include <string>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "platform/MailLink.h"
#include "resources/ResourceIds.h"
#include "web/HostNames.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Label, .Name = "Label4a", .Left = 372, .Top = 17,
     .Caption = "What do you want to do?", .Font = {.Bold = true}},
    {.Kind = TControlKind::RadioButton, .Name = "RadioButton1", .Left = 389, .Top = 41,
     .Width = 252, .Height = 17, .Caption = "&Install Pelmora P2P on this computer",
     .Options = kChecked},
    {.Kind = TControlKind::RadioButton, .Name = "RadioButton2", .Left = 389, .Top = 69,
     .Width = 177, .Height = 17, .Caption = "&Upgrade an existing installation"},
    {.Kind = TControlKind::Label, .Name = "Label1", .Left = 372, .Top = 133, .Caption = "Shortcut",
     .Font = {.Bold = true}},
    {.Kind = TControlKind::CheckBox, .Name = "CheckBox1", .Left = 394, .Top = 153, .Width = 191,
     .Height = 17, .Caption = "&Create a shortcut on the desktop", .Options = kChecked},
    {.Kind = TControlKind::Label, .Name = "Label3", .Left = 375, .Top = 192, .Caption = "Directory",
     .Font = {.Bold = true}},
    {.Kind = TControlKind::StaticText, .Name = "StaticText1", .Left = 392, .Top = 211, .Width = 185,
     .Height = 30,
     .Caption = "In the next step you'll be asked to choose the installation directory. ",
     .Options = kWordWrap},
    // 2 pixels wider than first designed, for the whole of Label2.
    {.Kind = TControlKind::Panel, .Name = "Panel44", .Left = 8, .Top = 8, .Width = 347,
     .Height = 281, .Color = Colors::White, .Description = "Support"},
    {.Kind = TControlKind::Image, .Name = "Image4", .Parent = "Panel44", .Left = 8, .Top = 8,
     .Resource = kPictureInstallId,
     .Description = "Computers linked in a network"},
    {.Kind = TControlKind::Label, .Name = "Label2", .Parent = "Panel44", .Left = 8, .Top = 208,
     .Caption = "We did a lot to make sure installation of Pelmora P2P will work smoothly."},
    {.Kind = TControlKind::Label, .Name = "Label5", .Parent = "Panel44", .Left = 9, .Top = 228,
     .Caption = "In case you might experience problems please let us know"},
    {.Kind = TControlKind::Label, .Name = "Label14", .Parent = "Panel44", .Left = 8, .Top = 248,
     .Caption = "so we can help you out. You can reach us at :"},
    // On a line of its own, first designed behind Label14 at 227, 248: there the panel's edge
    // cuts the support address off.
    {.Kind = TControlKind::Label, .Name = "Label18", .Parent = "Panel44", .Left = 8, .Top = 268,
     .Caption = kSupportMail, .FontColor = Colors::Blue, .Font = {.Underline = true},
     .Options = kHandCursor},
};

}  // namespace

const TPageButton TPnlInstall::kButtons[] = {
    kExitButton,
    {.Caption = "&Next", .ButtonID = 2, .Handler = Handler(&TPnlInstall::btnNextClick)},
    {.Caption = "&Previous", .ButtonID = 3, .Target = TPageId::Disclaimer},
};

TPnlInstall::TPnlInstall() : TFramePanel(TPageId::Install, kDesign, kButtons) {
  Title = "Install or upgrade?";
}

void TPnlInstall::Loaded() {
  Bind(RadioButton1, "RadioButton1");
  Bind(RadioButton2, "RadioButton2");
  Bind(CheckBox1, "CheckBox1");
  Bind(Label18, "Label18");
  RadioButton1->OnClick = [this](TControl&) { RadioButton1Click(); };
  RadioButton2->OnClick = [this](TControl&) { RadioButton2Click(); };
  Label18->OnClick = [this](TControl&) { Label18Click(); };
}

void TPnlInstall::RadioButton1Click() { RadioButton2->SetChecked(!RadioButton1->Checked()); }

void TPnlInstall::RadioButton2Click() { RadioButton1->SetChecked(!RadioButton2->Checked()); }

void TPnlInstall::Label18Click() {
  OpenMailLink(nullptr, kSupportMail);
}

void TPnlInstall::btnNextClick() {
  UpgradeChosen = RadioButton2->Checked();
  CreateDesktopShortcut = CheckBox1->Checked();
  GoTo(UpgradeChosen ? TPageId::UpgradeFindDir : TPageId::InstallChooseDir);
}
