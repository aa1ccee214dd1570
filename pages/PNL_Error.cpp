#include "pages/PNL_Error.h"

#include <windows.h>
#include <shellapi.h>

#include "app/Form_Main.h"
#include "app/Text.h"

TPnlError* ErrorPanel = nullptr;

namespace {

const ControlSpec kDesign[] = {
    {.Kind = ControlKind::Panel, .Name = "Panel1", .Left = 132, .Top = 8, .Width = 559,
     .Height = 119, .Color = Colors::White},
    {.Kind = ControlKind::Label, .Name = "Label1", .Parent = "Panel1", .Left = 8, .Top = 8,
     .Width = 367, .Height = 24, .Caption = "Install could not continue - An error occured",
     .FontColor = Colors::Red, .Font = {.Height = 19}},
    {.Kind = ControlKind::StaticText, .Name = "StaticText1", .Parent = "Panel1", .Left = 10,
     .Top = 32, .Width = 500, .Height = 50},
};

}  // namespace

TPnlError::TPnlError() : TFramePanel("PnlError", kDesign) {
  Title = "Error";
  ErrorPanel = this;
}

TPnlError::~TPnlError() {
  if (ErrorPanel == this) ErrorPanel = nullptr;
}

void TPnlError::InitButtons(tPmButtonBar& bar) {
  bar.AddLeftButton("&Exit", 1, [this](TLbSpeedButton&) { btnExitClick(); }, 1);
  bar.AddRightButton("&Restart", 2, [this](TLbSpeedButton&) { btnRestartClick(); }, 1);
}

void TPnlError::SetErrorText(const std::string& text) {
  Controls.Get("StaticText1").SetCaption(LowerCase(text) == "i/o error 112" ? "Disk Full" : text);
}

std::string TPnlError::ErrorText() const { return Controls.Get("StaticText1").Caption(); }

void TPnlError::btnRestartClick() {
  if (Form().Sliding) return;
  // A fresh interactive instance: the parameters of this one are not passed on.
  char ownPath[MAX_PATH];
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  ShellExecuteA(nullptr, nullptr, ownPath, nullptr, nullptr, SW_SHOWNORMAL);
  ExitProcess(0);
}
