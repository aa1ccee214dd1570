// Faults staged under the real installer, driven from outside as a person would: a disk that
// fills while each of the installation's files or each of the upgrade's programs is written, a
// damaged payload of each of the two programs, a start menu on a read-only disk and an uninstall
// entry that may not be written. A failure that ends the run leaves the computer as it was
// before it (an upgrade: the earlier version) and ends on the error page, from which "&Restart"
// starts the wizard anew; what the installation can do without (the data file's copy, the
// shortcuts, the uninstall entry) is passed over, and the uninstall then leaves nothing.
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Appl_Globals.h"
#include "datafile/DataFileReader.h"
#include "datafile/WriteDataFile.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "core/RemovalList.h"
#include "tests/common/SystemState.h"
#include "tests/driver/ClientWindow.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;
namespace fs = std::filesystem;

const char kFinishPage[] = "Installation of Pelmora P2P ready";
// The installation's files, in the order in which the run writes them.
const char* const kInstalledFiles[] = {"Pelmora.Exe", "Uninstall.Exe", "Pelmora.Dat", "PMInst.Dat", "UnInstall.dat"};

std::string DataFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\"; }

void CleanInstallationPlaces() {
  std::error_code ignored;
  fs::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
  fs::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
  DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kRunRecordKey);
}

bool IsWholeDataFile(const std::string& bytes) {
  try {
    const TDataFileContent content = ReadDataFile(bytes);
    return content.KnownHashes.size() == 1195u;
  } catch (const Exception&) {
    return false;
  }
}

// What a run left of the installation's files in its folders: each one is absent or whole (the
// build's program, a data file that reads to its end, the complete removal list), and nothing
// else is there (no temporary file).
class InstalledFiles {
 public:
  InstalledFiles(std::string installDir, std::string dataDir) : InstallDir(std::move(installDir)), DataDir(std::move(dataDir)) {}

  std::string PathOf(const std::string& name) const { return (name == "Pelmora.Dat" ? DataDir : InstallDir) + name; }
  bool Exists(const std::string& name) const { return fs::exists(PathOf(name)); }

  void ExpectEachWholeOrAbsent(const std::vector<std::string>& removalList) const {
    for (const char* name : kInstalledFiles) {
      if (!Exists(name)) continue;
      const std::string bytes = ReadFile(PathOf(name));
      const std::string file = name;
      if (file == "Pelmora.Exe")
        EXPECT_TRUE(bytes == ReadFile(BuildFolder() + "programs\\Pelmora.exe")) << name << " is not the client whole";
      else if (file == "Uninstall.Exe")
        EXPECT_TRUE(bytes == ReadFile(BuildFolder() + "programs\\Uninstall.exe")) << name << " is not the uninstaller whole";
      else if (file == "UnInstall.dat")
        EXPECT_EQ(bytes, ListText(removalList));
      else
        EXPECT_TRUE(IsWholeDataFile(bytes)) << name << " does not read to its end (" << bytes.size() << " bytes)";
    }
    for (const std::string& folder : {InstallDir, DataDir}) {
      std::error_code missing;
      for (const fs::directory_entry& entry : fs::directory_iterator(folder, missing)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(std::any_of(std::begin(kInstalledFiles), std::end(kInstalledFiles),
                                [&](const char* file) { return lstrcmpiA(file, name.c_str()) == 0; }))
            << "left in " << folder << ": " << name;
      }
    }
  }

  static std::string ListText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
  }

 private:
  std::string InstallDir, DataDir;
};

// The drive that tests/driver/small-drive.sh maps to a small file system of its own.
constexpr char kSmallDrive[] = "W:\\";
// The small file system counts whole pages of this size per file.
constexpr unsigned long long kPage = 4096;

unsigned long long Pages(unsigned long long bytes) { return (bytes + kPage - 1) / kPage; }

unsigned long long FreeBytes() {
  ULARGE_INTEGER free{};
  GetDiskFreeSpaceExA(kSmallDrive, &free, nullptr, nullptr);
  return free.QuadPart;
}

