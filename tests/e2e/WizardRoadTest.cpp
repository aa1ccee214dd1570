#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/UiDriver.h"
#include "tests/driver/Waiting.h"

namespace {

// The installer of this build: two folders above this test program.
std::string InstallerPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  for (int level = 0; level < 3; ++level) folder.erase(folder.find_last_of('\\'));
  return folder + "\\Install_Pelmora.exe";
}

class WizardRoadTest : public testing::Test {
 protected:
  void Start(const std::string& parameters = "") {
    process_ = StartProgram(InstallerPath(), parameters);
    ASSERT_NE(process_.Process, nullptr) << "cannot start " << InstallerPath();
    driver_ = UiDriver(process_.Id);
    ASSERT_TRUE(driver_.WaitForWindow(kPatientMs)) << "no window";
  }
  void TearDown() override { EndProcess(process_); }

  StartedProcess process_;
  UiDriver driver_;
};

TEST_F(WizardRoadTest, WelcomeLeadsToTheLicenceAndExitEndsTheProgram) {
  Start();
  EXPECT_TRUE(driver_.WaitForHeader("Welcome", kPatientMs)) << driver_.Header();
  const std::vector<std::string> welcomeButtons{"&Exit", "&Next"};
  EXPECT_EQ(driver_.WaitForButtonCaptions(welcomeButtons, kPatientMs), welcomeButtons);

  ASSERT_TRUE(driver_.Click("&Next"));
  ASSERT_TRUE(driver_.WaitForPage("License agreement and disclaimer", kPatientMs)) << driver_.Header();
  const std::vector<std::string> licenceButtons{"&Exit", "&Next", "&Previous"};
  EXPECT_EQ(driver_.WaitForButtonCaptions(licenceButtons, kPatientMs), licenceButtons);

  ASSERT_TRUE(driver_.Click("&Exit"));
  EXPECT_EQ(WaitForExit(process_, kPatientMs), 0);
}

TEST_F(WizardRoadTest, PreviousGoesBackToTheWelcomePage) {
  Start();
  ASSERT_TRUE(driver_.Click("&Next"));
  ASSERT_TRUE(driver_.WaitForPage("License agreement and disclaimer", kPatientMs));
  ASSERT_TRUE(driver_.Click("&Previous"));
  EXPECT_TRUE(driver_.WaitForPage("Welcome", kPatientMs)) << driver_.Header();
}

TEST_F(WizardRoadTest, UnattendedUpgradeSwitchGoesStraightToTheUpgradePage) {
  Start("/AutoUpdate \"C:\\Program Files\\Pelmora P2P\\\"");
  EXPECT_TRUE(driver_.WaitForHeader("Upgrading Pelmora P2P", kPatientMs)) << driver_.Header();
  EXPECT_TRUE(driver_.ButtonCaptions().empty());
}

TEST_F(WizardRoadTest, SwitchThatIsNotFirstRunsTheInteractiveWizard) {
  Start("/silent /autoupdate C:\\Apps");
  EXPECT_TRUE(driver_.WaitForHeader("Welcome", kPatientMs)) << driver_.Header();
  const std::vector<std::string> welcomeButtons{"&Exit", "&Next"};
  EXPECT_EQ(driver_.WaitForButtonCaptions(welcomeButtons, kPatientMs), welcomeButtons);
  // Past the moment the unattended upgrade would have started, the wizard is still there.
  Sleep(1500);
  EXPECT_EQ(driver_.Header(), "Welcome");
}

TEST_F(WizardRoadTest, ScreenshotShowsTheWindow) {
  Start();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + "pelmora-e2e-shot.bmp";
  ASSERT_TRUE(SaveScreenshot(path));
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_GT(data.nFileSizeLow, 780u * 509u * 3u);
  DeleteFileA(path.c_str());
}

}  // namespace
