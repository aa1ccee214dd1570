#include "pages/PNL_InstallInstalling.h"

#include <windows.h>
#include <shlobj.h>

#include <cmath>

#include "app/Appl_Globals.h"
#include "app/Exceptions.h"
#include "app/Form_Main.h"
#include "app/ProgressDisplay.h"
#include "app/ui/Application.h"
#include "datafile/WriteDataFile.h"
#include "engine/Files.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "engine/PayloadTotals.h"
#include "engine/Shortcuts.h"
#include "engine/UninstallList.h"

namespace {

const ControlSpec kDesign[] = {
    // Wide enough for "100% complete", which the label grows to as it would size itself.
    {.Kind = ControlKind::Label, .Name = "Label12", .Left = 344, .Top = 200, .Width = 120,
     .Height = 13, .Caption = "0% complete", .FontColor = Colors::White, .Font = {.Height = 11}},
    {.Kind = ControlKind::ProgressBar, .Name = "ProgressBar1", .Left = 39, .Top = 232, .Width = 634,
     .Height = 26},
};

std::string WithBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

// A special folder of the shell, without a final backslash; empty when the system cannot tell.
std::string ShellFolder(int csidl) {
  char path[MAX_PATH];
  if (SHGetFolderPathA(Application::Instance().MainWindow, csidl, nullptr, 0, path) != S_OK) return {};
  return path;
}

// Creates every missing folder of the path; false when one of them cannot be made.
bool ForceFolders(const std::string& folder) {
  std::string path = folder;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  if (path.empty() || FolderExists(path)) return !path.empty();
  size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos && slash > 2 && !ForceFolders(path.substr(0, slash))) return false;
  // A file of that name makes the folder impossible; another process may have just made it.
  return CreateDirectoryA(path.c_str(), nullptr) || FolderExists(path);
}

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EInOutError(static_cast<int>(GetLastError()));
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw EInOutError(static_cast<int>(error));
  if (written != text.size()) throw EInOutError(ERROR_DISK_FULL);
}

}  // namespace

TPNLInstallInstalling::TPNLInstallInstalling() : TFramePanel("PNLInstallInstalling", kDesign) {
  Title = "Installing Pelmora P2P";
}

void TPNLInstallInstalling::Loaded() {
  ProgressBar1 = &Controls.Get<TProgressBar>("ProgressBar1");
  Label12 = &Controls.Get("Label12");
}

void TPNLInstallInstalling::BeforeShow() { SetProgress(0); }

void TPNLInstallInstalling::SetProgress(long long position) {
  // Each position marks the end of a stretch of the run: it is shown, not paced away.
  TProgressDisplay display(ProgressBar1, Label12);
  display.Step(position);
  display.Finish();
}

void TPNLInstallInstalling::SetProgressPercent(int percent) {
  SetProgress(std::llround(std::nearbyint(ProgressBar1->Max() / 100.0 * percent)));
}

void TPNLInstallInstalling::MakeFolder(std::string folder) {
  folder = WithBackslash(folder);
  if (ForceFolders(folder)) return;
  std::string lastLevel = folder.substr(0, folder.size() - 1);
  if (!CreateDirectoryA(lastLevel.c_str(), nullptr)) throw EInOutError(static_cast<int>(GetLastError()));
}

void TPNLInstallInstalling::WriteDataFile(const std::string& path) {
  ::WriteDataFile(path, [this](int percent) {
    SetProgressPercent(percent);
    if (percent == 94) Application::Instance().ProcessMessages();
  });
}

void TPNLInstallInstalling::AfterShow() {
  ProgressBar1->SetMax(static_cast<int>(kPayloadTotal));
  ProgressBar1->SetMax(ProgressBar1->Max() + ProgressBar1->Max() / 10);

  SettleInstallDir();
  SettleAppDataDir();

  if (FileExists(InstallDir + "pelmora.exe")) DeleteFileA((InstallDir + "pelmora.exe").c_str());
  GB_PelmoraP2P_exe::ExtractPayload(InstallDir + "Pelmora.Exe", ProgressBar1, Label12);
  try {
    GB_Uninstall_exe::ExtractPayload(InstallDir + "Uninstall.Exe");
  } catch (const Exception&) {
    // The client works without its uninstaller; the run goes on.
  }
  if (FileExists(InstallDir + "pelmora.dat")) DeleteFileA((InstallDir + "pelmora.dat").c_str());
  if (FileExists(InstallDir + "pelmora.bak")) DeleteFileA((InstallDir + "pelmora.bak").c_str());
  SetProgressPercent(90);

  RegisterUninstall(InstallDir);
  CreateShortcuts();
  SetProgressPercent(93);

  WriteDataFile(AppDataDir + "Pelmora.Dat");
  try {
    WriteDataFile(InstallDir + "PMInst.Dat");
  } catch (const Exception&) {
    // The copy beside the program is a convenience; the client reads the per-user file.
  }
  WriteRemovalList();

  Form().ShowPanel("PNLInstallReady", true);
}

void TPNLInstallInstalling::SettleInstallDir() {
  InstallDir = WithBackslash(InstallDir);
  // The chosen folder first, then the fallbacks in turn; only the last one's failure ends
  // the run, before anything is written.
  const std::string fallbacks[] = {
      ShellFolder(CSIDL_PROGRAM_FILES).empty() ? "" : ShellFolder(CSIDL_PROGRAM_FILES) + "\\PelmoraP2P\\",
      ShellFolder(CSIDL_LOCAL_APPDATA).empty() ? "" : ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\",
  };
  auto tryFolder = [](const std::string& folder) {
    if (folder.empty()) return false;
    if (!FolderExists(folder)) {
      try {
        MakeFolder(folder);
      } catch (const EInOutError&) {
        return false;
      }
    }
    return FolderExists(folder);
  };
  if (tryFolder(InstallDir)) return;
  for (const std::string& fallback : fallbacks) {
    if (tryFolder(fallback)) {
      InstallDir = fallback;
      return;
    }
  }
  InstallDir = "C:\\Pelmora\\";
  MakeFolder(InstallDir);
}

void TPNLInstallInstalling::SettleAppDataDir() {
  std::string localAppData = ShellFolder(CSIDL_LOCAL_APPDATA);
  AppDataDir = localAppData.empty() ? InstallDir : localAppData + "\\Pelmora P2P\\";
  try {
    MakeFolder(AppDataDir);
  } catch (const EInOutError&) {
    AppDataDir = InstallDir;
  }
  if (!FolderExists(AppDataDir)) AppDataDir = InstallDir;
  ClientDataDir = AppDataDir;
}

void TPNLInstallInstalling::CreateShortcuts() {
  // One unit: the first failure leaves out the rest of the shortcuts, 92 % included.
  try {
    CreateStartMenuShortcuts(InstallDir, ShortcutRun::Installation);
    SetProgressPercent(92);
    if (CreateDesktopShortcut) CreateDesktopLink(InstallDir);
  } catch (const Exception&) {
    // The installation works without its shortcuts.
  }
}

void TPNLInstallInstalling::WriteRemovalList() {
  try {
    WriteTextLines(InstallDir + "UnInstall.dat",
                   RemovalListLines(ClientDataDir, InstallDir, AppDataDir, CreateDesktopShortcut));
  } catch (const Exception&) {
    // Without the list the uninstaller removes nothing; the installation itself is complete.
  }
}
