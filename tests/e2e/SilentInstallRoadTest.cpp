// The silent installation as a script or a system administrator runs it: Install_Pelmora.exe
// with "/quiet" and its switches, started from outside; the test checks its exit code, that no
// window came up, and what it left on disk, in the registry and in its log.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <sddl.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "datafile/DataFileReader.h"
#include "tests/common/PlantedLinks.h"
#include "tests/common/SystemState.h"
#include "tests/driver/UiDriver.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;
namespace fs = std::filesystem;

// A drive of 1 MiB (tests/driver/small-drive.sh), too small for the client program.
constexpr char kSmallDrive[] = "Q:\\";
// A drive of 1 MiB mounted read-only.
constexpr char kReadOnlyDrive[] = "J:\\";
// A drive letter that the test prefix does not map.
constexpr char kNoDrive[] = "L:\\";

bool HaveSmallDrive() {
  ULARGE_INTEGER total{};
  return GetDiskFreeSpaceExA(kSmallDrive, nullptr, &total, nullptr) && total.QuadPart <= 2 * 1024 * 1024;
}

struct SilentRun {
  long ExitCode = -1;
  std::vector<std::string> Windows;  // captions of the visible windows it showed
};

// Whether a visible top-level window of the process is on the screen, and its caption.
std::vector<std::string> VisibleWindowsOf(DWORD processId) {
  struct Search {
    DWORD Id;
    std::vector<std::string> Found;
  } search{processId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search.Id && IsWindowVisible(window)) {
          char caption[256] = "";
          GetWindowTextA(window, caption, sizeof caption);
          search.Found.push_back(caption);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

int LineCount(const std::string& text) {
  int lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
  return lines;
}

std::string TemporaryFolder() {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

// The logs that silent installations without "/log=" left in the temporary folder.
std::set<std::string> OwnLogs() {
  std::set<std::string> logs;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((TemporaryFolder() + "Install_Pelmora-*.log").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return logs;
  do logs.insert(TemporaryFolder() + found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return logs;
}

class SilentInstallRoadTest : public testing::Test {
 protected:
  void SetUp() override {
    CleanUp();
    CreateDirectoryA(FBase.c_str(), nullptr);
    FLogsBefore = OwnLogs();
  }
  void TearDown() override {
    CleanUp();
    for (const std::string& log : NewLogs()) DeleteFileA(log.c_str());
  }
  void CleanUp() {
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    fs::remove_all(ProposedInstallDir(), ignored);
    fs::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
    fs::remove_all(DataDir(), ignored);
    DeleteFileA(DesktopLink().c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kRunRecordKey);
    if (HaveSmallDrive()) fs::remove_all(std::string(kSmallDrive) + "Pelmora P2P", ignored);
  }

  // Runs the installer with these parameters to its end, watching for windows all the while.
  SilentRun Run(const std::string& parameters) {
    StartedProcess process = StartProgram(BuildFolder() + "\\Install_Pelmora.exe", parameters);
    SilentRun run;
    if (!process.Process) {
      ADD_FAILURE() << "the installer did not start";
      return run;
    }
    WaitUntil([&] {
      for (const std::string& caption : VisibleWindowsOf(process.Id)) run.Windows.push_back(caption);
      return WaitForSingleObject(process.Process, 0) == WAIT_OBJECT_0;
    }, 120000);
    run.ExitCode = WaitForExit(process, 0);
    EndProcess(process);
    return run;
  }

  static std::string ProposedInstallDir() { return ShellFolder(CSIDL_PROGRAM_FILES) + "\\Pelmora P2P\\"; }
  static std::string DataDir() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\"; }
  static std::string DesktopLink() { return ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"; }
  // The logs that the test's runs made of their own, oldest name first.
  std::vector<std::string> NewLogs() const {
    std::vector<std::string> logs;
    for (const std::string& log : OwnLogs())
      if (!FLogsBefore.count(log)) logs.push_back(log);
    return logs;
  }
  // The one log that the test's run made of its own; empty (and a failure) unless there is one.
  std::string NewLog() const {
    const std::vector<std::string> logs = NewLogs();
    EXPECT_EQ(logs.size(), 1u) << "the run should have made one log of its own";
    return logs.size() == 1 ? logs.front() : std::string();
  }
  // The download folder page's proposal: an existing Downloads folder on C:, D: or E:, in that
  // order, else Downloads on the installation folder's drive C:.
  static std::string ProposedDownloadDir() {
    for (const char* folder : {"C:\\Downloads", "D:\\Downloads", "E:\\Downloads"})
      if (fs::is_directory(folder)) return std::string(folder) + "\\";
    return "C:\\Downloads\\";
  }

  // Everything an installation into installDir leaves, as the wizard's run leaves it.
  void ExpectInstalled(const std::string& installDir, const std::string& downloadDir,
                       int connectionNumber, bool desktop) {
    for (const char* file : {"Pelmora.Exe", "Uninstall.Exe", "PMInst.Dat", "UnInstall.dat"})
      EXPECT_TRUE(fs::exists(installDir + file)) << installDir + file;
    const TDataFileContent data = ReadDataFile(ReadFile(DataDir() + "Pelmora.Dat"));
    EXPECT_EQ(data.Header.ClientDataDir, DataDir());
    EXPECT_EQ(data.Header.DownloadDir, downloadDir);
    EXPECT_EQ(data.Header.ConnectionNumber, connectionNumber);
    EXPECT_EQ(data.Header.ReleaseCode, "01");
    const TDataFileContent copy = ReadDataFile(ReadFile(installDir + "PMInst.Dat"));
    EXPECT_EQ(copy.Header.DownloadDir, downloadDir.substr(0, downloadDir.size() - 1));
    EXPECT_EQ(copy.Header.ConnectionNumber, connectionNumber);

    const std::string list = ReadFile(installDir + "UnInstall.dat");
    EXPECT_EQ(list.rfind("Pelmora P2P\r\n<P" + DataDir() + "*.PCF>\r\n", 0), 0u) << list;
    EXPECT_NE(list.find("<F" + installDir + "Pelmora.Exe>\r\n"), std::string::npos) << list;
    EXPECT_EQ(LineCount(list), desktop ? 18 : 17) << list;
    EXPECT_EQ(list.find("<TPelmora P2P.Lnk>") != std::string::npos, desktop) << list;

    const std::string menu = ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\";
    for (const char* link : {"Pelmora P2P.Lnk", "Pelmora P2P On the Web.Lnk", "Pelmora P2P Help.Lnk",
                             "Pelmora P2P Uninstall.Lnk"})
      EXPECT_TRUE(fs::exists(menu + link)) << link;
    EXPECT_EQ(fs::exists(DesktopLink()), desktop);
    EXPECT_EQ(UninstallEntryValue("DisplayName"), "Pelmora P2P");
    EXPECT_EQ(UninstallEntryValue("UninstallString"), "\"" + installDir + "Uninstall.Exe\"");
  }

  void ExpectNothingInstalled() {
    EXPECT_FALSE(fs::exists(ProposedInstallDir()));
    // Where a folder that could not be made once made the run install instead.
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_PROGRAM_FILES) + "\\PelmoraP2P"));
    EXPECT_FALSE(fs::exists(DataDir()));
    EXPECT_FALSE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P"));
    EXPECT_EQ(UninstallEntryValue("DisplayName"), "<missing>");
  }

  // The log's text once it holds its last line, which names the exit code.
  static std::string LogOnceEnded(const std::string& path, long exitCode) {
    const std::string end = "(exit code " + std::to_string(exitCode) + ")\r\n";
    std::string log;
    WaitUntil([&] {
      log = ReadFile(path);
      return log.size() >= end.size() && log.compare(log.size() - end.size(), end.size(), end) == 0;
    }, kPatientMs);
    return log;
  }

  const std::string FBase = "C:\\pelmora-silent-" + std::to_string(GetCurrentProcessId());
  std::set<std::string> FLogsBefore;
};

const char* const kSteps[] = {"Installation folder", "Data folder", "Client program", "Uninstaller",
                              "Uninstall entry", "Shortcuts", "Data file", "Data file copy",
                              "Removal list"};

TEST_F(SilentInstallRoadTest, QuietAloneInstallsWithTheProposalsOfThePagesWithoutAWindow) {
  const std::string downloadDir = ProposedDownloadDir();
  const SilentRun run = Run("/quiet");

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Windows.empty()) << "a window came up: " << run.Windows.front();
  ExpectInstalled(ProposedInstallDir(), downloadDir, 77, true);

  const std::string log = LogOnceEnded(NewLog(), 0);
  EXPECT_NE(log.find("started (silent)"), std::string::npos) << log;
  EXPECT_NE(log.find("Command line: "), std::string::npos) << log;
  EXPECT_NE(log.find("Installation folder: " + ProposedInstallDir() + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Download folder: " + downloadDir + "\r\n"), std::string::npos) << log;
  for (const char* step : kSteps)
    EXPECT_NE(log.find(std::string("Step \"") + step + "\" done in "), std::string::npos) << step << "\n" << log;
  EXPECT_NE(log.find("Installation finished (exit code 0)"), std::string::npos) << log;
}

TEST_F(SilentInstallRoadTest, EveryOptionChangesItsChoiceInAnyOrderAndCase) {
  const std::string installDir = FBase + "\\My Apps\\Pelmora\\";
  const std::string logFile = FBase + "\\install log.txt";
  const SilentRun run = Run("/CONNECTION=isdn /NoDesktop \"/Log=" + logFile + "\" /DOWNLOADDIR=" + FBase +
                            "\\Dl \"/dir=" + FBase + "\\My Apps\\Pelmora\" /Quiet");

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Windows.empty()) << "a window came up: " << run.Windows.front();
  ExpectInstalled(installDir, FBase + "\\Dl\\", 45, false);
  EXPECT_FALSE(fs::exists(ProposedInstallDir()));
  EXPECT_EQ(NewLogs(), std::vector<std::string>{}) << "the log goes where /log= says";

  const std::string log = LogOnceEnded(logFile, 0);
  EXPECT_NE(log.find("Installation folder: " + installDir + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Connection kind: 2 (isdn)\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Desktop shortcut: no\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Step \"Shortcuts\" done in "), std::string::npos) << log;
  EXPECT_NE(log.find(" ms: start menu\r\n"), std::string::npos) << log;
}

TEST_F(SilentInstallRoadTest, ALogThatCannotBeWrittenIsLeftOutAndTheInstallationGoesOn) {
  const SilentRun run = Run("/quiet \"/log=" + FBase + "\\no such folder\\x.log\"");

  EXPECT_EQ(run.ExitCode, 0);
  ExpectInstalled(ProposedInstallDir(), ProposedDownloadDir(), 77, true);
  EXPECT_FALSE(fs::exists(FBase + "\\no such folder"));
}

// Another user's file, and a link planted at the name the silent installation's log had in
// the temporary folder, which an elevated installer shares with every program the user runs.
// Whatever the command line, the log is a new file under a name that nobody knows before.
TEST_F(SilentInstallRoadTest, TheOwnLogIsANewFileUnderANameNobodyCanKnowBefore) {
  const std::string victim = FBase + "\\win.ini", planted = TemporaryFolder() + "Install_Pelmora.log";
  { std::ofstream(victim, std::ios::binary) << "[another user's file]\r\n"; }
  ASSERT_TRUE(planted::PlantLink(planted, victim)) << planted;

  const std::regex ownName(std::regex_replace(TemporaryFolder(), std::regex(R"([\\.])"), R"(\$&)") +
                           R"(Install_Pelmora-\d{8}-\d{6}-[0-9A-F]{16}\.log)");
  std::set<std::string> names;
  for (const auto& [parameters, exitCode] : {std::pair<const char*, long>{"/quiet /bogus", 2},
                                             {"/quiet /connection=fibre", 6}, {"/quiet", 0}}) {
    const std::set<std::string> before = OwnLogs();
    EXPECT_EQ(Run(parameters).ExitCode, exitCode) << parameters;
    std::vector<std::string> made;
    for (const std::string& log : OwnLogs())
      if (!before.count(log)) made.push_back(log);
    ASSERT_EQ(made.size(), 1u) << parameters << ": one new log";
    EXPECT_TRUE(std::regex_match(made.front(), ownName)) << made.front();
    EXPECT_TRUE(names.insert(made.front()).second) << "a name used twice: " << made.front();
    EXPECT_NE(LogOnceEnded(made.front(), exitCode).find("started (silent)"), std::string::npos) << parameters;
    EXPECT_EQ(ReadFile(victim), "[another user's file]\r\n") << parameters << " wrote through the link";
  }
  ExpectInstalled(ProposedInstallDir(), ProposedDownloadDir(), 77, true);
  EXPECT_TRUE(planted::RemoveLink(planted));
}

// What may stand at the name of a log that the command line asks for: a log is written only into
// a new file or into a plain file of the user's own, which it replaces; anything else is left as
// it is and the log is left out.
TEST_F(SilentInstallRoadTest, ALogNamedOnTheCommandLineIsWrittenOnlyIntoANewFileOrTheUsersOwn) {
  const std::string victim = FBase + "\\other.txt", kOther = "another user's text\r\n";
  struct Case {
    const char* name;
    std::string log;
    std::function<bool(const std::string& log)> plant;
    bool written;
  };
  const auto writeVictim = [&] {
    std::ofstream(victim, std::ios::binary) << kOther;
    return true;
  };
  const Case cases[] = {
      {"no file yet", FBase + "\\new.log", [](const std::string&) { return true; }, true},
      {"the user's earlier log", FBase + "\\earlier.log",
       [](const std::string& log) {
         std::ofstream(log, std::ios::binary) << "an earlier run's line\r\n";
         return true;
       },
       true},
      {"a link to another file", FBase + "\\link.log",
       [&](const std::string& log) { return writeVictim() && planted::PlantLink(log, victim); }, false},
      {"a link to no file", FBase + "\\dangling.log",
       [&](const std::string& log) { return planted::PlantLink(log, FBase + "\\made-through-a-link.txt"); },
       false},
      {"a second name of another file", FBase + "\\hard.log",
       [&](const std::string& log) { return writeVictim() && CreateHardLinkA(log.c_str(), victim.c_str(), nullptr); },
       false},
      {"another user's file", FBase + "\\foreign.log",
       [&](const std::string& log) {
         std::ofstream(log, std::ios::binary) << kOther;
         return planted::GiveToAnotherUser(log);
       },
       false},
  };
  for (const Case& c : cases) {
    if (!c.plant(c.log)) {
      // Only root may give a file to another user.
      if (std::string(c.name) == "another user's file") continue;
      ADD_FAILURE() << c.name << ": could not be planted";
      continue;
    }
    const std::string before = ReadFile(c.log);
    EXPECT_EQ(Run("/quiet /connection=fibre \"/log=" + c.log + "\"").ExitCode, 6) << c.name;
    if (c.written) {
      const std::string log = LogOnceEnded(c.log, 6);
      EXPECT_EQ(log.rfind("20", 0), 0u) << c.name << ": the log starts anew\n" << log;
      EXPECT_NE(log.find("Installation refused: unknown connection kind"), std::string::npos) << c.name << log;
    } else {
      EXPECT_EQ(ReadFile(c.log), before) << c.name;
      EXPECT_EQ(ReadFile(victim), kOther) << c.name;
      EXPECT_FALSE(fs::exists(FBase + "\\made-through-a-link.txt")) << c.name;
    }
  }
  EXPECT_EQ(NewLogs(), std::vector<std::string>{}) << "no log of its own where the command line names one";
  for (const Case& c : cases) EXPECT_TRUE(planted::RemoveLink(c.log)) << c.name;
}

struct RefusedCase {
  const char* name;
  const char* parameters;
  long exitCode;
  const char* logged;
};

class SilentRefusalRoadTest : public SilentInstallRoadTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(SilentRefusalRoadTest, AValueThePagesWouldRefuseEndsTheRunWithItsCodeAndNothingInstalled) {
  const RefusedCase& c = GetParam();
  const SilentRun run = Run(c.parameters);

  EXPECT_EQ(run.ExitCode, c.exitCode);
  EXPECT_TRUE(run.Windows.empty()) << "a window came up: " << run.Windows.front();
  ExpectNothingInstalled();
  const std::string log = LogOnceEnded(NewLog(), c.exitCode);
  EXPECT_NE(log.find(std::string("Installation refused: ") + c.logged), std::string::npos) << log;
  EXPECT_EQ(log.find("Step "), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SilentRefusalRoadTest,
    testing::Values(RefusedCase{"InvalidFolder", "/quiet /dir=C:\\What?", 3, "invalid installation folder \"C:\\What?\""},
                    RefusedCase{"RootFolder", "/quiet /dir=D:\\", 3, "invalid installation folder \"D:\\\""},
                    RefusedCase{"InvalidDownloadFolder", "/quiet /downloaddir=C:", 5, "invalid download folder \"C:\""},
                    RefusedCase{"UnknownConnectionKind", "/quiet /connection=fibre", 6, "unknown connection kind \"fibre\""},
                    RefusedCase{"UnknownSwitch", "/quiet /nodesktops", 2, "unknown, repeated or incomplete switch \"/nodesktops\""}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

// A folder that "/dir=" asks for and that cannot be made, or that is the Windows folder or lies
// in it, however it is written: the run is refused before anything is written, and nothing is
// installed anywhere else instead.
TEST_F(SilentInstallRoadTest, AFolderThatCannotBeMadeOrLiesInTheWindowsFolderIsRefused) {
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string system = windows, file = FBase + "\\a file";
  { std::ofstream(file) << "not a folder"; }
  ASSERT_TRUE(planted::PlantLink(FBase + "\\windows link", system));
  struct Case {
    const char* name;
    std::string folder;
    const char* why;  // as the log tells it
  };
  const Case cases[] = {
      {"a name no folder may have", FBase + "\\inst\\a|b", "cannot be made"},
      {"a drive that does not exist", std::string(kNoDrive) + "Pelmora P2P", "cannot be made"},
      {"a path through a file", file + "\\Pelmora P2P", "cannot be made"},
      {"a read-only disk", std::string(kReadOnlyDrive) + "Pelmora P2P", "cannot be made"},
      {"the Windows folder", system, "is the Windows folder or lies in it"},
      {"the system folder", system + "\\system32", "is the Windows folder or lies in it"},
      {"a new folder in the Windows folder", system + "\\Pelmora P2P", "is the Windows folder or lies in it"},
      {"the Windows folder by a detour", FBase + "\\..\\" + system.substr(3) + "\\Pelmora",
       "is the Windows folder or lies in it"},
      {"the Windows folder through a link", FBase + "\\windows link\\Pelmora", "is the Windows folder or lies in it"},
  };
  for (const Case& c : cases) {
    if (c.folder.rfind(kReadOnlyDrive, 0) == 0 && GetDriveTypeA(kReadOnlyDrive) == DRIVE_NO_ROOT_DIR) continue;
    ASSERT_EQ(GetDriveTypeA(kNoDrive), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << kNoDrive << " is mapped";
    const std::set<std::string> before = OwnLogs();
    const SilentRun run = Run("/quiet \"/dir=" + c.folder + "\"");
    EXPECT_EQ(run.ExitCode, 3) << c.name;
    EXPECT_TRUE(run.Windows.empty()) << c.name << ": a window came up";
    ExpectNothingInstalled();
    EXPECT_FALSE(fs::exists(c.folder + "\\Pelmora.Exe")) << c.name;
    EXPECT_FALSE(fs::exists(FBase + "\\inst")) << c.name << ": the folders made on the way stay";
    EXPECT_FALSE(fs::exists(system + "\\Pelmora P2P")) << c.name;
    EXPECT_FALSE(fs::exists(system + "\\Pelmora.Exe")) << c.name;
    EXPECT_FALSE(fs::exists(system + "\\system32\\Pelmora.Exe")) << c.name;
    std::vector<std::string> logs;
    for (const std::string& log : OwnLogs())
      if (!before.count(log)) logs.push_back(log);
    ASSERT_EQ(logs.size(), 1u) << c.name;
    const std::string log = LogOnceEnded(logs.front(), 3);
    EXPECT_NE(log.find("Installation refused: the installation folder " + c.folder + "\\ " + c.why), std::string::npos)
        << c.name << "\n" << log;
  }
  EXPECT_EQ(ReadFile(file), "not a folder");
  EXPECT_TRUE(planted::RemoveLink(FBase + "\\windows link"));
}

// The folder with its final "\\" and the longest name a run writes there, the removal list's
// temporary name of 36 characters, fit within the system's 260 characters: a folder just that
// long is installed into with everything, one character more is refused before anything is
// written.
TEST_F(SilentInstallRoadTest, TheLongestFolderHoldsEveryFileTheRunWrites) {
  const auto folderOf = [&](std::size_t length) {
    std::string folder = FBase + "\\";
    while (folder.size() + 101 < length) folder += std::string(100, 'a') + "\\";
    return folder + std::string(length - folder.size() - 1, 'b') + "\\";
  };
  for (const std::size_t length : {224, 232, 245}) {
    EXPECT_EQ(Run("/quiet \"/dir=" + folderOf(length) + "\"").ExitCode, 3) << length;
    ExpectNothingInstalled();
  }
  const std::string longest = folderOf(223);
  ASSERT_EQ(longest.size(), 223u);
  const SilentRun run = Run("/quiet \"/dir=" + longest + "\"");
  EXPECT_EQ(run.ExitCode, 0);
  ExpectInstalled(longest, ProposedDownloadDir(), 77, true);
}

TEST_F(SilentInstallRoadTest, AFolderWithAnInstalledClientIsRefusedAndLeftAsItWas) {
  const std::string installDir = FBase + "\\Installed\\";
  fs::create_directories(installDir);
  { std::ofstream(installDir + "pelmora.exe") << "the installed client"; }

  const SilentRun run = Run("/quiet /dir=" + installDir);

  EXPECT_EQ(run.ExitCode, 4);
  EXPECT_EQ(ReadFile(installDir + "pelmora.exe"), "the installed client");
  EXPECT_EQ(UninstallEntryValue("DisplayName"), "<missing>");
  const std::string log = LogOnceEnded(NewLog(), 4);
  EXPECT_NE(log.find("Installation refused: Pelmora P2P is installed in " + installDir + " already"),
            std::string::npos) << log;
}

TEST_F(SilentInstallRoadTest, AFullDiskEndsTheRunWithItsCodeAndTheLogNamesTheFailedStep) {
  if (!HaveSmallDrive()) GTEST_SKIP() << "no small disk at Q: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
  const std::string installDir = std::string(kSmallDrive) + "Pelmora P2P\\";
  std::vector<std::string> places = ProductPlaces();
  places.push_back(kSmallDrive);
  const Snapshot before = TakeSnapshot(places);

  const SilentRun run = Run("/quiet \"/dir=" + installDir + "\"");

  EXPECT_EQ(run.ExitCode, 7);
  EXPECT_TRUE(run.Windows.empty()) << "a window came up: " << run.Windows.front();
  EXPECT_EQ(TakeSnapshot(places), before) << "the folders the run made are left";
  const std::string log = LogOnceEnded(NewLog(), 7);
  EXPECT_NE(log.find("Step \"Installation folder\" done in "), std::string::npos) << log;
  EXPECT_NE(log.find("Step \"Client program\" failed in "), std::string::npos) << log;
  EXPECT_NE(log.find(" ms: I/O error 112\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Installation failed: I/O error 112 (exit code 7)\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Step \"Uninstaller\""), std::string::npos) << "the run ends at its failure\n" << log;
  EXPECT_NE(log.find("Step \"Undo\" done in "), std::string::npos) << log;
}

// An uninstall entry that may not be written (its key lets nobody set a value): the
// installation works without it, so it goes on and the log says what was passed over.
TEST_F(SilentInstallRoadTest, AnUninstallEntryThatMayNotBeWrittenIsPassedOver) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  PSECURITY_DESCRIPTOR denied = nullptr;
  // Setting values and making subkeys denied to everyone; reading, the key's security and its
  // removal stay allowed, for the test to undo it.
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                   &denied, nullptr));
  const LSTATUS secured = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, denied);
  LocalFree(denied);
  RegCloseKey(key);
  ASSERT_EQ(secured, ERROR_SUCCESS);
  HKEY probe = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_SET_VALUE, &probe) == ERROR_SUCCESS) {
    RegCloseKey(probe);
    GTEST_SKIP() << "this Wine does not keep a process from writing a key that denies it";
  }
  const std::string installDir = FBase + "\\Pelmora P2P\\";

  const SilentRun run = Run("/quiet \"/dir=" + installDir + "\"");

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(UninstallEntryValue("DisplayName"), "<missing>");
  EXPECT_EQ(KeyValues(kUninstallKey).size(), 1u) << "a value was written or the key was made anew";
  for (const char* file : {"Pelmora.Exe", "Uninstall.Exe", "PMInst.Dat", "UnInstall.dat"})
    EXPECT_TRUE(fs::exists(installDir + file)) << file;
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P Uninstall.Lnk"))
      << "without the entry, the start menu's uninstaller is the way to remove it";
  const std::string log = LogOnceEnded(NewLog(), 0);
  EXPECT_NE(log.find("Step \"Uninstall entry\" failed in "), std::string::npos) << log;
  EXPECT_NE(log.find(" ms, the installation goes on without it: I/O error 5\r\n"), std::string::npos) << log;
}

// The wizard started with "/log=": a person's installation, logged as the silent one is.
class WizardLogRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    CleanUp();
    CreateDirectoryA(FBase.c_str(), nullptr);
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    CleanUp();
  }
  void CleanUp() {
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    fs::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
    fs::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
    DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kRunRecordKey);
  }
  std::string Parameters() const override { return "\"/LOG=" + FLogFile + "\""; }

  const std::string FBase = "C:\\pelmora-wizard-log-" + std::to_string(GetCurrentProcessId());
  const std::string FLogFile = FBase + "\\wizard log.txt";
};

TEST_F(WizardLogRoadTest, TheWizardLogsItsInstallationRunWhenAskedTo) {
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  ASSERT_NO_FATAL_FAILURE(WalkToSummary(FBase + "\\Pelmora P2P", FBase + "\\Downloads", 80));
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  ASSERT_TRUE(Reach("Installation of Pelmora P2P ready", "88-ready", 60000));
  ASSERT_TRUE(FDriver.Click("&Exit"));
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0);

  std::string log;
  WaitUntil([&] { return (log = ReadFile(FLogFile)).find("Wizard ended (exit code 0)") != std::string::npos; },
            kPatientMs);
  EXPECT_NE(log.find("started (wizard)\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Installation folder: " + installDir + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Download folder: " + FBase + "\\Downloads\\\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Connection kind: 8 (unknown)\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Desktop shortcut: yes\r\n"), std::string::npos) << log;
  for (const char* step : kSteps)
    EXPECT_NE(log.find(std::string("Step \"") + step + "\" done in "), std::string::npos) << step << "\n" << log;
}

}  // namespace
