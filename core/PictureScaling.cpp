#include "core/PictureScaling.h"

#include <algorithm>
#include <cmath>

#include "core/Exceptions.h"

namespace {

constexpr int kChannels = 4;

struct TTap {
  int Index;
  float Weight;
};

// For each pixel of a line of the result, the source pixels it is made of and their weights.
std::vector<std::vector<TTap>> LineTaps(int sourceLength, int length) {
  std::vector<std::vector<TTap>> taps(static_cast<std::size_t>(length));
  const double ratio = static_cast<double>(sourceLength) / length;
  for (int i = 0; i < length; ++i) {
    std::vector<TTap>& pixel = taps[static_cast<std::size_t>(i)];
    if (length >= sourceLength) {
      // Growing: the pixel's centre lies between two source centres, nearer one of them.
      const double at = (i + 0.5) * ratio - 0.5;
      const int first = static_cast<int>(std::floor(at));
      const float toSecond = static_cast<float>(at - first);
      pixel.push_back({std::clamp(first, 0, sourceLength - 1), 1.0f - toSecond});
      if (toSecond > 0) pixel.push_back({std::clamp(first + 1, 0, sourceLength - 1), toSecond});
    } else {
      // Shrinking: the source pixels under the pixel, each by the share of it that they cover.
      const double from = i * ratio;
      const double to = (i + 1) * ratio;
      for (int j = static_cast<int>(std::floor(from)); j < to && j < sourceLength; ++j) {
        const double covered = std::min<double>(to, j + 1) - std::max<double>(from, j);
        if (covered > 0) pixel.push_back({j, static_cast<float>(covered / ratio)});
      }
    }
  }
  return taps;
}

}  // namespace

TPicture PictureFromBgr(const std::uint8_t* rows, int width, int height, std::size_t stride,
                        std::optional<TBgr> seeThrough) {
  TPicture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * kChannels)};
  std::uint8_t* out = picture.Pixels.data();
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = rows + stride * static_cast<std::size_t>(y);
    for (int x = 0; x < width; ++x, out += kChannels) {
      const TBgr colour{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
      if (seeThrough && colour == *seeThrough) continue;  // left clear: no colour, no opacity
      out[0] = colour.Blue;
      out[1] = colour.Green;
      out[2] = colour.Red;
      out[3] = 255;
    }
  }
  return picture;
}

TPicture ScalePicture(const TPicture& source, int width, int height) {
  if (width < 1 || height < 1 || source.Width < 1 || source.Height < 1)
    throw Exception("Cannot scale a picture of " + std::to_string(source.Width) + " x " +
                    std::to_string(source.Height) + " pixels to " + std::to_string(width) + " x " +
                    std::to_string(height));
  // At its own size every pixel is its one source pixel, as the taps below would have it; the
  // pages show most pictures so at 100 %, where the sums cost their first paint many milliseconds.
  if (width == source.Width && height == source.Height) return source;
  const auto across = LineTaps(source.Width, width);
  const auto down = LineTaps(source.Height, height);

  // First along the rows, then down the columns of that result.
  std::vector<float> wide(static_cast<std::size_t>(width) * static_cast<std::size_t>(source.Height) * kChannels);
  for (int y = 0; y < source.Height; ++y) {
    const std::uint8_t* row = source.Pixels.data() + static_cast<std::size_t>(y) * source.Width * kChannels;
    float* out = wide.data() + static_cast<std::size_t>(y) * width * kChannels;
    for (int x = 0; x < width; ++x)
      for (const TTap& tap : across[static_cast<std::size_t>(x)])
        for (int c = 0; c < kChannels; ++c)
          out[x * kChannels + c] += tap.Weight * row[tap.Index * kChannels + c];
  }

  TPicture result{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * kChannels)};
  for (int y = 0; y < height; ++y) {
    std::uint8_t* out = result.Pixels.data() + static_cast<std::size_t>(y) * width * kChannels;
    for (int x = 0; x < width; ++x) {
      float sum[kChannels] = {};
      for (const TTap& tap : down[static_cast<std::size_t>(y)])
        for (int c = 0; c < kChannels; ++c)
          sum[c] += tap.Weight * wide[(static_cast<std::size_t>(tap.Index) * width + x) * kChannels + c];
      const auto opacity = static_cast<std::uint8_t>(std::clamp(std::lround(sum[3]), 0L, 255L));
      out[x * kChannels + 3] = opacity;
      // A premultiplied colour never exceeds its opacity, whatever the rounding did.
      for (int c = 0; c < 3; ++c)
        out[x * kChannels + c] = static_cast<std::uint8_t>(std::clamp(std::lround(sum[c]), 0L, static_cast<long>(opacity)));
    }
  }
  return result;
}
