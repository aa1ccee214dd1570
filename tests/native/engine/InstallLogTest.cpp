#include "engine/InstallLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A log whose clock moves on as the test says and whose lines are kept.
class InstallLogTest : public testing::Test {
 protected:
  InstallLogTest()
      : FLog([this](const std::string& line) { FLines.push_back(line); },
             {[this] { return TLogTime{2026, 1, 2, 3, 4, 5, FMs % 1000}; },
              [this] { return static_cast<std::int64_t>(FMs); }}) {}

  std::vector<std::string> FLines;
  int FMs = 7;
  TInstallLog FLog;
};

TEST_F(InstallLogTest, RecordsTheStartTheChoicesEachStepWithItsResultAndTimeAndTheEnd) {
  FLog.Started("silent", R"("C:\Install_Pelmora.exe" /quiet)");
  FLog.Choices({R"(C:\P\)", R"(D:\Dl\)", 4, false});
  FLog.StepStarted("Client program");
  FMs += 250;
  FLog.StepEnded("Client program", TStepResult::Done, R"(C:\P\Pelmora.Exe)");
  FLog.StepStarted("Shortcuts");
  FMs += 3;
  FLog.StepEnded("Shortcuts", TStepResult::Abandoned, "Cannot create file");
  FLog.StepStarted("Data file");
  FLog.StepEnded("Data file", TStepResult::Failed, "I/O error 112");
  FLog.Failed("Installation failed", "I/O error 112", 7);
  FLog.StepStarted("Uninstall entry");
  FLog.StepEnded("Uninstall entry", TStepResult::Done, "");
  FLog.Finished(0);

  const std::vector<std::string> expected = {
      "2026-01-02 03:04:05.007 Install Pelmora P2P 4.44 started (silent)\r\n",
      "2026-01-02 03:04:05.007 Command line: \"C:\\Install_Pelmora.exe\" /quiet\r\n",
      "2026-01-02 03:04:05.007 Installation folder: C:\\P\\\r\n",
      "2026-01-02 03:04:05.007 Download folder: D:\\Dl\\\r\n",
      "2026-01-02 03:04:05.007 Connection kind: 4 (cable)\r\n",
      "2026-01-02 03:04:05.007 Desktop shortcut: no\r\n",
      "2026-01-02 03:04:05.007 Step \"Client program\" started\r\n",
      "2026-01-02 03:04:05.257 Step \"Client program\" done in 250 ms: C:\\P\\Pelmora.Exe\r\n",
      "2026-01-02 03:04:05.257 Step \"Shortcuts\" started\r\n",
      "2026-01-02 03:04:05.260 Step \"Shortcuts\" failed in 3 ms, the installation goes on without it: "
      "Cannot create file\r\n",
      "2026-01-02 03:04:05.260 Step \"Data file\" started\r\n",
      "2026-01-02 03:04:05.260 Step \"Data file\" failed in 0 ms: I/O error 112\r\n",
      "2026-01-02 03:04:05.260 Installation failed: I/O error 112 (exit code 7)\r\n",
      "2026-01-02 03:04:05.260 Step \"Uninstall entry\" started\r\n",
      "2026-01-02 03:04:05.260 Step \"Uninstall entry\" done in 0 ms\r\n",
      "2026-01-02 03:04:05.260 Installation finished (exit code 0)\r\n",
  };
  EXPECT_EQ(FLines, expected);
}

TEST_F(InstallLogTest, NamesTheConnectionKindsOfThePage) {
  for (auto [kind, keyword] : {std::pair{0, "modem"}, {3, "dsl"}, {8, "unknown"}, {42, "unknown"}}) {
    FLines.clear();
    FLog.Choices({"", "", kind, true});
    ASSERT_EQ(FLines.size(), 4u);
    EXPECT_EQ(FLines[2], "2026-01-02 03:04:05.007 Connection kind: " + std::to_string(kind) + " (" +
                             keyword + ")\r\n");
    EXPECT_EQ(FLines[3], "2026-01-02 03:04:05.007 Desktop shortcut: yes\r\n");
  }
}

}  // namespace
