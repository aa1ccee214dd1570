#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "datafile/DataFileReader.h"
#include "core/RemovalList.h"
#include "app/RunLog.h"
#include "pages/PNL_Error.h"
#include "pages/PNL_InstallInstalling.h"
#include "tests/common/SystemState.h"
#include "tests/windows/app/WizardFixture.h"

namespace fs = std::filesystem;
using namespace system_state;

namespace {

// The programs the installer carries, as this build made them.
std::string BuiltProgram(const std::string& name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  fs::path folder = fs::path(path).parent_path().parent_path().parent_path().parent_path();
  return (folder / "programs" / name).string();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Records every text the percentage label shows.
LRESULT CALLBACK RecordText(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR seen) {
  if (message == WM_SETTEXT) {
    auto* texts = reinterpret_cast<std::vector<std::string>*>(seen);
    std::string text = reinterpret_cast<const char*>(lParam);
    if (texts->empty() || texts->back() != text) texts->push_back(text);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

class InstallRunTest : public WizardFixture {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    WizardFixture::SetUp();
    TApplication::Instance().MainWindow = Form().Handle();
    Clean();
    FBase = "C:\\install-run-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(FBase.c_str(), nullptr);
    ReleaseCode = "01";
    DownloadDir = "D:\\Downloads\\";
    ConnectionKind = 2;  // ISDN
  }
  void TearDown() override {
    TApplication::Instance().MainWindow = nullptr;
    WizardFixture::TearDown();
    Clean();
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    CoUninitialize();
  }

  // What a run leaves outside its installation folder.
  static void Clean() {
    std::error_code ignored;
    fs::remove_all(LocalData(), ignored);
    fs::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
    DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kRunRecordKey);
  }
  static std::string LocalData() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P"; }

  // Runs the installation as "Install Now" does and returns the texts the label showed.
  std::vector<std::string> Install() {
    auto& page = static_cast<TPNLInstallInstalling&>(Page("PNLInstallInstalling"));
    HWND label = FindWindowExA(page.Handle(), nullptr, "Static", nullptr);
    std::vector<std::string> texts;
    SetWindowSubclass(label, RecordText, 1, reinterpret_cast<DWORD_PTR>(&texts));
    tPmButtonBar& bar = *Form().PnlButtons;
    bar.Clear();
    bar.AddRightButton("&Install Now", 2, [&](TLbSpeedButton&) { Form().ShowPanel("PNLInstallInstalling", true); }, 2);
    Click("&Install Now");
    RemoveWindowSubclass(label, RecordText, 1);
    return texts;
  }

  std::string FBase;
};

TEST_F(InstallRunTest, PutsTheClientItsFilesLinksAndEntryInPlace) {
  InstallDir = FBase + "\\Pelmora P2P";
  CreateDesktopShortcut = false;
  std::vector<std::string> shown = Install();

  ASSERT_EQ(Header(), "Installation of Pelmora P2P ready") << ErrorPanel->ErrorText();
  const std::string install = FBase + "\\Pelmora P2P\\";
  const std::string data = LocalData() + "\\";
  EXPECT_EQ(InstallDir, install);
  EXPECT_EQ(AppDataDir, data);
  EXPECT_EQ(ClientDataDir, data);

  EXPECT_EQ(ReadFile(install + "Pelmora.Exe"), ReadFile(BuiltProgram("Pelmora.exe")));
  EXPECT_EQ(ReadFile(install + "Uninstall.Exe"), ReadFile(BuiltProgram("Uninstall.exe")));
  EXPECT_FALSE(fs::exists(install + "Pelmora.Dat"));

  TDataFileContent first = ReadDataFile(ReadFile(data + "Pelmora.Dat"));
  TDataFileContent second = ReadDataFile(ReadFile(install + "PMInst.Dat"));
  EXPECT_EQ(first.Header.ClientDataDir, data);
  EXPECT_EQ(first.Header.DownloadDir, "D:\\Downloads\\");
  EXPECT_EQ(second.Header.DownloadDir, "D:\\Downloads");
  EXPECT_EQ(first.Header.ConnectionNumber, 45);
  EXPECT_EQ(second.Header.ConnectionNumber, 45);
  EXPECT_EQ(first.Header.ReleaseCode, "01");
  EXPECT_NE(first.Header.Guid, second.Header.Guid);

  std::vector<std::string> list = Lines(ReadFile(install + "UnInstall.dat"));
  ASSERT_EQ(list.size(), 17u);
  EXPECT_EQ(list[0], "Pelmora P2P");
  EXPECT_EQ(list[1], "<P" + data + "*.PCF>");
  EXPECT_EQ(list[6], "<E" + data + ">");
  EXPECT_EQ(list[7], "<F" + install + "Pelmora.Exe>");
  EXPECT_EQ(list[13], "<E" + install + ">");
  EXPECT_EQ(list[14], "<E" + data + ">");
  EXPECT_EQ(list[15], std::string("<R") + kUninstallKey + ">");
  EXPECT_EQ(list[16], "<SPelmora P2P>");

  EXPECT_EQ(UninstallEntryValue("DisplayName"), "Pelmora P2P");
  EXPECT_EQ(UninstallEntryValue("UninstallString"), "\"" + install + "Uninstall.Exe\"");
  std::string menu = ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\";
  for (const char* link : {"Pelmora P2P.Lnk", "Pelmora P2P On the Web.Lnk", "Pelmora P2P Help.Lnk",
                           "Pelmora P2P Uninstall.Lnk"})
    EXPECT_TRUE(fs::exists(menu + link)) << link;
  EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));