bool HaveSmallDrive() {
  ULARGE_INTEGER total{};
  return GetDiskFreeSpaceExA(kSmallDrive, nullptr, &total, nullptr) && total.QuadPart <= 16ull * 1024 * 1024;
}

// Fills the small drive with a file of its own until only the given room is free.
void FillSmallDriveLeaving(unsigned long long room) {
  ASSERT_GE(FreeBytes(), room + kPage) << "the small drive is too small for the installation";
  const std::string filler = std::string(kSmallDrive) + "filler.bin";
  const HANDLE file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const std::string block(kPage, 'f');
  DWORD count = 0;
  while (FreeBytes() > room && WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &count, nullptr) &&
         count > 0) {
  }
  CloseHandle(file);
  ASSERT_EQ(FreeBytes(), room) << "the small drive cannot be filled to the room wanted";
}

void EmptySmallDrive() {
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSmallDrive, ignored)) fs::remove_all(entry.path(), ignored);
}

// Starts a program and waits for its end; its exit code, or -1 when it did not end in time.
long RunToEnd(const std::string& program, const std::string& parameters) {
  StartedProcess process = StartProgram(program, parameters);
  if (!process.Process) return -2;
  const long exitCode = WaitForExit(process, 120000);
  EndProcess(process);
  return exitCode;
}

// A disk that fills while one of the installation's files is written: the run is given room
// for the files before it and for half of that file.
struct FullDiskCase {
  const char* File;
  // The per-user data folder cannot be made, so that the first data file goes to the small
  // installation folder too.
  bool DataFolderBlocked;
  const char* EndPage;  // where the run ends
  const char* Shot;
};

const FullDiskCase kFullDiskCases[] = {
    {"Pelmora.Exe", false, "Error", "71-full-disk-client"},
    {"Uninstall.Exe", false, "Error", "72-full-disk-uninstaller"},
    {"Pelmora.Dat", true, "Error", "73-full-disk-data-file"},
    // The copy beside the program is passed over: the client reads the per-user file.
    {"PMInst.Dat", false, kFinishPage, "74-full-disk-data-file-copy"},
    {"UnInstall.dat", false, "Error", "75-full-disk-removal-list"},
};

void PrintTo(const FullDiskCase& c, std::ostream* out) { *out << c.File; }

