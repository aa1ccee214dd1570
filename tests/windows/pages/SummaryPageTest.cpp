// The summary page: the stored choices on every show, and where its buttons lead.
#include "tests/windows/pages/PageFixture.h"

namespace {

using SummaryPageTest = PageFixture;

TEST_F(SummaryPageTest, SummaryShowsTheStoredChoicesOnEveryShow) {
  struct Case {
    bool Shortcut;
    const char* Line;
  };
  const Case cases[] = {{true, "Create shortcut on desktop = Yes"},
                        {false, "Create shortcut on desktop = No"}};
  InstallDir = "C:\\Program Files\\Pelmora P2P\\";
  DownloadDir = "D:\\Shared Files\\";
  for (const Case& c : cases) {
    CreateDesktopShortcut = c.Shortcut;
    ShowPage("PNLInstallGo");
    EXPECT_EQ(Get<TLabel>("PNLInstallGo", "Label6").Caption(),
              "Installation folder = C:\\Program Files\\Pelmora P2P\\");
    EXPECT_EQ(Get<TLabel>("PNLInstallGo", "Label7").Caption(), "Download folder = D:\\Shared Files\\");
    EXPECT_EQ(Get<TLabel>("PNLInstallGo", "Label9").Caption(), c.Line);
  }
}

TEST_F(SummaryPageTest, SummaryLeadsToTheInstallationRunOrBackToTheConnection) {
  RecordingPage& run = StandIn("PNLInstallInstalling");
  RecordingPage& connection = StandIn("PnlInstallChooseConnection");
  ShowPage("PNLInstallGo");
  ClickAndSettle("&Previous");
  EXPECT_EQ(connection.Shows, 1);
  ShowPage("PNLInstallGo");
  EXPECT_EQ(ShownButtons()[1].Width, 120) << "\"&Install Now\" is the wide button";
  ClickAndSettle("&Install Now");
  EXPECT_EQ(run.Shows, 1);
}

}  // namespace
