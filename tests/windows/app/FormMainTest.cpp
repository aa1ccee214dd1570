#include "tests/windows/app/WizardFixture.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using FormMainTest = WizardFixture;

RECT ClientBoundsIn(HWND parent, HWND child) {
  RECT bounds;
  GetWindowRect(child, &bounds);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

TEST_F(FormMainTest, WindowHasItsSizeCaptionAndNoBorderIcons) {
  ASSERT_EQ(DisplayDpiReported(), TestDpi()) << "the test's prefix lacks its display scale";
  EXPECT_EQ(Form().Dpi(), TestDpi()) << "the window fits the screen at the display's scale";
  HWND window = Form().Handle();
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, ScaleToDpi(780, TestDpi()));
  EXPECT_EQ(client.bottom, ScaleToDpi(509, TestDpi()));

  char caption[128];
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Install Pelmora P2P 4.44");

  LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(IsWindowVisible(window));
}

// A work area apart from the screen, as a task bar along the bottom of the screen leaves it.
class FormPlacementTest : public WizardFixture {
 protected:
  void SetUp() override {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &FSavedWorkArea, 0);
    RECT above{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 200};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &above, 0);
    WizardFixture::SetUp();
  }
  void TearDown() override {
    WizardFixture::TearDown();
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &FSavedWorkArea, 0);
  }

 private:
  RECT FSavedWorkArea{};
};

TEST_F(FormPlacementTest, WindowStandsInTheMiddleOfTheScreenNotOfTheWorkArea) {
  RECT workArea;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  ASSERT_EQ(workArea.bottom, GetSystemMetrics(SM_CYSCREEN) - 200)
      << "the work area could not be set apart from the screen";

  RECT window;
  GetWindowRect(Form().Handle(), &window);
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2);
  EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2);
}

