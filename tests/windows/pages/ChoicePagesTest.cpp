#include "tests/windows/pages/PageFixture.h"

namespace {

using ChoicePagesTest = PageFixture;

TEST_F(ChoicePagesTest, InstallOrUpgradeChoicesSurviveVisitsAndAreWrittenOnNext) {
  ShowPage("PnlInstall");
  auto& install = Get<TRadioButton>("PnlInstall", "RadioButton1");
  auto& upgrade = Get<TRadioButton>("PnlInstall", "RadioButton2");
  auto& shortcut = Get<TCheckBox>("PnlInstall", "CheckBox1");
  EXPECT_TRUE(install.Checked());
  EXPECT_FALSE(upgrade.Checked());
  EXPECT_TRUE(shortcut.Checked());

  SendMessageA(upgrade.Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(upgrade.Checked());
  EXPECT_FALSE(install.Checked()) << "the radio buttons keep each other opposite";
  SendMessageA(shortcut.Handle(), BM_CLICK, 0, 0);

  ClickAndSettle("&Previous");
  ASSERT_EQ(Header(), "License agreement and disclaimer");
  SendMessageA(Get<TCheckBox>("PnlDisclaimer", "CheckBox1").Handle(), BM_CLICK, 0, 0);
  ClickAndSettle("&Next");
  ASSERT_EQ(Header(), "Install or upgrade?");
  EXPECT_TRUE(upgrade.Checked());
  EXPECT_FALSE(install.Checked());
  EXPECT_FALSE(shortcut.Checked());

  RecordingPage& search = StandIn("PnlUpgradeFindDir");
  ClickAndSettle("&Next");
  EXPECT_EQ(search.Shows, 1) << "upgrade leads to the search";
  EXPECT_TRUE(UpgradeChosen);
  EXPECT_FALSE(CreateDesktopShortcut) << "written also when upgrading";

  // Back, install chosen: both settings are written again.
  ShowPage("PnlInstall");
  SendMessageA(install.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(upgrade.Checked());
  RecordingPage& folder = StandIn("PnlInstallChooseDir");
  ClickAndSettle("&Next");
  EXPECT_EQ(folder.Shows, 1);
  EXPECT_FALSE(UpgradeChosen);
  EXPECT_FALSE(CreateDesktopShortcut);
}

TEST_F(ChoicePagesTest, ASecondClickDuringTheSlideChangesNothing) {
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

class ConnectionPageTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    FGo = &StandIn("PNLInstallGo");
    FDownloads = &StandIn("PNLInstallChooseDownloadDir");
    ShowPage("PNLInstallChooseConnection");
  }
  TRadioGroup& Group() { return Get<TRadioGroup>("PNLInstallChooseConnection", "rgConnection"); }
  RecordingPage* FGo = nullptr;
  RecordingPage* FDownloads = nullptr;
};

TEST_F(ConnectionPageTest, EveryShowFillsTheNineChoicesAndTheExplanation) {
  const char* captions[] = {"Dial-up &Modem < 56KBS", "Dial-up M&odem 56K", "&ISDN",
                            "&ADSL / DSL",           "&Cable",            "&T1",
                            "T&2",                    "ADSL 2",            "I &don't know"};
  ShowPage("PNLInstallChooseConnection");
  ASSERT_EQ(Group().Count(), 9) << "refilled, not appended to";
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Group().Button(i).Caption(), captions[i]);
  EXPECT_EQ(Group().ItemIndex(), 8);
  EXPECT_EQ(Get<TStaticText>("PNLInstallChooseConnection", "StaticText1").Caption(),
            "Choose the kind of internet-connection that\ryou use. Pelmora P2P uses this "
            "information to \roptimize its performance dependend on the\rkind of connection you "
            "have. After installation\ryou can always select to the item \"Settings\"\rof "
            "Pelmora P2P to finetune this settings further.");
}

TEST_F(ConnectionPageTest, FirstVisitStoresIDontKnowAndPreviousForgetsAChange) {
  ClickAndSettle("&Next");
  EXPECT_EQ(FGo->Shows, 1);
  EXPECT_EQ(ConnectionKind, 8);

  ShowPage("PNLInstallChooseConnection");
  SendMessageA(Group().Button(2).Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(Group().ItemIndex(), 2) << "&ISDN picked";
  ClickAndSettle("&Previous");
  EXPECT_EQ(FDownloads->Shows, 1);
  EXPECT_EQ(ConnectionKind, 8);
  ShowPage("PNLInstallChooseConnection");
  EXPECT_EQ(Group().ItemIndex(), 8) << "the stored choice, not &ISDN";

  SendMessageA(Group().Button(4).Handle(), BM_CLICK, 0, 0);
  ClickAndSettle("&Next");
  EXPECT_EQ(ConnectionKind, 4);
  ShowPage("PNLInstallChooseConnection");
  EXPECT_EQ(Group().ItemIndex(), 4) << "later visits select the last accepted choice";
}

TEST_F(ConnectionPageTest, NextWithoutASelectionIsRefused) {
  MessageBoxWatcher watcher;
  Group().SetItemIndex(-1);
  ConnectionKind = 3;
  Click("&Next");
  std::vector<MessageBoxWatcher::Seen> boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Choose a connection first");
  EXPECT_EQ(boxes[0].Owner, Form().Handle());
  EXPECT_EQ(Header(), "Select your internet-connection");
  EXPECT_EQ(FGo->Shows, 0);
  EXPECT_EQ(ConnectionKind, 3);
}

}  // namespace
