#include "core/LogLine.h"

#include <gtest/gtest.h>

namespace {

TEST(LogLineTest, StampsTheTextAndKeepsItOnOneLine) {
  EXPECT_EQ(LogLine({2026, 12, 10, 9, 5, 3, 42}, "Step"), "2026-12-10 09:05:03.042 Step\r\n");
  EXPECT_EQ(LogLine({2026, 1, 1, 0, 0, 0, 0}, "Cannot create\r\nfile\tx"),
            "2026-01-01 00:00:00.000 Cannot create  file x\r\n");
}

}  // namespace
