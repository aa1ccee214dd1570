#include "pages/PNL_InstallInstalling.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "app/RunLog.h"
#include "engine/InstallationRun.h"

namespace {

const TControlSpec kDesign[] = {
    kProgressLabelRow,
    ProgressBarRow("Installation progress"),
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
