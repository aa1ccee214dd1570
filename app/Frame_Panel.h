#pragma once
// Base of every wizard page: a 712 x 377 sky-blue panel built from its design table, with a
// title for the main window's header, a table of the buttons it puts on the bar, and three slots
// that the main window runs when the page is shown.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <typeinfo>

#include "app/PageNames.h"
#include "ui/Controls.h"

class TFormMain;
class tPmButtonBar;
class TFramePanel;

// A handler of a page, as a button table names it (see Handler).
using TPageHandler = void (TFramePanel::*)();

enum class TButtonGroup { Left, Right };

// One button of a page's bar. The rows are added in table order: left buttons from the bar's
// left end, right buttons from its right end, the first one outermost. A click runs the page's
// handler, or, for a button that only moves on, shows the target page; a row has one of the two.
struct TPageButton {
  TButtonGroup Group = TButtonGroup::Right;
  const char* Caption = "";
  int ButtonID = 0;
  std::uint8_t WidthKind = 1;
  TPageHandler Handler = nullptr;
  std::optional<TPageId> Target = std::nullopt;
};

class TFramePanel : public TControl {
 public:
  static constexpr int kWidth = 712;
  static constexpr int kHeight = 377;

  // page: the wizard page this is, found under its name; design: its controls; buttons: its bar.
  explicit TFramePanel(TPageId page, std::span<const TControlSpec> design = {},
                       std::span<const TPageButton> buttons = {});
  // A page outside the wizard's own, found under name.
  explicit TFramePanel(const char* name, std::span<const TControlSpec> design = {},
                       std::span<const TPageButton> buttons = {});

  std::string Title;

  // Puts the buttons of the page's button table on the bar; without a table the bar stays empty.
  virtual void InitButtons(tPmButtonBar& bar);
  // Fills the page from the installer settings before it slides in.
  virtual void BeforeShow();
  // Starts the page's own work once it is fully in view.
  virtual void AfterShow();

  // The main window that shows this page; set when the page is added to it.
  TFormMain& Form() const;
  void AttachTo(TFormMain& form) { FForm = &form; }

  // "&Exit" of every page: closes the main window, which ends the program.
  void btnExitClick();

  // A page is a property page named by its title.
  TAccessibleFacts AccessibleFacts() const override;

 protected:
  TWindowClass GetWindowClass() const override;
  void AfterCreate() override;
  // Runs once, when the page is created, after the design's controls exist: the place to bind
  // them (Bind) and to attach handlers to them.
  virtual void Loaded() {}

  // Sets member to the design's control of that name. A name the design lacks or a control of
  // another kind fails here, when the page is created, naming the page and the control.
  template <class T>
  void Bind(T*& member, const std::string& name) const {
    TControl& control = Designed(name);
    member = dynamic_cast<T*>(&control);
    if (!member) WrongKind(name, typeid(control), typeid(T));
  }

  // Runs action unless a page change is sliding. Every click of a page comes through here, so
  // that clicks arriving during a slide are ignored.
  void UnlessSliding(const std::function<void()>& action) const;
  // Shows the page target, sliding; for the pages' handlers once they have done their part.
  void GoTo(TPageId target) const;

  TControlSet Controls;

 private:
  TControl& Designed(const std::string& name) const;
  [[noreturn]] void WrongKind(const std::string& name, const std::type_info& found,
                              const std::type_info& wanted) const;
  void Press(const TPageButton& button);

  std::span<const TControlSpec> FDesign;
  std::span<const TPageButton> FButtons;
  TFormMain* FForm = nullptr;
};

// The table's form of a page's handler: a handler of the page class that the table belongs to.
template <class Page>
constexpr TPageHandler Handler(void (Page::*handler)()) {
  return static_cast<TPageHandler>(handler);
}

// "&Exit", the first button of every page that has buttons.
inline constexpr TPageButton kExitButton{.Group = TButtonGroup::Left, .Caption = "&Exit",
                                        .ButtonID = 1, .Handler = &TFramePanel::btnExitClick};
