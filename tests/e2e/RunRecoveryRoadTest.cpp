// Installations and upgrades that do not end well, from outside: a second installer started
// beside a first one, an installer killed in the middle of its run and then started again, and
// unattended upgrades that fail (a client that runs all the while, damaged programs, a folder
// where the client belongs). Whatever happens, the computer is afterwards as it was before, or
// the run is complete; and an uninstall afterwards leaves nothing.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "tests/common/SystemState.h"
#include "tests/driver/ClientWindow.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;
namespace fs = std::filesystem;

constexpr long kExitInstallerBusy = 8;
constexpr long kUninstallerInstallerBusy = 6;

std::string Installer() { return BuildFolder() + "Install_Pelmora.exe"; }

// Starts a program and waits for its end; its exit code, or -1 when it did not end in time.
long RunToEnd(const std::string& program, const std::string& parameters, DWORD timeoutMs = 120000) {
  StartedProcess process = StartProgram(program, parameters);
  if (!process.Process) return -2;
  const long exitCode = WaitForExit(process, timeoutMs);
  EndProcess(process);
  return exitCode;
}

// Kills the process as a power cut or the task manager would, and waits until it has gone.
void Kill(StartedProcess& process) {
  TerminateProcess(process.Process, 1);
  WaitForSingleObject(process.Process, 10000);
  EndProcess(process);
}

// A copy of the installer in which the stored bytes starting with tag are changed by patch.
std::string PatchedInstaller(const std::string& folder, const std::string& tag,
                             const std::function<void(std::string&, std::size_t)>& patch) {
  std::string bytes = ReadFile(Installer());
  const std::size_t at = bytes.find(tag);
  if (at == std::string::npos || bytes.find(tag, at + 1) != std::string::npos) return "";
  patch(bytes, at);
  const std::string path = folder + "Install_Pelmora.exe";
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// The installer with the upgrade's second shortened to a millisecond: its one wait setting,
// found by its tag.
std::string InstallerWithShortWaits(const std::string& folder) {
  return PatchedInstaller(folder, std::string("PelmoraWaitSec\0\0", 16), [](std::string& bytes, std::size_t at) {
    const unsigned milliseconds = 1;
    bytes.replace(at + 16, sizeof milliseconds, reinterpret_cast<const char*>(&milliseconds), sizeof milliseconds);
  });
}

// The installer with one byte of a program's stored stream changed.
std::string InstallerWithDamaged(const std::string& folder, const TPayload& payload) {
  const std::string leading(reinterpret_cast<const char*>(payload.Blocks), 256);
  return PatchedInstaller(folder, leading,
                          [&](std::string& bytes, std::size_t at) { bytes[at + static_cast<std::size_t>(payload.C / 2)] ^= 0x55; });
}

// The files of a folder whose names match a mask such as "~Pelmora.Exe.*".
std::vector<std::string> FilesMatching(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + mask).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// The step the record of a run in progress names; empty while none is recorded.
std::string RecordedStep() {
  const auto values = KeyValues(kRunRecordKey);
  const auto run = values.find(std::string(kRunRecordKey) + "\\Run");
  if (run == values.end()) return "";
  const std::size_t at = run->second.find("\r\n<S");
  return at == std::string::npos ? "" : run->second.substr(at + 4, run->second.find('>', at) - at - 4);
}

class RecoveryRoadTest : public testing::Test {
 protected:
  void SetUp() override {
    CleanUp();
    fs::create_directories(FBase);
  }
  void TearDown() override {
    for (StartedProcess* process : {&FFirst, &FSecond}) EndProcess(*process);
    DWORD id = 0;
    for (int i = 0; i < 20 && (id = FindClientWindow(FBase + "\\").ProcessId) != 0; ++i) {
      const HANDLE client = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
      if (client) {
        TerminateProcess(client, 0);
        WaitForSingleObject(client, 5000);
        CloseHandle(client);
      }
    }
    CleanUp();
  }
  void CleanUp() {
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    for (const std::string& place : ProductPlaces()) fs::remove_all(place, ignored);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRunRecordKey);
  }

  std::vector<std::string> Places() const {
    std::vector<std::string> places = ProductPlaces();
    places.push_back(FBase);
    return places;
  }

  long InstallSilently(const std::string& installDir, const std::string& more = "") {
    return RunToEnd(Installer(), "/quiet \"/dir=" + installDir + "\" \"/downloaddir=" + FBase +
                                     "\\Downloads\" \"/log=" + FBase + "\\install.log\"" + more);
  }

  // Starts the installer as a person would, and leaves it at once: all that happens is what
  // every start does before the welcome page.
  void StartAndLeaveTheInstaller() {
    StartedProcess wizard = StartProgram(Installer(), "");
    ASSERT_NE(wizard.Process, nullptr);
    UiDriver driver(wizard.Id);
    ASSERT_TRUE(driver.WaitForWindow(kPatientMs)) << "no wizard; a message box says: " << FindMessageBox(wizard.Id).Text;
    ASSERT_TRUE(driver.WaitForPage("Welcome", kPatientMs)) << driver.Header();
    ASSERT_TRUE(driver.Click("&Exit"));
    EXPECT_EQ(WaitForExit(wizard, kPatientMs), 0);
    EndProcess(wizard);
  }

  // Removes the installation with its uninstaller, quietly, and waits until its own file is gone.
  void Uninstall(const std::string& installDir) {
    ASSERT_EQ(RunToEnd(installDir + "Uninstall.Exe", "/quiet"), 0);
    EXPECT_TRUE(WaitUntil([&] { return !fs::exists(installDir); }, kPatientMs)) << installDir << " stays";
  }

  const std::string FBase = "C:\\pelmora-recovery-" + std::to_string(GetCurrentProcessId());
  StartedProcess FFirst, FSecond;
};

