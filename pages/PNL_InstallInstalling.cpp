#include "pages/PNL_InstallInstalling.h"

#include "app/Form_Main.h"

TPNLInstallInstalling::TPNLInstallInstalling() : TFramePanel("PNLInstallInstalling") { Title = "Installing Pelmora P2P"; }

