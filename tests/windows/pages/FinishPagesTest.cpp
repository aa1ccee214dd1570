#include "tests/windows/pages/PageFixture.h"

#include "tests/driver/BuildFolder.h"
#include "tests/driver/ClientWindow.h"

namespace {

// The build's stand-in client.
std::string StandInClient() { return BuildFolder() + "programs\\Pelmora.exe"; }

using FinishPagesTest = PageFixture;

TEST_F(FinishPagesTest, SummaryShowsTheStoredChoicesOnEveryShow) {
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

TEST_F(FinishPagesTest, SummaryLeadsToTheInstallationRunOrBackToTheConnection) {
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

TEST_F(FinishPagesTest, UpgradeStartListsTheFoundFoldersAndUpgradesTheFirst) {
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

TEST_F(FinishPagesTest, StartWithoutAnInstalledClientClosesTheWizardSilently) {
  for (const char* page : {"PNLInstallReady", "PNLUpgradeReady"}) {
    SetUp();
    MessageBoxWatcher watcher;
    InstallDir = "C:\\No such folder " + std::to_string(GetCurrentProcessId()) + "\\";
    ShowPage(page);
    EXPECT_EQ(ShownButtons().size(), 2u) << page << ": no way back from a finish page";
    HWND window = Form().Handle();
    Click("&Start Pelmora P2P");
    Pump(100);
    EXPECT_FALSE(IsWindow(window)) << page;
    EXPECT_TRUE(watcher.Boxes().empty()) << page;
    TearDown();
  }
}

// Under Wine every process runs with a full administrator's token, as an elevated installer on
// Windows does: the client is started by the desktop shell, as the user, never by the wizard
// with the wizard's rights.
TEST_F(FinishPagesTest, StartOpensTheInstalledClientMaximisedAsTheUserAndClosesTheWizard) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  // A folder with blanks: the client must be started by its whole path.
  const std::string folder =
      std::string(temp) + "Pelmora P2P finish " + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string program = folder + "Pelmora.Exe";
  ASSERT_TRUE(CopyFileA(StandInClient().c_str(), program.c_str(), FALSE))
      << "cannot copy " << StandInClient() << " (" << GetLastError() << ")";

  for (const char* page : {"PNLInstallReady", "PNLUpgradeReady"}) {
    SetUp();
    InstallDir = folder;
    ShowPage(page);
    HWND wizard = Form().Handle();
    Click("&Start Pelmora P2P");
    EXPECT_FALSE(IsWindow(wizard)) << page << ": the wizard closes";

    ClientWindow client;
    WaitUntil([&] { return static_cast<bool>(client = FindClientWindow(program)); }, kPatientMs);
    EXPECT_TRUE(client) << page << ": no window of the client started from " << program;
    if (client) {
      EXPECT_TRUE(WaitUntil([&] { return IsZoomed(client.Window) != FALSE; }, kPatientMs))
          << page << ": the client opens maximised";
      EXPECT_EQ(ParentProgramOf(client.ProcessId), "explorer.exe") << page << ": the client was not started by the shell";
      HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, client.ProcessId);
      TerminateProcess(process, 0);
      WaitForSingleObject(process, kPatientMs);
      CloseHandle(process);
    }
    TearDown();
  }
  DeleteFileA(program.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
