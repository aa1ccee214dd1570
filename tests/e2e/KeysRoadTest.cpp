// The installation and the upgrade by keyboard alone, as a person without a mouse goes through
// the real installer: keys typed into the window in front, the focus and what it is called read
// from outside as a screen reader reads them. Then what the run left on disk, in the registry
// and in the start menu.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "datafile/DataFileReader.h"
#include "tests/common/SystemState.h"
#include "tests/driver/Accessibility.h"
#include "tests/driver/ClientWindow.h"
#include "tests/driver/Keyboard.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;
namespace fs = std::filesystem;

const char kOlderTail[] = "an older version";

std::string BuiltClient() { return ReadFile(BuildFolder() + "programs\\Pelmora.exe"); }

void EndClientsFrom(const std::string& place) {
  for (int i = 0; i < 20; ++i) {
    const ClientWindow found = FindClientWindow(place);
    if (!found) return;
    HANDLE client = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, found.ProcessId);
    if (!client) return;
    TerminateProcess(client, 0);
    WaitForSingleObject(client, 5000);
    CloseHandle(client);
  }
}

class KeysRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    CleanUp();
    CreateDirectoryA(FBase.c_str(), nullptr);
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    EndClientsFrom(FBase + "\\");
    CleanUp();
  }
  void CleanUp() {
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    fs::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
    fs::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
    DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  }

  void Keys(const std::string& keys) {
    ASSERT_TRUE(PressKeys(FDriver.Window(), keys)) << "the wizard is not in front for " << keys;
  }
  void TypeKeys(const std::string& text) {
    ASSERT_TRUE(TypeText(FDriver.Window(), text)) << "the wizard is not in front for " << text;
  }

  // What a screen reader tells of the control that has the focus.
  AccessibleFacts Focused() const {
    AccessibleFacts facts;
    HWND focus = FocusOf(FDriver.Window());
    if (!focus || !ReadAccessible(focus, facts)) facts.Name = "<nothing>";
    return facts;
  }

  // Waits until the focus is on the control of that name and role.
  void ExpectFocusOn(const std::string& name, long role) {
    AccessibleFacts focused;
    WaitUntil([&] { return (focused = Focused()).Name == name; }, kPatientMs);
    EXPECT_EQ(focused.Name, name) << "the focus";
    EXPECT_EQ(RoleText(focused.Role), RoleText(role)) << name;
  }

  // A message box of the wizard, answered with Enter.
  std::string AnswerByEnter() {
    const ShownMessageBox box = WaitForMessageBox(FProcess.Id, kPatientMs);
    if (!box) return "<no message box>";
    EXPECT_TRUE(PressKeys(box.Window, "Return")) << "the message box is not in front";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.Window); }, kPatientMs)) << "Enter left the box open";
    return box.Text;
  }

  const std::string FBase = "C:\\pelmora-keys-" + std::to_string(GetCurrentProcessId());
};

