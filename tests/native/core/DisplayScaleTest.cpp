#include "core/DisplayScale.h"

#include <gtest/gtest.h>

namespace {

const int kScales[] = {96, 120, 144, 168, 192, 240};

TEST(DisplayScaleTest, LengthsAreScaledToTheNearestPixelWithHalvesAwayFromZero) {
  struct Case {
    int Design, Dpi, Scaled;
  };
  const Case cases[] = {
      {780, 96, 780},  {780, 120, 975},  {780, 144, 1170}, {780, 192, 1560}, {509, 120, 636},
      {509, 144, 764}, {509, 192, 1018}, {1, 120, 1},      {2, 120, 3},      {0, 144, 0},
      {-1, 144, -2},   {-70, 120, -88},  {70, 120, 88},    {19, 144, 29},    {713, 168, 1248},
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleToDpi(c.Design, c.Dpi), c.Scaled) << c.Design << " at " << c.Dpi;
}

TEST(DisplayScaleTest, SpansThatMeetInTheDesignMeetAtEveryScale) {
  for (int dpi : kScales) {
    for (int start = -80; start <= 80; ++start) {
      for (int length = 0; length <= 60; ++length) {
        const TPixelSpan first = ScaleSpan(start, length, dpi);
        const TPixelSpan next = ScaleSpan(start + length, 7, dpi);
        ASSERT_EQ(first.Start + first.Length, next.Start) << start << "+" << length << " at " << dpi;
        ASSERT_GE(first.Length, 0);
      }
    }
  }
  EXPECT_EQ(ScaleSpan(40, 712, 96), (TPixelSpan{40, 712}));
  EXPECT_EQ(ScaleSpan(40, 712, 144), (TPixelSpan{60, 1068}));
  EXPECT_EQ(ScaleSpan(1, 1, 120), (TPixelSpan{1, 2}));
}

TEST(DisplayScaleTest, ATextMeasuredAtTheScaleFitsTheDesignLengthThatCoversIt) {
  for (int dpi : kScales) {
    for (int pixels = 0; pixels <= 400; ++pixels) {
      const int design = DesignLengthCovering(pixels, dpi);
      for (int start = 0; start < 24; ++start)
        ASSERT_GE(ScaleSpan(start, design, dpi).Length, pixels) << pixels << " at " << dpi << " from " << start;
      if (design > 0) {
        ASSERT_LT(static_cast<long long>(design - 1) * dpi, static_cast<long long>(pixels) * 96)
            << "one design pixel less would do for " << pixels << " at " << dpi;
      }
    }
  }
}

TEST(DisplayScaleTest, TheWindowTakesTheDisplaysScaleOrTheLargestThatFitsTheWorkArea) {
  struct Case {
    const char* What;
    int DisplayDpi;
    TPixelSize Frame, WorkArea;
    int Dpi;
  };
  const TPixelSize design{780, 509};
  const Case cases[] = {
      {"100 % on a small screen", 96, {6, 25}, {1024, 768}, 96},
      {"150 % with room", 144, {6, 34}, {1920, 1200}, 144},
      {"200 % with room", 192, {6, 43}, {1920, 1200}, 192},
      // 1560 + 6 > 1280: the widest that fits is 156 (1268 + 6), 157 gives 1276 + 6.
      {"200 % on 1280 x 1024", 192, {6, 43}, {1280, 1024}, 156},
      // A task bar takes 40 of 768: 130 gives 689 + 34, 131 gives 695 + 34 > 728.
      {"150 % on 1366 x 728", 144, {6, 34}, {1366, 728}, 130},
      {"125 % that just fits", 120, {6, 36}, {981, 672}, 120},
      {"125 % one pixel too narrow", 120, {6, 36}, {980, 672}, 119},
      {"a work area smaller than the design", 144, {6, 34}, {640, 480}, 96},
  };
  for (const Case& c : cases) EXPECT_EQ(LayoutDpi(c.DisplayDpi, design, c.Frame, c.WorkArea), c.Dpi) << c.What;
}

}  // namespace