class FullDiskRoadTest : public RoadTest, public testing::WithParamInterface<FullDiskCase> {
 protected:
  void SetUp() override {
    if (!HaveSmallDrive()) GTEST_SKIP() << "no small disk at W: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
    CleanInstallationPlaces();
    EmptySmallDrive();
    if (GetParam().DataFolderBlocked) {
      // A file where the per-user data folder belongs: the run puts the data file beside the
      // program instead.
      const HANDLE blocker = CreateFileA(DataFolder().substr(0, DataFolder().size() - 1).c_str(), GENERIC_WRITE, 0,
                                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(blocker, INVALID_HANDLE_VALUE) << "the data folder cannot be blocked";
      CloseHandle(blocker);
    }
    ASSERT_NO_FATAL_FAILURE(MeasureDataFiles());
    ASSERT_NO_FATAL_FAILURE(LeaveRoomForTheFilesBefore(GetParam().File));
    FBefore = TakeSnapshot(Places());
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    if (!HaveSmallDrive()) return;
    if (GetParam().DataFolderBlocked) DeleteFileA(DataFolder().substr(0, DataFolder().size() - 1).c_str());
    CleanInstallationPlaces();
    EmptySmallDrive();
  }

  std::string DataDir() const { return GetParam().DataFolderBlocked ? FInstallDir : DataFolder(); }

  // The data files that the run will write, measured by writing them the same way. Their
  // scrambling makes their size vary by some hundred bytes from one file to the next.
  void MeasureDataFiles() {
    const TDataFileSettings header{.ClientDataDir = DataDir(), .DownloadDir = FDownloadDir, .ReleaseCode = "01"};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string probe = std::string(temp) + "pelmora-e2e-measure-" + std::to_string(GetCurrentProcessId());
    for (unsigned long long* size : {&FDataFileSize, &FDataFileCopySize}) {
      WriteDataFile(probe, header, {});
      *size = fs::file_size(probe);
    }
    DeleteFileA(probe.c_str());
  }

  // Fills the small drive so that it keeps room for the files written there before this one
  // and for half of this one. The removal list is smaller than a page: for it the drive keeps
  // the room of the files before it and some to spare, and its table of files is filled up so
  // that it has entries for the folder and the files before the list only.
  void LeaveRoomForTheFilesBefore(const std::string& target) {
    struct Written {
      const char* Name;
      unsigned long long Size;
    };
    std::vector<Written> written{{"Pelmora.Exe", fs::file_size(BuildFolder() + "programs\\Pelmora.exe")},
                                 {"Uninstall.Exe", fs::file_size(BuildFolder() + "programs\\Uninstall.exe")}};
    if (GetParam().DataFolderBlocked) written.push_back({"Pelmora.Dat", FDataFileSize});
    written.push_back({"PMInst.Dat", FDataFileCopySize});
    written.push_back({"UnInstall.dat", 1});
    const bool list = target == "UnInstall.dat";
    unsigned long long pages = list ? 4 : 0, entries = 1;
    for (const Written& file : written) {
      if (target == file.Name) {
        pages += Pages(file.Size) / 2;
        break;
      }
      pages += Pages(file.Size);
      ++entries;
    }
    ASSERT_NO_FATAL_FAILURE(FillSmallDriveLeaving(pages * kPage));
    if (!list) return;
    std::vector<std::string> fillers;
    for (;;) {
      fillers.push_back(std::string(kSmallDrive) + "entry-" + std::to_string(fillers.size()));
      const HANDLE entry = CreateFileA(fillers.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
      if (entry == INVALID_HANDLE_VALUE) break;
      CloseHandle(entry);
      ASSERT_LT(fillers.size(), 10000u) << "the small drive's table of files does not fill";
    }
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL)) << "the table of files is full";
    fillers.pop_back();
    ASSERT_GE(fillers.size(), entries);
    for (unsigned long long freed = 0; freed < entries; ++freed) {
      ASSERT_TRUE(DeleteFileA(fillers.back().c_str()));
      fillers.pop_back();
    }
  }

  std::vector<std::string> Places() const {
    std::vector<std::string> places = ProductPlaces();
    places.push_back(FInstallDir);
    return places;
  }

  Snapshot FBefore;
  const std::string FInstallDir = std::string(kSmallDrive) + "Pelmora P2P\\";
  const std::string FDownloadDir = std::string(kSmallDrive) + "Downloads\\";
  unsigned long long FDataFileSize = 0, FDataFileCopySize = 0;
};

TEST_P(FullDiskRoadTest, NoFileIsLeftHalfWrittenAndTheFailureIsShown) {
  const FullDiskCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(WalkToSummary(FInstallDir, FDownloadDir, 60));
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  const bool ended = Reach(c.EndPage, c.Shot, 60000);
  if (ended && std::string(c.EndPage) == "Error") {
    EXPECT_EQ(ReadUntil([&] { return ErrorPageMessage(FDriver.Window()); }, std::string("Disk Full"), kPatientMs),
              "Disk Full");
    const std::vector<std::string> errorButtons{"&Exit", "&Restart"};
    EXPECT_EQ(FDriver.WaitForButtonCaptions(errorButtons, kPatientMs), errorButtons);
  }
  std::string drive;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kSmallDrive))
    drive += " " + entry.path().string() + (entry.is_regular_file() ? " " + std::to_string(entry.file_size()) : "");
  SCOPED_TRACE("on the small drive:" + drive + "; free " + std::to_string(FreeBytes()));

  const InstalledFiles files(FInstallDir, DataDir());
  EXPECT_FALSE(files.Exists(c.File)) << "the disk filled while " << c.File << " was written";
  files.ExpectEachWholeOrAbsent(RemovalListLines(DataDir(), FInstallDir, DataDir(), true));
  if (std::string(c.EndPage) == "Error") {
    EXPECT_EQ(TakeSnapshot(Places()), FBefore) << "the run's changes are not all undone";
  } else {
    // Passed over: everything else is in place.
    for (const char* file : kInstalledFiles)
      EXPECT_EQ(files.Exists(file), std::string(file) != c.File) << file;
  }
  if (ended && std::string(c.EndPage) == "Error") RestartFromTheErrorPage();
}