TEST_F(KeysRoadTest, TheWholeInstallationWithTheKeyboardAlone) {
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  const std::string dataDir = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\";

  ASSERT_TRUE(Reach("Welcome", "71-keys-welcome"));
  ExpectFocusOn("Next", ROLE_SYSTEM_PUSHBUTTON);
  Keys("Return");

  ASSERT_TRUE(Reach("License agreement and disclaimer", "72-keys-licence"));
  ExpectFocusOn("I have read the statement above and I fully agree with this statement.", ROLE_SYSTEM_CHECKBUTTON);
  Keys("Return");
  EXPECT_EQ(AnswerByEnter(),
            "You can only install Pelmora P2P in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit");
  ExpectFocusOn("I have read the statement above and I fully agree with this statement.", ROLE_SYSTEM_CHECKBUTTON);
  Keys("space Return");

  ASSERT_TRUE(Reach("Install or upgrade?", "73-keys-install-or-upgrade"));
  ExpectFocusOn("Install Pelmora P2P on this computer", ROLE_SYSTEM_RADIOBUTTON);
  Keys("Return");

  ASSERT_TRUE(Reach("Choose installation folder", "74-keys-installation-folder"));
  ExpectFocusOn("Installation folder", ROLE_SYSTEM_TEXT);
  TypeKeys(FBase + "\\Pelmora P2P");
  Keys("alt+n");

  ASSERT_TRUE(Reach("Choose download folder", "75-keys-download-folder"));
  ExpectFocusOn("Download folder", ROLE_SYSTEM_TEXT);
  TypeKeys(FBase + "\\Downloads");
  Keys("Tab");
  ExpectFocusOn("Choose download folder", ROLE_SYSTEM_OUTLINE);
  Keys("Return");

  ASSERT_TRUE(Reach("Select your internet-connection", "76-keys-connection"));
  ExpectFocusOn("I don't know", ROLE_SYSTEM_RADIOBUTTON);
  Keys("Up Up Up Up");
  ExpectFocusOn("Cable", ROLE_SYSTEM_RADIOBUTTON);
  Keys("Return");

  ASSERT_TRUE(Reach("Ready to install", "77-keys-summary"));
  EXPECT_NE(WaitForChildCaptioned("Installation folder = " + installDir), nullptr);
  EXPECT_NE(WaitForChildCaptioned("Download folder = " + FBase + "\\Downloads\\"), nullptr);
  EXPECT_NE(WaitForChildCaptioned("Create shortcut on desktop = Yes"), nullptr);
  ExpectFocusOn("Install Now", ROLE_SYSTEM_PUSHBUTTON);
  Keys("Return");

  ASSERT_TRUE(Reach("Installation of Pelmora P2P ready", "78-keys-ready", 60000));
  ExpectFocusOn("Start Pelmora P2P", ROLE_SYSTEM_PUSHBUTTON);
  Keys("Return");
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0);

  HWND client = nullptr;
  WaitUntil([&] { return (client = FindClientWindow(installDir).Window) != nullptr; }, kPatientMs);
  ASSERT_NE(client, nullptr) << "no client started from " << installDir;
  EndClientsFrom(installDir);

  for (const char* file : {"Pelmora.Exe", "Uninstall.Exe", "PMInst.Dat", "UnInstall.dat"})
    EXPECT_TRUE(fs::exists(installDir + file)) << file;
  TDataFileContent data = ReadDataFile(ReadFile(dataDir + "Pelmora.Dat"));
  EXPECT_EQ(data.Header.DownloadDir, FBase + "\\Downloads\\");
  EXPECT_EQ(data.Header.ConnectionNumber, 90) << "the cable connection chosen with the arrows";
  EXPECT_EQ(UninstallEntryValue("UninstallString"), "\"" + installDir + "Uninstall.Exe\"");
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P.Lnk"));
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));
}

TEST_F(KeysRoadTest, TheUpgradeWithTheKeyboardAlone) {
  // An older installation of this build's programs.
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  fs::create_directories(installDir);
  std::ofstream(installDir + "Pelmora.Exe", std::ios::binary) << BuiltClient() << kOlderTail;
  ASSERT_TRUE(CopyFileA((BuildFolder() + "programs\\Uninstall.exe").c_str(), (installDir + "Uninstall.Exe").c_str(), FALSE));

  ASSERT_TRUE(Reach("Welcome", "81-keys-welcome"));
  Keys("Return");
  ASSERT_TRUE(Reach("License agreement and disclaimer", "82-keys-licence"));
  ExpectFocusOn("I have read the statement above and I fully agree with this statement.", ROLE_SYSTEM_CHECKBUTTON);
  Keys("space Return");
  ASSERT_TRUE(Reach("Install or upgrade?", "83-keys-install-or-upgrade"));
  ExpectFocusOn("Install Pelmora P2P on this computer", ROLE_SYSTEM_RADIOBUTTON);
  Keys("Down");
  ExpectFocusOn("Upgrade an existing installation", ROLE_SYSTEM_RADIOBUTTON);
  Keys("Return");

  ASSERT_TRUE(Reach("Ready to upgrade", "84-keys-ready-to-upgrade", 120000));
  ExpectFocusOn("Installation to upgrade", ROLE_SYSTEM_COMBOBOX);
  // Other roads may have left clients on the disks: the arrows go down the list, as the reader
  // tells each folder, until ours.
  std::string picked = Focused().Value;
  for (int press = 0; press < 50 && picked != installDir; ++press) {
    const std::string before = picked;
    Keys("Down");
    WaitUntil([&] { return (picked = Focused().Value) != before; }, 2000);
  }
  ASSERT_EQ(picked, installDir) << "the list does not hold the installation";
  Keys("Return");

  ASSERT_TRUE(Reach("Upgrade of Pelmora P2P ready", "85-keys-upgraded", 60000));
  EXPECT_TRUE(ReadFile(installDir + "Pelmora.Exe") == BuiltClient()) << "the client is not the new program";
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P Help.Lnk"));
  ExpectFocusOn("Start Pelmora P2P", ROLE_SYSTEM_PUSHBUTTON);
  Keys("shift+Tab");
  ExpectFocusOn("Exit", ROLE_SYSTEM_PUSHBUTTON);
  Keys("Return");
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0);
  EXPECT_FALSE(FindClientWindow(installDir)) << "Exit starts no client";
}

}  // namespace
