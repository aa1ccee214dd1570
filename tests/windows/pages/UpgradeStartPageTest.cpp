// The upgrade-start page: the list of the found installations and the upgrade of the chosen one.
#include "tests/windows/pages/PageFixture.h"

namespace {

using UpgradeStartPageTest = PageFixture;

TEST_F(UpgradeStartPageTest, UpgradeStartListsTheFoundFoldersAndUpgradesTheFirst) {
  RecordingPage& run = StandIn("PnlUpgradeUpgrading");
  FoundInstallations = {"C:\\Program Files\\Pelmora P2P\\Pelmora.exe",
                        "D:\\Apps\\Pelmora\\PELMORA.EXE", "E:\\Old\\Pelmora.Exe"};
  ShowPage("PNLUpgradeStart");
  auto& list = Get<TComboBox>("PNLUpgradeStart", "ComboBoxUpgrade");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(0), "C:\\Program Files\\Pelmora P2P\\");
  EXPECT_EQ(list.Item(1), "D:\\Apps\\Pelmora\\");
  EXPECT_EQ(list.Item(2), "E:\\Old\\");
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(GetFocus(), list.Handle());

  ClickAndSettle("&Upgrade");
  EXPECT_EQ(run.Shows, 1);
  EXPECT_EQ(run.InstallDirSeen, "C:\\Program Files\\Pelmora P2P\\");
  EXPECT_EQ(InstallDir, "C:\\Program Files\\Pelmora P2P\\");

  // A new search result refills the list.
  FoundInstallations = {"F:\\Pelmora\\Pelmora.exe"};
  ShowPage("PNLUpgradeStart");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Item(0), "F:\\Pelmora\\");
}

}  // namespace
