#include "pages/PNL_UpgradeFindDir.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "ui/Dialogs.h"
#include "engine/LIB_FindFiles.h"
#include "resources/ResourceIds.h"

namespace {

constexpr std::uint8_t kFixedDrives = 1;

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Image, .Name = "Image9", .Left = 0, .Top = 8, .Width = 160, .Height = 202,
     .Resource = kPictureSearchId, .Description = "A search through a network"},
    kProgressLabelRow,
    ProgressBarRow("Search progress"),
    {.Kind = TControlKind::StaticText, .Name = "StaticText4", .Left = 328, .Top = 272, .Width = 336,
     .Height = 82, .Caption = "Explanation"},
};

}  // namespace

TPnlUpgradeFindDir::TPnlUpgradeFindDir() : TProgressPage(TPageId::UpgradeFindDir, kDesign) {
  Title = "Searching Pelmora P2P";
}

void TPnlUpgradeFindDir::Loaded() {
  TProgressPage::Loaded();
  Bind(StaticText4, "StaticText4");
  // The search reports whole percentages.
  SetMax(100);
}

void TPnlUpgradeFindDir::AfterShow() {
  SetProgress(0);
  StaticText4->SetCaption(
      "Now searching for installed Pelmora P2P versions on your hard disks.\rThis can take a few moments.");
  FoundInstallations = FindFiles(
      "pelmora.exe", kFixedDrives, "",
      [this](int percent) {
        SetProgress(percent);
        return false;
      },
      [](const std::string&) { return true; }, 0);
  if (!FoundInstallations.empty()) {
    SetProgress(0);
    GoTo(TPageId::UpgradeStart);
    return;
  }
  ShowMessage(
      "No installed Pelmora P2P versions could be found,\ror the found Pelmora P2P versions are newer than\r"
      "the one in this installation. An upgrade is\rnot possible.");
  GoTo(TPageId::Install);
}
