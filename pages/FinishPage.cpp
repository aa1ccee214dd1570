#include "pages/FinishPage.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "app/RunLog.h"
#include "engine/ClientProcess.h"

const TPageButton TFinishPage::kButtons[] = {
    kExitButton,
    {.Caption = "&Start Pelmora P2P", .ButtonID = 2, .WidthKind = 2,
     .Handler = Handler(&TFinishPage::btnStartClick)},
};

TFinishPage::TFinishPage(TPageId page, std::span<const TControlSpec> design)
    : TFramePanel(page, design, kButtons) {}

void TFinishPage::btnStartClick() {
  NoteClientStart(StartClient(InstallDir));
  Form().Close();
}
