// The install-or-upgrade page: its two choices and the desktop shortcut box.
#include "tests/windows/pages/PageFixture.h"

namespace {

using InstallPageTest = PageFixture;

TEST_F(InstallPageTest, InstallOrUpgradeChoicesSurviveVisitsAndAreWrittenOnNext) {
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

}  // namespace
