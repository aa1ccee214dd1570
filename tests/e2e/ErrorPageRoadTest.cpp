#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "tests/driver/UiDriver.h"
#include "tests/common/SystemState.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;

class ErrorPageRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    FHadDataFolder = std::filesystem::exists(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P");
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(FBase, ignored);
    if (!FHadDataFolder)
      std::filesystem::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
  }

  const std::string FBase = "C:\\pelmora-e2e-error-" + std::to_string(GetCurrentProcessId());
  bool FHadDataFolder = false;
};

// A person's installation folder in which a folder is named like the client program: the run
// cannot write the client and ends on the error page, from which the user starts anew.
TEST_F(ErrorPageRoadTest, RestartAfterAFailedRunStartsAFreshWizardAndEndsWithExitCodeZero) {
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, (installDir + "Pelmora.Exe").c_str(), nullptr), ERROR_SUCCESS);

  ASSERT_NO_FATAL_FAILURE(WalkToSummary(installDir, FBase + "\\Downloads\\", 30));
  ASSERT_TRUE(FDriver.Click("&Install Now"));

  ASSERT_NO_FATAL_FAILURE(ExpectErrorPage("Cannot create file \"" + installDir + "Pelmora.Exe\"", "38-error-page"));
  RestartFromTheErrorPage();
}

}  // namespace
