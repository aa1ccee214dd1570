#include <array>

#include "core/Random.h"
#include "pages/PNL_Welcome.h"
#include "tests/windows/pages/PageFixture.h"

namespace {

class WelcomePageTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    ShowPage("PnlWelcome");
  }
  TPnlWelcome& Welcome() { return static_cast<TPnlWelcome&>(Page("PnlWelcome")); }
  TControl& Word(int word) { return Get<TControl>("PnlWelcome", "lblMove" + std::to_string(word)); }
  std::array<POINT, 9> Positions() {
    std::array<POINT, 9> positions{};
    for (int word = 1; word <= 8; ++word) positions[word] = PositionOf(Word(word));
    return positions;
  }
  // Words 2 to 8 stand in the middle at a speed that needs no new draws, so that a tick's
  // random numbers all go to word 1.
  void QuietOtherWords() {
    for (int word = 2; word <= 8; ++word) {
      Word(word).SetPosition(150, 150);
      Welcome().MoveUp[word] = Welcome().MoveLeft[word] = false;
      Welcome().SpeedY[word] = Welcome().SpeedX[word] = 2;
    }
  }
};

bool SamePoint(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

TEST_F(WelcomePageTest, WordsAreRealWindowsWithTheirCaptionsColoursAndStartPositions) {
  struct Expected {
    const char* Caption;
    COLORREF Color;
    POINT Start;
  };
  const Expected words[] = {
      {"Download", Colors::Red, {32, 16}},     {"Search", Colors::Red, {64, 88}},
      {"Share", Colors::Red, {136, 304}},      {"P2P", Colors::Yellow, {88, 192}},
      {"Easy", RGB(128, 0, 0), {248, 112}},    {"Secure", Colors::White, {232, 200}},
      {"Encryption", Colors::Yellow, {256, 328}}, {"Fast", RGB(128, 0, 0), {264, 24}},
  };
  // A fresh page, whose words have not moved yet.
  TPnlWelcome fresh;
  fresh.CreateHandle(&Page("PnlWelcome"));
  fresh.Timer1.SetEnabled(false);
  for (int word = 1; word <= 8; ++word) {
    HWND label = FindWindowExA(fresh.Handle(), nullptr, nullptr, words[word - 1].Caption);
    ASSERT_NE(label, nullptr) << words[word - 1].Caption;
    TControl& control = *TControl::FromHandle(label);
    EXPECT_EQ(control.FontColor(), words[word - 1].Color) << words[word - 1].Caption;
    EXPECT_TRUE(SamePoint(PositionOf(control), words[word - 1].Start)) << words[word - 1].Caption;
    EXPECT_EQ(control.Font().Height, 21);
    EXPECT_TRUE(control.Font().Bold);
  }
}

TEST_F(WelcomePageTest, TicksFollowTheEdgeAndSpeedRules) {
  Welcome().Timer1.SetEnabled(false);
  QuietOtherWords();
  const int W = 513;
  const int H = Page("PnlWelcome").Height();
  const int w = Word(1).Width();
  const int h = Word(1).Height();

  struct Case {
    const char* What;
    POINT Start;
    bool Up, Left;
    int SpeedY, SpeedX;
    std::uint32_t Seed;
  };
  // The random draws of a tick, in order: after a bounce, a direction (0..1) and two speeds.
  struct Draws {
    int D[6];
  };
  auto drawsFor = [](std::uint32_t seed) {
    RandSeed(seed);
    Draws d{};
    for (int i = 0; i < 6; i += 3) {
      d.D[i] = Random(2);
      d.D[i + 1] = Random(5) + 1;
      d.D[i + 2] = Random(5) + 1;
    }
    return d;
  };
  auto withMinimum = [](int y, int x) { return y + x < 3 ? std::pair{y + 1, x + 1} : std::pair{y, x}; };

  // Outside the rectangle (left of it and below it): pulled back by the left and then the
  // bottom edge; the bottom edge's draws are the ones that stay.
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    Word(1).SetPosition(-40, H + 60);
    Welcome().MoveLeft[1] = true;
    Welcome().MoveUp[1] = false;
    Welcome().SpeedY[1] = Welcome().SpeedX[1] = 3;
    Draws d = drawsFor(seed);
    RandSeed(seed);
    Welcome().Timer1Timer();
    EXPECT_TRUE(SamePoint(PositionOf(Word(1)), {0, H - h})) << "seed " << seed;
    EXPECT_TRUE(Welcome().MoveUp[1]);
    EXPECT_EQ(Welcome().MoveLeft[1], d.D[3] == 0);
    auto [y, x] = withMinimum(d.D[4], d.D[5]);
    EXPECT_EQ(Welcome().SpeedY[1], y);
    EXPECT_EQ(Welcome().SpeedX[1], x);
  }

  // The bottom-right corner: the right edge first, then the bottom edge, whose draws win.
  for (std::uint32_t seed : {4u, 5u, 6u}) {
    Word(1).SetPosition(W - w, H - h);
    Welcome().MoveLeft[1] = Welcome().MoveUp[1] = false;
    Welcome().SpeedY[1] = Welcome().SpeedX[1] = 2;
    Draws d = drawsFor(seed);
    RandSeed(seed);
    Welcome().Timer1Timer();
    EXPECT_TRUE(SamePoint(PositionOf(Word(1)), {W - w, H - h})) << "seed " << seed;
    EXPECT_TRUE(Welcome().MoveUp[1]);
    EXPECT_EQ(Welcome().MoveLeft[1], d.D[3] == 0);
    auto [y, x] = withMinimum(d.D[4], d.D[5]);
    EXPECT_EQ(Welcome().SpeedY[1], y);
    EXPECT_EQ(Welcome().SpeedX[1], x);
  }

  // Free flight: no draws; speeds 1 and 1 become 2 and 2, a sum of 3 is left alone.
  const Case free[] = {
      {"speeds 1 and 1", {200, 150}, true, true, 1, 1, 7},
      {"speeds 1 and 2", {200, 150}, false, true, 1, 2, 7},
      {"speeds 2 and 1", {200, 150}, true, false, 2, 1, 7},
  };
  for (const Case& c : free) {
    Word(1).SetPosition(c.Start.x, c.Start.y);
    Welcome().MoveUp[1] = c.Up;
    Welcome().MoveLeft[1] = c.Left;
    Welcome().SpeedY[1] = static_cast<std::uint8_t>(c.SpeedY);
    Welcome().SpeedX[1] = static_cast<std::uint8_t>(c.SpeedX);
    RandSeed(c.Seed);
    Welcome().Timer1Timer();
    POINT expected{c.Start.x + (c.Left ? -c.SpeedX : c.SpeedX),
                   c.Start.y + (c.Up ? -c.SpeedY : c.SpeedY)};
    EXPECT_TRUE(SamePoint(PositionOf(Word(1)), expected)) << c.What;
    auto [y, x] = withMinimum(c.SpeedY, c.SpeedX);
    EXPECT_EQ(Welcome().SpeedY[1], y) << c.What;
    EXPECT_EQ(Welcome().SpeedX[1], x) << c.What;
    int next = Random(1000000);
    RandSeed(c.Seed);
    EXPECT_EQ(next, Random(1000000)) << c.What << ": a tick without a bounce draws nothing";
  }

  // A bounce off the top edge whose draws are speeds 1 and 1: they become 2 and 2 at once.
  std::uint32_t slowSeed = 0;
  while (drawsFor(slowSeed).D[1] != 1 || drawsFor(slowSeed).D[2] != 1) ++slowSeed;
  Word(1).SetPosition(200, 3);
  Welcome().MoveUp[1] = true;
  Welcome().MoveLeft[1] = false;
  Welcome().SpeedY[1] = 5;
  Welcome().SpeedX[1] = 1;
  Draws d = drawsFor(slowSeed);
  RandSeed(slowSeed);
  Welcome().Timer1Timer();
  EXPECT_TRUE(SamePoint(PositionOf(Word(1)), {201, 0}));
  EXPECT_FALSE(Welcome().MoveUp[1]);
  EXPECT_EQ(Welcome().MoveLeft[1], d.D[0] == 0);
  EXPECT_EQ(Welcome().SpeedY[1], 2);
  EXPECT_EQ(Welcome().SpeedX[1], 2);
}