INSTANTIATE_TEST_SUITE_P(EachFile, FullDiskRoadTest, testing::ValuesIn(kFullDiskCases),
                         [](const testing::TestParamInfo<FullDiskCase>& info) {
                           std::string name = info.param.File;
                           name.erase(name.find('.'), 1);
                           return name;
                         });

// A copy of the installer in which one byte of a program's stored stream is changed.
struct DamagedPayloadCase {
  const char* File;
  TPayload (*Payload)();
  const char* Shot;
};

const DamagedPayloadCase kDamagedPayloadCases[] = {
    {"Pelmora.Exe", GB_PelmoraP2P_exe::Payload, "81-damaged-client"},
    {"Uninstall.Exe", GB_Uninstall_exe::Payload, "82-damaged-uninstaller"},
};

void PrintTo(const DamagedPayloadCase& c, std::ostream* out) { *out << c.File; }

class DamagedPayloadRoadTest : public RoadTest, public testing::WithParamInterface<DamagedPayloadCase> {
 protected:
  void SetUp() override {
    CleanInstallationPlaces();
    fs::create_directories(FBase);
    FBefore = TakeSnapshot(Places());
    std::string installer = ReadFile(BuildFolder() + "Install_Pelmora.exe");
    // The stored table lies in the installer as it is: its leading bytes find it.
    const TPayload payload = GetParam().Payload();
    const std::string leading(reinterpret_cast<const char*>(payload.Blocks), 256);
    const std::size_t at = installer.find(leading);
    ASSERT_NE(at, std::string::npos) << "the stored stream of " << GetParam().File << " is not in the installer";
    ASSERT_EQ(installer.find(leading, at + 1), std::string::npos) << "the stored stream is there twice";
    installer[at + static_cast<std::size_t>(payload.C / 2)] ^= 0x55;
    std::ofstream(InstallerPath(), std::ios::binary) << installer;
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    CleanInstallationPlaces();
  }
  std::string InstallerPath() const override { return FBase + "\\Install_Pelmora.exe"; }
  std::vector<std::string> Places() const {
    std::vector<std::string> places = ProductPlaces();
    places.push_back(FBase + "\\Pelmora P2P");
    return places;
  }

  const std::string FBase = "C:\\pelmora-e2e-damaged-" + std::to_string(GetCurrentProcessId());
  Snapshot FBefore;
};

TEST_P(DamagedPayloadRoadTest, TheRunEndsOnTheErrorPageAndTheProgramIsNotWritten) {
  const DamagedPayloadCase& c = GetParam();
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  ASSERT_NO_FATAL_FAILURE(WalkToSummary(installDir, FBase + "\\Downloads\\", 80));
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  ASSERT_NO_FATAL_FAILURE(ExpectErrorPage("Error", c.Shot));
  EXPECT_EQ(ErrorPageMessage(FDriver.Window()), "Error");

  EXPECT_EQ(TakeSnapshot(Places()), FBefore) << "the run's changes are not all undone";
  RestartFromTheErrorPage();
}

INSTANTIATE_TEST_SUITE_P(EachProgram, DamagedPayloadRoadTest, testing::ValuesIn(kDamagedPayloadCases),
                         [](const testing::TestParamInfo<DamagedPayloadCase>& info) {
                           std::string name = info.param.File;
                           name.erase(name.find('.'), 1);
                           return name;
                         });

// An earlier version installed on the small drive, upgraded unattended while the disk fills as
// one of its programs is written: the upgrade ends on the error page, and the earlier programs,
// shortcuts and entry are as they were.
struct UpgradeFullDiskCase {
  const char* File;
  const char* Shot;
};

const UpgradeFullDiskCase kUpgradeFullDiskCases[] = {
    {"Pelmora.Exe", "76-upgrade-full-disk-client"},
    {"Uninstall.Exe", "77-upgrade-full-disk-uninstaller"},
};

