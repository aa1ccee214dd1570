#include "core/Text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(TextTest, ForEachLineHandsOnEveryLineWithItsNumber) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\ntwo", {"one", "two"}},
      {"one\n\n\r\ntwo", {"one", "", "", "two"}},  // empty lines count
      {"\n", {""}},
      {"one\r", {"one"}},                 // a last line may end in "\r" alone
      {"one\rtwo\n", {"one\rtwo"}},       // a lone "\r" inside ends no line
      {"one\r\r\n", {"one\r"}},           // only the "\r" of the line's end goes
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    const int count = ForEachLine(c.text, [&lines](std::string_view line, int number) {
      EXPECT_EQ(number, static_cast<int>(lines.size()) + 1);
      lines.emplace_back(line);
    });
    EXPECT_EQ(lines, c.lines) << "\"" << c.text << "\"";
    EXPECT_EQ(count, static_cast<int>(c.lines.size())) << "\"" << c.text << "\"";
  }
}

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