TEST_F(WelcomePageTest, WordsMoveUntilNextAndStandStillAfterComingBack) {
  ASSERT_TRUE(Welcome().Timer1.Enabled()) << "the words move from the start";
  std::array<POINT, 9> before = Positions();
  int changed = 0;
  PumpUntil([&] {
    std::array<POINT, 9> moved = Positions();
    changed = 0;
    for (int word = 1; word <= 8; ++word) changed += !SamePoint(before[word], moved[word]);
    return changed == 8;
  });
  EXPECT_EQ(changed, 8) << "every word moves on the timer";

  ClickAndSettle("&Next");
  ASSERT_EQ(Header(), "License agreement and disclaimer");
  EXPECT_FALSE(Welcome().Timer1.Enabled());
  ClickAndSettle("&Previous");
  ASSERT_EQ(Header(), "Welcome");
  std::array<POINT, 9> back = Positions();
  Pump(400);
  std::array<POINT, 9> later = Positions();
  for (int word = 1; word <= 8; ++word)
    EXPECT_TRUE(SamePoint(back[word], later[word])) << "word " << word << " still moves";
}

// The picture as its image shows it at the display's scale, with nothing over it.
class TPictureShown {
 public:
  explicit TPictureShown(const TImage& image) {
    RECT area;
    GetClientRect(image.Handle(), &area);
    HDC screen = GetDC(nullptr);
    FCanvas = CreateCompatibleBitmap(screen, area.right, area.bottom);
    ReleaseDC(nullptr, screen);
    FDc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDc, FCanvas);
    image.DrawInto(FDc, {0, 0});
  }
  ~TPictureShown() {
    SelectObject(FDc, FOld);
    DeleteObject(FCanvas);
    DeleteDC(FDc);
  }
  COLORREF At(int x, int y) const { return GetPixel(FDc, x, y); }

 private:
  HBITMAP FCanvas;
  HDC FDc;
  HGDIOBJ FOld;
};

