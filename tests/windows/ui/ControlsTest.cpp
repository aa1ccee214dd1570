#include "tests/windows/app/WizardFixture.h"

#include "core/Exceptions.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Label, .Name = "Label1", .Left = 10, .Top = 10, .Caption = "Sized to fit",
     .Font = {.Bold = true}},
    {.Kind = TControlKind::Panel, .Name = "Panel1", .Left = 300, .Top = 10, .Width = 200,
     .Height = 100, .Color = Colors::White},
    {.Kind = TControlKind::StaticText, .Name = "StaticText1", .Parent = "Panel1", .Left = 5,
     .Top = 5, .Width = 150, .Height = 40, .Caption = "Inside the panel"},
    {.Kind = TControlKind::CheckBox, .Name = "CheckBox1", .Left = 10, .Top = 40, .Width = 200,
     .Height = 17, .Caption = "&Ticked", .Options = kChecked},
    {.Kind = TControlKind::RadioButton, .Name = "RadioButton1", .Left = 10, .Top = 60, .Width = 200,
     .Height = 17, .Caption = "&One"},
    {.Kind = TControlKind::Edit, .Name = "Edit1", .Left = 10, .Top = 80, .Width = 200, .Height = 21},
    {.Kind = TControlKind::Memo, .Name = "Memo1", .Left = 10, .Top = 110, .Width = 200, .Height = 60},
    {.Kind = TControlKind::ProgressBar, .Name = "ProgressBar1", .Left = 10, .Top = 180, .Width = 200,
     .Height = 20},
    {.Kind = TControlKind::ComboBox, .Name = "ComboBox1", .Left = 10, .Top = 210, .Width = 200},
    {.Kind = TControlKind::RadioGroup, .Name = "RadioGroup1", .Left = 300, .Top = 150, .Width = 185,
     .Height = 145, .Caption = "Choices"},
    {.Kind = TControlKind::Button, .Name = "Button1", .Left = 10, .Top = 300, .Width = 90,
     .Height = 19, .Caption = "Press"},
};

class SamplePage : public TFramePanel {
 public:
  SamplePage() : TFramePanel("SamplePage", kDesign) { Title = "Sample"; }
  using TFramePanel::Controls;
};

class ControlsTest : public WizardFixture {
 protected:
  void SetUp() override {
    WizardFixture::SetUp();
    auto page = std::make_unique<SamplePage>();
    FPage = page.get();
    Form().AddPanel(std::move(page));
    Form().ShowPanel("SamplePage", false);
  }
  template <class T>
  T& Get(const char* name) {
    return FPage->Controls.Get<T>(name);
  }
  static std::string ClassOf(const TControl& control) {
    char name[64] = "";
    GetClassNameA(control.Handle(), name, sizeof name);
    return name;
  }
  SamplePage* FPage = nullptr;
};

TEST_F(ControlsTest, EveryKindIsAWindowOfItsSystemClassShowingItsCaption) {
  const std::pair<const char*, const char*> classes[] = {
      {"Label1", "Static"},          {"StaticText1", "Static"},   {"CheckBox1", "Button"},
      {"RadioButton1", "Button"},    {"Edit1", "Edit"},           {"Memo1", "Edit"},
      {"ProgressBar1", "msctls_progress32"}, {"ComboBox1", "ComboBox"}, {"Button1", "Button"},
  };
  for (auto [name, windowClass] : classes)
    EXPECT_STRCASEEQ(ClassOf(FPage->Controls.Get(name)).c_str(), windowClass) << name;

  char text[64];
  GetWindowTextA(Get<TCheckBox>("CheckBox1").Handle(), text, sizeof text);
  EXPECT_STREQ(text, "&Ticked");
  EXPECT_EQ(GetParent(Get<TStaticText>("StaticText1").Handle()), Get<TPanel>("Panel1").Handle());
  EXPECT_GT(Get<TLabel>("Label1").Width(), 40) << "a label without a width is sized to its caption";
  EXPECT_EQ(Get<TStaticText>("StaticText1").BackgroundColor(), Colors::White) << "its panel's colour";
}

