// A download folder in which someone has left libraries named like the system libraries that
// the installer uses beyond the known ones. Wine is told to search for them as Windows does
// (the program's folder first, WINEDLLOVERRIDES "n,b"); the installer runs to its error page,
// which uses all three (the pages' controls, the error picture, the failure report), and none
// of the planted ones is loaded.
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

const char* const kPlanted[] = {"msimg32", "wininet", "comctl32"};

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
    SetEnvironmentVariableA("WINEDLLOVERRIDES", (std::string(overrides) + ";msimg32,wininet,comctl32=n,b").c_str());
    RoadTest::SetUp();
    SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides);
  }
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

}  // namespace