// ---- One installer at a time -------------------------------------------------------------

TEST_F(RecoveryRoadTest, ASecondInstallerOfAnyKindSaysSoAndChangesNothing) {
  FFirst = StartProgram(Installer(), "");
  UiDriver first(FFirst.Id);
  ASSERT_TRUE(first.WaitForWindow(kPatientMs));
  ASSERT_TRUE(first.WaitForPage("Welcome", kPatientMs));
  const Snapshot before = TakeSnapshot(Places());

  // Silent: its own exit code, no window, no log.
  const std::string log = FBase + "\\second.log";
  EXPECT_EQ(RunToEnd(Installer(), "/quiet \"/dir=" + FBase + "\\Second\" \"/log=" + log + "\""), kExitInstallerBusy);
  EXPECT_FALSE(fs::exists(log));

  // Interactive, and the unattended upgrade: a message box, then the same exit code.
  for (const std::string& parameters : {std::string(), "/autoupdate " + FBase + "\\"}) {
    SCOPED_TRACE(parameters.empty() ? "wizard" : parameters);
    FSecond = StartProgram(Installer(), parameters);
    EXPECT_EQ(ReadAndAnswerMessageBox(FSecond.Id, kPatientMs),
              "Pelmora P2P is being installed, upgraded or removed by another program.\r"
              "Start this program again when that has ended; nothing was changed.");
    EXPECT_EQ(WaitForExit(FSecond, kPatientMs), kExitInstallerBusy);
    EndProcess(FSecond);
  }
  EXPECT_EQ(TakeSnapshot(Places()), before);
  EXPECT_EQ(first.Header(), "Welcome") << "the first installer was disturbed";

  // Once the first has ended, the next one installs.
  ASSERT_TRUE(first.Click("&Exit"));
  EXPECT_EQ(WaitForExit(FFirst, kPatientMs), 0);
  EXPECT_EQ(InstallSilently(FBase + "\\Pelmora P2P"), 0);
}

