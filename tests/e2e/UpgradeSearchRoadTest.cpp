// The upgrade chosen on a computer without an installed client: the search says so and the
// wizard goes back to the choice.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;

class UpgradeSearchRoadTest : public RoadTest {};

TEST_F(UpgradeSearchRoadTest, WithoutAnInstalledClientTheSearchSaysSoAndGoesBack) {
  ASSERT_TRUE(Reach("Welcome", "71-welcome"));
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("License agreement and disclaimer", "72-licence"));
  AgreeToTheLicence();
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(Reach("Install or upgrade?", "73-install-or-upgrade"));
  Tick("&Upgrade an existing installation");
  ASSERT_TRUE(FDriver.Click("&Next"));
  EXPECT_EQ(AnswerMessage(120000),
            "No installed Pelmora P2P versions could be found,\ror the found Pelmora P2P versions are newer than\r"
            "the one in this installation. An upgrade is\rnot possible.");
  ASSERT_TRUE(Reach("Install or upgrade?", "74-back-to-install-or-upgrade"));
  ASSERT_TRUE(FDriver.Click("&Exit"));
  EXPECT_EQ(WaitForExit(FProcess, 10000), 0);
}

}  // namespace
