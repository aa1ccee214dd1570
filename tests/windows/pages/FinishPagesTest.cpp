#include "tests/windows/pages/PageFixture.h"

#include "tests/driver/BuildFolder.h"
#include "tests/driver/ClientWindow.h"

namespace {

// The build's stand-in client.
std::string StandInClient() { return BuildFolder() + "programs\\Pelmora.exe"; }

using FinishPagesTest = PageFixture;

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
