#include "pages/PNL_UpgradeFindDir.h"

#include "app/Form_Main.h"

TPnlUpgradeFindDir::TPnlUpgradeFindDir() : TFramePanel("PnlUpgradeFindDir") { Title = "Searching Pelmora P2P"; }

