#pragma once
// Base of every wizard page: a 712 x 377 sky-blue panel built from its design table, with a
// title for the main window's header and three slots that the main window runs when the page
// is shown.

#include <span>
#include <string>

#include "ui/Controls.h"

class TFormMain;
class tPmButtonBar;

class TFramePanel : public Control {
 public:
  static constexpr int kWidth = 712;
  static constexpr int kHeight = 377;

  // name: the page name under which the page is found; design: its controls.
  TFramePanel(const char* name, std::span<const ControlSpec> design = {});

  std::string Title;

  // Puts the page's buttons on the bar. A page without buttons leaves the bar empty.
  virtual void InitButtons(tPmButtonBar& bar);
  // Fills the page from the installer settings before it slides in.
  virtual void BeforeShow();
  // Starts the page's own work once it is fully in view.
  virtual void AfterShow();

  // The main window that shows this page; set when the page is added to it.
  TFormMain& Form() const;
  void AttachTo(TFormMain& form) { form_ = &form; }

 protected:
  WindowClass GetWindowClass() const override;
  void AfterCreate() override;
  // Runs after the design's controls exist: the place to bind handlers to them.
  virtual void Loaded() {}

  // "&Exit" of every page: closes the main window, which ends the program.
  void btnExitClick();

  ControlSet Controls;

 private:
  std::span<const ControlSpec> design_;
  TFormMain* form_ = nullptr;
};
