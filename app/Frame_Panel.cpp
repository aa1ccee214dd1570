#include "app/Frame_Panel.h"

#include <string>
#include <typeinfo>

#include "core/Exceptions.h"
#include "app/Form_Main.h"

namespace {

TControlSpec PageSpec(const char* name) {
  return {.Kind = TControlKind::Panel,
          .Name = name,
          .Width = TFramePanel::kWidth,
          .Height = TFramePanel::kHeight,
          .Color = Colors::SkyBlue};
}

// The class name of a control kind as the code spells it ("TEdit"). The control kinds are
// classes of the global namespace, whose type names the compiler writes as the name's length
// and the name ("5TEdit"); any other is given as the compiler writes it. A full demangler
// would weigh more than the rest of this page framework.
std::string ClassName(const std::type_info& type) {
  const std::string mangled = type.name();
  std::size_t digits = 0;
  while (digits < mangled.size() && mangled[digits] >= '0' && mangled[digits] <= '9') ++digits;
  if (digits == 0 || digits == mangled.size()) return mangled;
  const std::string name = mangled.substr(digits);
  return std::to_string(name.size()) == mangled.substr(0, digits) ? name : mangled;
}

}  // namespace

TFramePanel::TFramePanel(TPageId page, std::span<const TControlSpec> design,
                         std::span<const TPageButton> buttons)
    : TFramePanel(PageName(page), design, buttons) {}

TFramePanel::TFramePanel(const char* name, std::span<const TControlSpec> design,
                         std::span<const TPageButton> buttons)
    : TControl(PageSpec(name)), FDesign(design), FButtons(buttons) {
  for (const TPageButton& button : FButtons)
    if ((button.Handler == nullptr) == !button.Target)
      throw Exception("The button " + std::string(button.Caption) + " of the page " + FName +
                      " needs either a handler or a target page");
}

void TFramePanel::InitButtons(tPmButtonBar& bar) {
  for (const TPageButton& button : FButtons) {
    auto click = [this, &button](TLbSpeedButton&) { UnlessSliding([&] { Press(button); }); };
    if (button.Group == TButtonGroup::Left)
      bar.AddLeftButton(button.Caption, button.ButtonID, click, button.WidthKind);
    else
      bar.AddRightButton(button.Caption, button.ButtonID, click, button.WidthKind);
  }
}

void TFramePanel::BeforeShow() {}
void TFramePanel::AfterShow() {}

void TFramePanel::Press(const TPageButton& button) {
  if (button.Handler)
    (this->*button.Handler)();
  else
    GoTo(*button.Target);
}

void TFramePanel::UnlessSliding(const std::function<void()>& action) const {
  if (!Form().Sliding) action();
}

void TFramePanel::GoTo(TPageId target) const { Form().ShowPanel(target, true); }

void TFramePanel::btnExitClick() { Form().Close(); }

TFormMain& TFramePanel::Form() const {
  if (!FForm) throw Exception("The page " + FName + " is not on a main window");
  return *FForm;
}

TControl& TFramePanel::Designed(const std::string& name) const {
  TControl* control = Controls.Find(name);
  if (!control) throw Exception("The page " + FName + " has no control " + name + " in its design");
  return *control;
}

void TFramePanel::WrongKind(const std::string& name, const std::type_info& found,
                            const std::type_info& wanted) const {
  throw Exception("The control " + name + " of the page " + FName + " is a " + ClassName(found) +
                  ", not a " + ClassName(wanted));
}

TAccessibleFacts TFramePanel::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_PROPERTYPAGE, .Name = Title};
}

TControl::TWindowClass TFramePanel::GetWindowClass() const {
  return {"PmFramePanel", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
}

void TFramePanel::AfterCreate() {
  CreateControls(*this, FDesign, Controls);
  Loaded();
}
