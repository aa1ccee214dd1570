#include <functional>
#include <memory>
#include <span>
#include <string>

#include "core/Exceptions.h"
#include "app/ProgramStart.h"
#include "tests/windows/app/WizardFixture.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Edit, .Name = "Edit1", .Left = 10, .Top = 10, .Width = 200, .Height = 21},
    {.Kind = TControlKind::Label, .Name = "Label1", .Left = 10, .Top = 40, .Caption = "Bound"},
};

// Binds one control of its design as the kind T when it is created.
template <class T>
class BindingPage : public TFramePanel {
 public:
  explicit BindingPage(const char* control) : TFramePanel("BindingPage", kDesign), FControl(control) {}
  T* Bound = nullptr;

 protected:
  void Loaded() override { Bind(Bound, FControl); }

 private:
  const char* FControl;
};

using PageBindingTest = WizardFixture;

TEST_F(PageBindingTest, BindsTheDesignsControlOfThatNameAndKind) {
  auto edit = std::make_unique<BindingPage<TEdit>>("Edit1");
  auto label = std::make_unique<BindingPage<TControl>>("Label1");
  BindingPage<TEdit>& editPage = *edit;
  BindingPage<TControl>& labelPage = *label;
  Form().AddPanel(std::move(edit));
  Form().AddPanel(std::move(label));

  ASSERT_NE(editPage.Bound, nullptr);
  EXPECT_EQ(editPage.Bound->Name(), "Edit1");
  EXPECT_EQ(GetParent(editPage.Bound->Handle()), editPage.Handle());
  ASSERT_NE(labelPage.Bound, nullptr);
  char caption[32] = "";
  GetWindowTextA(labelPage.Bound->Handle(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Bound");
}

TEST_F(PageBindingTest, AWrongNameOrKindFailsWhenThePageIsCreated) {
  struct Case {
    const char* What;
    std::function<std::unique_ptr<TFramePanel>()> Make;
    const char* Message;
  };
  const Case cases[] = {
      {"misspelt", [] { return std::make_unique<BindingPage<TEdit>>("Edit2"); },
       "The page BindingPage has no control Edit2 in its design"},
      {"other case", [] { return std::make_unique<BindingPage<TEdit>>("edit1"); },
       "The page BindingPage has no control edit1 in its design"},
      {"derived kind", [] { return std::make_unique<BindingPage<TMemo>>("Edit1"); },
       "The control Edit1 of the page BindingPage is a TEdit, not a TMemo"},
      {"other kind", [] { return std::make_unique<BindingPage<TCheckBox>>("Label1"); },
       "The control Label1 of the page BindingPage is a TLabel, not a TCheckBox"},
  };
  for (const Case& c : cases) {
    std::string message = "<nothing thrown>";
    try {
      Form().AddPanel(c.Make());
    } catch (const Exception& error) {
      message = error.what();
    }
    EXPECT_EQ(message, c.Message) << c.What;
  }
}

class ButtonTablePage : public TFramePanel {
 public:
  explicit ButtonTablePage(std::span<const TPageButton> buttons)
      : TFramePanel("ButtonTablePage", {}, buttons) {}
  void Act() {}
};

TEST(PageButtonTableTest, AButtonWithoutAnActionOrWithTwoFailsWhenThePageIsMade) {
  const TPageButton neither[] = {kExitButton, {.Caption = "&Next", .ButtonID = 2}};
  const TPageButton both[] = {{.Caption = "&Next", .ButtonID = 2,
                              .Handler = Handler(&ButtonTablePage::Act), .Target = TPageId::Welcome}};
  const std::span<const TPageButton> tables[] = {neither, both};
  for (std::span<const TPageButton> table : tables) {
    std::string message = "<nothing thrown>";
    try {
      ButtonTablePage page(table);
    } catch (const Exception& error) {
      message = error.what();
    }
    EXPECT_EQ(message,
              "The button &Next of the page ButtonTablePage needs either a handler or a target page");
  }
}

// A page that cannot bind its controls ends the program at start with a message naming the page
// and the control, before any page is shown.
TEST(PageBindingStartTest, AMisspeltNameEndsTheStartWithTheMessage) {
  int exitCode = 0;
  const std::string shown = MessageShownBy([&] {
    exitCode = RunStart([] {
      TFormMain form;
      form.Create();
      form.AddPanel(std::make_unique<BindingPage<TEdit>>("Edti1"));
      return 0;
    });
  });
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(shown, "The page BindingPage has no control Edti1 in its design");
}

}  // namespace
