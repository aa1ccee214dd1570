#include "app/Frame_Panel.h"

#include "core/Exceptions.h"
#include "app/Form_Main.h"

namespace {

ControlSpec PageSpec(const char* name) {
  return {.Kind = ControlKind::Panel,
          .Name = name,
          .Width = TFramePanel::kWidth,
          .Height = TFramePanel::kHeight,
          .Color = Colors::SkyBlue};
}

}  // namespace

TFramePanel::TFramePanel(const char* name, std::span<const ControlSpec> design)
    : Control(PageSpec(name)), design_(design) {}

void TFramePanel::InitButtons(tPmButtonBar&) {}
void TFramePanel::BeforeShow() {}
void TFramePanel::AfterShow() {}

void TFramePanel::btnExitClick() {
  if (Form().Sliding) return;
  Form().Close();
}

TFormMain& TFramePanel::Form() const {
  if (!form_) throw Exception("The page " + name_ + " is not on a main window");
  return *form_;
}

Control::WindowClass TFramePanel::GetWindowClass() const {
  return {"PmFramePanel", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

void TFramePanel::AfterCreate() {
  CreateControls(*this, design_, Controls);
  Loaded();
}
