#include <memory>
#include <span>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "pages/PNL_Disclaimer.h"
#include "pages/PNL_Error.h"
#include "pages/PNL_Install.h"
#include "pages/PNL_InstallChooseConnection.h"
#include "pages/PNL_InstallChooseDir.h"
#include "pages/PNL_InstallChooseDownloadDir.h"
#include "pages/PNL_InstallGo.h"
#include "pages/PNL_InstallInstalling.h"
#include "pages/PNL_InstallReady.h"
#include "pages/PNL_UpgradeFindDir.h"
#include "pages/PNL_UpgradeReady.h"
#include "pages/PNL_UpgradeStart.h"
#include "pages/PNL_UpgradeUpgrading.h"
#include "pages/PNL_Welcome.h"

namespace {

using TPageFactory = std::unique_ptr<TFramePanel> (*)();

template <class TPage>
std::unique_ptr<TFramePanel> Make() {
  return std::make_unique<TPage>();
}

constexpr TPageFactory kPageTable[] = {
    Make<TPnlWelcome>,
    Make<TPnlDisclaimer>,
    Make<TPnlInstall>,
    Make<TPnlInstallChooseDir>,
    Make<TPNLInstallChooseDownloadDir>,
    Make<TPNLInstallChooseConnection>,
    Make<TPNLInstallGo>,
    Make<TPNLInstallInstalling>,
    Make<TPNLInstallReady>,
    Make<TPnlUpgradeFindDir>,
    Make<TPNLUpgradeStart>,
    Make<TPNLUpgradeUpgrading>,
    Make<TPNLUpgradeReady>,
    Make<TPnlError>,
};

}  // namespace

void CreateFirstPanel(TFormMain& form) { form.AddPanel(kPageTable[0]()); }

void CreateOtherPanels(TFormMain& form) {
  for (const TPageFactory make : std::span(kPageTable).subspan(1)) form.AddPanel(make());
}
