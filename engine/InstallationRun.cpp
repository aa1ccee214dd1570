#include "engine/InstallationRun.h"

#include <windows.h>

#include "core/Exceptions.h"
#include "core/FolderName.h"
#include "engine/Files.h"
#include "engine/PayloadTotals.h"
#include "engine/WindowsRun.h"

void MakeFolder(std::string folder) {
  folder = WithBackslash(folder);
  if (ForceFolders(folder)) return;
  std::string lastLevel = folder.substr(0, folder.size() - 1);
  if (!CreateDirectoryA(lastLevel.c_str(), nullptr)) throw EInOutError(static_cast<int>(GetLastError()));
}

void WriteInstallationDataFile(const std::string& path, const TInstallationSettings& settings, TRunProgress& progress) {
  TWindowsRunActions actions;
  WriteInstallationDataFile(path, settings, actions, progress);
}

void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress, TRunJournal& journal) {
  TWindowsRunActions actions;
  TWindowsRunSystem system;
  RunPlan(InstallationPlan(settings, actions, kPayloadTotal), system, progress, journal);
}

void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress) {
  TNoJournal journal;
  InstallationRun(settings, progress, journal);
}
