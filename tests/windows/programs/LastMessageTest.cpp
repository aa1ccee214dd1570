// An interactive uninstall whose last message stays open for a minute: the uninstaller's own
// file goes by a clean-up that waits for the uninstaller's process to end, however long that
// takes, and that nothing in the temporary folder steers.
//
// Two steps, which ctest runs as two tests: the removal, which uses the product's real places
// and so holds the installation lock, leaves the uninstaller with its last message open and
// hands it over through a file; the minute that follows touches only the test's own folder and
// runs beside the other tests.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/RemovalList.h"
#include "tests/common/SystemState.h"
#include "tests/windows/programs/ProgramsTestSupport.h"

namespace {

using system_state::ShellFolder;

// How long the last message stays open.
constexpr ULONGLONG kOpenMs = 60000;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Touch(const std::string& path, const std::string& content = "x") { std::ofstream(path, std::ios::binary) << content; }

bool KeyExists(const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

// The clean-up folders of the temporary folder that exist now.
std::set<std::string> CleanupFolders() {
  std::set<std::string> folders;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((TempFolder() + "PelmoraUninstall-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return folders;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return folders;
}

// What the first step hands to the second, one value a line: the uninstaller's process id, the
// tick count when its last message came, its installation folder, its clean-up folder, the
// marker that a planted command would write, and the planted files.
std::string HandOverFile() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path) + ".last-message";
}

struct HandOver {
  DWORD Process = 0;
  ULONGLONG Shown = 0;
  std::string InstallDir, CleanupFolder, Marker;
  std::vector<std::string> Planted;

  void Save() const {
    std::ofstream out(HandOverFile(), std::ios::binary);
    out << Process << "\n" << Shown << "\n" << InstallDir << "\n" << CleanupFolder << "\n" << Marker << "\n";
    for (const std::string& file : Planted) out << file << "\n";
  }
  static HandOver Load() {
    HandOver handOver;
    std::istringstream in(ReadAll(HandOverFile()));
    std::string line;
    std::getline(in, line);
    handOver.Process = static_cast<DWORD>(std::strtoul(line.c_str(), nullptr, 10));
    std::getline(in, line);
    handOver.Shown = std::strtoull(line.c_str(), nullptr, 10);
    std::getline(in, handOver.InstallDir);
    std::getline(in, handOver.CleanupFolder);
    std::getline(in, handOver.Marker);
    while (std::getline(in, line)) handOver.Planted.push_back(line);
    return handOver;
  }
};

TEST(LastMessageTest, TheUninstallRemovesTheProductAndLeavesItsLastMessageOpen) {
  DeleteFileA(HandOverFile().c_str());
  const std::string root = TestFolder("last-message"), install = root + "Pelmora P2P\\";
  const std::string data = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\";
  const std::string startMenu = ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\";
  const std::string link = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk";
  CreateDirectoryA(install.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((BuildFolder() + "programs\\Uninstall.exe").c_str(), (install + "Uninstall.Exe").c_str(), FALSE));
  CreateDirectoryA(data.c_str(), nullptr);
  CreateDirectoryA(startMenu.c_str(), nullptr);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, system_state::kUninstallKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  for (const std::string& file :
       {install + "Pelmora.Exe", install + "PMInst.dat", data + "Pelmora.dat", startMenu + "Pelmora P2P.Lnk", link})
    Touch(file);
  std::string list;
  for (const std::string& line : RemovalListLines(data, install, data, true)) list += line + "\r\n";
  Touch(install + "UnInstall.dat", list);

  HandOver handOver;
  handOver.InstallDir = install;
  handOver.Marker = root + "injected.txt";
  const std::set<std::string> before = CleanupFolders();
  // Started on its own, as the system's software list starts it; it outlives this test. Its
  // output goes to a file of its own, and it inherits none of this test's: an output it shared
  // with this test would keep the test runner waiting for it.
  const std::string commandLine = "\"" + install + "Uninstall.Exe\"";
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  const HANDLE output = CreateFileA((root + "uninstaller-output.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(output, INVALID_HANDLE_VALUE);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = output;
  for (DWORD standard : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
    SetHandleInformation(GetStdHandle(standard), HANDLE_FLAG_INHERIT, 0);
  PROCESS_INFORMATION started{};
  const BOOL created = CreateProcessA(nullptr, std::string(commandLine).data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &started);
  CloseHandle(output);
  ASSERT_TRUE(created);
  CloseHandle(started.hThread);
  handOver.Process = started.dwProcessId;
  // Ended with the test unless it reaches its last message and is handed over.
  struct EndUnlessHandedOver {
    HANDLE Process;
    ~EndUnlessHandedOver() {
      if (!Process) return;
      TerminateProcess(Process, 99);
      CloseHandle(Process);
    }
  } guard{started.hProcess};

  const ShownMessageBox question = WaitForMessageBox(handOver.Process, kPatientMs);
  ASSERT_TRUE(question) << "no question";
  // Files where a clean-up named after the process id would go, with a command in them.
  for (const char* name : {"", "-0", "-1"}) {
    handOver.Planted.push_back(TempFolder() + "PelmoraUninstall-" + std::to_string(handOver.Process) + name + ".bat");
    Touch(handOver.Planted.back(), "echo injected > \"" + handOver.Marker + "\"\r\n");
  }
  ASSERT_TRUE(AnswerMessageBox(question, IDYES, kPatientMs)) << "the question stays";
  const ShownMessageBox last = WaitForMessageBox(handOver.Process, kPatientMs);
  ASSERT_TRUE(last) << "no last message";
  handOver.Shown = GetTickCount64();
  EXPECT_EQ(last.Text, "Pelmora P2P was removed from your computer.");

  // The product's places went before the last message; its clean-up is prepared.
  EXPECT_FALSE(Exists(data));
  EXPECT_FALSE(Exists(startMenu));
  EXPECT_FALSE(Exists(link));
  EXPECT_FALSE(KeyExists(system_state::kUninstallKey));
  for (const std::string& folder : CleanupFolders())
    if (!before.count(folder)) handOver.CleanupFolder = TempFolder() + folder;
  EXPECT_FALSE(handOver.CleanupFolder.empty()) << "no clean-up folder was prepared";
  handOver.Save();
  CloseHandle(guard.Process);
  guard.Process = nullptr;
}

TEST(LastMessageTest, AMinuteLaterTheUninstallEndsAndLeavesNothing) {
  const HandOver handOver = HandOver::Load();
  ASSERT_NE(handOver.Process, 0u) << "the uninstall's first step handed nothing over";
  const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, handOver.Process);
  ASSERT_NE(process, nullptr) << "the uninstaller has ended already";
  const ShownMessageBox last = WaitForMessageBox(handOver.Process, kPatientMs);
  ASSERT_TRUE(last) << "the last message is not open";

  // The message stays open; the clean-up has not started and nothing waits by trying.
  const ULONGLONG open = GetTickCount64() - handOver.Shown;
  if (open < kOpenMs) Sleep(static_cast<DWORD>(kOpenMs - open));
  EXPECT_TRUE(Exists(handOver.InstallDir + "Uninstall.Exe")) << "the uninstaller's file cannot go while it runs";
  EXPECT_TRUE(Exists(handOver.CleanupFolder)) << "the clean-up ended before the uninstaller";
  AnswerMessageBox(last, IDOK, kPatientMs);
  EXPECT_EQ(WaitForSingleObject(process, kPatientMs), WAIT_OBJECT_0) << "the uninstaller does not end";
  DWORD exitCode = 0;
  GetExitCodeProcess(process, &exitCode);
  CloseHandle(process);
  EXPECT_EQ(exitCode, 0u);

  EXPECT_TRUE(WaitUntil([&] { return !Exists(handOver.InstallDir); }, 20000)) << "the installation folder is still there";
  EXPECT_TRUE(WaitUntil([&] { return !Exists(handOver.CleanupFolder); }, 20000)) << "the clean-up folder is left";
  EXPECT_FALSE(Exists(handOver.Marker)) << "a planted file was run";
  for (const std::string& file : handOver.Planted) {
    EXPECT_EQ(ReadAll(file), "echo injected > \"" + handOver.Marker + "\"\r\n") << file;
    DeleteFileA(file.c_str());
  }
  const std::string root = handOver.InstallDir.substr(0, handOver.InstallDir.rfind('\\', handOver.InstallDir.size() - 2) + 1);
  DeleteFileA((root + "uninstaller-output.txt").c_str());
  RemoveDirectoryA(root.c_str());
  DeleteFileA(HandOverFile().c_str());
}

}  // namespace
