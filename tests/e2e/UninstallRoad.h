#pragma once
// The uninstall road: the product as the silent installation puts it into a folder of the test's
// own, and its installed uninstaller run from outside as a person or a script runs it, with what
// its step log says of each line of the removal list.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/common/PlantedLinks.h"
#include "tests/common/SystemState.h"
#include "tests/driver/BuildFolder.h"
#include "tests/driver/UiDriver.h"
#include "tests/driver/Waiting.h"

namespace uninstall_road {

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class UninstallRoad : public testing::Test {
 protected:
  void SetUp() override {
    CleanUp();
    ASSERT_TRUE(CreateDirectoryA(FBase.c_str(), nullptr));
  }
  void TearDown() override { CleanUp(); }
  void CleanUp() {
    namespace fs = std::filesystem;
    // Links first, by themselves: whatever a Windows program does to one reaches its target.
    for (const std::string& link : {FMenu, FData, FInstall + "Pelmora.Exe", FInstall + "PMInst.Dat", FDesktopLink})
      planted::RemoveLink(link);
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    fs::remove_all(FMenu, ignored);
    fs::remove_all(FData, ignored);
    DeleteFileA(FDesktopLink.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kUninstallKey);
  }

  // The product as the silent installation puts it into the test's folder.
  void Install() {
    StartedProcess installer = StartProgram(BuildFolder() + "Install_Pelmora.exe", "/quiet \"/dir=" + FInstall + "\"");
    ASSERT_NE(installer.Process, nullptr);
    ASSERT_EQ(WaitForExit(installer, 120000), 0) << "the installation failed";
    EndProcess(installer);
    ASSERT_TRUE(Exists(FInstall + "Uninstall.Exe") && Exists(FData + "\\Pelmora.Dat") && Exists(FMenu) &&
                Exists(FDesktopLink));
  }

  // Runs the installed uninstaller to its end; its exit code, or -1 when it did not end.
  long Uninstall(const std::string& parameters) {
    StartedProcess uninstaller = StartProgram(FInstall + "Uninstall.Exe", parameters);
    const long exitCode = WaitForExit(uninstaller, kPatientMs);
    EndProcess(uninstaller);
    return exitCode;
  }

  // What the uninstaller takes away however links stand: the uninstall entry, the client's
  // other files and (once it has ended) itself.
  void ExpectTheRestRemoved(const std::string& what) {
    EXPECT_EQ(system_state::UninstallEntryValue("DisplayName"), "<missing>") << what;
    EXPECT_TRUE(WaitUntil([&] { return !Exists(FInstall + "Uninstall.Exe") && !Exists(FInstall + "UnInstall.dat"); },
                          kPatientMs))
        << what << ": the uninstaller or its list is still there";
  }

  const std::string FBase = "C:\\pelmora-uninstall-road-" + std::to_string(GetCurrentProcessId()) + "\\";
  const std::string FInstall = FBase + "Pelmora P2P\\";
  const std::string FMenu = system_state::ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P";
  const std::string FData = system_state::ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P";
  const std::string FDesktopLink = system_state::ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk";
};

inline std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The log's text once it holds the line that ends with this text.
inline std::string LogOnceItHolds(const std::string& path, const std::string& end) {
  std::string log;
  WaitUntil([&] { return (log = system_state::ReadFile(path)).find(end + "\r\n") != std::string::npos; }, kPatientMs);
  return log;
}

// A line of the removal list that names something to remove ("<" kind argument ">"), with its
// number in the list as the log counts it (the product's name and empty lines count too).
struct ListedLine {
  int Number;
  std::string Line;
};

inline std::vector<ListedLine> RemovalLines(const std::string& list) {
  std::vector<ListedLine> lines;
  int number = 0;
  for (std::size_t start = 0, end; (end = list.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = list.substr(start, end - start);
    ++number;
    if (!line.empty() && line.front() == '<') lines.push_back({number, line});
  }
  return lines;
}

// The result the log gives for line number of the removal list: the text after the line's own.
inline std::string ResultOfLine(const std::string& log, int number, const std::string& line) {
  const std::string start = " Line " + std::to_string(number) + " " + line + " ";
  const std::size_t at = Lower(log).find(Lower(start));
  if (at == std::string::npos) return "<no log line>";
  const std::size_t from = at + start.size();
  return log.substr(from, log.find("\r\n", from) - from);
}

}  // namespace uninstall_road
