#include "tests/windows/app/WizardFixture.h"

namespace {

using ButtonBarTest = WizardFixture;

TEST_F(ButtonBarTest, RightGroupGrowsLeftwardFromTheBarsRightEnd) {
  tPmButtonBar& bar = *Form().PnlButtons;
  bar.Clear();
  bar.AddLeftButton("&Exit", 1, nullptr, 1);
  bar.AddRightButton("&Next", 2, nullptr, 1);
  bar.AddRightButton("&Previous", 3, nullptr, 1);
  EXPECT_EQ(ShownButtons(), AtTestScale({{"&Exit", 5, 4, 90}, {"&Next", 618, 4, 90}, {"&Previous", 523, 4, 90}}));

  bar.Clear();
  bar.AddRightButton("&Install Now", 2, nullptr, 2);
  bar.AddRightButton("&Previous", 3, nullptr, 1);
  EXPECT_EQ(ShownButtons(), AtTestScale({{"&Install Now", 588, 4, 120}, {"&Previous", 493, 4, 90}}));
}

TEST_F(ButtonBarTest, ButtonsCarryTheirIdAndHeight) {
  tPmButtonBar& bar = *Form().PnlButtons;
  bar.Clear();
  bar.AddLeftButton("&A", 7, nullptr, 0);
  bar.AddLeftButton("&B", 8, nullptr, 3);
  bar.AddLeftButton("&C", 9, nullptr, 9);
  EXPECT_EQ(ShownButtons(), AtTestScale({{"&A", 5, 4, 30}, {"&B", 40, 4, 200}, {"&C", 245, 4, 99}}));
  EXPECT_EQ(bar.Button(2).Tag, 8);
  RECT bounds;
  GetWindowRect(bar.Button(2).Handle(), &bounds);
  EXPECT_EQ(bounds.bottom - bounds.top, ScaleSpan(4, 23, TestDpi()).Length);
}

TEST_F(ButtonBarTest, AGroupHoldsTwelveButtonsAndIgnoresMore) {
  tPmButtonBar& bar = *Form().PnlButtons;
  bar.Clear();
  for (int i = 1; i <= 13; ++i) bar.AddLeftButton("B" + std::to_string(i), i, nullptr, 0);
  EXPECT_EQ(bar.LeftCount(), 12);
  std::vector<ShownButton> shown = ShownButtons();
  ASSERT_EQ(shown.size(), 12u);
  EXPECT_EQ(shown.back(), (ShownButton{"B12", 5 + 11 * 35, 4, 30}));
  for (const ShownButton& button : shown) EXPECT_NE(button.Caption, "B13");
}

TEST_F(ButtonBarTest, ClearHidesEverythingAndKeepsTheColours) {
  tPmButtonBar& bar = *Form().PnlButtons;
  bar.Clear();
  EXPECT_TRUE(ShownButtons().empty());
  EXPECT_EQ(bar.LeftCount(), 0);
  EXPECT_EQ(bar.RightCount(), 0);

  bar.AddRightButton("&Next", 2, nullptr, 1);
  TLbSpeedButton& button = bar.Button(13);
  EXPECT_EQ(button.FaceColor, RGB(0, 0, 128));
  EXPECT_EQ(button.FontColor(), RGB(255, 255, 255));
  EXPECT_EQ(button.LightColor, RGB(0, 0, 255));
  EXPECT_EQ(button.ShadowColor, RGB(0, 255, 0));
  EXPECT_TRUE(button.Font().Bold);
}

TEST_F(ButtonBarTest, SetColorsRecoloursTheButtonsInUse) {
  tPmButtonBar& bar = *Form().PnlButtons;
  bar.SetColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), RGB(5, 5, 5));
  TLbSpeedButton& exit = bar.Button(1);
  EXPECT_EQ(exit.FontColor(), RGB(1, 1, 1));
  EXPECT_EQ(exit.ShadowColor, RGB(2, 2, 2));
  EXPECT_EQ(exit.FaceColor, RGB(3, 3, 3));
  EXPECT_EQ(exit.LightColor, RGB(4, 4, 4));
  EXPECT_EQ(bar.BackgroundColor(), RGB(5, 5, 5));
}

TEST_F(ButtonBarTest, ButtonIsDrawnFlatInItsColours) {
  HWND next = ButtonCaptioned("&Next").Handle();
  RedrawWindow(next, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(next);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255)) << "light edge";
  EXPECT_EQ(GetPixel(dc, 89, 22), RGB(0, 255, 0)) << "shadow edge";
  EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0, 0, 128)) << "face";
  ReleaseDC(next, dc);
}

TEST_F(ButtonBarTest, ClickCallsTheHandlerWithTheButton) {
  tPmButtonBar& bar = *Form().PnlButtons;
  bar.Clear();
  int clickedTag = 0;
  bar.AddRightButton("&Go", 42, [&](TLbSpeedButton& sender) { clickedTag = sender.Tag; }, 1);
  Click("&Go");
  EXPECT_EQ(clickedTag, 42);

  clickedTag = 0;
  EXPECT_TRUE(bar.ClickAccessKey('g'));
  EXPECT_EQ(clickedTag, 42);
  EXPECT_FALSE(bar.ClickAccessKey('x'));
}

}  // namespace
