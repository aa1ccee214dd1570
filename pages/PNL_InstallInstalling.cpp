#include "pages/PNL_InstallInstalling.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "app/RunLog.h"
#include "engine/InstallationRun.h"

namespace {

const TControlSpec kDesign[] = {
    // Wide enough for "100% complete", which the label grows to as it would size itself.
    {.Kind = TControlKind::Label, .Name = "Label12", .Left = 344, .Top = 200, .Width = 120,
     .Height = 13, .Caption = "0% complete", .FontColor = Colors::White, .Font = {.Height = 11}},
    {.Kind = TControlKind::ProgressBar, .Name = "ProgressBar1", .Left = 39, .Top = 232, .Width = 634,
     .Height = 26, .Description = "Installation progress"},
};

}  // namespace

TPNLInstallInstalling::TPNLInstallInstalling() : TProgressPage(TPageId::InstallInstalling, kDesign) {
  Title = "Installing Pelmora P2P";
}

void TPNLInstallInstalling::AfterShow() {
  InstallationRun({InstallDir, AppDataDir, ClientDataDir, CreateDesktopShortcut, DownloadDir, ReleaseCode,
                   ConnectionKind},
                  *this, InstallationRunJournal());
  GoTo(TPageId::InstallReady);
}
