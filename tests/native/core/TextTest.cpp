#include "core/Text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The helpers stand in for printf in the programs: they must give exactly what it gives.
TEST(TextTest, ZeroPaddedWritesWhatPrintfWrites) {
  const struct {
    unsigned Value;
    int Width;
  } cases[] = {{0, 2}, {7, 2}, {42, 2}, {42, 3}, {2026, 4}, {999, 3}, {12345, 4}, {0, 1}, {4294967295u, 2}};
  for (const auto& c : cases) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%0*u", c.Width, c.Value);
    EXPECT_EQ(ZeroPadded(c.Value, static_cast<std::size_t>(c.Width)), expected) << c.Value << " in " << c.Width;
  }
}

TEST(TextTest, HexByteWritesWhatPrintfWrites) {
  for (unsigned value = 0; value < 256; ++value) {
    char expected[4];
    std::snprintf(expected, sizeof expected, "%02X", value);
    EXPECT_EQ(HexByte(static_cast<unsigned char>(value)), expected);
  }
}

}  // namespace
