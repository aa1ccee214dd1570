#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/UiDriver.h"

namespace {

// The build folder: three levels above this test program (tests\e2e\e2e_tests.exe).
std::string BuildFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  for (int level = 0; level < 3; ++level) folder.erase(folder.find_last_of('\\'));
  return folder;
}

// A child window of the wizard with this text, such as a check box.
HWND ChildCaptioned(HWND window, const std::string& caption) {
  struct Search {
    std::string Caption;
    HWND Found = nullptr;
  } search{caption};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        char text[256] = "";
        GetWindowTextA(child, text, sizeof text);
        if (search.Caption == text) search.Found = child;
        return search.Found ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// The open message box of the wizard's process, if there is one.
HWND OpenMessageBox(DWORD processId) {
  struct Search {
    DWORD Process;
    HWND Found = nullptr;
  } search{processId};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char windowClass[16] = "";
        GetClassNameA(window, windowClass, sizeof windowClass);
        if (owner == search.Process && std::string(windowClass) == "#32770") search.Found = window;
        return search.Found ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::string MessageText(HWND messageBox) {
  char text[512] = "";
  if (messageBox) GetDlgItemTextA(messageBox, 0xFFFF, text, sizeof text);
  return text;
}

class PagesRoadTest : public testing::Test {
 protected:
  void SetUp() override {
    screenshots_ = BuildFolder() + "\\screenshots";
    CreateDirectoryA(screenshots_.c_str(), nullptr);
    process_ = StartProgram(BuildFolder() + "\\Install_Pelmora.exe", "");
    ASSERT_NE(process_.Process, nullptr);
    driver_ = UiDriver(process_.Id);
    ASSERT_TRUE(driver_.WaitForWindow(10000)) << "no window";
  }
  void TearDown() override { EndProcess(process_); }

  // Waits for the page, saves a screenshot of it for people to look at, and says whether it came.
  bool Reach(const std::string& header, const std::string& file) {
    if (!driver_.WaitForPage(header, 10000)) {
      std::string box = MessageText(OpenMessageBox(process_.Id));
      ADD_FAILURE() << "expected the page \"" << header << "\", the header shows \""
                    << driver_.Header() << "\"" << (box.empty() ? "" : "; a message box says: ")
                    << box;
      return false;
    }
    // Whatever the wizard has yet to paint is painted before the picture is taken.
    RedrawWindow(driver_.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::string path = screenshots_ + "\\" + file + ".bmp";
    EXPECT_TRUE(SaveScreenshot(path)) << path;
    return true;
  }

  std::string screenshots_;
  StartedProcess process_;
  UiDriver driver_;
};

TEST_F(PagesRoadTest, ScreenshotOfEveryPageOnTheInstallationRoadAndExitCodeZero) {
  ASSERT_TRUE(Reach("Welcome", "01-welcome"));
  ASSERT_TRUE(driver_.Click("&Next"));
  ASSERT_TRUE(Reach("License agreement and disclaimer", "02-licence"));

  // Without the box ticked the licence page refuses to go on.
  ASSERT_TRUE(driver_.Click("&Next"));
  HWND messageBox = nullptr;
  for (int i = 0; i < 200 && !messageBox; ++i, Sleep(25)) messageBox = OpenMessageBox(process_.Id);
  ASSERT_NE(messageBox, nullptr) << "no message box";
  EXPECT_EQ(MessageText(messageBox),
            "You can only install Pelmora P2P in case you agree to this statement.\r"
            "Check the checkbox to confirm.\rOtherwise please press Exit");
  SendMessageTimeoutA(messageBox, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);

  HWND agree = ChildCaptioned(
      driver_.Window(), "&I have read the statement above and I fully agree with this statement.");
  ASSERT_NE(agree, nullptr);
  SendMessageTimeoutA(agree, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  ASSERT_TRUE(driver_.Click("&Next"));
  ASSERT_TRUE(Reach("Install or upgrade?", "03-install-or-upgrade"));

  const char* const road[][2] = {
      {"Choose installation folder", "04-installation-folder"},
      {"Choose download folder", "05-download-folder"},
      {"Select your internet-connection", "06-connection"},
      {"Ready to install", "07-summary"},
  };
  for (const auto& [header, file] : road) {
    ASSERT_TRUE(driver_.Click("&Next")) << "on the way to " << header;
    ASSERT_TRUE(Reach(header, file));
  }
  EXPECT_EQ(driver_.ButtonCaptions(),
            (std::vector<std::string>{"&Exit", "&Install Now", "&Previous"}));

  ASSERT_TRUE(driver_.Click("&Exit"));
  EXPECT_EQ(WaitForExit(process_, 5000), 0);
}

}  // namespace
