#include "tests/windows/app/WizardFixture.h"

#include <set>

#include "core/Exceptions.h"
#include "pages/PNL_Error.h"
#include "web/ReportURL.h"

namespace {

// A page that fails in the slot under test, reached from a button as a person would reach it.
class FailingPage : public TFramePanel {
 public:
  enum class Slot { InitButtons, BeforeShow };
  explicit FailingPage(Slot slot) : TFramePanel("FailingPage"), FSlot(slot) { Title = "Failing"; }
  void InitButtons(tPmButtonBar&) override {
    if (FSlot == Slot::InitButtons) throw EInOutError(5);
  }
  void BeforeShow() override {
    if (FSlot == Slot::BeforeShow) throw EInOutError(5);
  }

 private:
  Slot FSlot;
};

class CountingPage : public TFramePanel {
 public:
  CountingPage() : TFramePanel("CountingPage") { Title = "Counting"; }
  void InitButtons(tPmButtonBar&) override { calls.push_back("InitButtons"); }
  void BeforeShow() override { calls.push_back("BeforeShow"); }
  void AfterShow() override { calls.push_back("AfterShow"); }
  std::vector<std::string> calls;
};

class ShowPanelTest : public WizardFixture {
 protected:
  // A place of the design at the test's display scale.
  static int Scaled(int design) { return ScaleToDpi(design, TestDpi()); }
  void ExpectFramesHome() {
    EXPECT_EQ(PositionOf(*Form().PnlHeader).x, Scaled(40));
    EXPECT_EQ(PositionOf(*Form().PnlHeader).y, Scaled(31));
    EXPECT_EQ(PositionOf(*Form().PageControl).x, Scaled(40));
    EXPECT_EQ(PositionOf(*Form().PageControl).y, Scaled(72));
    EXPECT_EQ(PositionOf(*Form().PnlButtons).x, Scaled(40));
    EXPECT_EQ(PositionOf(*Form().PnlButtons).y, Scaled(451));
  }
};

TEST_F(ShowPanelTest, FindsThePageWhateverTheCase) {
  Form().ShowPanel("pnlerror", false);
  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlError");

  Form().ShowPanel("PnlInstallChooseConnection", false);
  EXPECT_EQ(Form().ActivePanel()->Name(), "PNLInstallChooseConnection");
  EXPECT_EQ(Header(), "Select your internet-connection");
}

// The wizard's pages under the names the rest of the system knows them by, in the order the
// main window adds them.
const std::pair<TPageId, const char*> kWizardPages[] = {
    {TPageId::Welcome, "PnlWelcome"},
    {TPageId::Disclaimer, "PnlDisclaimer"},
    {TPageId::Install, "PnlInstall"},
    {TPageId::InstallChooseDir, "PnlInstallChooseDir"},
    {TPageId::InstallChooseDownloadDir, "PNLInstallChooseDownloadDir"},
    {TPageId::InstallChooseConnection, "PNLInstallChooseConnection"},
    {TPageId::InstallGo, "PNLInstallGo"},
    {TPageId::InstallInstalling, "PNLInstallInstalling"},
    {TPageId::InstallReady, "PNLInstallReady"},
    {TPageId::UpgradeFindDir, "PnlUpgradeFindDir"},
    {TPageId::UpgradeStart, "PNLUpgradeStart"},
    {TPageId::UpgradeUpgrading, "PNLUpgradeUpgrading"},
    {TPageId::UpgradeReady, "PNLUpgradeReady"},
    {TPageId::Error, "PnlError"},
};

TEST_F(ShowPanelTest, EveryPageStandsUnderItsOwnNameOnce) {
  const auto& sheets = Form().PageControl->Sheets();
  ASSERT_EQ(sheets.size(), std::size(kWizardPages));
  for (std::size_t index = 0; index < sheets.size(); ++index) {
    const auto& [page, name] = kWizardPages[index];
    EXPECT_STREQ(PageName(page), name);
    EXPECT_EQ(sheets[index]->Name(), name);
    EXPECT_EQ(sheets[index]->Content()->Name(), name);
  }
}

// The window shows the welcome page before the other pages are made: Show makes them once it
// has painted it, and a page change or a failure before that makes them for its page.
TEST(PageMakingTest, OnlyTheWelcomePageIsMadeBeforeTheWindowShows) {
  ResetSettings();
  const auto names = [](const TFormMain& form) {
    std::vector<std::string> made;
    for (const auto& sheet : form.PageControl->Sheets()) made.push_back(sheet->Name());
    return made;
  };
  std::vector<std::string> all;
  for (const auto& [page, name] : kWizardPages) all.push_back(name);
  {
    TFormMain form;
    form.Create();
    EXPECT_EQ(names(form), std::vector<std::string>{"PnlWelcome"});
    form.Show();
    EXPECT_EQ(names(form), all);
    EXPECT_EQ(form.ActivePanel()->Name(), "PnlWelcome");
  }
  {
    TFormMain form;
    form.Create();
    form.ShowPanel(TPageId::Disclaimer, false);
    EXPECT_EQ(names(form), all);
    EXPECT_EQ(form.ActivePanel()->Name(), "PnlDisclaimer");
  }
  {
    // The failure report goes to a closed port of this machine.
    SetReportAddress("http://127.0.0.1:9/report?");
    TFormMain form;
    form.Create();
    form.AppException(form.Handle(), EInOutError(5));
    SetReportAddress("");
    EXPECT_EQ(names(form), all);
    EXPECT_EQ(form.ActivePanel()->Name(), "PnlError");
    ASSERT_NE(ErrorPanel, nullptr);
    EXPECT_EQ(ErrorPanel->ErrorText(), "I/O error 5");
  }
}

TEST_F(ShowPanelTest, ShowsThePageOfAnIdentity) {
  Form().ShowPanel(TPageId::InstallChooseConnection, false);
  EXPECT_EQ(Form().ActivePanel()->Name(), "PNLInstallChooseConnection");
  EXPECT_EQ(Header(), "Select your internet-connection");
  Form().ShowPanel(TPageId::Disclaimer, false);
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlDisclaimer");
}

TEST_F(ShowPanelTest, UnknownNameChangesNothingButEndsTheFade) {
  ASSERT_TRUE(Form().AlphaBlend());
  Form().ShowPanel("PnlNowhere", true);
  EXPECT_FALSE(Form().AlphaBlend());
  EXPECT_FALSE(Form().AlphaBlendTimer.Enabled());
  EXPECT_EQ(Header(), "Welcome");
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlWelcome");
  EXPECT_EQ(ShownButtons().size(), 2u);
  EXPECT_FALSE(Form().Sliding);
}

TEST_F(ShowPanelTest, PageWithoutButtonsShowsAnEmptyBar) {
  Form().AddPanel(std::make_unique<TFramePanel>("PlainPage"));
  ASSERT_EQ(ShownButtons().size(), 2u);
  Form().ShowPanel("PlainPage", false);
  EXPECT_TRUE(ShownButtons().empty());

  // The progress pages add none either; showing them would start their work.
  for (const auto& sheet : Form().PageControl->Sheets()) {
    std::string name = sheet->Name();
    if (name != "PNLInstallInstalling" && name != "PnlUpgradeFindDir" && name != "PNLUpgradeUpgrading")
      continue;
    Form().PnlButtons->Clear();
    static_cast<TFramePanel*>(sheet->Content())->InitButtons(*Form().PnlButtons);
    EXPECT_EQ(Form().PnlButtons->LeftCount() + Form().PnlButtons->RightCount(), 0) << name;
  }
}

TEST_F(ShowPanelTest, RunsTheSlotsInOrderEvenForTheActivePage) {
  auto page = std::make_unique<CountingPage>();
  CountingPage& counting = *page;
  Form().AddPanel(std::move(page));
  Form().ShowPanel("CountingPage", false);
  Form().ShowPanel("countingpage", false);
  EXPECT_EQ(counting.calls, (std::vector<std::string>{"InitButtons", "BeforeShow", "AfterShow",
                                                      "InitButtons", "BeforeShow", "AfterShow"}));
}

TEST_F(ShowPanelTest, AnimatedChangeSlidesOutAndBackAndEndsWhereItStarted) {
  std::vector<int> headerLefts;
  std::vector<int> pageLefts;
  std::vector<bool> sliding;
  TTimer sampler(10, true);
  sampler.OnTimer = [&](TTimer&) {
    headerLefts.push_back(PositionOf(*Form().PnlHeader).x);
    pageLefts.push_back(PositionOf(*Form().PageControl).x);
    sliding.push_back(Form().Sliding);
  };
  ULONGLONG start = GetTickCount64();
  Form().ShowPanel("PnlDisclaimer", true);
  ULONGLONG took = GetTickCount64() - start;
  sampler.SetEnabled(false);

  ExpectFramesHome();
  EXPECT_FALSE(Form().Sliding);
  EXPECT_EQ(Header(), "License agreement and disclaimer");
  EXPECT_GE(took, 11 * 40 + 11 * 66u);
  ASSERT_FALSE(headerLefts.empty());
  // Eleven steps of 70 design pixels each way, the distance and the steps times the scale.
  EXPECT_EQ(*std::max_element(headerLefts.begin(), headerLefts.end()), Scaled(40 + 770));
  EXPECT_EQ(*std::min_element(pageLefts.begin(), pageLefts.end()), Scaled(40 - 770));
  for (bool s : sliding) EXPECT_TRUE(s);
  std::set<int> steps;
  for (int step = 0; step <= 11; ++step) steps.insert(Scaled(40 + 70 * step));
  for (int left : headerLefts) EXPECT_TRUE(steps.count(left)) << left << " is no step of the slide";
}

TEST_F(ShowPanelTest, TwoQuickClicksOnNextChangeThePageOnce) {
  HWND next = ButtonCaptioned("&Next").Handle();
  PostMessageA(next, BM_CLICK, 0, 0);
  PostMessageA(next, BM_CLICK, 0, 0);
  PumpUntil([&] { return Header() == "License agreement and disclaimer" && !Form().Sliding; });
  // A second page change, had the second click started one, would have begun by now.
  Pump(500);
  EXPECT_EQ(Header(), "License agreement and disclaimer");
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlDisclaimer");
}

class FailingSlotTest : public ShowPanelTest,
                        public testing::WithParamInterface<FailingPage::Slot> {};

TEST_P(FailingSlotTest, FailureDuringAnAnimatedChangeLeavesAUsableErrorPage) {
  Form().AddPanel(std::make_unique<FailingPage>(GetParam()));
  tPmButtonBar& bar = *Form().PnlButtons;
  bar.Clear();
  bar.AddRightButton("&Go", 2, [&](TLbSpeedButton&) { Form().ShowPanel("FailingPage", true); }, 1);

  Click("&Go");

  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlError");
  EXPECT_EQ(ErrorPanel->ErrorText(), "I/O error 5");
  EXPECT_FALSE(Form().Sliding);
  ExpectFramesHome();
  std::vector<ShownButton> shown = ShownButtons();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Caption, "&Exit");
  EXPECT_EQ(shown[1].Caption, "&Restart");
  EXPECT_TRUE(IsWindowVisible(Form().PageControl->ActivePage()->Handle()));
}

INSTANTIATE_TEST_SUITE_P(Slots, FailingSlotTest,
                         testing::Values(FailingPage::Slot::InitButtons, FailingPage::Slot::BeforeShow),
                         [](const auto& info) {
                           return info.param == FailingPage::Slot::InitButtons ? "InitButtons" : "BeforeShow";
                         });

TEST_F(ShowPanelTest, ErrorPageShowsDiskFullForTheDiskFullErrorOnly) {
  ErrorPanel->SetErrorText("I/O error 112");
  EXPECT_EQ(ErrorPanel->ErrorText(), "Disk Full");
  ErrorPanel->SetErrorText("i/o ERROR 112");
  EXPECT_EQ(ErrorPanel->ErrorText(), "Disk Full");
  ErrorPanel->SetErrorText("I/O error 112 while writing");
  EXPECT_EQ(ErrorPanel->ErrorText(), "I/O error 112 while writing");
}

}  // namespace
