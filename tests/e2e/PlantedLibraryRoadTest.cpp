// A download folder in which someone has left libraries named like the system libraries that
// the installer uses beyond the known ones, and like those that the known ones use in turn
// (Wine's user32 imports zlib1 and version and loads imm32, its shell32 takes shcore along).
// Wine is told to search for them as Windows does (the program's folder first,
// WINEDLLOVERRIDES "n,b"); the installer runs to its error page, which uses them all (the
// pages' controls, the error picture, the failure report), and none of the planted ones is
// loaded. The same libraries beside the installed uninstaller, which anyone who may write to
// its folder could leave there, are never loaded either.
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "tests/common/SystemState.h"
#include "tests/driver/UiDriver.h"
#include "tests/e2e/RoadTest.h"

namespace {

using namespace road;
using namespace system_state;

const char* const kPlanted[] = {"msimg32", "wininet", "comctl32", "version", "shcore", "imm32", "zlib1"};
// The libraries that the uninstaller's known system libraries use in turn.
const char* const kPlantedBesideTheUninstaller[] = {"version", "shcore", "imm32", "zlib1"};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Where the process has the library from; empty while it has not loaded it.
std::string ModulePath(DWORD process, const std::string& library) {
  std::string path;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
  if (snapshot == INVALID_HANDLE_VALUE) return path;
  MODULEENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32First(snapshot, &entry); more && path.empty(); more = Module32Next(snapshot, &entry))
    if (Lower(entry.szModule) == library + ".dll") path = entry.szExePath;
  CloseHandle(snapshot);
  return path;
}

class PlantedLibraryRoadTest : public RoadTest {
 protected:
  void SetUp() override {
    FHadDataFolder = std::filesystem::exists(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P");
    std::filesystem::create_directories(FDownloads);
    ASSERT_TRUE(CopyFileA((BuildFolder() + "Install_Pelmora.exe").c_str(), InstallerPath().c_str(), FALSE));
    for (const char* library : kPlanted)
      ASSERT_TRUE(CopyFileA((BuildFolder() + "tests\\e2e\\pelmora_planted_library.dll").c_str(),
                            (FDownloads + library + ".dll").c_str(), FALSE));
    // The installer inherits the search order; the test's own environment is restored at once.
    char overrides[1024] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    SetEnvironmentVariableA("WINEDLLOVERRIDES", (std::string(overrides) + kSearchLikeWindows).c_str());
    RoadTest::SetUp();
    SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides);
  }
  static constexpr char kSearchLikeWindows[] = ";msimg32,wininet,comctl32,version,shcore,imm32,zlib1=n,b";
  void TearDown() override {
    RoadTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(FBase, ignored);
    if (!FHadDataFolder) std::filesystem::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
  }
  std::string InstallerPath() const override { return FDownloads + "Install_Pelmora.exe"; }

  const std::string FBase = "C:\\pelmora-e2e-planted-" + std::to_string(GetCurrentProcessId());
  const std::string FDownloads = FBase + "\\Downloads\\";
  bool FHadDataFolder = false;
};

TEST_F(PlantedLibraryRoadTest, LibrariesBesideTheInstallerAreNeverLoaded) {
  // A folder named like the client program ends the run on the error page.
  const std::string installDir = FBase + "\\Pelmora P2P\\";
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, (installDir + "Pelmora.Exe").c_str(), nullptr), ERROR_SUCCESS);
  ASSERT_NO_FATAL_FAILURE(WalkToSummary(installDir, FBase + "\\Music\\", 50));
  ASSERT_TRUE(FDriver.Click("&Install Now"));
  ASSERT_TRUE(Reach("Error", "58-error-page-planted", 60000));

  // Each library is in use by then, so the road shows where it came from: had the installer
  // imported one statically, Wine would have taken the planted file (the installer's folder
  // first) and run it. Wine names a system library loaded for one of its own libraries after
  // the file it found first even when it maps its own code, so the proof is the planted
  // library's marker, which only its own start writes.
  for (const char* library : kPlanted) {
    EXPECT_TRUE(WaitUntil([&] { return !ModulePath(FProcess.Id, library).empty(); }, kPatientMs))
        << library << " was never loaded, so the road does not show where it comes from";
    EXPECT_FALSE(std::filesystem::exists(FDownloads + library + ".dll.loaded")) << "the planted " << library << " ran";
  }
}

TEST_F(PlantedLibraryRoadTest, LibrariesBesideTheUninstallerAreNeverLoaded) {
  EndProcess(FProcess);
  const std::string installDir = FBase + "\\Installed\\";
  StartedProcess installer = StartProgram(BuildFolder() + "Install_Pelmora.exe", "/quiet \"/dir=" + installDir + "\"");
  ASSERT_EQ(WaitForExit(installer, 120000), 0) << "the installation failed";
  EndProcess(installer);
  for (const char* library : kPlantedBesideTheUninstaller)
    ASSERT_TRUE(CopyFileA((BuildFolder() + "tests\\e2e\\pelmora_planted_library.dll").c_str(),
                          (installDir + library + ".dll").c_str(), FALSE));

  char overrides[1024] = "";
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  SetEnvironmentVariableA("WINEDLLOVERRIDES", (std::string(overrides) + kSearchLikeWindows).c_str());
  StartedProcess uninstaller = StartProgram(installDir + "Uninstall.Exe", "");
  SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides);
  ASSERT_NE(uninstaller.Process, nullptr);

  // Asking its question, the uninstaller has them all in use.
  const ShownMessageBox question = WaitForMessageBox(uninstaller.Id, kPatientMs);
  EXPECT_TRUE(question) << "no question";
  for (const char* library : kPlantedBesideTheUninstaller) {
    EXPECT_TRUE(WaitUntil([&] { return !ModulePath(uninstaller.Id, library).empty(); }, kPatientMs))
        << library << " was never loaded, so the uninstaller does not show where it comes from";
    EXPECT_FALSE(std::filesystem::exists(installDir + library + ".dll.loaded")) << "the planted " << library << " ran";
  }
  if (question) AnswerMessageBox(question, IDNO, kPatientMs);
  EXPECT_EQ(WaitForExit(uninstaller, kPatientMs), 3);
  EndProcess(uninstaller);

  std::error_code ignored;
  std::filesystem::remove_all(ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P", ignored);
  DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk").c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
}

}  // namespace