TEST_F(WelcomePageTest, WordsShowThePictureThroughTheirBackground) {
  Welcome().Timer1.SetEnabled(false);
  Word(1).SetPosition(120, 100);
  Pump(100);
  auto& image = Get<TImage>("PnlWelcome", "Image2");
  ASSERT_NE(image.Bitmap(), nullptr);
  const TPictureShown picture(image);
  const POINT word = PositionOf(Word(1));
  RECT box;
  GetClientRect(Word(1).Handle(), &box);
  HDC screen = GetDC(Word(1).Handle());
  int samePixels = 0, redPixels = 0, pixels = 0;
  for (int y = 0; y < box.bottom; y += 2) {
    for (int x = 0; x < box.right; x += 2) {
      COLORREF shown = GetPixel(screen, x, y);
      ++pixels;
      samePixels += Near(shown, picture.At(word.x + x, word.y + y));
      redPixels += shown == Colors::Red;
    }
  }
  ReleaseDC(Word(1).Handle(), screen);
  EXPECT_GT(samePixels, pixels / 2) << "most of the word's box shows the picture beneath";
  EXPECT_GT(redPixels, 10) << "the word itself is drawn in red";
}

TEST_F(WelcomePageTest, AMovingWordLeavesNothingOfItselfBehind) {
  Welcome().Timer1.SetEnabled(false);
  for (int word = 1; word <= 8; ++word) Word(word).SetPosition(400, 330);
  Pump(100);
  auto& image = Get<TImage>("PnlWelcome", "Image2");
  const TPictureShown picture(image);
  // The word steps down and to the right by a pixel of the design at a time, as the timer
  // moves it; the places it stood on show the picture again.
  RECT first;
  for (int step = 0; step <= 12; ++step) {
    Word(1).SetPosition(100 + step, 100 + step);
    Pump(20);
    if (step == 0) GetWindowRect(Word(1).Handle(), &first);
  }
  Pump(100);
  RECT last;
  GetWindowRect(Word(1).Handle(), &last);
  MapWindowPoints(nullptr, image.Handle(), reinterpret_cast<POINT*>(&first), 2);
  MapWindowPoints(nullptr, image.Handle(), reinterpret_cast<POINT*>(&last), 2);
  HDC shown = GetDC(image.Handle());
  int left = 0, different = 0;
  for (int y = first.top; y < first.bottom; ++y) {
    for (int x = first.left; x < first.right; ++x) {
      if (x >= last.left && y >= last.top) continue;  // where the word stands now
      ++left;
      different += !Near(GetPixel(shown, x, y), picture.At(x, y));
    }
  }
  ReleaseDC(image.Handle(), shown);
  ASSERT_GT(left, 100);
  EXPECT_EQ(different, 0) << "of " << left << " pixels the word has left";
}

}  // namespace
