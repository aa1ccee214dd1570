#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/Exceptions.h"
#include "app/ProgramStart.h"
#include "platform/SystemLibrary.h"
#include "tests/driver/MessageBoxes.h"

namespace {

TEST(ProgramStartTest, LibrariesBesideTheProgramAreNotLoadedOnceRestricted) {
  HMODULE beside = LoadLibraryA("pelmora_planted.dll");
  ASSERT_NE(beside, nullptr) << "the probe library must lie beside the test program";
  FreeLibrary(beside);

  RestrictDllSearchToSystemFolder();

  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("pelmora_planted.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  HMODULE system = LoadLibraryA("wininet.dll");
  EXPECT_NE(system, nullptr) << "system libraries still load";
  if (system) FreeLibrary(system);
}

}  // namespace

namespace {

// A failure before the message loop, while the main window and its pages are made, is shown
// in a message box with its text and ends the program with exit code 1.
TEST(ProgramStartTest, AFailureWhileTheWindowIsMadeIsShownAndEndsWithExitCodeOne) {
  int exitCode = 0;
  const std::string shown =
      MessageShownBy([&] { exitCode = RunStart([]() -> int { throw EInOutError(112); }); });
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(shown, "I/O error 112");
  EXPECT_EQ(RunStart([] { return 7; }), 7) << "a start that ends normally keeps its exit code";
}

}  // namespace
