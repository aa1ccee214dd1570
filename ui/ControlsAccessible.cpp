// What each kind of control tells a screen reader: the role of the standard control it stands
// for, its caption or the design's description as its name, and its value and state.
#include <string>

#include "core/Progress.h"
#include "ui/Controls.h"
#include "ui/FolderTree.h"

namespace {

// The name of a control: the design's description where it has one, else what it shows.
std::string NameOf(const TControl& control) {
  return control.Description().empty() ? SpokenCaption(control.Caption()) : control.Description();
}

// A control the user operates: its caption, its access key and what a click does.
TAccessibleFacts Operated(const TControl& control, long role, const char* action) {
  return {.Role = role,
          .Name = NameOf(control),
          .KeyboardShortcut = AccessKeyShortcut(control.Caption()),
          .DefaultAction = action};
}

}  // namespace

TAccessibleFacts TLabel::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_STATICTEXT, .Name = NameOf(*this), .State = STATE_SYSTEM_READONLY};
}

TAccessibleFacts TLinkLabel::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_LINK, .Name = NameOf(*this), .State = STATE_SYSTEM_LINKED, .DefaultAction = "Jump"};
}

TAccessibleFacts TStaticText::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_STATICTEXT, .Name = NameOf(*this), .State = STATE_SYSTEM_READONLY};
}

// A panel with a caption shows that text (the header shows the page's title); one without
// groups the controls inside it.
TAccessibleFacts TPanel::AccessibleFacts() const {
  if (Caption().empty()) return {.Role = ROLE_SYSTEM_GROUPING, .Name = Description()};
  return {.Role = ROLE_SYSTEM_STATICTEXT, .Name = NameOf(*this), .State = STATE_SYSTEM_READONLY};
}

TAccessibleFacts TImage::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_GRAPHIC, .Name = Description(), .State = STATE_SYSTEM_READONLY};
}

// The sheets and their stack stand for the page they show.
TAccessibleFacts TTabSheet::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_PANE, .Name = FContent ? FContent->AccessibleFacts().Name : Name()};
}

TAccessibleFacts TPageControl::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_PANE, .Name = FActive ? FActive->AccessibleFacts().Name : std::string()};
}

TAccessibleFacts TButton::AccessibleFacts() const { return Operated(*this, ROLE_SYSTEM_PUSHBUTTON, "Press"); }

TAccessibleFacts TCheckBox::AccessibleFacts() const {
  TAccessibleFacts facts = Operated(*this, ROLE_SYSTEM_CHECKBUTTON, Checked() ? "Uncheck" : "Check");
  if (Checked()) facts.State = STATE_SYSTEM_CHECKED;
  return facts;
}

TAccessibleFacts TRadioButton::AccessibleFacts() const {
  TAccessibleFacts facts = Operated(*this, ROLE_SYSTEM_RADIOBUTTON, "Check");
  if (Checked()) facts.State = STATE_SYSTEM_CHECKED;
  return facts;
}

TAccessibleFacts TEdit::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_TEXT, .Name = Description(), .Value = Caption()};
}

TAccessibleFacts TMemo::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_TEXT, .Name = Description(), .State = STATE_SYSTEM_READONLY};
}

// Its value is the percentage, as the system's progress bar tells it.
TAccessibleFacts TProgressBar::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_PROGRESSBAR,
          .Name = Description(),
          .Value = std::to_string(PercentComplete(Position(), Max())) + "%",
          .State = STATE_SYSTEM_READONLY};
}

TAccessibleFacts TComboBox::AccessibleFacts() const {
  const int picked = ItemIndex();
  return {.Role = ROLE_SYSTEM_COMBOBOX, .Name = Description(), .Value = picked >= 0 ? Item(picked) : std::string()};
}

TAccessibleFacts TRadioGroup::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_GROUPING, .Name = NameOf(*this)};
}

// Its value is the folder selected in it.
TAccessibleFacts TFolderTree::AccessibleFacts() const {
  return {.Role = ROLE_SYSTEM_OUTLINE, .Name = NameOf(*this), .Value = SelectedPath()};
}
