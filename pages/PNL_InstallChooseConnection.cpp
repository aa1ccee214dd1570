#include "pages/PNL_InstallChooseConnection.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "platform/MessageBoxes.h"
#include "ui/Application.h"
#include "resources/ResourceIds.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Image, .Name = "Image1", .Left = 16, .Top = 16, .Width = 177,
     .Height = 281, .Resource = kPictureConnectionId, .Description = "A network of computers"},
    // 4 pixels wider than first designed, so that each of its six lines stands whole.
    {.Kind = TControlKind::StaticText, .Name = "StaticText1", .Left = 200, .Top = 16, .Width = 220,
     .Height = 105},
    {.Kind = TControlKind::RadioGroup, .Name = "rgConnection", .Left = 200, .Top = 130,
     .Width = 185, .Height = 145, .Caption = "Internet-connection"},
};

// In the order of ConnectionKind; the installation run maps each index to a connection value.
const char* const kConnections[] = {
    "Dial-up &Modem < 56KBS", "Dial-up M&odem 56K", "&ISDN", "&ADSL / DSL", "&Cable",
    "&T1", "T&2", "ADSL 2", "I &don't know",
};

}  // namespace

const TPageButton TPNLInstallChooseConnection::kButtons[] = {
    kExitButton,
    {.Caption = "&Next", .ButtonID = 2,
     .Handler = Handler(&TPNLInstallChooseConnection::btnNextClick)},
    {.Caption = "&Previous", .ButtonID = 3, .Target = TPageId::InstallChooseDownloadDir},
};

TPNLInstallChooseConnection::TPNLInstallChooseConnection()
    : TFramePanel(TPageId::InstallChooseConnection, kDesign, kButtons) {
  Title = "Select your internet-connection";
}

void TPNLInstallChooseConnection::Loaded() {
  Bind(StaticText1, "StaticText1");
  Bind(rgConnection, "rgConnection");
}

void TPNLInstallChooseConnection::BeforeShow() {
  StaticText1->SetCaption(
      "Choose the kind of internet-connection that\ryou use. Pelmora P2P uses this "
      "information to \roptimize its performance dependend on the\rkind of connection you "
      "have. After installation\ryou can always select to the item \"Settings\"\rof Pelmora "
      "P2P to finetune this settings further.");
  rgConnection->ClearItems();
  for (const char* caption : kConnections) rgConnection->AddItem(caption);
  rgConnection->SetItemIndex(ConnectionKind);
}

void TPNLInstallChooseConnection::btnNextClick() {
  int selected = rgConnection->ItemIndex();
  if (selected < 0) {
    ShowMessageBox(Form().Handle(), "Choose a connection first", TApplication::Instance().Title.c_str(),
                   MB_OK);
    return;
  }
  ConnectionKind = selected;
  GoTo(TPageId::InstallGo);
}
