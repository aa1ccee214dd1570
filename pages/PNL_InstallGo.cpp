#include "pages/PNL_InstallGo.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "resources/ResourceIds.h"

namespace {

const ControlSpec kDesign[] = {
    {.Kind = ControlKind::Image, .Name = "Image7", .Left = 8, .Top = 8, .Width = 193,
     .Height = 164, .Options = kStretch, .Resource = kPictureSummaryId},
    {.Kind = ControlKind::Label, .Name = "Label1", .Left = 208, .Top = 16,
     .Caption = "All questions are answered."},
    {.Kind = ControlKind::Label, .Name = "Label2", .Left = 208, .Top = 32,
     .Caption = "Click the button \"Install Now\" and the installation will begin."},
    // The summary lines get their text on every show; their width leaves room for long folders.
    {.Kind = ControlKind::Label, .Name = "Label6", .Left = 228, .Top = 55, .Width = 476,
     .Height = 13},
    {.Kind = ControlKind::Label, .Name = "Label7", .Left = 228, .Top = 76, .Width = 476,
     .Height = 13},
    {.Kind = ControlKind::Label, .Name = "Label9", .Left = 228, .Top = 98, .Width = 476,
     .Height = 13},
};

}  // namespace

TPNLInstallGo::TPNLInstallGo() : TFramePanel("PNLInstallGo", kDesign) { Title = "Ready to install"; }

void TPNLInstallGo::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Install Now", 2, [this](TLbSpeedButton&) { btnInstallNowClick(); }, 2);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPNLInstallGo::BeforeShow() {
  Controls.Get("Label6").SetCaption("Installation folder = " + InstallDir);
  Controls.Get("Label7").SetCaption("Download folder = " + DownloadDir);
  Controls.Get("Label9").SetCaption(CreateDesktopShortcut ? "Create shortcut on desktop = Yes"
                                                           : "Create shortcut on desktop = No");
}

void TPNLInstallGo::btnInstallNowClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PNLInstallInstalling", true);
}

void TPNLInstallGo::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PnlInstallChooseConnection", true);
}
