#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/UiDriver.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;

using PagesRoadTest = RoadTest;

TEST_F(PagesRoadTest, ScreenshotOfEveryPageOnTheInstallationRoadAndExitCodeZero) {
  ASSERT_TRUE(Reach("Welcome", "01-welcome"));
  ASSERT_TRUE(driver_.Click("&Next"));
  ASSERT_TRUE(Reach("License agreement and disclaimer", "02-licence"));

  // Without the box ticked the licence page refuses to go on.
  ASSERT_TRUE(driver_.Click("&Next"));
  HWND messageBox = nullptr;
  for (int i = 0; i < 200 && !messageBox; ++i, Sleep(25)) messageBox = OpenMessageBox(process_.Id);
  ASSERT_NE(messageBox, nullptr) << "no message box";
  EXPECT_EQ(MessageText(messageBox),
            "You can only install Pelmora P2P in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit");
  SendMessageTimeoutA(messageBox, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);

  AgreeToTheLicence();
  ASSERT_TRUE(driver_.Click("&Next"));
  ASSERT_TRUE(Reach("Install or upgrade?", "03-install-or-upgrade"));

  const char* const road[][2] = {
      {"Choose installation folder", "04-installation-folder"},
      {"Choose download folder", "05-download-folder"},
      {"Select your internet-connection", "06-connection"},
      {"Ready to install", "07-summary"},
  };
  for (const auto& [header, file] : road) {
    ASSERT_TRUE(driver_.Click("&Next")) << "on the way to " << header;
    ASSERT_TRUE(Reach(header, file));
  }
  EXPECT_EQ(driver_.ButtonCaptions(),
            (std::vector<std::string>{"&Exit", "&Install Now", "&Previous"}));

  ASSERT_TRUE(driver_.Click("&Exit"));
  EXPECT_EQ(WaitForExit(process_, 5000), 0);
}

}  // namespace
