#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <thread>

#include "core/Exceptions.h"
#include "engine/ClientProcess.h"
#include "engine/Shortcuts.h"

namespace {

std::string TestProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// A fresh folder of this process below the temporary folder, ending in "\".
std::string UniqueFolder(const std::string& tag) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "pm-" + tag + "-" + std::to_string(GetCurrentProcessId()) +
                       "-" + std::to_string(GetTickCount64()) + "\\";
  SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
  return folder;
}

void RemoveTree(const std::string& folder) {
  std::string from = folder.substr(0, folder.size() - 1) + std::string(1, '\0');
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationA(&operation);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitForFile(const std::string& path, DWORD timeoutMs) {
  ULONGLONG start = GetTickCount64();
  while (!Exists(path)) {
    if (GetTickCount64() - start > timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

struct LinkFile {
  std::string Path;
  std::string Description;
  std::string Arguments;
  std::string WorkingDirectory;
  std::string IconPath;
  int IconIndex = -1;
};

// Reads a shortcut back through a new shell link object, as the shell does.
LinkFile ReadLink(const std::string& file) {
  IShellLinkA* link = nullptr;
  IPersistFile* persist = nullptr;
  LinkFile read;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    throw std::runtime_error("no shell link object");
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  std::wstring wide(file.begin(), file.end());
  HRESULT loaded = persist->Load(wide.c_str(), STGM_READ);
  char text[1024] = "";
  if (SUCCEEDED(loaded)) {
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    read.Path = text;
    text[0] = '\0';
    link->GetDescription(text, sizeof text);
    read.Description = text;
    text[0] = '\0';
    link->GetArguments(text, sizeof text);
    read.Arguments = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, sizeof text);
    read.WorkingDirectory = text;
    text[0] = '\0';
    link->GetIconLocation(text, sizeof text, &read.IconIndex);
    read.IconPath = text;
  }
  persist->Release();
  link->Release();
  if (FAILED(loaded)) throw std::runtime_error("cannot load " + file);
  return read;
}

// Wine keeps a web address as a path below the current folder ("...\http:\www.x\p2p\"); this
// gives the address part with "/" separators, whichever way it was stored.
std::string StoredAddress(const std::string& path) {
  std::string address = path;
  for (char& c : address)
    if (c == '\\') c = '/';
  size_t site = address.find("www.");
  return site == std::string::npos ? address : address.substr(site);
}

std::string ReadRegistryString(const std::string& key, const char* value) {
  char data[1024] = "";
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return "<missing>";
  return data;
}

class ShortcutsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    FRoot = UniqueFolder("links");
  }
  void TearDown() override {
    RemoveTree(FRoot);
    CoUninitialize();
  }
  std::string FRoot;
};

TEST_F(ShortcutsTest, StartMenuShortcutsOfBothRunsReadBackAndASecondRunOverwrites) {
  const std::string installDir = "C:\\Program Files\\Pelmora P2P\\";
  const std::string menu = FRoot + "Programs\\Pelmora P2P\\";
  CreateDirectoryA((FRoot + "Programs").c_str(), nullptr);

  struct Expected {
    const char* File;
    std::string Target;  // a program's full path, or the stored form of a web address
    const char* Description;
    bool Program;
  };
  for (TShortcutRun run : {TShortcutRun::Installation, TShortcutRun::Upgrade}) {
    SCOPED_TRACE(run == TShortcutRun::Installation ? "installation" : "upgrade");
    ASSERT_NO_THROW(CreateStartMenuShortcuts(installDir, run, FRoot + "Programs"));
    const Expected expected[] = {
        {"Pelmora P2P.Lnk", installDir + "Pelmora.Exe", "Pelmora P2P", true},
        {"Pelmora P2P On the Web.Lnk", "www.pelmora.example.com/p2p/", "Pelmora P2P On the web", false},
        {"Pelmora P2P Help.Lnk",
         run == TShortcutRun::Installation ? "www.pelmora.example.com/p2p/help"
                                          : "www.pelmora.example.com/p2p/help/",
         "Pelmora P2P Help", false},
        {"Pelmora P2P Uninstall.Lnk", installDir + "Uninstall.Exe", "Pelmora P2P Uninstall", true},
    };
    for (const Expected& want : expected) {
      LinkFile link = ReadLink(menu + want.File);
      EXPECT_EQ(link.Description, want.Description) << want.File;
      EXPECT_EQ(link.Arguments, "") << want.File;
      EXPECT_EQ(link.WorkingDirectory, "") << want.File;
      if (want.Program) {
        EXPECT_EQ(link.Path, want.Target) << want.File;
        EXPECT_EQ(link.IconPath, want.Target) << want.File;
        EXPECT_EQ(link.IconIndex, 0) << want.File;
      } else {
        EXPECT_EQ(StoredAddress(link.Path), want.Target) << want.File << ": " << link.Path;
        EXPECT_EQ(link.IconPath, "") << want.File;
      }
    }
  }
}

TEST_F(ShortcutsTest, DesktopShortcutStartsTheClient) {
  const std::string installDir = "D:\\Apps\\Pelmora\\";
  CreateDesktopLink(installDir, FRoot.substr(0, FRoot.size() - 1));
  LinkFile link = ReadLink(FRoot + "Pelmora P2P.Lnk");
  EXPECT_EQ(link.Path, installDir + "Pelmora.Exe");
  EXPECT_EQ(link.Description, "Pelmora P2P");
  EXPECT_EQ(link.IconPath, installDir + "Pelmora.Exe");
  EXPECT_EQ(link.IconIndex, 0);
  EXPECT_EQ(link.Arguments, "");
}

TEST_F(ShortcutsTest, ALinkThatCannotBeWrittenRaisesAndStopsTheShortcuts) {
  // A file stands where the start-menu folder belongs.
  const std::string programs = FRoot + "Programs";
  CreateDirectoryA(programs.c_str(), nullptr);
  HANDLE blocker = CreateFileA((programs + "\\Pelmora P2P").c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
  CloseHandle(blocker);
  try {
    CreateStartMenuShortcuts("C:\\Pelmora\\", TShortcutRun::Upgrade, programs);
    ADD_FAILURE() << "no failure raised";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"" + programs + "\\Pelmora P2P\\Pelmora P2P.Lnk\". ", 0), 0u)
        << error.what();
  }
  EXPECT_THROW(CreateDesktopLink("C:\\Pelmora\\", FRoot + "Missing"), EFCreateError);
}

