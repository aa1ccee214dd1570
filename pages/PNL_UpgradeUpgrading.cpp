#include "pages/PNL_UpgradeUpgrading.h"

#include "app/Form_Main.h"

TPNLUpgradeUpgrading::TPNLUpgradeUpgrading() : TFramePanel("PNLUpgradeUpgrading") { Title = "Upgrading Pelmora P2P"; }

