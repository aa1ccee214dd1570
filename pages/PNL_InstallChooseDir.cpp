#include "pages/PNL_InstallChooseDir.h"

#include <windows.h>

#include "app/Appl_Globals.h"
#include "core/FolderName.h"
#include "app/Form_Main.h"
#include "engine/FolderProposals.h"
#include "resources/ResourceIds.h"
#include "core/Text.h"
#include "ui/Dialogs.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Image, .Name = "Image5", .Left = 8, .Top = 8, .Width = 105, .Height = 105,
     .Options = kStretch, .Resource = kPictureFolderId, .Description = "A network of folders"},
    {.Kind = TControlKind::Edit, .Name = "Edit1", .Left = 286, .Top = 7, .Width = 393, .Height = 21,
     .Description = "Installation folder"},
    // 6 pixels wider than first designed, so that each line of the explanation stands whole.
    {.Kind = TControlKind::StaticText, .Name = "StaticText1", .Left = 8, .Top = 128, .Width = 239,
     .Height = 209, .Options = kWordWrap},
};

// Typed into the folder box, it shows the release code instead of choosing a folder.
const char kReleaseCodeQuestion[] = "#~~+71-42KKw";

}  // namespace

TPnlInstallChooseDir::TPnlInstallChooseDir() : TFolderPage(TPageId::InstallChooseDir, kDesign) {
  Title = "Choose installation folder";
}

std::string& TPnlInstallChooseDir::Setting() const { return InstallDir; }

std::string TPnlInstallChooseDir::ExplanationText() const {
  return "The installation folder is the folder\ron your hard disk where Pelmora P2P program files\r"
         "and the Pelmora P2P data file will be placed.\r\rIn most common cases the folder proposed\r"
         "is the best place and you can just press\rthe \"next\" button, otherwise choose a folder.";
}

std::string TPnlInstallChooseDir::Proposal() const { return ProposedInstallDir(); }

std::string TPnlInstallChooseDir::TextForSelection(const std::string& selected) const {
  return InstallFolderForSelection(selected);
}

void TPnlInstallChooseDir::Edit1Exit() {
  if (Trim(Edit1->Caption()) == kReleaseCodeQuestion) {
    Edit1->SetCaption(ReleaseCode);
    return;
  }
  TFolderPage::Edit1Exit();
}

void TPnlInstallChooseDir::btnNextClick() {
  InstallDir = TrimmedEntry();
  if (!CheckFolderName(InstallDir, kMaxInstallDirLength)) return;
  InstallDir = WithBackslash(InstallDir);
  ClientDataDir = InstallDir;
  if (FileExists(InstallDir + "Pelmora.exe")) {
    ShowMessage("Cannot install Pelmora P2P in " + InstallDir + "\rbecause it already exists in this folder.\r"
                "In case you want to overwrite a previous installation delete or unistall it first,\r"
                "otherwise choose another folder.");
    return;
  }
  GoTo(TPageId::InstallChooseDownloadDir);
}

void TPnlInstallChooseDir::btnPreviousClick() {
  // Emptied so that the page proposes its default afresh next time.
  InstallDir.clear();
  GoTo(TPageId::Install);
}
