#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "tests/driver/ClientWindow.h"
#include "tests/driver/UiDriver.h"
#include "tests/common/SystemState.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;

class FinishRoadTest : public RoadTest {
 protected:
  // What an installation leaves behind, removed so that the prefix is as before.
  void TearDown() override {
    RoadTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(FBase, ignored);
    std::filesystem::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
    std::filesystem::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
    DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P");
  }
  const std::string FBase = "C:\\pelmora-e2e-" + std::to_string(GetCurrentProcessId());
};

// The whole installation road in the real installer, ending with the client started from the
// finish page. It installs into folders of its own; the start menu, the data folder and the
// uninstall entry are the prefix's, which is why these tests hold the installation lock.
TEST_F(FinishRoadTest, InstallationEndsWithTheClientStartedMaximisedAndExitCodeZero) {
  const std::string installDir = FBase + "\\Pelmora P2P\\";

  ASSERT_NO_FATAL_FAILURE(WalkToSummary(installDir, FBase + "\\Downloads\\", 10));
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  ASSERT_TRUE(Reach("Installation of Pelmora P2P ready", "18-installation-ready", 60000));
  const std::vector<std::string> finishButtons{"&Exit", "&Start Pelmora P2P"};
  EXPECT_EQ(FDriver.WaitForButtonCaptions(finishButtons, kPatientMs), finishButtons);

  ASSERT_TRUE(FDriver.Click("&Start Pelmora P2P"));
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0) << "the wizard ends after starting the client";
  HWND client = nullptr;
  WaitUntil([&] { return (client = FindClientWindow(installDir).Window) != nullptr; }, kPatientMs);
  ASSERT_NE(client, nullptr) << "no window of a client started from " << installDir;
  EXPECT_TRUE(WaitUntil([&] { return IsZoomed(client) != FALSE; }, kPatientMs))
      << "the client opens maximised";

  DWORD id = 0;
  GetWindowThreadProcessId(client, &id);
  // Every process under Wine has a full administrator's token: the desktop shell starts the
  // client, as the user.
  EXPECT_EQ(ParentProgramOf(id), "explorer.exe") << "the client was not started by the desktop shell";
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
  ASSERT_NE(process, nullptr);
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

}  // namespace
