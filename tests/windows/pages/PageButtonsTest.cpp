#include "tests/windows/pages/PageFixture.h"

#include "pages/PNL_Error.h"

namespace {

struct BarButton {
  std::string Caption;
  int Left;
  int Width;
  int ButtonID;
  bool operator==(const BarButton&) const = default;
};

std::ostream& operator<<(std::ostream& out, const BarButton& button) {
  return out << button.Caption << "@" << button.Left << " w" << button.Width << " id"
             << button.ButtonID;
}

class PageButtonsTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    FoundInstallations = {"C:\\Pelmora\\Pelmora.exe"};
  }

  // The bar as a person sees it, with the ButtonID each button carries.
  std::vector<BarButton> Bar() {
    std::vector<BarButton> bar;
    for (const ShownButton& shown : ShownButtons())
      bar.push_back({shown.Caption, shown.Left, shown.Width, ButtonCaptioned(shown.Caption).Tag});
    return bar;
  }
};

const BarButton kExit{"&Exit", 5, 90, 1};
const BarButton kNext{"&Next", 618, 90, 2};
const BarButton kPrevious{"&Previous", 523, 90, 3};
const BarButton kStart{"&Start Pelmora P2P", 588, 120, 2};

// The pages with buttons; the progress pages have none.
const struct {
  const char* Page;
  std::vector<BarButton> Buttons;
} kBars[] = {
    {"PnlWelcome", {kExit, kNext}},
    {"PnlDisclaimer", {kExit, kNext, kPrevious}},
    {"PnlInstall", {kExit, kNext, kPrevious}},
    {"PnlInstallChooseDir", {kExit, kNext, kPrevious}},
    {"PNLInstallChooseDownloadDir", {kExit, kNext, kPrevious}},
    {"PNLInstallChooseConnection", {kExit, kNext, kPrevious}},
    {"PNLInstallGo", {kExit, {"&Install Now", 588, 120, 2}, {"&Previous", 493, 90, 3}}},
    {"PNLInstallReady", {kExit, kStart}},
    {"PNLUpgradeStart", {kExit, {"&Upgrade", 618, 90, 2}, kPrevious}},
    {"PNLUpgradeReady", {kExit, kStart}},
    {"PnlError", {kExit, {"&Restart", 618, 90, 2}}},
};

// Buttons of the design where they show at the test's display scale.
std::vector<BarButton> AtTestScale(std::vector<BarButton> buttons) {
  for (BarButton& button : buttons) {
    const TPixelSpan across = ScaleSpan(button.Left, button.Width, TestDpi());
    button.Left = across.Start;
    button.Width = across.Length;
  }
  return buttons;
}

TEST_F(PageButtonsTest, EveryPageShowsItsButtonsWithTheirIdsWidthsAndPlaces) {
  for (const auto& bar : kBars) {
    ShowPage(bar.Page);
    EXPECT_EQ(Bar(), AtTestScale(bar.Buttons)) << bar.Page;
  }
}

TEST_F(PageButtonsTest, ButtonsThatOnlyMoveOnShowTheirPage) {
  struct Case {
    const char* Page;
    const char* Button;
    const char* Target;
  };
  const Case cases[] = {
      {"PnlDisclaimer", "&Previous", "PnlWelcome"},
      {"PnlInstall", "&Previous", "PnlDisclaimer"},
      {"PNLInstallChooseConnection", "&Previous", "PNLInstallChooseDownloadDir"},
      {"PNLInstallGo", "&Previous", "PNLInstallChooseConnection"},
      {"PNLUpgradeStart", "&Previous", "PnlInstall"},
  };
  for (const Case& c : cases) {
    ShowPage(c.Page);
    ClickAndSettle(c.Button);
    EXPECT_EQ(LowerCase(Form().ActivePanel()->Name()), LowerCase(c.Target)) << c.Page << " " << c.Button;
    EXPECT_EQ(Header(), Page(c.Target).Title) << c.Page << " " << c.Button;
  }
  // The installation run is left unstarted: a stand-in takes its place.
  RecordingPage& run = StandIn("PNLInstallInstalling");
  ShowPage("PNLInstallGo");
  ClickAndSettle("&Install Now");
  EXPECT_EQ(run.Shows, 1);
}

// "&Restart" is left out: acting, it would end this test program.
TEST_F(PageButtonsTest, WhileAPageChangeSlidesNoButtonActs) {
  MessageBoxWatcher watcher;
  InstallDir = "C:\\No such folder " + std::to_string(GetCurrentProcessId()) + "\\";
  for (const auto& bar : kBars) {
    ShowPage(bar.Page);
    Form().Sliding = true;
    for (const BarButton& button : bar.Buttons) {
      if (button.Caption == "&Restart") continue;
      Click(button.Caption);
      Pump(50);
      ASSERT_TRUE(IsWindow(Form().Handle())) << bar.Page << " " << button.Caption;
      EXPECT_EQ(Form().ActivePanel()->Name(), bar.Page) << bar.Page << " " << button.Caption;
    }
    Form().Sliding = false;
  }
  EXPECT_TRUE(watcher.Boxes().empty()) << "a refused Next would have said why";
  EXPECT_EQ(InstallDir, "C:\\No such folder " + std::to_string(GetCurrentProcessId()) + "\\");
}

TEST_F(PageButtonsTest, ErrorPageCopiesOnlyWhenNoPageChangeSlides) {
  auto clipboard = [] {
    std::string text;
    if (!OpenClipboard(nullptr)) return std::string("<clipboard busy>");
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (auto* locked = static_cast<const char*>(GlobalLock(data))) {
        text = locked;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    return text;
  };
  auto put = [](const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
  };
  ShowPage("PnlError");
  ErrorPanel->SetErrorText("I/O error 5");
  HWND copy = Get<TButton>("PnlError", "btnClipboard").Handle();
  put("before");

  Form().Sliding = true;
  SendMessageA(copy, BM_CLICK, 0, 0);
  EXPECT_EQ(clipboard(), "before");

  Form().Sliding = false;
  SendMessageA(copy, BM_CLICK, 0, 0);
  EXPECT_EQ(clipboard(), "I/O error 5");
}

using PageChangeClicksTest = PageFixture;

TEST_F(PageChangeClicksTest, ASecondClickDuringTheSlideChangesNothing) {
  struct Case {
    const char* Page;
    const char* Button;
    const char* Target;
  };
  const Case cases[] = {
      {"PnlInstall", "&Next", "PnlInstallChooseDir"},
      {"PnlDisclaimer", "&Previous", "PnlWelcome"},
      {"PNLInstallChooseConnection", "&Previous", "PNLInstallChooseDownloadDir"},
      {"PNLInstallGo", "&Install Now", "PNLInstallInstalling"},
      {"PNLUpgradeStart", "&Upgrade", "PnlUpgradeUpgrading"},
  };
  FoundInstallations = {"C:\\Pelmora\\Pelmora.exe"};
  for (const Case& c : cases) {
    RecordingPage& target = StandIn(c.Target);
    ShowPage(c.Page);
    HWND button = ButtonCaptioned(c.Button).Handle();
    // Both clicks wait in the queue; the second arrives while the first one's slide runs.
    PostMessageA(button, BM_CLICK, 0, 0);
    PostMessageA(button, BM_CLICK, 0, 0);
    PumpUntil([&] { return target.Shows > 0 && !Form().Sliding; });
    Pump(200);
    EXPECT_EQ(target.Shows, 1) << c.Page << " " << c.Button;
  }
}

}  // namespace
