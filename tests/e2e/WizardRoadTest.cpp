#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/driver/BuildFolder.h"
#include "tests/driver/UiDriver.h"
#include "tests/driver/Waiting.h"

namespace {

// The installer of this build.
std::string InstallerPath() { return BuildFolder() + "Install_Pelmora.exe"; }

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Whether the task bar shows a button for a top-level window. Wine's shows one for every visible
// window without an owner; Windows' also for a visible owned window that asks for one
// (WS_EX_APPWINDOW), and none for a tool window that does not.
bool HasTaskBarButton(HWND window) {
  if (!IsWindowVisible(window)) return false;
  const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  if (exStyle & WS_EX_APPWINDOW) return true;
  if (exStyle & WS_EX_TOOLWINDOW) return false;
  return GetWindow(window, GW_OWNER) == nullptr;
}

// The texts of the task-bar buttons of a process's windows.
std::vector<std::string> TaskBarTexts(DWORD processId) {
  struct Search {
    DWORD Process;
    std::vector<std::string> Texts;
  } search{processId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search.Process && HasTaskBarButton(window)) search.Texts.push_back(TextOf(window));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Texts;
}

class WizardRoadTest : public testing::Test {
 protected:
  void Start(const std::string& parameters = "") {
    FProcess = StartProgram(InstallerPath(), parameters);
    ASSERT_NE(FProcess.Process, nullptr) << "cannot start " << InstallerPath();
    FDriver = UiDriver(FProcess.Id);
    ASSERT_TRUE(FDriver.WaitForWindow(kPatientMs)) << "no window";
  }
  void TearDown() override { EndProcess(FProcess); }

  StartedProcess FProcess;
  UiDriver FDriver;
};

TEST_F(WizardRoadTest, WelcomeLeadsToTheLicenceAndExitEndsTheProgram) {
  Start();
  ASSERT_TRUE(FDriver.WaitForPage("Welcome", kPatientMs)) << FDriver.Header();
  const std::vector<std::string> welcomeButtons{"&Exit", "&Next"};
  EXPECT_EQ(FDriver.WaitForButtonCaptions(welcomeButtons, kPatientMs), welcomeButtons);

  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(FDriver.WaitForPage("License agreement and disclaimer", kPatientMs)) << FDriver.Header();
  const std::vector<std::string> licenceButtons{"&Exit", "&Next", "&Previous"};
  EXPECT_EQ(FDriver.WaitForButtonCaptions(licenceButtons, kPatientMs), licenceButtons);

  ASSERT_TRUE(FDriver.Click("&Exit"));
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0);
}

TEST_F(WizardRoadTest, TheTitleBarIsDrawnAfterAPageChangeEndsTheFadeIn) {
  // A page change switches the fade-in's translucency off, which takes the frame's drawing with
  // it until the frame is drawn anew.
  Start();
  ASSERT_TRUE(FDriver.WaitForPage("Welcome", kPatientMs));
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(FDriver.WaitForPage("License agreement and disclaimer", kPatientMs));
  EXPECT_TRUE(WaitUntil([&] { return TitleBarDrawn(FDriver.Window()); }, kPatientMs))
      << "the display shows no title bar over the wizard";
}

TEST_F(WizardRoadTest, PreviousGoesBackToTheWelcomePage) {
  Start();
  // A person clicks once the page stands in view, not while the window is still being made.
  ASSERT_TRUE(FDriver.WaitForPage("Welcome", kPatientMs)) << FDriver.Header();
  ASSERT_TRUE(FDriver.Click("&Next"));
  ASSERT_TRUE(FDriver.WaitForPage("License agreement and disclaimer", kPatientMs));
  ASSERT_TRUE(FDriver.Click("&Previous"));
  EXPECT_TRUE(FDriver.WaitForPage("Welcome", kPatientMs)) << FDriver.Header();
}

