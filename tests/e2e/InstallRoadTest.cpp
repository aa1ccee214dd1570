#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "datafile/DataFileReader.h"
#include "tests/common/SystemState.h"
#include "tests/driver/ClientWindow.h"
#include "tests/driver/UiDriver.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;
namespace fs = std::filesystem;

std::string WindowText(HWND window) {
  char text[4096] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

class InstallRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    CleanUp();
    CreateDirectoryA(FBase.c_str(), nullptr);
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    EndClient();
    CleanUp();
  }
  void CleanUp() {
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    fs::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
    fs::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
    DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kRunRecordKey);
  }
  void EndClient() {
    const ClientWindow found = FindClientWindow(FBase + "\\");
    if (!found) return;
    HANDLE client = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, found.ProcessId);
    if (!client) return;
    TerminateProcess(client, 0);
    WaitForSingleObject(client, 5000);
    CloseHandle(client);
  }

  std::string Typed() { return WindowText(VisibleChildOfClass(FDriver.Window(), "Edit")); }
  // What the page's edit box shows once it shows expected, or what it shows when the time is up.
  std::string TypedOnceItIs(const std::string& expected) {
    return ReadUntil([this] { return Typed(); }, expected, kPatientMs);
  }
  bool Shows(const std::string& text) { return WaitForChildCaptioned(text) != nullptr; }

  const std::string FBase = "C:\\pelmora-road-" + std::to_string(GetCurrentProcessId());
};

TEST_F(InstallRoadTest, InstallsWhatTheUserChoseAndTheUninstallerTakesItAllAway) {
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  const std::string dataDir = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\";
  std::ofstream(FBase + "\\keep.txt") << "not the installer's";

  ASSERT_TRUE(Reach("Welcome", "31-welcome"));
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("License agreement and disclaimer", "32-licence"));
  ASSERT_TRUE(FDriver.Click("&Next"));
  EXPECT_EQ(AnswerMessage(),
            "You can only install Pelmora P2P in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit");
  AgreeToTheLicence();
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Install or upgrade?", "33-install-or-upgrade"));
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Choose installation folder", "34-installation-folder"));
  Type("  " + FBase + "\\Pelmora P2P  ");
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Choose download folder", "35-download-folder"));
  Type(FBase + "\\Downloads");
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Select your internet-connection", "36-connection"));
  Tick("&Cable");
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Ready to install", "37-summary"));
  EXPECT_TRUE(Shows("Installation folder = " + installDir));
  EXPECT_TRUE(Shows("Download folder = " + FBase + "\\Downloads\\"));
  EXPECT_TRUE(Shows("Create shortcut on desktop = Yes"));
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  ASSERT_TRUE(Reach("Installation of Pelmora P2P ready", "38-ready", 60000));
  ASSERT_TRUE(FDriver.Click("&Start Pelmora P2P"));
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0);

  // The client runs maximised and shows what it read from its data file.
  HWND client = nullptr;
  WaitUntil([&] { return (client = FindClientWindow(installDir).Window) != nullptr; }, kPatientMs);
  ASSERT_NE(client, nullptr) << "no client window";
  EXPECT_TRUE(WaitUntil([&] { return IsZoomed(client) != FALSE; }, kPatientMs)) << "not maximised";
  std::string report;
  WaitUntil([&] {
    report = WindowText(VisibleChildOfClass(client, "Edit"));
    return report.find("Download folder:") != std::string::npos;
  }, kPatientMs);
  EXPECT_NE(report.find("Connection number: 90"), std::string::npos) << report;
  EXPECT_NE(report.find("Download folder: " + FBase + "\\Downloads\\"), std::string::npos) << report;
  EndClient();

  // What the installation left.
  for (const char* file : {"Pelmora.Exe", "Uninstall.Exe", "PMInst.Dat", "UnInstall.dat"})
    EXPECT_TRUE(fs::exists(installDir + file)) << file;
  TDataFileContent first = ReadDataFile(ReadFile(dataDir + "Pelmora.Dat"));
  TDataFileContent second = ReadDataFile(ReadFile(installDir + "PMInst.Dat"));
  EXPECT_EQ(first.Header.ClientDataDir, dataDir);
  EXPECT_EQ(first.Header.DownloadDir, FBase + "\\Downloads\\");
  EXPECT_EQ(second.Header.DownloadDir, FBase + "\\Downloads");
  EXPECT_EQ(first.Header.ConnectionNumber, 90);
  std::string list = ReadFile(installDir + "UnInstall.dat");
  EXPECT_EQ(list.rfind("Pelmora P2P\r\n<P" + dataDir + "*.PCF>\r\n", 0), 0u) << list;
  EXPECT_NE(list.find("\r\n<TPelmora P2P.Lnk>\r\n"), std::string::npos) << list;
  EXPECT_EQ(UninstallEntryValue("UninstallString"), "\"" + installDir + "Uninstall.Exe\"");
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P.Lnk"));
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));

  // The uninstaller, as the system's software list starts it but without questions.
  StartedProcess uninstaller = StartProgram(installDir + "Uninstall.Exe", "/quiet");
  ASSERT_NE(uninstaller.Process, nullptr);
  EXPECT_EQ(WaitForExit(uninstaller, 30000), 0);
  EndProcess(uninstaller);
  for (int i = 0; i < 150 && fs::exists(installDir); ++i) Sleep(100);
  EXPECT_FALSE(fs::exists(installDir));
  EXPECT_FALSE(fs::exists(dataDir));
  EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P"));
  EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));
  EXPECT_EQ(UninstallEntryValue("DisplayName"), "<missing>");
  EXPECT_TRUE(fs::exists(FBase + "\\keep.txt"));
}

TEST_F(InstallRoadTest, AnInvalidFolderIsRefusedAndTheDownloadFolderIsProposedAfresh) {
  ASSERT_TRUE(Reach("Welcome", "41-welcome"));
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("License agreement and disclaimer", "42-licence"));
  AgreeToTheLicence();
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Install or upgrade?", "43-install-or-upgrade"));
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Choose installation folder", "44-installation-folder"));

  Type("C:\\What?");
  ASSERT_TRUE(FDriver.Click("&Next"));
  EXPECT_EQ(AnswerMessage(),
            "Invalid folder.\rThe foldername you choose contains invalid characters or is a root folder.");
  EXPECT_EQ(FDriver.Header(), "Choose installation folder");

  Type(FBase + "\\Here");
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Choose download folder", "45-download-folder"));
  std::string proposed;
  WaitUntil([&] { return !(proposed = Typed()).empty(); }, kPatientMs);
  ASSERT_GE(proposed.size(), 9u) << "no download folder proposed: \"" << proposed << "\"";
  EXPECT_EQ(proposed.substr(proposed.size() - 9), "Downloads");
  Type("C:\\Somewhere Else");
  ASSERT_TRUE(FDriver.Click("&Previous"));
  ASSERT_TRUE(Reach("Choose installation folder", "46-back-to-installation-folder"));
  EXPECT_EQ(TypedOnceItIs(FBase + "\\Here\\"), FBase + "\\Here\\") << "the accepted folder stays";
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Choose download folder", "47-download-folder-again"));
  EXPECT_EQ(TypedOnceItIs(proposed), proposed);
}

}  // namespace