TEST_F(RecoveryRoadTest, TheUninstallerWaitsItsTurnToo) {
  ASSERT_EQ(InstallSilently(FBase + "\\Pelmora P2P"), 0);
  FFirst = StartProgram(Installer(), "");
  UiDriver first(FFirst.Id);
  ASSERT_TRUE(first.WaitForWindow(kPatientMs));
  const Snapshot before = TakeSnapshot(Places());
  EXPECT_EQ(RunToEnd(FBase + "\\Pelmora P2P\\Uninstall.Exe", "/quiet"), kUninstallerInstallerBusy);
  EXPECT_EQ(TakeSnapshot(Places()), before);
}

// Two silent installations started together, into one folder or into two: one installs, the
// other changes nothing, and the entry and shortcuts name the one that installed.
TEST_F(RecoveryRoadTest, TwoSilentInstallationsAtOnceInstallOnce) {
  for (bool sameFolder : {true, false}) {
    SCOPED_TRACE(sameFolder ? "one folder" : "two folders");
    CleanUp();
    fs::create_directories(FBase);
    const std::string folders[] = {FBase + "\\A\\", FBase + (sameFolder ? "\\A\\" : "\\B\\")};
    StartedProcess runs[2];
    for (int i = 0; i < 2; ++i)
      runs[i] = StartProgram(Installer(), "/quiet \"/dir=" + folders[i] + "\" \"/downloaddir=" + FBase + "\\Downloads\"");
    long codes[2];
    for (int i = 0; i < 2; ++i) {
      codes[i] = WaitForExit(runs[i], 120000);
      EndProcess(runs[i]);
    }
    ASSERT_TRUE((codes[0] == 0 && codes[1] == kExitInstallerBusy) || (codes[0] == kExitInstallerBusy && codes[1] == 0))
        << codes[0] << " and " << codes[1];
    const std::string winner = folders[codes[0] == 0 ? 0 : 1];
    EXPECT_EQ(UninstallEntryValue("UninstallString"), "\"" + winner + "Uninstall.Exe\"");
    EXPECT_TRUE(fs::exists(winner + "UnInstall.dat"));
    if (!sameFolder) {
      EXPECT_FALSE(fs::exists(folders[codes[0] == 0 ? 1 : 0])) << "the refused one made its folder";
    }
    EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P.Lnk"));
  }
}

// ---- Killed in the middle, started again --------------------------------------------------

// A point of the installation run at which the installer is killed: when a temporary file of the
// program being written appears, or when the log has the line. A program is written in some
// milliseconds, which a look every 20 ms on a loaded machine can miss: the step's end in the log
// is the latest point at which the test kills then.
struct InstallKillPoint {
  const char* Name;
  const char* LogLine;    // empty: wait for the file only
  const char* Temporary;  // a mask in the installation folder; empty: wait for the line only
};

const InstallKillPoint kInstallKillPoints[] = {
    {"WhileTheClientIsWritten", "Step \"Client program\" done", "~Pelmora.Exe.*.tmp"},
    {"AtTheUninstaller", "Step \"Uninstaller\" started", ""},
    {"AtTheUninstallEntry", "Step \"Uninstall entry\" started", ""},
    {"AtTheShortcuts", "Step \"Shortcuts\" started", ""},
    {"AtTheRemovalList", "Step \"Removal list\" started", ""},
};

void PrintTo(const InstallKillPoint& point, std::ostream* out) { *out << point.Name; }

class KilledInstallationRoadTest : public RecoveryRoadTest, public testing::WithParamInterface<InstallKillPoint> {};

