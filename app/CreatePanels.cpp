#include <memory>

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

void CreatePanels(TFormMain& form) {
  form.AddPanel(std::make_unique<TPnlWelcome>());
  form.AddPanel(std::make_unique<TPnlDisclaimer>());
  form.AddPanel(std::make_unique<TPnlInstall>());
  form.AddPanel(std::make_unique<TPnlInstallChooseDir>());
  form.AddPanel(std::make_unique<TPNLInstallChooseDownloadDir>());
  form.AddPanel(std::make_unique<TPNLInstallChooseConnection>());
  form.AddPanel(std::make_unique<TPNLInstallGo>());
  form.AddPanel(std::make_unique<TPNLInstallInstalling>());
  form.AddPanel(std::make_unique<TPNLInstallReady>());
  form.AddPanel(std::make_unique<TPnlUpgradeFindDir>());
  form.AddPanel(std::make_unique<TPNLUpgradeStart>());
  form.AddPanel(std::make_unique<TPNLUpgradeUpgrading>());
  form.AddPanel(std::make_unique<TPNLUpgradeReady>());
  form.AddPanel(std::make_unique<TPnlError>());
}
