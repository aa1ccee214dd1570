#include "core/PictureScaling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/Exceptions.h"

namespace {

// 24-bit rows as a decoder gives them, each padded to four bytes.
struct TRows {
  int Width, Height;
  std::size_t Stride;
  std::vector<std::uint8_t> Bytes;
  TRows(int width, int height)
      : Width(width), Height(height), Stride((static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}),
        Bytes(Stride * static_cast<std::size_t>(height), 0xEE) {}
  void Set(int x, int y, TBgr colour) {
    std::uint8_t* pixel = &Bytes[Stride * static_cast<std::size_t>(y) + 3 * static_cast<std::size_t>(x)];
    pixel[0] = colour.Blue;
    pixel[1] = colour.Green;
    pixel[2] = colour.Red;
  }
  TPicture Picture(std::optional<TBgr> seeThrough = std::nullopt) const {
    return PictureFromBgr(Bytes.data(), Width, Height, Stride, seeThrough);
  }
};

struct TPixel {
  int Blue, Green, Red, Opacity;
  bool operator==(const TPixel&) const = default;
};

TPixel At(const TPicture& picture, int x, int y) {
  const std::uint8_t* p = &picture.Pixels[(static_cast<std::size_t>(y) * picture.Width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

const TBgr kNavy{128, 0, 0};
const TBgr kWhite{255, 255, 255};
const TBgr kSky{240, 202, 166};

TEST(PictureScalingTest, RowsBecomeOpaquePixelsAndTheSeeThroughColourClear) {
  TRows rows(3, 2);
  rows.Set(0, 0, kNavy);
  rows.Set(1, 0, kSky);
  rows.Set(2, 0, kWhite);
  rows.Set(0, 1, kSky);
  rows.Set(1, 1, {1, 2, 3});
  rows.Set(2, 1, {240, 202, 167});  // one step from the see-through colour: opaque
  const TPicture opaque = rows.Picture();
  EXPECT_EQ(At(opaque, 1, 0), (TPixel{240, 202, 166, 255}));
  EXPECT_EQ(At(opaque, 1, 1), (TPixel{1, 2, 3, 255}));
  const TPicture clear = rows.Picture(kSky);
  EXPECT_EQ(At(clear, 0, 0), (TPixel{128, 0, 0, 255}));
  EXPECT_EQ(At(clear, 1, 0), (TPixel{0, 0, 0, 0}));
  EXPECT_EQ(At(clear, 0, 1), (TPixel{0, 0, 0, 0}));
  EXPECT_EQ(At(clear, 2, 1), (TPixel{240, 202, 167, 255}));
}

TEST(PictureScalingTest, TheSameSizeGivesThePictureUnchanged) {
  TRows rows(17, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 17; ++x)
      rows.Set(x, y, {static_cast<std::uint8_t>(x * 15), static_cast<std::uint8_t>(y * 28),
                      static_cast<std::uint8_t>((x * 7 + y * 31) % 256)});
  const TPicture picture = rows.Picture();
  const TPicture same = ScalePicture(picture, 17, 9);
  EXPECT_EQ(same.Pixels, picture.Pixels);
}

TEST(PictureScalingTest, AnEvenColourStaysEvenAtEverySize) {
  TRows rows(10, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) rows.Set(x, y, kSky);
  const std::pair<int, int> sizes[] = {{13, 8}, {15, 9}, {20, 12}, {5, 3}, {7, 11}, {1, 1}};
  for (auto [width, height] : sizes) {
    const TPicture scaled = ScalePicture(rows.Picture(), width, height);
    ASSERT_EQ(scaled.Pixels.size(), static_cast<std::size_t>(width * height * 4));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(At(scaled, x, y), (TPixel{240, 202, 166, 255})) << width << "x" << height << " at " << x << "," << y;
  }
}

TEST(PictureScalingTest, GrowingBlendsAnEdgeInsteadOfDoublingItsPixels) {
  // Navy on the left half, white on the right, grown to twice and one and a half times.
  TRows rows(8, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 8; ++x) rows.Set(x, y, x < 4 ? kNavy : kWhite);
  for (int width : {16, 12}) {
    const TPicture grown = ScalePicture(rows.Picture(), width, 4);
    int blended = 0;
    int previousRed = -1;
    for (int x = 0; x < width; ++x) {
      const TPixel pixel = At(grown, x, 1);
      EXPECT_GE(pixel.Red, previousRed) << "the edge rises evenly from navy to white";
      previousRed = pixel.Red;
      blended += pixel.Red > 0 && pixel.Red < 255;
    }
    EXPECT_EQ(At(grown, 0, 0), (TPixel{128, 0, 0, 255})) << width;
    EXPECT_EQ(At(grown, width - 1, 3), (TPixel{255, 255, 255, 255})) << width;
    EXPECT_EQ(blended, 2) << "the two pixels at the edge lie between navy and white at width " << width;
  }
}

TEST(PictureScalingTest, ShrinkingTakesTheMeanOfThePixelsCovered) {
  TRows rows(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) rows.Set(x, y, (x + y) % 2 ? kWhite : TBgr{0, 0, 0});
  const TPicture half = ScalePicture(rows.Picture(), 2, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(At(half, x, y), (TPixel{128, 128, 128, 255}));
  // Three pixels into two: the middle one is split between both.
  TRows line(3, 1);
  line.Set(0, 0, {0, 0, 0});
  line.Set(1, 0, {90, 90, 90});
  line.Set(2, 0, {210, 210, 210});
  const TPicture two = ScalePicture(line.Picture(), 2, 1);
  EXPECT_EQ(At(two, 0, 0).Red, 30);   // (0 + 90 / 2) / 1.5
  EXPECT_EQ(At(two, 1, 0).Red, 170);  // (45 + 210) / 1.5
}

TEST(PictureScalingTest, SeeThroughEdgesFadeOutInThePicturesOwnColour) {
  // A navy square in the middle of a see-through border, grown to twice its size.
  TRows rows(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) rows.Set(x, y, x >= 2 && x < 4 && y >= 2 && y < 4 ? kNavy : kSky);
  const TPicture grown = ScalePicture(rows.Picture(kSky), 12, 12);
  EXPECT_EQ(At(grown, 0, 0), (TPixel{0, 0, 0, 0}));
  EXPECT_EQ(At(grown, 6, 6), (TPixel{128, 0, 0, 255}));
  int fading = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const TPixel pixel = At(grown, x, y);
      ASSERT_LE(pixel.Blue, pixel.Opacity);
      ASSERT_EQ(pixel.Green, 0);
      ASSERT_EQ(pixel.Red, 0) << "no sky colour bleeds into the edge";
      if (pixel.Opacity > 0 && pixel.Opacity < 255) {
        ++fading;
        // Shown over any background the edge pixel has the square's own navy, only fainter.
        EXPECT_NEAR(pixel.Blue * 255.0 / pixel.Opacity, 128.0, 2.0) << x << "," << y;
      }
    }
  }
  EXPECT_GT(fading, 0);
}

TEST(PictureScalingTest, ASizeWithoutPixelsIsRefused) {
  TRows rows(2, 2);
  EXPECT_THROW(ScalePicture(rows.Picture(), 0, 3), Exception);
  EXPECT_THROW(ScalePicture(rows.Picture(), 3, -1), Exception);
  EXPECT_THROW(ScalePicture(TPicture{}, 3, 3), Exception);
}

}  // namespace