TEST_F(ControlsTest, CheckBoxesStartAsDesignedAndToggle) {
  EXPECT_TRUE(Get<TCheckBox>("CheckBox1").Checked());
  EXPECT_FALSE(Get<TRadioButton>("RadioButton1").Checked());
  SendMessageA(Get<TCheckBox>("CheckBox1").Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(Get<TCheckBox>("CheckBox1").Checked());
}

TEST_F(ControlsTest, EditCaptionIsWhatWasTyped) {
  TEdit& edit = Get<TEdit>("Edit1");
  SendMessageA(edit.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\Typed"));
  EXPECT_EQ(edit.Caption(), "C:\\Typed");
}

TEST_F(ControlsTest, MemoKeepsItsLinesAndScrollsBackToTheTop) {
  TMemo& memo = Get<TMemo>("Memo1");
  memo.AddLine("");
  for (int i = 1; i <= 30; ++i) memo.AddLine("line " + std::to_string(i));
  ASSERT_EQ(memo.Lines().size(), 31u);
  EXPECT_EQ(memo.Lines().front(), "");
  EXPECT_EQ(memo.Caption().substr(0, 8), "\r\nline 1");
  SendMessageA(memo.Handle(), EM_LINESCROLL, 0, 20);
  ASSERT_GT(memo.FirstVisibleLine(), 0);
  memo.ScrollToTop();
  EXPECT_EQ(memo.FirstVisibleLine(), 0);
  memo.Clear();
  EXPECT_TRUE(memo.Lines().empty());
  EXPECT_EQ(memo.Caption(), "");
}

TEST_F(ControlsTest, ProgressBarClampsToItsRange) {
  TProgressBar& bar = Get<TProgressBar>("ProgressBar1");
  bar.SetMax(7944099);
  EXPECT_EQ(bar.Max(), 7944099);
  bar.SetPosition(6156599);
  EXPECT_EQ(bar.Position(), 6156599);
  bar.SetPosition(9000000);
  EXPECT_EQ(bar.Position(), 7944099);
}

TEST_F(ControlsTest, ComboBoxKeepsItemsInOrderAndThePick) {
  TComboBox& combo = Get<TComboBox>("ComboBox1");
  for (const char* item : {"C:\\B\\", "C:\\A\\", "D:\\C\\"}) combo.AddItem(item);
  EXPECT_EQ(combo.Count(), 3);
  EXPECT_EQ(combo.Item(0), "C:\\B\\") << "kept in the order added, not sorted";
  EXPECT_EQ(combo.ItemIndex(), -1);
  combo.SetItemIndex(0);
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_THROW(combo.Item(7), Exception);
  combo.Clear();
  EXPECT_EQ(combo.Count(), 0);
}

TEST_F(ControlsTest, RadioGroupSelectsOneItemAtATime) {
  TRadioGroup& group = Get<TRadioGroup>("RadioGroup1");
  for (const char* caption : {"&A", "&B", "&C"}) group.AddItem(caption);
  EXPECT_EQ(group.ItemIndex(), -1);
  group.SetItemIndex(2);
  EXPECT_EQ(group.ItemIndex(), 2);
  SendMessageA(group.Button(0).Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group.ItemIndex(), 0);
  EXPECT_FALSE(group.Button(2).Checked());
  group.ClearItems();
  EXPECT_EQ(group.Count(), 0);
  EXPECT_EQ(group.ItemIndex(), -1);
}

TEST_F(ControlsTest, ButtonClickReachesItsHandler) {
  int clicks = 0;
  Get<TButton>("Button1").OnClick = [&](TControl&) { ++clicks; };
  SendMessageA(Get<TButton>("Button1").Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

}  // namespace

// Controls without a frame skip the frame painting; a sunken box still gets its frame: the outer
// line in the shadow colour at the top left, in the highlight colour at the bottom right.
TEST_F(ControlsTest, SunkenBoxesKeepTheirFrame) {
  for (const char* name : {"Edit1", "Memo1"}) {
    HWND window = Get<TControl>(name).Handle();
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT bounds;
    GetWindowRect(window, &bounds);
    HDC dc = GetWindowDC(window);
    EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_BTNSHADOW)) << name;
    EXPECT_EQ(GetPixel(dc, bounds.right - bounds.left - 1, bounds.bottom - bounds.top - 1),
              GetSysColor(COLOR_BTNHIGHLIGHT))
        << name;
    ReleaseDC(window, dc);
  }
}
