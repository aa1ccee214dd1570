#pragma once
// Pictures scaled smoothly to the size the display shows them at. Growing, each pixel of the
// result blends the four source pixels nearest to it; shrinking, it is the mean of the source
// pixels it covers. Colours are premultiplied by their opacity, so that see-through pixels lend
// no colour to the edges of what stands beside them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct TPicture {
  int Width = 0;
  int Height = 0;
  // Blue, green, red and opacity of each pixel, rows from the top; blue, green and red are
  // premultiplied by the opacity (0 to 255), as the system's alpha blending takes them.
  std::vector<std::uint8_t> Pixels;
};

// A blue, green, red colour of a 24-bit picture.
struct TBgr {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  bool operator==(const TBgr&) const = default;
};

// The picture of 24-bit rows (blue, green, red; stride bytes from one row to the next, top row
// first), opaque, or see-through wherever a pixel has the colour seeThrough.
TPicture PictureFromBgr(const std::uint8_t* rows, int width, int height, std::size_t stride,
                        std::optional<TBgr> seeThrough = std::nullopt);

// The picture scaled to width x height (each at least 1).
TPicture ScalePicture(const TPicture& source, int width, int height);
