// The upgrade roads from outside: a person who upgrades an installation through the wizard, and
// the client that updates itself by starting the installer unattended.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/common/SystemState.h"
#include "tests/driver/ClientWindow.h"
#include "tests/driver/UiDriver.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;
namespace fs = std::filesystem;

const char kOlderTail[] = "an older version";

std::string BuiltClient() { return ReadFile(BuildFolder() + "programs\\Pelmora.exe"); }

// The installer that this process started; Wine may start helper processes beside it.
DWORD InstallerStartedBy(DWORD parent) {
  DWORD installer = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more && !installer; more = Process32Next(snapshot, &entry))
    if (entry.th32ParentProcessID == parent && lstrcmpiA(entry.szExeFile, "Install_Pelmora.exe") == 0)
      installer = entry.th32ProcessID;
  CloseHandle(snapshot);
  return installer;
}

bool WaitUntilZoomed(HWND window) {
  for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < 5000; Sleep(20))
    if (IsZoomed(window)) return true;
  return false;
}

void EndProcessById(DWORD id) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
  if (!process) return;
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

void CleanInstallationPlaces(const std::string& base) {
  std::error_code ignored;
  fs::remove_all(base, ignored);
  fs::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
  fs::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
  DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
}

class UpgradeRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    CleanInstallationPlaces(FBase);
    CreateDirectoryA(FBase.c_str(), nullptr);
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    DWORD id = 0;
    for (int i = 0; i < 20 && (id = FindClientWindow(FBase + "\\").ProcessId) != 0; ++i) EndProcessById(id);
    CleanInstallationPlaces(FBase);
  }

  // From the welcome page of a fresh wizard to the choice of the upgrade and its "&Next".
  void ChooseUpgrade(int first) {
    ASSERT_TRUE(Reach("Welcome", std::to_string(first) + "-welcome"));
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("License agreement and disclaimer", std::to_string(first + 1) + "-licence"));
    AgreeToTheLicence();
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("Install or upgrade?", std::to_string(first + 2) + "-install-or-upgrade"));
    Tick("&Upgrade an existing installation");
    ASSERT_TRUE(FDriver.Click("&Next"));
  }

  const std::string FBase = "C:\\pelmora-upgrade-" + std::to_string(GetCurrentProcessId());
};

TEST_F(UpgradeRoadTest, UpgradesTheInstallationThatTheSearchFound) {
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  WalkToSummary(FBase + "\\Pelmora P2P", FBase + "\\Downloads", 50);
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  ASSERT_TRUE(Reach("Installation of Pelmora P2P ready", "58-installed", 60000));
  ASSERT_TRUE(FDriver.Click("&Exit"));
  ASSERT_EQ(WaitForExit(FProcess, 10000), 0);
  EndProcess(FProcess);
  std::ofstream(installDir + "Pelmora.Exe", std::ios::binary | std::ios::app) << kOlderTail;

  FProcess = StartProgram(BuildFolder() + "Install_Pelmora.exe", "");
  FDriver = UiDriver(FProcess.Id);
  ASSERT_TRUE(FDriver.WaitForWindow(10000));
  ChooseUpgrade(61);
  ASSERT_TRUE(Reach("Ready to upgrade", "64-ready-to-upgrade", 120000));

  // Other tests may leave clients on the disks meanwhile: ours is listed, and picked.
  HWND list = VisibleChildOfClass(FDriver.Window(), "ComboBox");
  ASSERT_NE(list, nullptr);
  DWORD_PTR index = 0;
  SendMessageTimeoutA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(installDir.c_str()), SMTO_ABORTIFHUNG, 2000, &index);
  ASSERT_NE(static_cast<LRESULT>(index), CB_ERR) << installDir << " is not listed";
  SendMessageTimeoutA(list, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  ASSERT_TRUE(FDriver.Click("&Upgrade"));
  ASSERT_TRUE(Reach("Upgrade of Pelmora P2P ready", "65-upgraded", 60000));
  EXPECT_TRUE(ReadFile(installDir + "Pelmora.Exe") == BuiltClient()) << "the client is not the new program";
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P Help.Lnk"));
  ASSERT_TRUE(FDriver.Click("&Exit"));
  EXPECT_EQ(WaitForExit(FProcess, 10000), 0);
}

// An installation on a disk of its own, as a copy of this build's programs, the client older.
class UnattendedRoadTest : public testing::Test {
 protected:
  void SetUp() override {
    CleanInstallationPlaces(FBase);
    fs::create_directories(FInstallDir);
    std::ofstream(FInstallDir + "Pelmora.Exe", std::ios::binary) << BuiltClient() << kOlderTail;
    CopyFileA((BuildFolder() + "programs\\Uninstall.exe").c_str(), (FInstallDir + "Uninstall.Exe").c_str(), FALSE);
  }
  void TearDown() override {
    // An installer still at work would start a client after the clean-up.
    EndProcess(FInstaller);
    DWORD id = 0;
    for (int i = 0; i < 20 && (id = FindClientWindow(FBase + "\\").ProcessId) != 0; ++i) EndProcessById(id);
    CleanInstallationPlaces(FBase);
  }

