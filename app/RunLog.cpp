#include "app/RunLog.h"

#include <windows.h>

#include "app/Appl_Globals.h"
#include "core/FolderName.h"
#include "platform/LogFile.h"

namespace {

TLogFile& LogFile() {
  static TLogFile file;
  return file;
}

std::string TemporaryFolder() {
  char folder[MAX_PATH + 1] = "";
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return {};
  return WithBackslash(folder);
}

}  // namespace

void CloseRunLog() { LogFile().Close(); }

std::string OpenNewRunLog() {
  const std::string folder = TemporaryFolder();
  if (folder.empty()) {
    CloseRunLog();
    return {};
  }
  return LogFile().OpenNew(folder, "Install_Pelmora");
}

void OpenRunLog(const std::string& path) { LogFile().Open(path); }

TInstallLog& RunLog() {
  static TInstallLog log([](const std::string& line) { LogFile().Write(line); },
                         {&LocalLogTime, [] { return static_cast<std::int64_t>(GetTickCount64()); }});
  return log;
}

TRunJournal& InstallationRunJournal() {
  RunLog().Choices({InstallDir, DownloadDir, ConnectionKind, CreateDesktopShortcut});
  return RunLog();
}

TRunJournal& UpgradeRunJournal(const std::string& installDir) {
  RunLog().Note("Upgrade of the installation in: " + installDir);
  return RunLog();
}

void NoteClientStart(TClientStart start) {
  switch (start) {
    case TClientStart::Missing:
      RunLog().Note("Client not started: its program is missing");
      break;
    case TClientStart::AsTheUser:
      RunLog().Note("Client started");
      break;
    case TClientStart::ThroughTheShell:
      RunLog().Note("Client started through the desktop shell, as the user");
      break;
    case TClientStart::WithoutTheShell:
      RunLog().Note("Client started by the installer itself, with its administrator rights: no desktop shell runs");
      break;
  }
}
