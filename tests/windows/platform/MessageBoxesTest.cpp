#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/MessageBoxes.h"
#include "tests/driver/MessageBoxes.h"
#include "tests/driver/Waiting.h"

namespace {

// A top-level window of this thread, gone again once the case has used it.
HWND MakeWindow() {
  return CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Shows the box as the program does, while another thread reads it and presses OK as a person
// would. Returns the box as it was on screen; an empty one when none came.
ShownMessageBox BoxShownBy(HWND owner, const std::string& text, int& result) {
  ShownMessageBox shown;
  std::atomic<bool> finished{false};
  std::thread answerer([&] {
    ShownMessageBox box;
    WaitUntil([&] { return finished || (box = FindMessageBox(GetCurrentProcessId())); }, INFINITE);
    if (!box) return;
    shown = box;
    AnswerMessageBox(box, IDOK, kPatientMs);
  });
  result = ShowMessageBox(owner, text, "Install Pelmora P2P", MB_OK);
  finished = true;
  answerer.join();
  return shown;
}

TEST(ShowMessageBox, ShowsTheTextOverALiveOwnerAndWithoutOneWhenTheOwnerIsGone) {
  const HWND live = MakeWindow();
  const HWND gone = MakeWindow();
  ASSERT_TRUE(live && gone);
  DestroyWindow(gone);
  struct Case {
    const char* name;
    HWND owner;
    HWND expectedOwner;
  };
  const Case cases[] = {
      {"live owner", live, live},
      {"no owner", nullptr, nullptr},
      {"owner destroyed before the box", gone, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int result = 0;
    const ShownMessageBox box = BoxShownBy(c.owner, "First line\rSecond line", result);
    ASSERT_TRUE(box) << "no message box came";
    EXPECT_EQ(box.Text, "First line\rSecond line");
    EXPECT_EQ(box.Caption, "Install Pelmora P2P");
    EXPECT_EQ(box.Owner, c.expectedOwner);
    EXPECT_EQ(result, IDOK);
  }
  DestroyWindow(live);
}

}  // namespace
