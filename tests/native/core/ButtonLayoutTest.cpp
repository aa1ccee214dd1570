#include "core/ButtonLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(ButtonLayoutTest, WidthByKind) {
  const std::pair<int, int> kinds[] = {{0, 30}, {1, 90}, {2, 120}, {3, 200}, {4, 99}, {255, 99}};
  for (auto [kind, width] : kinds) EXPECT_EQ(ButtonWidth(static_cast<std::uint8_t>(kind)), width) << kind;
}

TEST(ButtonLayoutTest, TopIsCentredAndTruncated) {
  EXPECT_EQ(ButtonTop(32), 4);
  EXPECT_EQ(ButtonTop(23), 0);
  EXPECT_EQ(ButtonTop(20), -1);  // toward zero: -3 / 2
}

TEST(ButtonLayoutTest, GroupsGrowInwardFromTheirEnds) {
  EXPECT_EQ(NextLeftGroupLeft({}), 5);
  EXPECT_EQ(NextLeftGroupLeft({90}), 100);
  EXPECT_EQ(NextRightGroupLeft(713, 90, {}), 618);
  EXPECT_EQ(NextRightGroupLeft(713, 90, {90}), 523);
  EXPECT_EQ(NextRightGroupLeft(713, 120, {}), 588);
  EXPECT_EQ(NextRightGroupLeft(713, 90, {120}), 493);
}

}  // namespace
