#include "pages/PNL_InstallGo.h"

#include "app/Appl_Globals.h"
#include "resources/ResourceIds.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Image, .Name = "Image7", .Left = 8, .Top = 8, .Width = 193,
     .Height = 164, .Options = kStretch, .Resource = kPictureSummaryId,
     .Description = "Computers linked in a network"},
    {.Kind = TControlKind::Label, .Name = "Label1", .Left = 208, .Top = 16,
     .Caption = "All questions are answered."},
    {.Kind = TControlKind::Label, .Name = "Label2", .Left = 208, .Top = 32,
     .Caption = "Click the button \"Install Now\" and the installation will begin."},
    // The summary lines get their text on every show; their width leaves room for long folders.
    {.Kind = TControlKind::Label, .Name = "Label6", .Left = 228, .Top = 55, .Width = 476,
     .Height = 13},
    {.Kind = TControlKind::Label, .Name = "Label7", .Left = 228, .Top = 76, .Width = 476,
     .Height = 13},
    {.Kind = TControlKind::Label, .Name = "Label9", .Left = 228, .Top = 98, .Width = 476,
     .Height = 13},
};

const TPageButton kButtons[] = {
    kExitButton,
    {.Caption = "&Install Now", .ButtonID = 2, .WidthKind = 2, .Target = TPageId::InstallInstalling},
    {.Caption = "&Previous", .ButtonID = 3, .Target = TPageId::InstallChooseConnection},
};

}  // namespace

TPNLInstallGo::TPNLInstallGo() : TFramePanel(TPageId::InstallGo, kDesign, kButtons) {
  Title = "Ready to install";
}

void TPNLInstallGo::Loaded() {
  Bind(Label6, "Label6");
  Bind(Label7, "Label7");
  Bind(Label9, "Label9");
}

void TPNLInstallGo::BeforeShow() {
  Label6->SetCaption("Installation folder = " + InstallDir);
  Label7->SetCaption("Download folder = " + DownloadDir);
  Label9->SetCaption(CreateDesktopShortcut ? "Create shortcut on desktop = Yes"
                                           : "Create shortcut on desktop = No");
}
