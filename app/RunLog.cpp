#include "app/RunLog.h"

#include <windows.h>

#include "app/Appl_Globals.h"

namespace {

HANDLE& LogFile() {
  static HANDLE file = INVALID_HANDLE_VALUE;
  return file;
}

void WriteLine(const std::string& line) {
  HANDLE& file = LogFile();
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  // A log that fails once (a full disk) is given up rather than left with holes.
  if (!WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
      written != line.size()) {
    CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }
}

TLogTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace

std::string DefaultLogPath() {
  char folder[MAX_PATH + 1] = "";
  const DWORD length = GetTempPathA(sizeof folder, folder);
  std::string path = length > 0 && length < sizeof folder ? folder : "";
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + "Install_Pelmora.log";
}

void CloseRunLog() {
  HANDLE& file = LogFile();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
}

void OpenRunLog(const std::string& path) {
  CloseRunLog();
  HANDLE& file = LogFile();
  // Others may read it while the installation runs.
  file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TInstallLog& RunLog() {
  static TInstallLog log(&WriteLine, {&LocalNow, [] { return static_cast<std::int64_t>(GetTickCount64()); }});
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
