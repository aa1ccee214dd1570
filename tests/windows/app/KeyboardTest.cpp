// The wizard by keyboard alone, on the real window: keys are typed into the system's input
// queue as a keyboard gives them (they need the foreground, so these tests run one at a time).
#include <oleacc.h>

#include <algorithm>
#include <cctype>
#include <ostream>

#include "pages/FolderPage.h"
#include "pages/PNL_Error.h"
#include "tests/driver/Accessibility.h"
#include "tests/driver/Keyboard.h"
#include "tests/driver/TestScale.h"
#include "tests/windows/pages/PageFixture.h"

namespace {

const char kLicenceBox[] = "I have read the statement above and I fully agree with this statement.";

class KeyboardTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    TApplication::Instance().MainWindow = Form().Handle();
    FoundInstallations = {"C:\\Pelmora P2P\\Pelmora.exe"};
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Form().Handle(); })) << "the wizard is not in front";
  }

  // Types the keys and serves the window until condition holds; false when it never did.
  bool Press(const std::string& keys, const std::function<bool()>& condition) {
    return PressKeys(Form().Handle(), keys) && PumpUntil(condition);
  }

  // Serves the window until no typed key waits for it any more: for keys that change nothing.
  static bool ServeTheKeys() {
    return PumpUntil([] { return (HIWORD(GetQueueStatus(QS_KEY)) & QS_KEY) == 0; });
  }

  // What a screen reader calls the control that has the focus.
  static std::string Focused() {
    AccessibleFacts facts;
    HWND focus = GetFocus();
    return focus && ReadAccessible(focus, facts) ? facts.Name : std::string("<nothing>");
  }

  // Presses the key and returns what has the focus once it is expected, or when time ran out.
  std::string FocusAfter(const std::string& keys, const std::string& expected) {
    Press(keys, [&] { return Focused() == expected; });
    return Focused();
  }

  void ShowSettled(const std::string& page) {
    ShowPage(page);
    Pump(50);
  }
};

// Every page's tab stops in the order Tab visits them, and the one that has the focus when the
// page has come in: its first input, else its forward button.
const struct {
  const char* Page;
  std::vector<std::string> Stops;
  const char* First;
} kTabOrders[] = {
    {"PnlWelcome", {"Exit", "Next"}, "Next"},
    {"PnlDisclaimer", {"License agreement", kLicenceBox, "Exit", "Previous", "Next"}, kLicenceBox},
    {"PnlInstall",
     {"Install Pelmora P2P on this computer", "Create a shortcut on the desktop", "support@pelmora.example.com",
      "Exit", "Previous", "Next"},
     "Install Pelmora P2P on this computer"},
    {"PnlInstallChooseDir",
     {"Installation folder", "Choose installation folder", "Exit", "Previous", "Next"},
     "Installation folder"},
    {"PNLInstallChooseDownloadDir",
     {"Download folder", "Choose download folder", "Exit", "Previous", "Next"},
     "Download folder"},
    {"PNLInstallChooseConnection", {"I don't know", "Exit", "Previous", "Next"}, "I don't know"},
    {"PNLInstallGo", {"Exit", "Previous", "Install Now"}, "Install Now"},
    {"PNLInstallReady", {"Exit", "Start Pelmora P2P"}, "Start Pelmora P2P"},
    {"PNLUpgradeStart", {"Installation to upgrade", "Exit", "Previous", "Upgrade"}, "Installation to upgrade"},
    {"PNLUpgradeReady", {"Exit", "Start Pelmora P2P"}, "Start Pelmora P2P"},
    {"PnlError", {"Copy to clipboard", "support@pelmora.example.com", "Exit", "Restart"}, "Restart"},
};

TEST_F(KeyboardTest, TabGoesRoundThePageAndTheBarAndShiftTabBack) {
  for (const auto& page : kTabOrders) {
    SCOPED_TRACE(page.Page);
    ShowSettled(page.Page);
    ASSERT_EQ(Focused(), page.First) << "the focus when the page has come in";
    const size_t count = page.Stops.size();
    size_t at = static_cast<size_t>(std::find(page.Stops.begin(), page.Stops.end(), page.First) - page.Stops.begin());
    for (size_t press = 0; press < count; ++press) {
      at = (at + 1) % count;
      ASSERT_EQ(FocusAfter("Tab", page.Stops[at]), page.Stops[at]) << "Tab number " << press + 1;
    }
    at = (at + count - 1) % count;
    EXPECT_EQ(FocusAfter("shift+Tab", page.Stops[at]), page.Stops[at]) << "Shift+Tab";
  }
}