  // The label: the client's share, then the fixed steps, the data file points twice, never 100.
  std::vector<std::string> tail = {"90% complete", "92% complete", "93% complete",
                                   "94% complete", "95% complete", "96% complete", "98% complete",
                                   "99% complete", "94% complete", "95% complete", "96% complete",
                                   "98% complete", "99% complete"};
  ASSERT_GE(shown.size(), tail.size() + 1);
  EXPECT_EQ(std::vector<std::string>(shown.end() - tail.size(), shown.end()), tail);
  EXPECT_EQ(shown.front(), "0% complete");
  for (const std::string& text : shown) EXPECT_NE(text, "100% complete");
}

TEST_F(InstallRunTest, ReplacesAnOldClientAndItsDataAndMakesTheDesktopLink) {
  const std::string install = FBase + "\\Old\\";
  fs::create_directories(install);
  for (const char* old : {"pelmora.exe", "pelmora.dat", "pelmora.bak"}) std::ofstream(install + old) << "old";
  InstallDir = install;
  CreateDesktopShortcut = true;
  Install();

  ASSERT_EQ(Header(), "Installation of Pelmora P2P ready") << ErrorPanel->ErrorText();
  EXPECT_EQ(ReadFile(install + "Pelmora.Exe"), ReadFile(BuiltProgram("Pelmora.exe")));
  EXPECT_FALSE(fs::exists(install + "pelmora.dat"));
  EXPECT_FALSE(fs::exists(install + "pelmora.bak"));
  EXPECT_TRUE(fs::exists(install + "PMInst.Dat"));
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));
  std::vector<std::string> list = Lines(ReadFile(install + "UnInstall.dat"));
  ASSERT_EQ(list.size(), 18u);
  EXPECT_EQ(list[17], "<TPelmora P2P.Lnk>");

  // Installing once more over the same folder gives the same, consistent installation.
  Form().ShowPanel("PnlWelcome", false);
  Install();
  ASSERT_EQ(Header(), "Installation of Pelmora P2P ready") << ErrorPanel->ErrorText();
  EXPECT_EQ(ReadFile(install + "Pelmora.Exe"), ReadFile(BuiltProgram("Pelmora.exe")));
  EXPECT_EQ(Lines(ReadFile(install + "UnInstall.dat")).size(), 18u);
  EXPECT_NO_THROW(ReadDataFile(ReadFile(LocalData() + "\\Pelmora.Dat")));
}

TEST_F(InstallRunTest, WithoutAPerUserFolderTheDataGoesToTheInstallationFolder) {
  std::ofstream(LocalData()) << "a file where the folder belongs";
  const std::string install = FBase + "\\Here\\";
  InstallDir = install;
  Install();

  ASSERT_EQ(Header(), "Installation of Pelmora P2P ready") << ErrorPanel->ErrorText();
  EXPECT_EQ(AppDataDir, install);
  EXPECT_EQ(ReadDataFile(ReadFile(install + "Pelmora.Dat")).Header.ClientDataDir, install);
  EXPECT_EQ(RemovalListLines(install, install, install, false),
            Lines(ReadFile(install + "UnInstall.dat")));
}

TEST_F(InstallRunTest, ShortcutsThatCannotBeSavedArePassedOverOneByOne) {
  // A file stands where the start menu's folder belongs, so no start-menu shortcut can be saved
  // there; the desktop shortcut after them can.
  const std::string menu = ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P";
  std::ofstream(menu) << "in the way";
  const std::string install = FBase + "\\NoLinks\\";
  const std::string log = FBase + "\\install.log";
  OpenRunLog(log);
  InstallDir = install;
  CreateDesktopShortcut = true;
  std::vector<std::string> shown = Install();
  CloseRunLog();
  EXPECT_EQ(ReadFile(menu), "in the way");
  DeleteFileA(menu.c_str());

  ASSERT_EQ(Header(), "Installation of Pelmora P2P ready") << ErrorPanel->ErrorText();
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "92% complete"), 1);
  EXPECT_NO_THROW(ReadDataFile(ReadFile(LocalData() + "\\Pelmora.Dat")));
  EXPECT_TRUE(fs::exists(install + "PMInst.Dat"));
  EXPECT_EQ(Lines(ReadFile(install + "UnInstall.dat")).size(), 18u);
  // The log names each shortcut that was passed over.
  const std::string text = ReadFile(log);
  for (const char* link : {"Pelmora P2P.Lnk (", "Pelmora P2P On the Web.Lnk (", "Pelmora P2P Help.Lnk (",
                           "Pelmora P2P Uninstall.Lnk ("})
    EXPECT_NE(text.find(menu + "\\" + link + "Cannot create file"), std::string::npos) << link << "\n" << text;
  EXPECT_NE(text.find("Step \"Shortcuts\" done"), std::string::npos) << text;
}

