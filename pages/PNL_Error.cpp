#include "pages/PNL_Error.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "core/Exceptions.h"
#include "app/Form_Main.h"
#include "platform/InstallerLock.h"
#include "platform/MailLink.h"
#include "core/Text.h"
#include "platform/MessageBoxes.h"
#include "ui/Application.h"
#include "resources/ResourceIds.h"
#include "web/HostNames.h"

TPnlError* ErrorPanel = nullptr;

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Panel, .Name = "Panel1", .Left = 132, .Top = 8, .Width = 559,
     .Height = 119, .Color = Colors::White, .Description = "Error message"},
    {.Kind = TControlKind::Label, .Name = "Label1", .Parent = "Panel1", .Left = 8, .Top = 8,
     .Width = 367, .Height = 24, .Caption = "Install could not continue - An error occured",
     .FontColor = Colors::Red, .Font = {.Height = 19}},
    {.Kind = TControlKind::StaticText, .Name = "StaticText1", .Parent = "Panel1", .Left = 10,
     .Top = 32, .Width = 500, .Height = 50},
    {.Kind = TControlKind::Button, .Name = "btnClipboard", .Parent = "Panel1", .Left = 464,
     .Top = 97, .Width = 91, .Height = 19, .Caption = "Copy to clipboard"},
    {.Kind = TControlKind::Label, .Name = "Label2", .Left = 16, .Top = 144,
     .Caption = "How to resolve", .Font = {.Bold = true}},
    {.Kind = TControlKind::StaticText, .Name = "StaticText2", .Left = 16, .Top = 160, .Width = 217,
     .Height = 49,
     .Caption = "This error was unexpected, the installation program has no knowledge how to "
                "automatically resolve or by pass this problem. "},
    {.Kind = TControlKind::StaticText, .Name = "StaticText3", .Left = 16, .Top = 211, .Width = 217,
     .Height = 46,
     .Caption = "Possible remedies can be to install the program in a different folder or to run "
                "the installer with all usage rights (as administrator)."},
    {.Kind = TControlKind::StaticText, .Name = "StaticText4", .Left = 17, .Top = 262, .Width = 217,
     .Height = 46, .Caption = "You can hit the restart button to give it another shot. "},
    {.Kind = TControlKind::Label, .Name = "Label3", .Left = 308, .Top = 143,
     .Caption = "Let us know", .Font = {.Bold = true}},
    // 2 pixels taller than first designed, so that its fourth line shows whole.
    {.Kind = TControlKind::StaticText, .Name = "StaticText5", .Left = 308, .Top = 159, .Width = 217,
     .Height = 52,
     .Caption = "We aim on creating software that just does what it should do, apperently "
                "something went wrong in this. We would love to know that so we can fix it."},
    {.Kind = TControlKind::StaticText, .Name = "StaticText7", .Left = 309, .Top = 217, .Width = 217,
     .Height = 45,
     .Caption = "Could you include the exact text of the error message in your E-mail? For "
                "copy/paste use the copy to clipboard button."},
    {.Kind = TControlKind::Label, .Name = "Label4", .Left = 310, .Top = 270,
     .Caption = "You can reach us at: "},
    {.Kind = TControlKind::Label, .Name = "Label5", .Left = 413, .Top = 270, .Caption = kSupportMail,
     .FontColor = Colors::Blue, .Font = {.Underline = true}, .Options = kHandCursor},
    // Last, so that the panel it touches lies above it.
    {.Kind = TControlKind::Image, .Name = "Image1", .Left = 16, .Top = 8, .Width = 121,
     .Height = 122, .Options = kTransparent, .Resource = kPictureErrorId,
     .Description = "A red badge"},
};

}  // namespace

const TPageButton TPnlError::kButtons[] = {
    kExitButton,
    {.Caption = "&Restart", .ButtonID = 2, .Handler = Handler(&TPnlError::btnRestartClick)},
};

TPnlError::TPnlError() : TFramePanel(TPageId::Error, kDesign, kButtons) {
  Title = "Error";
  ErrorPanel = this;
}

TPnlError::~TPnlError() {
  if (ErrorPanel == this) ErrorPanel = nullptr;
}

void TPnlError::Loaded() {
  Bind(StaticText1, "StaticText1");
  Bind(btnClipboard, "btnClipboard");
  Bind(Label5, "Label5");
  btnClipboard->OnClick = [this](TControl&) { UnlessSliding([this] { btnClipboardClick(); }); };
  Label5->OnClick = [this](TControl&) { Label5Click(); };
}

void TPnlError::SetErrorText(const std::string& text) {
  StaticText1->SetCaption(LowerCase(text) == "i/o error 112" ? "Disk Full" : text);
}

std::string TPnlError::ErrorText() const { return StaticText1->Caption(); }

void TPnlError::btnClipboardClick() {
  const std::string text = ErrorText();
  // A failure here must not replace the message the user wants to copy: it is told in a
  // message box and the page stays as it is.
  if (!OpenClipboard(Handle())) {
    ShowMessageBox(Form().Handle(), "Cannot open clipboard.", TApplication::Instance().Title.c_str(),
                   MB_OK | MB_ICONSTOP);
    return;
  }
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (void* locked = memory ? GlobalLock(memory) : nullptr) {
    std::memcpy(locked, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  } else if (memory) {
    GlobalFree(memory);
    memory = nullptr;
  }
  CloseClipboard();
  if (!memory) throw EOutOfMemory();
}

void TPnlError::Label5Click() {
  OpenMailLink(Form().Handle(), kSupportMail);
}

void TPnlError::btnRestartClick() {
  // A fresh interactive instance: the parameters of this one are not passed on. It finds the
  // installer lock free, for this one is done.
  char ownPath[MAX_PATH];
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  ReleaseInstallerLock();
  ShellExecuteA(nullptr, nullptr, ownPath, nullptr, nullptr, SW_SHOWNORMAL);
  ExitProcess(0);
}