TEST_F(ShortcutsTest, UnknownSystemFoldersGiveNoShortcut) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA(FRoot.c_str());
  CreateStartMenuShortcuts("C:\\Pelmora\\", TShortcutRun::Installation, "");
  CreateDesktopLink("C:\\Pelmora\\", "");
  SetCurrentDirectoryA(current);
  EXPECT_FALSE(Exists(FRoot.substr(0, 2) + "\\Pelmora P2P"));
  EXPECT_FALSE(Exists(FRoot.substr(0, 2) + "\\Pelmora P2P.Lnk"));
}

TEST_F(ShortcutsTest, SystemFoldersAreTheUsersStartMenuProgramsAndDesktop) {
  std::string programs = ProgramsFolder();
  std::string desktop = DesktopFolder();
  EXPECT_NE(programs.find("\\Start Menu\\Programs"), std::string::npos) << programs;
  EXPECT_NE(programs.back(), '\\');
  EXPECT_TRUE(Exists(programs)) << programs;
  EXPECT_EQ(desktop.substr(desktop.size() - 8), "\\Desktop") << desktop;
}

TEST(ShortcutsWithoutCom, CreatingALinkRaisesTheSystemMessage) {
  std::string message;
  // A thread of its own: COM is not initialised there.
  std::thread([&] {
    try {
      CreateLink("C:\\x.exe", "C:\\x.Lnk", "x", "", 0);
    } catch (const Exception& error) {
      message = error.what();
    }
  }).join();
  // The system's text for CO_E_NOTINITIALIZED, or the runtime's wording where it has none.
  EXPECT_TRUE(message.find("CoInitialize") != std::string::npos || message == "OLE error 800401F0")
      << message;
}

TEST(UninstallEntry, HoldsNameAndQuotedUninstallerAndASecondRunOverwrites) {
  for (const std::string& installDir : {std::string("C:\\Program Files\\Pelmora P2P\\"), std::string("E:\\Other\\")}) {
    RegisterUninstall(installDir);
    EXPECT_EQ(ReadRegistryString(kUninstallKey, "DisplayName"), "Pelmora P2P");
    EXPECT_EQ(ReadRegistryString(kUninstallKey, "UninstallString"),
              "\"" + installDir + "Uninstall.Exe\"");
  }
}

// Windows takes an unquoted command line "C:\Program Files\...\x.exe" as the program
// "C:\Program.exe" with arguments when that exists; Wine does the same.
class PlantedProgramTest : public ShortcutsTest {
 protected:
  void SetUp() override {
    ShortcutsTest::SetUp();
    FInstallDir = FRoot + "Program Files\\Pelmora P2P\\";
    SHCreateDirectoryExA(nullptr, FInstallDir.c_str(), nullptr);
    const std::string probe = TestProgramFolder() + "shortcuts_probe.exe";
    for (const std::string& copy : {FRoot + "Program.exe", FInstallDir + "Pelmora.Exe",
                                     FInstallDir + "Uninstall.Exe"})
      ASSERT_TRUE(CopyFileA(probe.c_str(), copy.c_str(), FALSE)) << copy;
    FPlanted = FRoot + "Program.exe.ran";
  }
  std::string FInstallDir;
  std::string FPlanted;
};

TEST_F(PlantedProgramTest, AnUnquotedPathRunsThePlantedProgram) {
  std::string unquoted = FInstallDir + "Pelmora.Exe";
  ASSERT_GT(WinExec(unquoted.c_str(), SW_SHOWMINNOACTIVE), 31u);
  EXPECT_TRUE(WaitForFile(FPlanted, 10000)) << "the fault this fixture guards against is not reproduced";
}

TEST_F(PlantedProgramTest, StartingTheClientRunsTheClient) {
  StartClient(FInstallDir);
  ASSERT_TRUE(WaitForFile(FInstallDir + "Pelmora.Exe.ran", 10000)) << "the client did not run";
  EXPECT_FALSE(Exists(FPlanted));
}

TEST_F(PlantedProgramTest, TheRegisteredUninstallStringRunsTheUninstaller) {
  const std::string key = "Software\\PelmoraTests\\Uninstall-" + std::to_string(GetCurrentProcessId());
  RegisterUninstall(FInstallDir, key);
  std::string commandLine = ReadRegistryString(key, "UninstallString");
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process))
      << commandLine;
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_TRUE(Exists(FInstallDir + "Uninstall.Exe.ran")) << "the uninstaller did not run";
  EXPECT_FALSE(Exists(FPlanted));
}

}  // namespace