void PrintTo(const UpgradeFullDiskCase& c, std::ostream* out) { *out << c.File; }

class UpgradeFullDiskRoadTest : public RoadTest, public testing::WithParamInterface<UpgradeFullDiskCase> {
 protected:
  void SetUp() override {
    if (!HaveSmallDrive()) GTEST_SKIP() << "no small disk at W: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
    CleanInstallationPlaces();
    EmptySmallDrive();
    ASSERT_EQ(RunToEnd(BuildFolder() + "Install_Pelmora.exe",
                       "/quiet \"/dir=" + FInstallDir + "\" \"/downloaddir=" + kSmallDrive + "Downloads\""),
              0);
    // Bytes the new programs do not have, so that a replaced program cannot pass for the earlier one.
    for (const char* program : {"Pelmora.Exe", "Uninstall.Exe"})
      std::ofstream(FInstallDir + program, std::ios::binary | std::ios::app) << "an earlier version";
    // The new client goes to a name of its own beside the earlier one, which is kept until the
    // upgrade has ended: the disk keeps room for the programs written before this one and for
    // half of this one.
    const unsigned long long client = Pages(fs::file_size(BuildFolder() + "programs\\Pelmora.exe"));
    const unsigned long long uninstaller = Pages(fs::file_size(BuildFolder() + "programs\\Uninstall.exe"));
    const bool clientFills = std::string(GetParam().File) == "Pelmora.Exe";
    ASSERT_NO_FATAL_FAILURE(FillSmallDriveLeaving((clientFills ? client / 2 : client + uninstaller / 2) * kPage));
    FBefore = TakeSnapshot(Places());
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    if (!HaveSmallDrive()) return;
    CleanInstallationPlaces();
    EmptySmallDrive();
  }
  std::string Parameters() const override { return "/autoupdate " + FInstallDir; }
  std::vector<std::string> Places() const {
    std::vector<std::string> places = ProductPlaces();
    places.push_back(FInstallDir);
    return places;
  }

  const std::string FInstallDir = std::string(kSmallDrive) + "Pelmora P2P\\";
  Snapshot FBefore;
};

TEST_P(UpgradeFullDiskRoadTest, TheEarlierVersionStaysAsItWasAndTheFailureIsShown) {
  ASSERT_NO_FATAL_FAILURE(ExpectErrorPage("Disk Full", GetParam().Shot));
  EXPECT_EQ(ErrorPageMessage(FDriver.Window()), "Disk Full");

  EXPECT_EQ(TakeSnapshot(Places()), FBefore) << "the upgrade's changes are not all undone";
  EXPECT_FALSE(FindClientWindow(FInstallDir).Window) << "a client was started";
}

INSTANTIATE_TEST_SUITE_P(EachProgram, UpgradeFullDiskRoadTest, testing::ValuesIn(kUpgradeFullDiskCases),
                         [](const testing::TestParamInfo<UpgradeFullDiskCase>& info) {
                           std::string name = info.param.File;
                           name.erase(name.find('.'), 1);
                           return name;
                         });

// Faults in steps that the installation can do without: a start menu on a read-only disk and an
// uninstall entry whose key lets nobody set a value. The run goes on to the finish page without
// what failed, and the uninstaller then leaves the computer as it was before the installation.
constexpr char kReadOnlyPrograms[] = "G:\\Programs";
constexpr char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The start menu's programs folder moved to the read-only drive, as the user's settings can move it.
void MoveTheProgramsFolderTo(const std::string& folder) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kUserShellFolders, "Programs", REG_EXPAND_SZ, folder.c_str(),
                  static_cast<DWORD>(folder.size() + 1));
}

// The setting to put back after a road: the one found before it, or the prefix's own when a
// test run cut off before its clean-up left the read-only folder in place.
std::string ProgramsFolderSetting() {
  char value[MAX_PATH] = "";
  DWORD size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, kUserShellFolders, "Programs", RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value, &size);
  if (std::string(value) == kReadOnlyPrograms)
    return "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
  return value;
}

