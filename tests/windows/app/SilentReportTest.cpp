// A silent installation whose run fails sends the error page's failure report, received here on
// a loopback server, and shows nothing.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <filesystem>

#include "app/Appl_Globals.h"
#include "app/SilentInstall.h"
#include "tests/common/SystemState.h"
#include "tests/windows/web/LoopbackServer.h"
#include "web/ReportURL.h"

namespace fs = std::filesystem;
using namespace system_state;

namespace {

class SilentReportTest : public testing::Test {
 protected:
  void SetUp() override {
    FHadDataFolder = fs::exists(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P");
    SetReportAddress(FServer.Url("/report/setupfailure.php?"));
  }
  void TearDown() override {
    SetReportAddress("");
    ResetSettings();
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    if (!FHadDataFolder) fs::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
  }

  static std::string Field(char key, const std::string& value) {
    return std::string("&") + key + "=" + PercentEncode("\"" + value + "\"");
  }

  const std::string FBase = "C:\\pelmora-silent-report-" + std::to_string(GetCurrentProcessId());
  bool FHadDataFolder = false;
  LoopbackServer FServer;
};

TEST_F(SilentReportTest, AFailedRunSendsTheErrorPagesReportWithTheInstallingPageAsItsPage) {
  // A folder named like the client program: the run cannot write the client.
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  fs::create_directories(installDir + "Pelmora.Exe");
  TSilentOptions options;
  options.Quiet = true;
  options.InstallDir = installDir;
  options.DownloadDir = FBase + "\\Dl\\";

  EXPECT_EQ(RunSilentInstallation(options, "Install_Pelmora.exe /quiet"), kExitRunFailed);

  // The run waits for its report before it ends.
  const std::vector<LoopbackServer::Request> requests = FServer.Requests();
  ASSERT_EQ(requests.size(), 1u) << "one report";
  const std::string& line = requests[0].RequestLine;
  EXPECT_EQ(line.rfind("GET /report/setupfailure.php?T=Pelmora&V=3", 0), 0u) << line;
  EXPECT_NE(line.find(Field('A', "Installing Pelmora P2P")), std::string::npos) << line;
  EXPECT_NE(line.find(Field('B', installDir)), std::string::npos) << line;
  EXPECT_NE(line.find(Field('C', FBase + "\\Dl\\")), std::string::npos) << line;
  EXPECT_NE(line.find(Field('E', ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\")), std::string::npos) << line;
  EXPECT_NE(line.find("&F=" + PercentEncode("\"Cannot create file \"" + installDir + "Pelmora.Exe\".")),
            std::string::npos) << line;
}

}  // namespace
