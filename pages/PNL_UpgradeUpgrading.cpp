#include "pages/PNL_UpgradeUpgrading.h"

#include <windows.h>

#include "app/Appl_Globals.h"
#include "app/RunLog.h"
#include "engine/ClientProcess.h"
#include "engine/UpgradeRun.h"

namespace {

const TControlSpec kDesign[] = {
    kProgressLabelRow,
    // The retry notice; as wide as the page allows, for the notice it grows to.
    {.Kind = TControlKind::Label, .Name = "Label1", .Left = 8, .Top = 8, .Width = 696, .Height = 13,
     .Caption = ".", .FontColor = Colors::Red, .Font = {.Height = 11}},
    ProgressBarRow("Upgrade progress"),
};

}  // namespace

TPNLUpgradeUpgrading::TPNLUpgradeUpgrading() : TProgressPage(TPageId::UpgradeUpgrading, kDesign) {
  Title = "Upgrading Pelmora P2P";
}

void TPNLUpgradeUpgrading::Loaded() {
  TProgressPage::Loaded();
  Bind(Label1, "Label1");
}

void TPNLUpgradeUpgrading::AfterShow() {
  UpgradeRun(InstallDir, AutoUpdate, *this, UpgradeRunJournal(InstallDir),
             [this](const std::string& text) { Label1->SetCaption(text); }, WaitSecondMs);
  if (AutoUpdate) {
    // The client started this upgrade and has ended; its new program takes over at once.
    NoteClientStart(StartClient(InstallDir));
    ExitProcess(0);
  }
  GoTo(TPageId::UpgradeReady);
}