TEST_F(KeyboardTest, APageWithoutControlsOrButtonsKeepsTheFocusOnTheWindow) {
  StandIn("PNLInstallInstalling");
  ShowSettled("PNLInstallGo");
  ASSERT_EQ(Focused(), "Install Now");
  ASSERT_TRUE(Press("Return", [&] { return Header() == "PNLInstallInstalling" && !Form().Sliding; }));
  EXPECT_EQ(GetFocus(), Form().Handle()) << "not a hidden control of the page before";
  ASSERT_TRUE(PressKeys(Form().Handle(), "Tab"));
  ASSERT_TRUE(ServeTheKeys());
  EXPECT_EQ(GetFocus(), Form().Handle());
}

// Keys that move on, each from the focus the page starts with, and the page they lead to; each
// case in a wizard of its own, since the page it leads to is a stand-in.
struct MoveOn {
  const char* Page;
  const char* Keys;
  const char* Target;
  const char* Why;
};

std::ostream& operator<<(std::ostream& out, const MoveOn& c) {
  return out << c.Page << " " << c.Keys << ": " << c.Why;
}

class KeysThatMoveOnTest : public KeyboardTest, public testing::WithParamInterface<MoveOn> {};

TEST_P(KeysThatMoveOnTest, LeadToTheirPage) {
  const MoveOn& c = GetParam();
  RecordingPage& target = StandIn(c.Target);
  ShowSettled(c.Page);
  EXPECT_TRUE(Press(c.Keys, [&] { return target.Shows == 1 && !Form().Sliding; })) << "the header shows " << Header();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeysThatMoveOnTest,
    testing::Values(MoveOn{"PnlWelcome", "Return", "PnlDisclaimer", "Enter is the forward action"},
                    MoveOn{"PnlDisclaimer", "space Return", "PnlInstall", "Space ticks the box"},
                    MoveOn{"PnlDisclaimer", "Tab Tab Return", "PnlWelcome", "Enter presses the focused Previous"},
                    MoveOn{"PnlDisclaimer", "Tab Tab space", "PnlWelcome", "Space presses the focused Previous"},
                    MoveOn{"PnlInstall", "Down Return", "PnlUpgradeFindDir", "Down selects the upgrade"},
                    MoveOn{"PnlInstall", "Tab space Return", "PnlInstallChooseDir", "the box toggles, install stays"},
                    MoveOn{"PNLInstallChooseConnection", "Tab Tab Tab Return", "PNLInstallGo",
                           "Enter presses the focused Next"},
                    MoveOn{"PNLInstallGo", "Return", "PNLInstallInstalling", "the default button"},
                    MoveOn{"PNLUpgradeStart", "Return", "PnlUpgradeUpgrading", "Enter on the closed list"}),
    [](const testing::TestParamInfo<MoveOn>& info) {
      std::string name = std::string(info.param.Page) + "_" + info.param.Keys;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

// Keys typed right after the one that moves on arrive while the page slides: they are dropped,
// as clicks are then, and change neither the page that leaves nor the choice it stored.
TEST_F(KeyboardTest, KeysTypedWhileThePageSlidesAreDropped) {
  const struct {
    const char* Page;
    const char* Keys;
    const char* Target;
    const char* Control;
    bool Checked;
  } cases[] = {
      {"PnlInstall", "Return Down", "PnlInstallChooseDir", "RadioButton1", true},
      {"PnlDisclaimer", "space Return space", "PnlInstall", "CheckBox1", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Page) + " " + c.Keys);
    RecordingPage& target = StandIn(c.Target);
    ShowSettled(c.Page);
    ASSERT_TRUE(Press(c.Keys, [&] { return target.Shows == 1 && !Form().Sliding; })) << Header();
    ASSERT_TRUE(ServeTheKeys());
    EXPECT_EQ(Get<TCheckBox>(c.Page, c.Control).Checked(), c.Checked) << c.Control;
    EXPECT_EQ(target.Shows, 1);
  }
  EXPECT_FALSE(UpgradeChosen);
}

TEST_F(KeyboardTest, TheChoicesMadeByKeysAreTheOnesStored) {
  RecordingPage& search = StandIn("PnlUpgradeFindDir");
  ShowSettled("PnlInstall");
  ASSERT_TRUE(Press("Down Tab space Return", [&] { return search.Shows == 1 && !Form().Sliding; }));
  EXPECT_TRUE(UpgradeChosen);
  EXPECT_FALSE(CreateDesktopShortcut);
}

TEST_F(KeyboardTest, ArrowsSelectWithinAGroupOfChoicesAndTabLeavesIt) {
  ShowSettled("PNLInstallChooseConnection");
  auto& group = Get<TRadioGroup>("PNLInstallChooseConnection", "rgConnection");
  ASSERT_EQ(FocusAfter("Up", "ADSL 2"), "ADSL 2");
  EXPECT_EQ(group.ItemIndex(), 7);
  ASSERT_EQ(FocusAfter("Down Down", "Dial-up Modem < 56KBS"), "Dial-up Modem < 56KBS") << "round past the end";
  EXPECT_EQ(group.ItemIndex(), 0);
  EXPECT_EQ(FocusAfter("Tab", "Exit"), "Exit") << "one stop for the whole group";
  EXPECT_EQ(FocusAfter("shift+Tab", "Dial-up Modem < 56KBS"), "Dial-up Modem < 56KBS") << "back on the selected one";
  RecordingPage& summary = StandIn("PNLInstallGo");
  ASSERT_TRUE(Press("Return", [&] { return summary.Shows == 1; }));
  EXPECT_EQ(ConnectionKind, 0);

  ShowSettled("PnlInstall");
  auto& install = Get<TRadioButton>("PnlInstall", "RadioButton1");
  auto& upgrade = Get<TRadioButton>("PnlInstall", "RadioButton2");
  ASSERT_EQ(FocusAfter("Right", "Upgrade an existing installation"), "Upgrade an existing installation");
  EXPECT_TRUE(upgrade.Checked());
  EXPECT_FALSE(install.Checked());
  EXPECT_EQ(FocusAfter("Tab", "Create a shortcut on the desktop"), "Create a shortcut on the desktop");
  EXPECT_EQ(FocusAfter("shift+Tab", "Upgrade an existing installation"), "Upgrade an existing installation");
  ASSERT_EQ(FocusAfter("Left", "Install Pelmora P2P on this computer"), "Install Pelmora P2P on this computer");
  EXPECT_TRUE(install.Checked());
  EXPECT_FALSE(upgrade.Checked());
}

TEST_F(KeyboardTest, ARefusedEnterTellsWhyAndGivesTheFocusBack) {
  MessageBoxWatcher watcher;
  ShowSettled("PnlDisclaimer");
  ASSERT_TRUE(Press("Return", [&] { return !watcher.Boxes().empty(); }));
  EXPECT_EQ(watcher.Boxes()[0].Text,
            "You can only install Pelmora P2P in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit");
  EXPECT_TRUE(PumpUntil([&] { return Focused() == kLicenceBox; })) << Focused();
  EXPECT_EQ(Header(), "License agreement and disclaimer");
}

TEST_F(KeyboardTest, AltLettersReachTheBarAndThePagesControls) {
  ShowSettled("PnlDisclaimer");
  auto& agree = Get<TCheckBox>("PnlDisclaimer", "CheckBox1");
  ASSERT_TRUE(Press("alt+i", [&] { return agree.Checked(); })) << "Alt+I ticks the box";
  ASSERT_TRUE(Press("alt+n", [&] { return Header() == "Install or upgrade?" && !Form().Sliding; }));
  EXPECT_TRUE(Press("alt+p", [&] { return Header() == "License agreement and disclaimer" && !Form().Sliding; }));
}

TEST_F(KeyboardTest, EnterInTheFolderBoxPicksTheFolderInTheTreeAndStays) {
  ShowSettled("PnlInstallChooseDir");
  auto* page = dynamic_cast<TFolderPage*>(&Page("PnlInstallChooseDir"));
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(Focused(), "Installation folder");
  ASSERT_TRUE(TypeText(Form().Handle(), "C:\\windows\\New one"));
  auto& edit = Get<TEdit>("PnlInstallChooseDir", "Edit1");
  ASSERT_TRUE(PumpUntil([&] { return edit.Caption() == "C:\\windows\\New one"; }))
      << "typing replaces the proposal, which Tab's selection covers: " << edit.Caption();
  ASSERT_TRUE(Press("Return", [&] { return LowerCase(page->FolderTree()->SelectedPath()) == "c:\\windows"; }))
      << page->FolderTree()->SelectedPath();
  ASSERT_TRUE(ServeTheKeys());
  EXPECT_FALSE(Form().Sliding);
  EXPECT_EQ(Header(), "Choose installation folder");
  EXPECT_EQ(edit.Caption(), "C:\\windows\\New one");
}

// How many of a control's pixels its focus mark changes: those that differ between the control
// drawn with the focus and drawn without it.
int PixelsTheFocusChanges(HWND control, HWND elsewhere) {
  auto capture = [&](HWND focus) {
    SetFocus(focus);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    TApplication::Instance().ProcessMessages();
    RECT area;
    GetClientRect(control, &area);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(control);
    for (int y = 0; y < area.bottom; ++y)
      for (int x = 0; x < area.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(control, dc);
    return pixels;
  };
  const std::vector<COLORREF> focused = capture(control);
  const std::vector<COLORREF> unfocused = capture(elsewhere);
  int changed = 0;
  for (size_t i = 0; i < focused.size() && i < unfocused.size(); ++i) changed += focused[i] != unfocused[i];
  return changed;
}

TEST_F(KeyboardTest, TheFocusedBarButtonShowsTheSystemsFocusMarkInsideItsEdge) {
  ShowSettled("PnlDisclaimer");
  HWND next = ButtonCaptioned("&Next").Handle();
  ASSERT_EQ(FocusAfter("Tab Tab Tab", "Next"), "Next");
  RedrawWindow(next, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT area;
  GetClientRect(next, &area);
  const COLORREF face = RGB(0, 0, 128);
  HDC dc = GetDC(next);
  // The dotted frame three design pixels inside the edge, at the display's scale, one pixel
  // wide: every other pixel of its lines is inverted, and the face on either side is not.
  const int inset = ScaleToDpi(3, TestDpi());
  auto dots = [&] {
    int changed = 0;
    for (int x = inset; x < area.right - inset; ++x) changed += GetPixel(dc, x, inset) != face;
    for (int y = inset; y < area.bottom - inset; ++y) changed += GetPixel(dc, inset, y) != face;
    return changed;
  };
  auto besideTheMark = [&] {
    int changed = 0;
    for (int x = inset + 2; x < area.right - inset - 2; ++x)
      changed += (GetPixel(dc, x, inset - 1) != face) + (GetPixel(dc, x, inset + 1) != face);
    return changed;
  };
  const int length = (area.right - 2 * inset) + (area.bottom - 2 * inset);
  EXPECT_GE(dots(), length / 3) << "no focus mark on the focused button";
  EXPECT_EQ(besideTheMark(), 0) << "the mark stands off its place or is wider than a pixel";
  ReleaseDC(next, dc);

  ASSERT_EQ(FocusAfter("shift+Tab", "Previous"), "Previous");
  RedrawWindow(next, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  dc = GetDC(next);
  EXPECT_EQ(dots(), 0) << "a mark left on the button that lost the focus";
  ReleaseDC(next, dc);
}

// Every kind of control that takes the focus shows that it has it.
TEST_F(KeyboardTest, EveryFocusableKindShowsItsFocus) {
  struct Case {
    const char* Page;
    const char* Control;
  };
  const Case cases[] = {
      {"PnlDisclaimer", "CheckBox1"},   {"PnlInstall", "RadioButton1"}, {"PnlInstall", "Label18"},
      {"PnlError", "btnClipboard"},
  };
  ErrorPanel->SetErrorText("I/O error 5");
  for (const Case& c : cases) {
    ShowSettled(c.Page);
    HWND control = Get<TControl>(c.Page, c.Control).Handle();
    EXPECT_GT(PixelsTheFocusChanges(control, ButtonCaptioned("&Exit").Handle()), 10) << c.Page << " " << c.Control;
  }
  ShowSettled("PnlWelcome");
  EXPECT_GT(PixelsTheFocusChanges(ButtonCaptioned("&Next").Handle(), ButtonCaptioned("&Exit").Handle()), 10)
      << "bar button";
}

}  // namespace