// Setting values and making subkeys denied to everyone; reading, the key's security and its
// removal stay allowed. False when this Wine lets a process write the key all the same.
bool DenyWritingTheUninstallEntry() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  PSECURITY_DESCRIPTOR denied = nullptr;
  ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x6;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &denied, nullptr);
  const LSTATUS secured = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, denied);
  LocalFree(denied);
  RegCloseKey(key);
  HKEY probe = nullptr;
  if (secured != ERROR_SUCCESS || RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_SET_VALUE, &probe) == ERROR_SUCCESS) {
    if (probe) RegCloseKey(probe);
    return false;
  }
  return true;
}

struct PassedOverCase {
  const char* Name;
  bool ReadOnlyStartMenu;  // otherwise a denied uninstall entry
  const char* Shot;
};

const PassedOverCase kPassedOverCases[] = {
    {"ReadOnlyStartMenu", true, "78-read-only-start-menu"},
    {"DeniedUninstallEntry", false, "79-denied-uninstall-entry"},
};

void PrintTo(const PassedOverCase& c, std::ostream* out) { *out << c.Name; }

class PassedOverRoadTest : public RoadTest, public testing::WithParamInterface<PassedOverCase> {
 protected:
  void SetUp() override {
    CleanInstallationPlaces();
    fs::create_directories(FBase);
    FProgramsSetting = ProgramsFolderSetting();
    ASSERT_FALSE(FProgramsSetting.empty());
    FPlaces = ProductPlaces();
    FPlaces.push_back(FBase + "\\Pelmora P2P");
    if (GetParam().ReadOnlyStartMenu) {
      if (!fs::is_directory(kReadOnlyPrograms))
        GTEST_SKIP() << "no read-only disk at G: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
      ASSERT_FALSE(CreateDirectoryA((std::string(kReadOnlyPrograms) + "\\probe").c_str(), nullptr)) << "G: is writable";
      MoveTheProgramsFolderTo(kReadOnlyPrograms);
      FMoved = true;
      ASSERT_EQ(ShellFolder(CSIDL_PROGRAMS), kReadOnlyPrograms);
      FPlaces.push_back(kReadOnlyPrograms);
    } else if (!DenyWritingTheUninstallEntry()) {
      GTEST_SKIP() << "this Wine does not keep a process from writing a key that denies it";
    }
    FBefore = TakeSnapshot(FPlaces);
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    if (FMoved) MoveTheProgramsFolderTo(FProgramsSetting);
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    CleanInstallationPlaces();
  }

  const std::string FBase = "C:\\pelmora-e2e-passed-over-" + std::to_string(GetCurrentProcessId());
  std::string FProgramsSetting;
  bool FMoved = false;
  std::vector<std::string> FPlaces;
  Snapshot FBefore;
};

