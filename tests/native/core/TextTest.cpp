#include "core/Text.h"

#include <gtest/gtest.h>

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

}  // namespace
