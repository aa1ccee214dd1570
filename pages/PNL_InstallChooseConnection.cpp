#include "pages/PNL_InstallChooseConnection.h"

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "platform/MessageBoxes.h"
#include "ui/Application.h"
#include "resources/ResourceIds.h"

namespace {

const ControlSpec kDesign[] = {
    {.Kind = ControlKind::Image, .Name = "Image1", .Left = 16, .Top = 16, .Width = 177,
     .Height = 281, .Resource = kPictureConnectionId},
    // 4 pixels wider than first designed, so that each of its six lines stands whole.
    {.Kind = ControlKind::StaticText, .Name = "StaticText1", .Left = 200, .Top = 16, .Width = 220,
     .Height = 105},
    {.Kind = ControlKind::RadioGroup, .Name = "rgConnection", .Left = 200, .Top = 130,
     .Width = 185, .Height = 145, .Caption = "Internet-connection"},
};

// In the order of ConnectionKind; the installation run maps each index to a connection value.
const char* const kConnections[] = {
    "Dial-up &Modem < 56KBS", "Dial-up M&odem 56K", "&ISDN", "&ADSL / DSL", "&Cable",
    "&T1", "T&2", "ADSL 2", "I &don't know",
};

}  // namespace

TPNLInstallChooseConnection::TPNLInstallChooseConnection()
    : TFramePanel("PNLInstallChooseConnection", kDesign) {
  Title = "Select your internet-connection";
}

void TPNLInstallChooseConnection::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Next", 2, [this](TLbSpeedButton&) { btnNextClick(); }, 1);
  bar.AddRightButton("&Previous", 3, [this](TLbSpeedButton&) { btnPreviousClick(); }, 1);
}

void TPNLInstallChooseConnection::BeforeShow() {
  Controls.Get("StaticText1")
      .SetCaption(
          "Choose the kind of internet-connection that\ryou use. Pelmora P2P uses this "
          "information to \roptimize its performance dependend on the\rkind of connection you "
          "have. After installation\ryou can always select to the item \"Settings\"\rof Pelmora "
          "P2P to finetune this settings further.");
  auto& group = Controls.Get<TRadioGroup>("rgConnection");
  group.ClearItems();
  for (const char* caption : kConnections) group.AddItem(caption);
  group.SetItemIndex(ConnectionKind);
}

void TPNLInstallChooseConnection::btnNextClick() {
  if (Form().Sliding) return;
  int selected = Controls.Get<TRadioGroup>("rgConnection").ItemIndex();
  if (selected < 0) {
    ShowMessageBox(Form().Handle(), "Choose a connection first", Application::Instance().Title.c_str(),
                   MB_OK);
    return;
  }
  ConnectionKind = selected;
  Form().ShowPanel("PNLInstallGo", true);
}

void TPNLInstallChooseConnection::btnPreviousClick() {
  if (Form().Sliding) return;
  Form().ShowPanel("PNLInstallChooseDownloadDir", true);
}