TEST_P(PassedOverRoadTest, TheInstallationEndsWithoutWhatFailedAndItsUninstallLeavesNothing) {
  const PassedOverCase& c = GetParam();
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  ASSERT_NO_FATAL_FAILURE(WalkToSummary(installDir, FBase + "\\Downloads\\", 90));
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  ASSERT_TRUE(Reach(kFinishPage, c.Shot, 60000)) << FDriver.Header();

  for (const char* file : {"Pelmora.Exe", "Uninstall.Exe", "PMInst.Dat", "UnInstall.dat"})
    EXPECT_TRUE(fs::exists(installDir + file)) << file;
  EXPECT_TRUE(fs::exists(DataFolder() + "Pelmora.Dat"));
  EXPECT_TRUE(fs::exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"));
  EXPECT_EQ(fs::exists(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\Pelmora P2P.Lnk"), !c.ReadOnlyStartMenu);
  EXPECT_EQ(UninstallEntryValue("UninstallString"), c.ReadOnlyStartMenu ? "\"" + installDir + "Uninstall.Exe\"" : "<missing>");
  EXPECT_NE(TakeSnapshot(FPlaces), FBefore);

  ASSERT_TRUE(FDriver.Click("&Exit"));
  EXPECT_EQ(WaitForExit(FProcess, kPatientMs), 0);
  ASSERT_EQ(RunToEnd(installDir + "Uninstall.Exe", "/quiet"), 0);
  EXPECT_TRUE(WaitUntil([&] { return !fs::exists(installDir); }, kPatientMs)) << installDir << " stays";
  Snapshot expected = FBefore;
  // The uninstaller removes the entry's key, which was there before only to deny writing it.
  if (!c.ReadOnlyStartMenu) {
    EXPECT_EQ(expected.Entries.erase("HKLM\\<key>"), 1u);
  }
  EXPECT_EQ(TakeSnapshot(FPlaces), expected) << "the uninstall leaves what the installation put in place";
}

INSTANTIATE_TEST_SUITE_P(EachStep, PassedOverRoadTest, testing::ValuesIn(kPassedOverCases),
                         [](const testing::TestParamInfo<PassedOverCase>& info) { return std::string(info.param.Name); });

// The unattended upgrade with the start menu on a read-only disk: its shortcuts are passed over,
// and the upgrade ends as one that went through, with the new programs and the client started;
// the shortcuts and entry of the earlier installation stay as they were.
class ReadOnlyStartMenuUpgradeRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    CleanInstallationPlaces();
    if (!fs::is_directory(kReadOnlyPrograms))
      GTEST_SKIP() << "no read-only disk at G: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
    FProgramsSetting = ProgramsFolderSetting();
    ASSERT_FALSE(FProgramsSetting.empty());
    ASSERT_EQ(RunToEnd(BuildFolder() + "Install_Pelmora.exe",
                       "/quiet \"/dir=" + FInstallDir + "\" \"/downloaddir=" + FBase + "\\Downloads\""),
              0);
    for (const char* program : {"Pelmora.Exe", "Uninstall.Exe"})
      std::ofstream(FInstallDir + program, std::ios::binary | std::ios::app) << "an earlier version";
    FBefore = TakeSnapshot(ProductPlaces());
    MoveTheProgramsFolderTo(kReadOnlyPrograms);
    FMoved = true;
    ASSERT_EQ(ShellFolder(CSIDL_PROGRAMS), kReadOnlyPrograms);
    RoadTest::SetUp();
  }
  void TearDown() override {
    RoadTest::TearDown();
    for (ClientWindow client; (client = FindClientWindow(FInstallDir));) {
      const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, client.ProcessId);
      if (!process) break;
      TerminateProcess(process, 0);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
    if (FMoved) MoveTheProgramsFolderTo(FProgramsSetting);
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    CleanInstallationPlaces();
  }
  std::string Parameters() const override { return "/autoupdate " + FInstallDir; }

  const std::string FBase = "C:\\pelmora-e2e-read-only-upgrade-" + std::to_string(GetCurrentProcessId());
  const std::string FInstallDir = FBase + "\\Pelmora P2P\\";
  std::string FProgramsSetting;
  bool FMoved = false;
  Snapshot FBefore;
};

TEST_F(ReadOnlyStartMenuUpgradeRoadTest, TheShortcutsArePassedOverAndTheUpgradeEndsWithTheClientStarted) {
  EXPECT_EQ(WaitForExit(FProcess, 120000), 0);
  EXPECT_TRUE(WaitUntil([&] { return FindClientWindow(FInstallDir).Window != nullptr; }, kPatientMs))
      << "the upgraded client was not started";
  EXPECT_TRUE(ReadFile(FInstallDir + "Pelmora.Exe") == ReadFile(BuildFolder() + "programs\\Pelmora.exe"));
  EXPECT_TRUE(ReadFile(FInstallDir + "Uninstall.Exe") == ReadFile(BuildFolder() + "programs\\Uninstall.exe"));
  EXPECT_TRUE(fs::is_empty(kReadOnlyPrograms));
  MoveTheProgramsFolderTo(FProgramsSetting);
  FMoved = false;
  EXPECT_EQ(TakeSnapshot(ProductPlaces()), FBefore) << "the earlier shortcuts, data or entry changed";
}

}  // namespace
