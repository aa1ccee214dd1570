#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/Exceptions.h"
#include "app/ProgramStart.h"

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
  std::atomic<bool> stop{false};
  std::string shown;
  std::thread answer([&] {
    while (!stop) {
      HWND box = nullptr;
      EnumWindows(
          [](HWND window, LPARAM found) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (process != GetCurrentProcessId() || std::string(name) != "#32770" || !IsWindowVisible(window))
              return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&box));
      if (box) {
        char text[512] = "";
        GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
        shown = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(20);
    }
  });
  const int exitCode = RunStart([]() -> int { throw EInOutError(112); });
  stop = true;
  answer.join();
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(shown, "I/O error 112");
  EXPECT_EQ(RunStart([] { return 7; }), 7) << "a start that ends normally keeps its exit code";
}

}  // namespace
