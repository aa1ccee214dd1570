#include "core/Progress.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressTest, PercentRoundsToNearestWithTiesToEven) {
  struct Case {
    long long position, maximum;
    int percent;
  };
  const Case cases[] = {
      {0, 100, 0},     {1, 200, 0},  // 0.5 goes to the even 0
      {3, 200, 2},                   // 1.5 goes to 2
      {5, 200, 2},                   // 2.5 goes to 2
      {7, 200, 4},                   // 3.5 goes to 4
      {6156599, 7944099, 77},        // the client program on the installing page
      {2190336, 7944099, 28},        // its copying phase
      {7944099, 7944099, 100},       {1, 3, 33}, {2, 3, 67},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PercentComplete(c.position, c.maximum), c.percent) << c.position << "/" << c.maximum;
}

TEST(ProgressTest, EmptyScaleShowsZero) { EXPECT_EQ(PercentComplete(5, 0), 0); }

}  // namespace
