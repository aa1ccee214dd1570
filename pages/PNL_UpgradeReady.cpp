#include "pages/PNL_UpgradeReady.h"

#include "resources/ResourceIds.h"

namespace {

// The panel comes before the picture: it lies above it, and the picture shows below it.
const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Label, .Name = "Label9", .Left = 8, .Top = 24,
     .Caption = "The upgrade of Pelmora is completed succesfully.", .Font = {.Bold = true}},
    {.Kind = TControlKind::Panel, .Name = "Panel45", .Left = -1, .Top = 56, .Width = 466,
     .Height = 257, .Color = Colors::SkyBlue, .Description = "Upgrade completed"},
    {.Kind = TControlKind::Label, .Name = "Label11", .Parent = "Panel45", .Left = 216, .Top = 225,
     .Caption = "Enjoy your Pelmora!", .FontColor = Colors::White,
     .Font = {.Height = 19, .Italic = true}},
    {.Kind = TControlKind::Image, .Name = "Image8", .Left = 16, .Top = 56,
     .Resource = kPictureUpgradeReadyId,
     .Description = "Computers linked in a network"},
};

}  // namespace

TPNLUpgradeReady::TPNLUpgradeReady() : TFinishPage(TPageId::UpgradeReady, kDesign) {
  Title = "Upgrade of Pelmora P2P ready";
}
