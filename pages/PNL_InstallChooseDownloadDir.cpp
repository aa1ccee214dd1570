#include "pages/PNL_InstallChooseDownloadDir.h"

#include "app/Appl_Globals.h"
#include "core/FolderName.h"
#include "app/Form_Main.h"
#include "engine/FolderProposals.h"
#include "resources/ResourceIds.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Image, .Name = "Image5", .Left = 8, .Top = 8, .Width = 105, .Height = 105,
     .Options = kStretch, .Resource = kPictureFolderId, .Description = "A network of folders"},
    {.Kind = TControlKind::StaticText, .Name = "StaticText1", .Left = 8, .Top = 128, .Width = 233,
     .Height = 209, .Options = kWordWrap},
    {.Kind = TControlKind::Edit, .Name = "Edit1", .Left = 286, .Top = 7, .Width = 393, .Height = 21,
     .Description = "Download folder"},
};

}  // namespace

TPNLInstallChooseDownloadDir::TPNLInstallChooseDownloadDir()
    : TFolderPage(TPageId::InstallChooseDownloadDir, kDesign) {
  Title = "Choose download folder";
}

std::string& TPNLInstallChooseDownloadDir::Setting() const { return DownloadDir; }

std::string TPNLInstallChooseDownloadDir::ExplanationText() const {
  return "The download folder is the folder\ron your hard disk where Pelmora P2P puts the\r"
         "downloaded files when they are completed.\r\rIn most common cases the folder proposed\r"
         "is the best place and you can just press\rthe \"next\" button, otherwise choose a folder.";
}

std::string TPNLInstallChooseDownloadDir::Proposal() const { return ProposedDownloadDir(InstallDir); }

std::string TPNLInstallChooseDownloadDir::TextForSelection(const std::string& selected) const {
  return DownloadFolderForSelection(selected);
}

void TPNLInstallChooseDownloadDir::btnNextClick() {
  const std::string text = TrimmedEntry();
  if (!CheckFolderName(text, kMaxDownloadDirLength)) return;
  DownloadDir = WithBackslash(text);
  if (DownloadDir != text) Edit1->SetCaption(DownloadDir);
  GoTo(TPageId::InstallChooseConnection);
}

void TPNLInstallChooseDownloadDir::btnPreviousClick() {
  // Emptied so that the page proposes its default afresh next time.
  DownloadDir.clear();
  GoTo(TPageId::InstallChooseDir);
}
