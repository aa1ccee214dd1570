#include "engine/InstallationRun.h"

#include <windows.h>
#include <shlobj.h>

#include <exception>

#include "core/Exceptions.h"
#include "core/RemovalList.h"
#include "datafile/WholeFile.h"
#include "datafile/WriteDataFile.h"
#include "engine/Files.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "engine/PayloadTotals.h"
#include "engine/Shortcuts.h"
#include "platform/ShellFolders.h"

namespace {

std::string WithBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

void SettleInstallDir(std::string& InstallDir) {
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

void SettleAppDataDir(const TInstallationSettings& settings) {
  std::string localAppData = ShellFolder(CSIDL_LOCAL_APPDATA);
  settings.AppDataDir = localAppData.empty() ? settings.InstallDir : localAppData + "\\Pelmora P2P\\";
  try {
    MakeFolder(settings.AppDataDir);
  } catch (const EInOutError&) {
    settings.AppDataDir = settings.InstallDir;
  }
  if (!FolderExists(settings.AppDataDir)) settings.AppDataDir = settings.InstallDir;
  settings.ClientDataDir = settings.AppDataDir;
}

// One unit: the first failure leaves out the rest of the shortcuts, 92 % included.
void CreateShortcuts(const TInstallationSettings& settings, TRunProgress& progress) {
  CreateStartMenuShortcuts(settings.InstallDir, TShortcutRun::Installation);
  progress.SetProgressPercent(92);
  if (settings.CreateDesktopShortcut) CreateDesktopLink(settings.InstallDir);
}

void WriteRemovalList(const TInstallationSettings& settings) {
  const std::string text = RemovalListText(RemovalListLines(
      settings.ClientDataDir, settings.InstallDir, settings.AppDataDir, settings.CreateDesktopShortcut));
  // Whole or not at all: a list cut short by a full disk would leave files behind.
  WriteWholeFile(settings.InstallDir + "UnInstall.dat", text);
}

}  // namespace

void MakeFolder(std::string folder) {
  folder = WithBackslash(folder);
  if (ForceFolders(folder)) return;
  std::string lastLevel = folder.substr(0, folder.size() - 1);
  if (!CreateDirectoryA(lastLevel.c_str(), nullptr)) throw EInOutError(static_cast<int>(GetLastError()));
}

void WriteDataFile(const std::string& path, const TInstallationSettings& settings, TRunProgress& progress) {
  const TDataFileSettings header{settings.ClientDataDir, settings.DownloadDir, settings.ReleaseCode,
                               settings.ConnectionKind};
  // The client wants the download folder without its trailing backslash; the setting itself
  // changes, so a second file written later has it without the backslash in the header too.
  settings.DownloadDir = ClientDownloadDir(settings.DownloadDir);
  ::WriteDataFile(path, header, [&progress](int percent) {
    progress.SetProgressPercent(percent);
    if (percent == 94) progress.ProcessMessages();
  });
}

void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress) {
  TNoJournal journal;
  InstallationRun(settings, progress, journal);
}

void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress,
                     TRunJournal& journal) {
  progress.SetMax(kPayloadTotal);
  progress.SetMax(progress.Max() + progress.Max() / 10);

  JournalledStep(journal, "Installation folder", TOnFailure::EndRun, [&] {
    SettleInstallDir(settings.InstallDir);
    return settings.InstallDir;
  });
  JournalledStep(journal, "Data folder", TOnFailure::EndRun, [&] {
    SettleAppDataDir(settings);
    return settings.AppDataDir;
  });

  const std::string& installDir = settings.InstallDir;
  if (FileExists(installDir + "pelmora.exe")) DeleteFileA((installDir + "pelmora.exe").c_str());
  JournalledStep(journal, "Client program", TOnFailure::EndRun, [&] {
    GB_PelmoraP2P_exe::ExtractPayload(installDir + "Pelmora.Exe", &progress.PayloadProgress());
    return installDir + "Pelmora.Exe";
  });
  // Without its uninstaller the installation could never be removed: the run still puts the
  // rest in place, but then ends on the error page instead of reporting success.
  std::exception_ptr uninstallerFailure;
  JournalledStep(journal, "Uninstaller", TOnFailure::GoOn, [&] {
    try {
      GB_Uninstall_exe::ExtractPayload(installDir + "Uninstall.Exe");
    } catch (const Exception&) {
      uninstallerFailure = std::current_exception();
      throw;
    }
    return installDir + "Uninstall.Exe";
  });
  if (FileExists(installDir + "pelmora.dat")) DeleteFileA((installDir + "pelmora.dat").c_str());
  if (FileExists(installDir + "pelmora.bak")) DeleteFileA((installDir + "pelmora.bak").c_str());
  progress.SetProgressPercent(90);

  JournalledStep(journal, "Uninstall entry", TOnFailure::EndRun, [&] {
    RegisterUninstall(installDir);
    return std::string(kUninstallKey);
  });
  // The installation works without its shortcuts.
  JournalledStep(journal, "Shortcuts", TOnFailure::GoOn, [&] {
    CreateShortcuts(settings, progress);
    return std::string(settings.CreateDesktopShortcut ? "start menu and desktop" : "start menu");
  });
  progress.SetProgressPercent(93);

  JournalledStep(journal, "Data file", TOnFailure::EndRun, [&] {
    WriteDataFile(settings.AppDataDir + "Pelmora.Dat", settings, progress);
    return settings.AppDataDir + "Pelmora.Dat";
  });
  // The copy beside the program is a convenience; the client reads the per-user file.
  JournalledStep(journal, "Data file copy", TOnFailure::GoOn, [&] {
    WriteDataFile(installDir + "PMInst.Dat", settings, progress);
    return installDir + "PMInst.Dat";
  });
  // Without the list the uninstaller would remove nothing: its failure ends the run too.
  JournalledStep(journal, "Removal list", TOnFailure::EndRun, [&] {
    WriteRemovalList(settings);
    return installDir + "UnInstall.dat";
  });
  if (uninstallerFailure) std::rethrow_exception(uninstallerFailure);
}
