#pragma once
// The end-to-end roads: where the build is, the wizard's child windows and message boxes as a
// person sees them, and a fixture that starts the real installer and photographs its pages.

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/BuildFolder.h"
#include "tests/driver/MessageBoxes.h"
#include "tests/driver/TestScale.h"
#include "tests/driver/UiDriver.h"
#include "tests/driver/Waiting.h"

namespace road {

// A child window of the wizard with this text, such as a check box.
inline HWND ChildCaptioned(HWND window, const std::string& caption) {
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

// The visible child window of this class (the edit box of the page in view).
inline HWND VisibleChildOfClass(HWND window, const std::string& windowClass) {
  struct Search {
    std::string Class;
    HWND Found = nullptr;
  } search{windowClass};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, search.Class.c_str()) == 0 && IsWindowVisible(child)) search.Found = child;
        return search.Found ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// The failure message of the error page: the text beside its "Copy to clipboard" button, apart
// from the page's heading.
inline std::string ErrorPageMessage(HWND window) {
  const HWND copy = ChildCaptioned(window, "Copy to clipboard");
  if (!copy) return {};
  std::string message;
  for (HWND child = GetWindow(GetParent(copy), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char text[512] = "";
    SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    const std::string shown = text;
    if (child != copy && shown != "Install could not continue - An error occured") message = shown;
  }
  return message;
}

// The process of that program that this one started, if it has started one. A program may have
// started others: the first window of a session starts the desktop's process, explorer.exe.
inline DWORD ChildOf(DWORD parent, const std::string& program) {
  DWORD child = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more && !child; more = Process32Next(snapshot, &entry))
    if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent &&
        lstrcmpiA(entry.szExeFile, program.c_str()) == 0)
      child = entry.th32ProcessID;
  CloseHandle(snapshot);
  return child;
}

// The real installer of this build, started for one test; Reach waits for a page and saves a
// screenshot of it under the build folder's screenshots folder.
class RoadTest : public testing::Test {
 protected:
  void SetUp() override {
    // The pictures of each display scale apart, for people to compare.
    FScreenshots = BuildFolder() + "screenshots" + (TestDpi() == 96 ? "" : "-" + std::to_string(TestDpi()) + "dpi");
    CreateDirectoryA(FScreenshots.c_str(), nullptr);
    FProcess = StartProgram(InstallerPath(), Parameters());
    ASSERT_NE(FProcess.Process, nullptr);
    FDriver = UiDriver(FProcess.Id);
    ASSERT_TRUE(FDriver.WaitForWindow(kPatientMs)) << "no window";
  }
  void TearDown() override {
    EndProcess(FRestarted);
    EndProcess(FProcess);
  }

  // The installer that the test starts: this build's.
  virtual std::string InstallerPath() const { return BuildFolder() + "Install_Pelmora.exe"; }
  // Its command line after the program's path: none, as a person starts it.
  virtual std::string Parameters() const { return ""; }

