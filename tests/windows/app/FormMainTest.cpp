#include "tests/windows/app/WizardFixture.h"

namespace {

using FormMainTest = WizardFixture;

RECT ClientBoundsIn(HWND parent, HWND child) {
  RECT bounds;
  GetWindowRect(child, &bounds);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

TEST_F(FormMainTest, WindowHasItsSizeCaptionAndNoBorderIcons) {
  HWND window = Form().Handle();
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 780);
  EXPECT_EQ(client.bottom, 509);

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
    EXPECT_EQ(bounds.left, e.bounds.left) << e.control->Name();
    EXPECT_EQ(bounds.top, e.bounds.top) << e.control->Name();
    EXPECT_EQ(bounds.right, e.bounds.right) << e.control->Name();
    EXPECT_EQ(bounds.bottom, e.bounds.bottom) << e.control->Name();
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
  EXPECT_EQ(GetPixel(dc, 20, 200), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 45, 35), RGB(0, 0, 128));
  EXPECT_EQ(GetPixel(dc, 400, 453), RGB(255, 251, 240));
  ReleaseDC(Form().Handle(), dc);
}

TEST_F(FormMainTest, StartsOnTheWelcomePageWithItsButtons) {
  EXPECT_EQ(Header(), "Welcome");
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlWelcome");
  EXPECT_EQ(ShownButtons(), (std::vector<ShownButton>{{"&Exit", 5, 4, 90}, {"&Next", 618, 4, 90}}));
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