  // Watches the unattended installer until it ends: the headers it showed and its exit code.
  struct Watched {
    std::vector<std::string> Headers;
    long ExitCode;
  };
  Watched Watch(const StartedProcess& installer, DWORD timeoutMs) {
    Watched watched{{}, -1};
    UiDriver driver(installer.Id);
    const ULONGLONG start = GetTickCount64();
    while (GetTickCount64() - start < timeoutMs) {
      if (WaitForSingleObject(installer.Process, 20) == WAIT_OBJECT_0) break;
      if (!driver.Found()) driver.WaitForWindow(0);
      if (!driver.Found()) continue;
      const std::string header = driver.Header();
      if (!header.empty() && (watched.Headers.empty() || watched.Headers.back() != header))
        watched.Headers.push_back(header);
      if (header == "Error") driver.Click("&Exit");
    }
    watched.ExitCode = WaitForExit(installer, 0);
    return watched;
  }

  const std::string FBase = "C:\\pelmora-unattended-" + std::to_string(GetCurrentProcessId());
  const std::string FInstallDir = FBase + "\\Pelmora P2P\\";
  StartedProcess FInstaller;
};

TEST_F(UnattendedRoadTest, TheClientUpdatesItselfAndTheNewOneStartsMaximised) {
  StartedProcess oldClient = StartProgram(FInstallDir + "Pelmora.Exe",
                                          "/selfupdate \"" + BuildFolder() + "Install_Pelmora.exe\"");
  ASSERT_NE(oldClient.Process, nullptr);
  for (ULONGLONG start = GetTickCount64(); !FInstaller.Id && GetTickCount64() - start < 10000; Sleep(20))
    FInstaller.Id = InstallerStartedBy(oldClient.Id);
  ASSERT_NE(FInstaller.Id, 0u) << "the client started no installer";
  FInstaller.Process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, FInstaller.Id);
  ASSERT_NE(FInstaller.Process, nullptr);
  EXPECT_EQ(WaitForExit(oldClient, 10000), 0) << "the old client did not end";
  EndProcess(oldClient);

  Watched watched = Watch(FInstaller, 60000);
  EXPECT_EQ(watched.ExitCode, 0);
  EXPECT_NE(std::find(watched.Headers.begin(), watched.Headers.end(), "Upgrading Pelmora P2P"),
            watched.Headers.end());
  EXPECT_EQ(std::find(watched.Headers.begin(), watched.Headers.end(), "Upgrade of Pelmora P2P ready"),
            watched.Headers.end()) << "the finish page was shown";
  EXPECT_TRUE(ReadFile(FInstallDir + "Pelmora.Exe") == BuiltClient()) << "the client is not the new program";

  HWND client = nullptr;
  for (ULONGLONG start = GetTickCount64(); !client && GetTickCount64() - start < 10000; Sleep(20))
    client = FindClientWindow(FBase + "\\", oldClient.Id).Window;
  ASSERT_NE(client, nullptr) << "the new client was not started";
  EXPECT_TRUE(WaitUntilZoomed(client)) << "the new client is not maximised";
}

TEST_F(UnattendedRoadTest, TheTitleBarIsDrawnWhileTheUpgradeRuns) {
  FInstaller = StartProgram(BuildFolder() + "Install_Pelmora.exe", "/autoupdate " + FInstallDir);
  ASSERT_NE(FInstaller.Process, nullptr);
  UiDriver driver(FInstaller.Id);
  ASSERT_TRUE(driver.WaitForWindow(kPatientMs));
  // The upgrade's page cuts the fade-in short; the run then waits for the client to end.
  ASSERT_TRUE(driver.WaitForPage("Upgrading Pelmora P2P", kPatientMs));
  bool drawn = false;
  WaitUntil([&] { return (drawn = TitleBarDrawn(driver.Window())) || WaitForExit(FInstaller, 0) != -1; }, kPatientMs);
  EXPECT_TRUE(drawn) << "the display showed no title bar over the wizard while it upgraded";
  EXPECT_EQ(Watch(FInstaller, 60000).ExitCode, 0);
  // The run ends by starting the client, which the tear-down ends before it cleans up.
  EXPECT_TRUE(WaitUntil([&] { return static_cast<bool>(FindClientWindow(FBase + "\\")); }, kPatientMs));
}

TEST_F(UnattendedRoadTest, AFailureEndsOnTheErrorPageWhichTheUserCanLeave) {
  // A folder where the uninstaller belongs: the client is replaced, the uninstaller cannot be.
  DeleteFileA((FInstallDir + "Uninstall.Exe").c_str());
  fs::create_directories(FInstallDir + "Uninstall.Exe");
  FInstaller = StartProgram(BuildFolder() + "Install_Pelmora.exe", "/autoupdate " + FInstallDir);
  ASSERT_NE(FInstaller.Process, nullptr);

  Watched watched = Watch(FInstaller, 60000);
  ASSERT_FALSE(watched.Headers.empty());
  EXPECT_EQ(watched.Headers.back(), "Error");
  EXPECT_EQ(watched.ExitCode, 0) << "the error page's Exit did not end the installer";
  EXPECT_TRUE(ReadFile(FInstallDir + "Pelmora.Exe") == BuiltClient());
}

}  // namespace