  // Waits for the page, saves a screenshot of it for people to look at, and says whether it came.
  bool Reach(const std::string& header, const std::string& file, DWORD timeoutMs = kPatientMs) {
    if (!FDriver.WaitForPage(header, timeoutMs)) {
      std::string box = FindMessageBox(FProcess.Id).Text;
      ADD_FAILURE() << "expected the page \"" << header << "\", the header shows \""
                    << FDriver.Header() << "\"" << (box.empty() ? "" : "; a message box says: ")
                    << box;
      return false;
    }
    // Kept above the windows of tests that run beside this one, and with whatever it has yet
    // to paint painted; the wizard has handled all of that before the next click.
    SetWindowPos(FDriver.Window(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(FDriver.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessageTimeoutA(FDriver.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    std::string path = FScreenshots + "\\" + file + ".bmp";
    EXPECT_TRUE(SaveScreenshot(path)) << path;
    return true;
  }

  // Waits for the wizard's message box, reads it and answers OK, as a person would.
  std::string AnswerMessage(DWORD timeoutMs = kPatientMs) {
    return ReadAndAnswerMessageBox(FProcess.Id, timeoutMs);
  }

  // Waits for a child window of the wizard with this text; null when none came.
  HWND WaitForChildCaptioned(const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = ChildCaptioned(FDriver.Window(), caption)) != nullptr; },
              kPatientMs);
    return found;
  }

  // Ticks the licence box, as a person does before "&Next" lets them on.
  void AgreeToTheLicence() {
    HWND agree = WaitForChildCaptioned(
        "&I have read the statement above and I fully agree with this statement.");
    ASSERT_NE(agree, nullptr) << "no licence box";
    SendMessageTimeoutA(agree, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  }

  // Clicks the wizard's check box or radio button so captioned, as a person does.
  void Tick(const std::string& caption) {
    HWND box = WaitForChildCaptioned(caption);
    ASSERT_NE(box, nullptr) << caption;
    SendMessageTimeoutA(box, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  }

  // Types into the edit box of the page in view.
  void Type(const std::string& text) {
    HWND edit = nullptr;
    WaitUntil([&] { return (edit = VisibleChildOfClass(FDriver.Window(), "Edit")) != nullptr; },
              kPatientMs);
    ASSERT_NE(edit, nullptr) << "no edit box for " << text;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
  }

  // The plain road from the welcome page to the summary: licence agreed, install chosen, the
  // two folders typed, the connection kept. Screenshots are numbered first + 1 to first + 7.
  void WalkToSummary(const std::string& installDir, const std::string& downloadDir, int first) {
    auto shot = [first](int step, const char* name) { return std::to_string(first + step) + "-" + name; };
    ASSERT_TRUE(Reach("Welcome", shot(1, "welcome")));
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("License agreement and disclaimer", shot(2, "licence")));
    AgreeToTheLicence();
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("Install or upgrade?", shot(3, "install-or-upgrade")));
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("Choose installation folder", shot(4, "installation-folder")));
    Type(installDir);
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("Choose download folder", shot(5, "download-folder")));
    Type(downloadDir);
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("Select your internet-connection", shot(6, "connection")));
    ASSERT_TRUE(FDriver.Click("&Next"));
    ASSERT_TRUE(Reach("Ready to install", shot(7, "summary")));
  }

  // Waits for the error page with its two buttons and a failure message that begins so.
  void ExpectErrorPage(const std::string& failure, const std::string& file) {
    ASSERT_TRUE(Reach("Error", file, 60000));
    const std::vector<std::string> errorButtons{"&Exit", "&Restart"};
    EXPECT_EQ(FDriver.WaitForButtonCaptions(errorButtons, kPatientMs), errorButtons);
    std::string shown;
    EXPECT_TRUE(WaitUntil([&] { return (shown = ErrorPageMessage(FDriver.Window())).rfind(failure, 0) == 0; },
                          kPatientMs))
        << "the error page shows \"" << shown << "\", not the failure \"" << failure << "\"";
  }

  // "&Restart" on the error page: the failed wizard ends with exit code 0 and a fresh one, which
  // the test ends in its tear-down, comes up on the welcome page.
  void RestartFromTheErrorPage() {
    ASSERT_TRUE(FDriver.Click("&Restart"));
    EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0) << "the failed wizard ends at once with exit code 0";
    DWORD restartedId = 0;
    const std::string installer = InstallerPath(), program = installer.substr(installer.find_last_of('\\') + 1);
    WaitUntil([&] { return (restartedId = ChildOf(FProcess.Id, program)) != 0; }, kPatientMs);
    ASSERT_NE(restartedId, 0u) << "no new instance was started";
    FRestarted = {OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                              restartedId),
                  restartedId};
    UiDriver fresh(restartedId);
    ASSERT_TRUE(fresh.WaitForWindow(kPatientMs)) << "the new instance shows no wizard";
    EXPECT_TRUE(fresh.WaitForPage("Welcome", kPatientMs)) << fresh.Header();
    const std::vector<std::string> welcomeButtons{"&Exit", "&Next"};
    EXPECT_EQ(fresh.WaitForButtonCaptions(welcomeButtons, kPatientMs), welcomeButtons);
  }

  std::string FScreenshots;
  StartedProcess FProcess;
  StartedProcess FRestarted;  // the wizard that "&Restart" started
  UiDriver FDriver;
};

}  // namespace road
