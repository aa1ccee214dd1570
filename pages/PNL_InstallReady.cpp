#include "pages/PNL_InstallReady.h"

#include "resources/ResourceIds.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Label, .Name = "Label9", .Left = 16, .Top = 24,
     .Caption = "The installation of Pelmora P2P is completed successfully.",
     .Font = {.Bold = true}},
    {.Kind = TControlKind::Panel, .Name = "Panel45", .Left = -1, .Top = 56, .Width = 466,
     .Height = 257, .Color = Colors::SkyBlue, .Description = "Installation completed"},
    {.Kind = TControlKind::Image, .Name = "Image1", .Parent = "Panel45", .Left = 16, .Width = 209,
     .Height = 209, .Options = kTransparent, .Resource = kPictureInstallReadyId,
     .Description = "A green badge"},
    {.Kind = TControlKind::Label, .Name = "Label11", .Parent = "Panel45", .Left = 216, .Top = 225,
     .Caption = "Enjoy your Pelmora P2P!", .FontColor = Colors::White,
     .Font = {.Height = 19, .Italic = true}},
};

}  // namespace

TPNLInstallReady::TPNLInstallReady() : TFinishPage(TPageId::InstallReady, kDesign) {
  Title = "Installation of Pelmora P2P ready";
}