TEST_F(WizardRoadTest, UnattendedUpgradeSwitchGoesStraightToTheUpgradePage) {
  Start("/AutoUpdate \"C:\\Program Files\\Pelmora P2P\\\"");
  EXPECT_TRUE(FDriver.WaitForHeader("Upgrading Pelmora P2P", kPatientMs)) << FDriver.Header();
  EXPECT_TRUE(FDriver.ButtonCaptions().empty());
}

TEST_F(WizardRoadTest, SwitchThatIsNotFirstRunsTheInteractiveWizard) {
  Start("/silent /autoupdate C:\\Apps");
  EXPECT_TRUE(FDriver.WaitForHeader("Welcome", kPatientMs)) << FDriver.Header();
  const std::vector<std::string> welcomeButtons{"&Exit", "&Next"};
  EXPECT_EQ(FDriver.WaitForButtonCaptions(welcomeButtons, kPatientMs), welcomeButtons);
  // Past the moment the unattended upgrade would have started, the wizard is still there.
  Sleep(1500);
  EXPECT_EQ(FDriver.Header(), "Welcome");
}

// Switches whose folder is empty or longer than any path: never a crash or a hang, but the
// interactive wizard, which the user leaves as always.
TEST_F(WizardRoadTest, UnattendedUpgradeSwitchWithoutAUsableFolderRunsTheInteractiveWizard) {
  std::string blanks = "C:\\";
  while (blanks.size() < 300) blanks += "Pelmora P2P ";
  struct Case {
    const char* Name;
    std::string Parameters;
  };
  const Case cases[] = {
      {"the switch alone", "/autoupdate"},
      {"an empty quoted folder", "/autoupdate \"\""},
      {"a folder of 300 characters", "/autoupdate C:\\" + std::string(297, 'p')},
      {"a quoted folder of 300 characters with blanks", "/autoupdate \"" + blanks + "\""},
      {"a folder as long as a command line may be", "/autoupdate C:\\" + std::string(32000, 'p')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_NO_FATAL_FAILURE(Start(c.Parameters));
    EXPECT_TRUE(FDriver.WaitForPage("Welcome", kPatientMs)) << FDriver.Header();
    const std::vector<std::string> welcomeButtons{"&Exit", "&Next"};
    EXPECT_EQ(FDriver.WaitForButtonCaptions(welcomeButtons, kPatientMs), welcomeButtons);
    // Past the moment the unattended upgrade would have started, the wizard is still there.
    Sleep(1500);
    EXPECT_EQ(FDriver.Header(), "Welcome");
    ASSERT_TRUE(FDriver.Click("&Exit"));
    EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0) << "the wizard did not end as it does without the switch";
    EndProcess(FProcess);
  }
}

TEST_F(WizardRoadTest, TaskBarShowsTheApplicationTitleAndTheWindowItsOwnCaption) {
  Start();
  HWND window = FDriver.Window();
  EXPECT_EQ(TextOf(window), "Install Pelmora P2P 4.44");
  HWND owner = GetWindow(window, GW_OWNER);
  ASSERT_NE(owner, nullptr) << "an unowned main window has a task-bar button of its own";
  EXPECT_EQ(TextOf(owner), "Install Pelmora P2P");
  EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(TaskBarTexts(FProcess.Id), std::vector<std::string>{"Install Pelmora P2P"});
  RECT bounds;
  GetWindowRect(owner, &bounds);
  EXPECT_TRUE(IsRectEmpty(&bounds)) << "the application window is never seen";
}

TEST_F(WizardRoadTest, WindowStandsInTheMiddleOfTheScreen) {
  Start();
  RECT window;
  GetWindowRect(FDriver.Window(), &window);
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2);
  EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2);
}

TEST_F(WizardRoadTest, ScreenshotShowsTheWindow) {
  Start();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + "pelmora-e2e-shot.bmp";
  ASSERT_TRUE(SaveScreenshot(path));
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_GT(data.nFileSizeLow, 780u * 509u * 3u);
  DeleteFileA(path.c_str());
}

}  // namespace
