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
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("License agreement and disclaimer", "02-licence"));

  // Without the box ticked the licence page refuses to go on.
  ASSERT_TRUE(FDriver.Click("&Next"));
  EXPECT_EQ(AnswerMessage(),
            "You can only install Pelmora P2P in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit");

  AgreeToTheLicence();
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Install or upgrade?", "03-install-or-upgrade"));

  const char* const road[][2] = {
      {"Choose installation folder", "04-installation-folder"},
      {"Choose download folder", "05-download-folder"},
      {"Select your internet-connection", "06-connection"},
      {"Ready to install", "07-summary"},
  };
  for (const auto& [header, file] : road) {
    ASSERT_TRUE(FDriver.Click("&Next")) << "on the way to " << header;
    ASSERT_TRUE(Reach(header, file));
  }
  const std::vector<std::string> summaryButtons{"&Exit", "&Install Now", "&Previous"};
  EXPECT_EQ(FDriver.WaitForButtonCaptions(summaryButtons, kPatientMs), summaryButtons);

  ASSERT_TRUE(FDriver.Click("&Exit"));
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0);
}

}  // namespace