TEST_P(KilledInstallationRoadTest, TheNextStartLeavesTheComputerAsBeforeOrTheInstallationWhole) {
  const InstallKillPoint& point = GetParam();
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  const std::string log = FBase + "\\install.log";
  const Snapshot before = TakeSnapshot(Places());

  FFirst = StartProgram(Installer(), "/quiet \"/dir=" + installDir + "\" \"/downloaddir=" + FBase +
                                         "\\Downloads\" \"/log=" + log + "\"");
  ASSERT_NE(FFirst.Process, nullptr);
  const bool reached = WaitUntil(
      [&] {
        return (*point.Temporary && !FilesMatching(installDir, point.Temporary).empty()) ||
               (*point.LogLine && ReadFile(log).find(point.LogLine) != std::string::npos);
      },
      60000);
  Kill(FFirst);
  ASSERT_TRUE(reached) << "the run never came to the point; its log:\n" << ReadFile(log);
  const bool finished = ReadFile(log).find("Installation finished (exit code 0)") != std::string::npos;
  if (!finished) {
    EXPECT_NE(RecordedStep(), "") << "the killed run left no record";
  }

  ASSERT_NO_FATAL_FAILURE(StartAndLeaveTheInstaller());

  EXPECT_EQ(RecordedStep(), "");
  if (!finished) {
    std::vector<std::string> places = Places();
    Snapshot after = TakeSnapshot(places);
    after.Entries.erase(log);
    EXPECT_EQ(after, before) << "the cut-off run is not undone";
    return;
  }
  // It had ended before it was killed: it is whole, and its uninstaller removes it.
  EXPECT_TRUE(fs::exists(installDir + "UnInstall.dat"));
  Uninstall(installDir);
  Snapshot after = TakeSnapshot(Places());
  after.Entries.erase(log);
  EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(FivePoints, KilledInstallationRoadTest, testing::ValuesIn(kInstallKillPoints),
                         [](const testing::TestParamInfo<InstallKillPoint>& info) { return std::string(info.param.Name); });

// An installation in a folder of its own, made by the real installer, then made older: the
// client program and the uninstaller get bytes the new ones do not have, and the start menu
// loses a shortcut, so that an upgrade that went through cannot pass for one put back.
class OlderInstallationTest : public RecoveryRoadTest {
 protected:
  void SetUp() override {
    RecoveryRoadTest::SetUp();
    ASSERT_EQ(InstallSilently(FInstallDir), 0);
    std::ofstream(FInstallDir + "Pelmora.Exe", std::ios::binary | std::ios::app) << "an older version";
    std::ofstream(FInstallDir + "Uninstall.Exe", std::ios::binary | std::ios::app) << "an older version";
    DeleteFileA((ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P Help.Lnk").c_str());
    DeleteFileA((FBase + "\\install.log").c_str());
    FBefore = TakeSnapshot(Places());
  }

  // After the installation is removed, nothing of it is left: as before it was installed.
  void ExpectTheUninstallLeavesNothing() {
    ASSERT_NO_FATAL_FAILURE(Uninstall(FInstallDir));
    Snapshot after = TakeSnapshot(Places());
    for (auto entry = after.Entries.begin(); entry != after.Entries.end();)
      entry = entry->first == FBase || entry->first.rfind(FBase + "\\Patched", 0) == 0 ? after.Entries.erase(entry) : std::next(entry);
    EXPECT_EQ(after, Snapshot{}) << "left after the uninstall";
  }

  const std::string FInstallDir = FBase + "\\Pelmora P2P\\";
  Snapshot FBefore;
};

// A point of the upgrade at which the installer is killed: when a file of the run appears in the
// installation folder, or when the record names the step. The uninstaller's temporary file lives
// some milliseconds only: when a look misses it, the test kills at the next step.
struct UpgradeKillPoint {
  const char* Name;
  const char* Step;  // the record names this step; empty: wait for the file only
  const char* File;  // a mask in the installation folder; empty: wait for the step only
};

const UpgradeKillPoint kUpgradeKillPoints[] = {
    {"WhileWaitingForTheClient", "Waiting for the client to end", ""},
    {"WithTheOldClientKeptAside", "", "~Pelmora.Exe.*.old"},
    {"WhileTheUninstallerIsWritten", "Shortcuts", "~Uninstall.Exe.*.tmp"},
    {"WithTheOldUninstallerKeptAside", "", "~Uninstall.Exe.*.old"},
    {"AtTheShortcuts", "Shortcuts", ""},
};

void PrintTo(const UpgradeKillPoint& point, std::ostream* out) { *out << point.Name; }

class KilledUpgradeRoadTest : public OlderInstallationTest, public testing::WithParamInterface<UpgradeKillPoint> {};

TEST_P(KilledUpgradeRoadTest, TheNextStartPutsTheEarlierVersionBack) {
  const UpgradeKillPoint& point = GetParam();
  FFirst = StartProgram(Installer(), "/autoupdate " + FInstallDir);
  ASSERT_NE(FFirst.Process, nullptr);
  const bool reached = WaitUntil(
      [&] {
        return (*point.File && !FilesMatching(FInstallDir, point.File).empty()) ||
               (*point.Step && RecordedStep() == point.Step);
      },
      60000);
  Kill(FFirst);
  ASSERT_TRUE(reached) << "the upgrade never came to the point";

  ASSERT_NO_FATAL_FAILURE(StartAndLeaveTheInstaller());

  EXPECT_EQ(TakeSnapshot(Places()), FBefore) << "the earlier version is not back as it was";
  ExpectTheUninstallLeavesNothing();
}

INSTANTIATE_TEST_SUITE_P(FivePoints, KilledUpgradeRoadTest, testing::ValuesIn(kUpgradeKillPoints),
                         [](const testing::TestParamInfo<UpgradeKillPoint>& info) { return std::string(info.param.Name); });

// The uninstaller, started next, finishes a cut-off upgrade off before it removes everything.
TEST_F(OlderInstallationTest, TheUninstallerFinishesACutOffUpgradeOffFirst) {
  FFirst = StartProgram(Installer(), "/autoupdate " + FInstallDir);
  // By then the new uninstaller is in place, and the earlier one kept aside.
  ASSERT_TRUE(WaitUntil([&] { return RecordedStep() == "Shortcuts"; }, 60000));
  Kill(FFirst);
  ExpectTheUninstallLeavesNothing();
  EXPECT_EQ(RecordedStep(), "");
}

// ---- Unattended upgrades that fail --------------------------------------------------------

// Watches the unattended installer until it shows the error page: the headers it showed and
// whether a retry notice ever came up.
struct Watched {
  std::vector<std::string> Headers;
  bool RetryNotice = false;
  std::string Error;
};

Watched WatchUntilTheErrorPage(const StartedProcess& installer, DWORD timeoutMs) {
  Watched watched;
  UiDriver driver(installer.Id);
  WaitUntil(
      [&] {
        if (!driver.Found() && !driver.WaitForWindow(0)) return WaitForSingleObject(installer.Process, 0) == WAIT_OBJECT_0;
        const std::string header = driver.Header();
        if (!header.empty() && (watched.Headers.empty() || watched.Headers.back() != header)) watched.Headers.push_back(header);
        EnumChildWindows(
            driver.Window(),
            [](HWND child, LPARAM data) -> BOOL {
              char text[512] = "";
              GetWindowTextA(child, text, sizeof text);
              if (std::string(text).find("(Attempt ") != std::string::npos) *reinterpret_cast<bool*>(data) = true;
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&watched.RetryNotice));
        if (header != "Error") return false;
        watched.Error = ErrorPageMessage(driver.Window());
        return !watched.Error.empty();
      },
      timeoutMs);
  return watched;
}

struct UpgradeFault {
  const char* Name;
  // Plants the fault; returns the installer to start (empty: this build's).
  std::function<std::string(const std::string& installDir, const std::string& scratch)> Plant;
  const char* Error;  // how the error page's message begins
  bool Retries;       // a retry notice comes up first
};

const UpgradeFault kUpgradeFaults[] = {
    {"DamagedClient",
     [](const std::string&, const std::string& scratch) { return InstallerWithDamaged(scratch, GB_PelmoraP2P_exe::Payload()); },
     "Error", false},
    {"DamagedUninstaller",
     [](const std::string&, const std::string& scratch) { return InstallerWithDamaged(scratch, GB_Uninstall_exe::Payload()); },
     "Error", false},
    {"AClientRunningAllTheWhile", [](const std::string&, const std::string& scratch) { return InstallerWithShortWaits(scratch); },
     "Cannot create file \"", true},
};

void PrintTo(const UpgradeFault& fault, std::ostream* out) { *out << fault.Name; }

class FailedUpgradeRoadTest : public OlderInstallationTest, public testing::WithParamInterface<UpgradeFault> {};

TEST_P(FailedUpgradeRoadTest, EndsOnTheErrorPageWithTheEarlierVersionInPlaceAndNoClientStarted) {
  const UpgradeFault& fault = GetParam();
  const std::string scratch = FBase + "\\Patched\\";
  fs::create_directories(scratch);
  std::string installer = fault.Plant(FInstallDir, scratch);
  if (installer.empty()) installer = Installer();
  const Snapshot before = TakeSnapshot(Places());
  StartedProcess client;
  if (fault.Retries) {
    client = StartProgram(FInstallDir + "Pelmora.Exe", "");
    ASSERT_TRUE(WaitUntil([&] { return FindClientWindow(FInstallDir).Window != nullptr; }, kPatientMs));
  }

  FSecond = StartProgram(installer, "/autoupdate " + FInstallDir);
  const Watched watched = WatchUntilTheErrorPage(FSecond, 120000);

  ASSERT_FALSE(watched.Headers.empty());
  EXPECT_EQ(watched.Headers.back(), "Error");
  EXPECT_EQ(watched.Error.rfind(fault.Error, 0), 0u) << watched.Error;
  EXPECT_EQ(watched.RetryNotice, fault.Retries);
  EXPECT_EQ(FindClientWindow(FInstallDir, client.Id).Window, nullptr) << "a client was started";
  EndProcess(client);
  Snapshot after = TakeSnapshot(Places());
  for (auto entry = after.Entries.begin(); entry != after.Entries.end();)
    entry = entry->first.rfind(scratch.substr(0, scratch.size() - 1), 0) == 0 ? after.Entries.erase(entry) : std::next(entry);
  Snapshot expected = before;
  for (auto entry = expected.Entries.begin(); entry != expected.Entries.end();)
    entry = entry->first.rfind(scratch.substr(0, scratch.size() - 1), 0) == 0 ? expected.Entries.erase(entry) : std::next(entry);
  EXPECT_EQ(after, expected) << "the earlier version is not as it was";
}

// A folder where the client program belongs holds no installation: the unattended upgrade is
// not for it, the wizard starts instead and nothing is changed.
TEST_F(OlderInstallationTest, AFolderWhereTheClientBelongsIsNoInstallationToUpgrade) {
  DeleteFileA((FInstallDir + "Pelmora.Exe").c_str());
  fs::create_directories(FInstallDir + "Pelmora.Exe");
  const Snapshot before = TakeSnapshot(Places());

  FSecond = StartProgram(Installer(), "/autoupdate " + FInstallDir);
  UiDriver wizard(FSecond.Id);
  ASSERT_TRUE(wizard.WaitForWindow(kPatientMs));
  EXPECT_TRUE(wizard.WaitForPage("Welcome", kPatientMs)) << wizard.Header();
  EXPECT_TRUE(fs::is_directory(FInstallDir + "Pelmora.Exe"));
  EXPECT_EQ(TakeSnapshot(Places()), before) << "the unattended upgrade changed the folder";
}

INSTANTIATE_TEST_SUITE_P(EachFault, FailedUpgradeRoadTest, testing::ValuesIn(kUpgradeFaults),
                         [](const testing::TestParamInfo<UpgradeFault>& info) { return std::string(info.param.Name); });

}  // namespace