// A failure that ends the run leaves the computer as it was before it: the files and folders
// the run made, the data folder, the shortcuts and the uninstall entry all go again.
TEST_F(InstallRunTest, AFailureOfTheUninstallerOrItsListUndoesTheWholeRun) {
  struct Case {
    const char* Blocked;  // a folder stands where this file belongs
    const char* Message;  // how the error page's message begins
  };
  const Case cases[] = {
      {"Uninstall.Exe", "Cannot create file \""},
      {"UnInstall.dat", "I/O error "},
  };
  for (const Case& c : cases) {
    Clean();
    const std::string install = FBase + "\\Blocked " + c.Blocked + "\\";
    ASSERT_TRUE(fs::create_directories(install + c.Blocked)) << c.Blocked;
    std::vector<std::string> places = ProductPlaces();
    places.push_back(FBase);
    const Snapshot before = TakeSnapshot(places);
    InstallDir = install;
    CreateDesktopShortcut = true;
    Install();
    EXPECT_EQ(Header(), "Error") << c.Blocked;
    EXPECT_EQ(ErrorPanel->ErrorText().rfind(c.Message, 0), 0u) << c.Blocked << ": " << ErrorPanel->ErrorText();
    EXPECT_EQ(TakeSnapshot(places), before) << c.Blocked;
  }
}

// Installing over an installation and failing puts the earlier one back as it was: its
// programs, data files, list, shortcuts and entry.
TEST_F(InstallRunTest, AFailureOverAnEarlierInstallationPutsItBack) {
  const std::string install = FBase + "\\Earlier\\";
  InstallDir = install;
  CreateDesktopShortcut = true;
  Install();
  ASSERT_EQ(Header(), "Installation of Pelmora P2P ready") << ErrorPanel->ErrorText();
  // The earlier installation's list has become a folder, so the second run cannot write its own.
  ASSERT_TRUE(DeleteFileA((install + "UnInstall.dat").c_str()));
  ASSERT_TRUE(fs::create_directories(install + "UnInstall.dat"));
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", REG_SZ, "Earlier", 8);
  std::vector<std::string> places = ProductPlaces();
  places.push_back(FBase);
  const Snapshot before = TakeSnapshot(places);
  Sleep(50);

  Form().ShowPanel("PnlWelcome", false);
  InstallDir = install;
  Install();

  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(TakeSnapshot(places), before);
}

TEST_F(InstallRunTest, AFolderThatCannotBeMadeAnywhereEndsOnTheErrorPageBeforeWriting) {
  // Files stand where the chosen folder and every fallback would go.
  std::vector<std::string> blockers = {FBase + "\\Blocked", ShellFolder(CSIDL_PROGRAM_FILES) + "\\PelmoraP2P",
                                       LocalData(), "C:\\Pelmora"};
  for (const std::string& blocker : blockers) std::ofstream(blocker) << "in the way";
  InstallDir = FBase + "\\Blocked\\Pelmora P2P";
  Install();
  for (const std::string& blocker : blockers) DeleteFileA(blocker.c_str());

  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(ErrorPanel->ErrorText().rfind("I/O error ", 0), 0u) << ErrorPanel->ErrorText();
  EXPECT_EQ(UninstallEntryValue("DisplayName"), "<missing>");
  EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P"));
}

TEST_F(InstallRunTest, TheUninstallerLeavesNothingOfTheInstallationBehind) {
  const std::string install = FBase + "\\Pelmora P2P\\";
  std::ofstream(FBase + "\\keep.txt") << "not ours";
  InstallDir = install;
  CreateDesktopShortcut = true;
  Install();
  ASSERT_EQ(Header(), "Installation of Pelmora P2P ready") << ErrorPanel->ErrorText();

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = "\"" + install + "Uninstall.Exe\" /quiet";
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // The uninstaller's own program goes last, by a helper that waits for it to end.
  for (int i = 0; i < 150 && fs::exists(install); ++i) Sleep(100);

  EXPECT_FALSE(fs::exists(install));
  EXPECT_FALSE(fs::exists(LocalData()));
  EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P"));
  EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));
  EXPECT_EQ(UninstallEntryValue("DisplayName"), "<missing>");
  EXPECT_TRUE(fs::exists(FBase + "\\keep.txt"));
}

}  // namespace
