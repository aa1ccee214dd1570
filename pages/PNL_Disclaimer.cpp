#include "pages/PNL_Disclaimer.h"

#include "app/Form_Main.h"
#include "platform/MessageBoxes.h"
#include "ui/Application.h"
#include "resources/ResourceIds.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Image, .Name = "Image1", .Left = 8, .Top = 8, .Width = 49, .Height = 57,
     .Options = kStretch | kTransparent, .Resource = kPictureLicenceId,
     .Description = "A seal"},
    {.Kind = TControlKind::Label, .Name = "Label1", .Left = 72, .Top = 8,
     .Caption = "Pelmora P2P License agreement", .Font = {.Height = 21}},
    {.Kind = TControlKind::Memo, .Name = "MemoDisclaimer", .Left = 70, .Top = 36, .Width = 553,
     .Height = 292, .Description = "License agreement"},
    {.Kind = TControlKind::CheckBox, .Name = "CheckBox1", .Left = 72, .Top = 340, .Width = 601,
     .Height = 25,
     .Caption = "&I have read the statement above and I fully agree with this statement.",
     .Font = {.Height = 21}},
};

// The agreement, one memo line per entry: each paragraph is one line that the memo wraps.
const char* const kAgreement[] = {
    "PELMORA P2P LICENSE AGREEMENT",
    "-------------------------------------------",
    "",
    "This agreement is made between the Pelmora team, who hold all rights in Pelmora P2P (the "
    "software), and you, the person or organisation installing it (the user).",
    "",
    "You may install and use the software free of charge as long as you keep to the conditions "
    "below. If you no longer agree with them, stop using the software and remove it from your "
    "computer; the uninstaller in its folder does this for you.",
    "",
    "This agreement is governed by the law of the country in which the Pelmora team has its "
    "seat, except where the law of your own country gives you rights that cannot be taken "
    "away by agreement.",
    "",
    "Only you and the Pelmora team are parties to this agreement. It gives no rights to anyone "
    "else.",
    "",
    "DISTRIBUTION",
    "",
    "You may copy this installation program and pass it on to others free of charge, as long "
    "as you pass it on unchanged and complete.",
    "You do not need to ask the Pelmora team for permission before you do so.",
    "",
    "DISCLAIMER",
    "",
    "You use the software at your own risk. It comes without any warranty, and the Pelmora "
    "team is not liable for any damage or loss caused by installing or using it, as far as the "
    "law allows.",
    "",
    "The Pelmora team is not responsible for any illegal use of the software. You alone are "
    "responsible for what you share, search for and download.",
    "",
    "The software is provided as it is. The Pelmora team does not promise that it will meet "
    "your needs or run without interruption or errors.",
    "",
    "Using the software does not entitle you to support. The Pelmora team may help you when it "
    "can, but is not obliged to.",
    "",
    "The Pelmora team does not run a file-sharing network. The network consists of the "
    "computers of its users, and the Pelmora team bears no responsibility for the files that "
    "are exchanged on it.",
    "",
    "USAGE RESTRICTIONS",
    "",
    "You may use the software for private purposes only. Commercial use means using the "
    "software to earn money, to provide a paid service, or as part of the work of a company or "
    "other organisation.",
    "",
    "Testing the software and writing a review of it, also for a publication, are not "
    "commercial use.",
    "",
    "You must use the software within the law of the country in which you use it, including "
    "the laws on copyright.",
    "",
    "You may not change, decompile or otherwise modify the software.",
    "",
    "PRIVACY",
    "",
    "The installation program changes nothing on your computer except what is needed to "
    "install Pelmora P2P, and it sends nothing over the internet except in the one case below.",
    "",
    "If the installation stops because of an unexpected error, the installation program sends "
    "a short report to the Pelmora team, without asking, so that the error can be found and "
    "fixed. The report contains the title of the page on which the error happened, the error "
    "message and the four folders of the installation: the installation folder, the download "
    "folder, the data folder and the per-user data folder. These folder names can contain your "
    "Windows user name. The report contains no files and nothing else from your computer; like "
    "every web server, the server that receives it sees the internet address it comes from.",
    "",
    "When Pelmora P2P runs, it connects to the computers of other users, who can see the "
    "internet address of your computer and the files you choose to share.",
    "",
    "BY USING THIS SOFTWARE YOU AGREE TO BE BOUND BY THESE CONDITIONS.",
};

}  // namespace

const TPageButton TPnlDisclaimer::kButtons[] = {
    kExitButton,
    {.Caption = "&Next", .ButtonID = 2, .Handler = Handler(&TPnlDisclaimer::btnNextClick)},
    {.Caption = "&Previous", .ButtonID = 3, .Target = TPageId::Welcome},
};

TPnlDisclaimer::TPnlDisclaimer() : TFramePanel(TPageId::Disclaimer, kDesign, kButtons) {
  Title = "License agreement and disclaimer";
}

void TPnlDisclaimer::Loaded() {
  Bind(MemoDisclaimer, "MemoDisclaimer");
  Bind(CheckBox1, "CheckBox1");
}

void TPnlDisclaimer::BeforeShow() {
  MemoDisclaimer->Clear();
  for (const char* line : kAgreement) MemoDisclaimer->AddLine(line);
  MemoDisclaimer->ScrollToTop();
  CheckBox1->SetChecked(false);
}

void TPnlDisclaimer::btnNextClick() {
  if (!CheckBox1->Checked()) {
    ShowMessageBox(Form().Handle(),
                   "You can only install Pelmora P2P in case you agree to this statement.\r"
                   "Check the checkbox to confirm.\rOtherwise please press Exit",
                   TApplication::Instance().Title.c_str(), MB_OK);
    return;
  }
  GoTo(TPageId::Install);
}
