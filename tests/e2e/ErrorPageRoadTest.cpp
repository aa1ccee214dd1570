#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <filesystem>
#include <string>

#include "tests/driver/UiDriver.h"
#include "tests/common/SystemState.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;

// A text of the wizard's window that begins so, such as the failure message of the error page.
std::string ChildTextBeginningWith(HWND window, const std::string& beginning) {
  struct Search {
    std::string Beginning;
    std::string Found;
  } search{beginning, ""};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        char text[512] = "";
        SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        if (std::string(text).rfind(search.Beginning, 0) == 0) search.Found = text;
        return search.Found.empty() ? TRUE : FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

class ErrorPageRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    hadDataFolder_ = std::filesystem::exists(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P");
    RoadTest::SetUp();
  }
  void TearDown() override {
    EndProcess(restarted_);
    RoadTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(base_, ignored);
    if (!hadDataFolder_)
      std::filesystem::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
  }

  const std::string base_ = "C:\\pelmora-e2e-error-" + std::to_string(GetCurrentProcessId());
  bool hadDataFolder_ = false;
  StartedProcess restarted_;
};

// A person's installation folder in which a folder is named like the client program: the run
// cannot write the client and ends on the error page, from which the user starts anew.
TEST_F(ErrorPageRoadTest, RestartAfterAFailedRunStartsAFreshWizardAndEndsWithExitCodeZero) {
  const std::string installDir = base_ + "\\Pelmora P2P\\";
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, (installDir + "Pelmora.Exe").c_str(), nullptr), ERROR_SUCCESS);

  ASSERT_NO_FATAL_FAILURE(WalkToSummary(installDir, base_ + "\\Downloads\\", 30));
  ASSERT_TRUE(driver_.Click("&Install Now"));

  ASSERT_TRUE(Reach("Error", "38-error-page", 60000));
  const std::vector<std::string> errorButtons{"&Exit", "&Restart"};
  EXPECT_EQ(driver_.WaitForButtonCaptions(errorButtons, kPatientMs), errorButtons);
  const std::string failure = "Cannot create file \"" + installDir + "Pelmora.Exe\"";
  EXPECT_TRUE(WaitUntil([&] { return !ChildTextBeginningWith(driver_.Window(), failure).empty(); },
                        kPatientMs))
      << "the failure message is shown";

  ASSERT_TRUE(driver_.Click("&Restart"));
  EXPECT_EQ(WaitForExit(process_, kPatientMs), 0) << "the failed wizard ends at once with exit code 0";
  DWORD restartedId = 0;
  WaitUntil([&] { return (restartedId = ChildOf(process_.Id)) != 0; }, kPatientMs);
  ASSERT_NE(restartedId, 0u) << "no new instance was started";
  restarted_ = {OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                            restartedId),
                restartedId};
  UiDriver fresh(restartedId);
  ASSERT_TRUE(fresh.WaitForWindow(kPatientMs)) << "the new instance shows no wizard";
  EXPECT_TRUE(fresh.WaitForPage("Welcome", kPatientMs)) << fresh.Header();
  const std::vector<std::string> welcomeButtons{"&Exit", "&Next"};
  EXPECT_EQ(fresh.WaitForButtonCaptions(welcomeButtons, kPatientMs), welcomeButtons);
}

}  // namespace
