#pragma once
// The installation run as a plan: settle the installation and data folders, the client program,
// its uninstaller, the old data files of the folder removed, the uninstall entry, the shortcuts,
// the data file and its copy, the removal list.

#include <cstdint>
#include <string>

#include "engine/RunActions.h"
#include "engine/RunPlan.h"

// The settings the run reads and settles; the page binds them to the installer's settings.
struct TInstallationSettings {
  std::string& InstallDir;     // read; settled to a folder that exists, ending in "\"
  std::string& AppDataDir;     // set: the per-user folder of the data file
  std::string& ClientDataDir;  // set to AppDataDir
  bool CreateDesktopShortcut;
  // Read; loses its trailing "\" once the first data file has it in its header.
  std::string& DownloadDir;
  const std::string& ReleaseCode;
  std::int32_t ConnectionKind;
};

// The bar runs to payloadTotal and a tenth more, for the steps after the payloads. The plan
// reads and settles the values the settings refer to as its steps run; they and the actions
// must outlive it.
TRunPlan InstallationPlan(const TInstallationSettings& settings, TRunActions& actions, long long payloadTotal);

// Writes one client data file of the settings, moving the bar to the writer's progress points.
void WriteInstallationDataFile(const std::string& path, const TInstallationSettings& settings,
                               TRunActions& actions, TRunProgress& progress);