TEST_F(FormMainTest, OwnedByTheApplicationWindowThatAloneStandsOnTheTaskBar) {
  HWND application = TApplication::Instance().Handle();
  EXPECT_EQ(GetWindow(Form().Handle(), GW_OWNER), application);
  EXPECT_FALSE(GetWindowLongA(Form().Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(IsWindowVisible(application));
  EXPECT_EQ(GetWindow(application, GW_OWNER), nullptr);
  RECT bounds;
  GetWindowRect(application, &bounds);
  EXPECT_TRUE(IsRectEmpty(&bounds)) << "the application window is never seen";

  TApplication::Instance().Title = "Install Pelmora P2P";
  TApplication::Instance().ShowTaskBarButton();
  char text[64] = "";
  GetWindowTextA(application, text, sizeof text);
  EXPECT_STREQ(text, "Install Pelmora P2P");
  GetWindowTextA(Form().Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Install Pelmora P2P 4.44");
}

TEST_F(FormMainTest, ComponentsStandWhereTheDesignPutsThem) {
  struct Expected {
    const TControl* control;
    RECT bounds;
  };
  const Expected expected[] = {
      {Form().ImgIcon, {5, 6, 46, 47}},
      {Form().PnlHeader, {40, 31, 752, 72}},
      {Form().PageControl, {40, 72, 752, 449}},
      {Form().PnlButtons, {40, 451, 753, 483}},
  };
  for (const Expected& e : expected) {
    RECT bounds = ClientBoundsIn(Form().Handle(), e.control->Handle());
    const RECT scaled = AtTestScale(e.bounds);
    EXPECT_EQ(bounds.left, scaled.left) << e.control->Name();
    EXPECT_EQ(bounds.top, scaled.top) << e.control->Name();
    EXPECT_EQ(bounds.right, scaled.right) << e.control->Name();
    EXPECT_EQ(bounds.bottom, scaled.bottom) << e.control->Name();
  }
}

TEST_F(FormMainTest, ColoursOfWindowHeaderAndBar) {
  EXPECT_EQ(Form().BackgroundColor(), RGB(0, 0, 255));
  EXPECT_EQ(Form().PnlHeader->BackgroundColor(), RGB(0, 0, 128));
  EXPECT_EQ(Form().PnlHeader->FontColor(), RGB(255, 255, 255));
  EXPECT_EQ(Form().PnlButtons->BackgroundColor(), RGB(255, 251, 240));

  // What the screen shows: a pixel of the window's border area, of the header and of the bar.
  Form().SetAlphaBlend(false);
  RedrawWindow(Form().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HDC dc = GetDC(Form().Handle());
  auto shown = [&](int x, int y) {
    return GetPixel(dc, ScaleToDpi(x, TestDpi()), ScaleToDpi(y, TestDpi()));
  };
  EXPECT_EQ(shown(20, 200), RGB(0, 0, 255));
  EXPECT_EQ(shown(45, 35), RGB(0, 0, 128));
  EXPECT_EQ(shown(400, 453), RGB(255, 251, 240));
  ReleaseDC(Form().Handle(), dc);
}

TEST_F(FormMainTest, StartsOnTheWelcomePageWithItsButtons) {
  EXPECT_EQ(Header(), "Welcome");
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlWelcome");
  EXPECT_EQ(ShownButtons(), AtTestScale({{"&Exit", 5, 4, 90}, {"&Next", 618, 4, 90}}));
  EXPECT_FALSE(Form().Sliding);
  EXPECT_EQ(ReleaseCode, "XX") << "set by program start, not by the window";
}

TEST_F(FormMainTest, FadesInFromTransparentToOpaqueInSixteenTicks) {
  ASSERT_TRUE(Form().AlphaBlend());
  ASSERT_TRUE(Form().AlphaBlendTimer.Enabled());
  EXPECT_EQ(Form().AlphaBlendTimer.Interval(), 100u);

  std::vector<int> seen{Form().AlphaBlendValue()};
  int ticks = 0;
  while (Form().AlphaBlendTimer.Enabled() && ticks < 40) {
    Form().AlphaBlendTimerTimer();
    ++ticks;
    seen.push_back(Form().AlphaBlendValue());
  }
  std::vector<int> expected;
  for (int value = 0; value <= 240; value += 16) expected.push_back(value);
  expected.push_back(255);
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(ticks, 16);

  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(Form().Handle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 255);
}

TEST_F(FormMainTest, FadeRunsOnItsOwnTimerUntilOpaque) {
  PumpUntil([&] { return !Form().AlphaBlendTimer.Enabled(); });
  EXPECT_FALSE(Form().AlphaBlendTimer.Enabled());
  EXPECT_EQ(Form().AlphaBlendValue(), 255);
}

TEST_F(FormMainTest, APageChangeDuringTheFadeShowsTheWindowOpaque) {
  Form().AlphaBlendTimerTimer();
  ASSERT_EQ(Form().AlphaBlendValue(), 16);
  Click("&Next");
  EXPECT_FALSE(Form().AlphaBlend());
  EXPECT_FALSE(GetWindowLongA(Form().Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(Form().AlphaBlendTimer.Enabled());
}

// Whether the window's frame was painted after its layered style went: the messages of the
// window seen by a hook on the thread that runs it.
class TFramePaintWatch {
 public:
  explicit TFramePaintWatch(HWND window) {
    Window = window;
    Seen.clear();
    FHook = SetWindowsHookExA(WH_CALLWNDPROC, &Record, nullptr, GetCurrentThreadId());
  }
  ~TFramePaintWatch() { UnhookWindowsHookEx(FHook); }
  bool FramePaintedAfterTheLayeredStyleWent() const {
    auto gone = std::find(Seen.begin(), Seen.end(), WM_STYLECHANGED);
    return gone != Seen.end() && std::find(gone, Seen.end(), WM_NCPAINT) != Seen.end();
  }

 private:
  static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message.hwnd == Window) {
      if (message.message == WM_NCPAINT) Seen.push_back(WM_NCPAINT);
      if (message.message == WM_STYLECHANGED && message.wParam == static_cast<WPARAM>(GWL_EXSTYLE) &&
          (reinterpret_cast<const STYLESTRUCT*>(message.lParam)->styleOld & WS_EX_LAYERED) &&
          !(reinterpret_cast<const STYLESTRUCT*>(message.lParam)->styleNew & WS_EX_LAYERED))
        Seen.push_back(WM_STYLECHANGED);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline HWND Window = nullptr;
  static inline std::vector<UINT> Seen;
  HHOOK FHook;
};

TEST_F(FormMainTest, TheFrameIsPaintedAnewWhenAPageChangeEndsTheFadeIn) {
  // Without its layered style the window's title bar and border are not shown again until the
  // frame is painted anew, as the system's documentation asks.
  auto upgrading = std::make_unique<TFramePanel>("PNLUpgradeUpgrading");
  upgrading->Title = "Upgrading Pelmora P2P";
  Form().AddPanel(std::move(upgrading));
  const struct {
    const char* What;
    std::function<void()> ChangePage;
  } cases[] = {
      {"\"&Next\" during the fade-in", [&] { Click("&Next"); }},
      {"the unattended upgrade's page", [&] {
         AutoUpdate = true;
         Form().Timer1Timer();
       }},
  };
  for (const auto& c : cases) {
    Form().SetAlphaBlendValue(32);
    Form().SetAlphaBlend(true);
    Form().AlphaBlendTimer.SetEnabled(true);
    Pump();
    TFramePaintWatch watch(Form().Handle());
    c.ChangePage();
    Pump(100);
    EXPECT_FALSE(Form().AlphaBlend()) << c.What;
    EXPECT_TRUE(watch.FramePaintedAfterTheLayeredStyleWent()) << c.What;
  }
}

TEST_F(FormMainTest, OneShotTimerStartsTheUnattendedUpgradeOnlyWhenAsked) {
  EXPECT_EQ(Form().Timer1.Interval(), 150u);
  PumpUntil([&] { return !Form().Timer1.Enabled(); });  // its one tick
  EXPECT_FALSE(Form().Timer1.Enabled());
  EXPECT_EQ(Header(), "Welcome");

  // Stands in for the upgrading page, which would upgrade a client and end the program.
  auto upgrading = std::make_unique<TFramePanel>("PNLUpgradeUpgrading");
  upgrading->Title = "Upgrading Pelmora P2P";
  TFramePanel* standIn = upgrading.get();
  Form().AddPanel(std::move(upgrading));
  AutoUpdate = true;
  Form().Timer1Timer();
  EXPECT_EQ(Form().ActivePanel(), standIn);
  EXPECT_EQ(Header(), "Upgrading Pelmora P2P");
  EXPECT_TRUE(ShownButtons().empty());
}

TEST_F(FormMainTest, AltWithAnAccessKeyClicksTheButton) {
  TApplication::Instance().MainWindow = Form().Handle();
  // Alt+N as the keyboard sends it; the message loop translates and dispatches it.
  PostMessageA(Form().Handle(), WM_SYSKEYDOWN, 'N', (1 << 29) | 1);
  PumpUntil([&] { return Header() == "License agreement and disclaimer" && !Form().Sliding; });
  TApplication::Instance().MainWindow = nullptr;
  EXPECT_EQ(Header(), "License agreement and disclaimer");
}

}  // namespace
