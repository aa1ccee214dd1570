#pragma once
// The installation run: puts the client, its uninstaller, the data files, the removal list, the
// shortcuts and the uninstall entry on the computer.

#include <cstdint>
#include <string>

#include "engine/RunJournal.h"
#include "engine/RunProgress.h"

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

// The whole run, with progress on the page's bar and label. Raises the failures that end it
// (a folder that cannot be made, the client program, the first data file, the removal list);
// a failure of the uninstaller is raised once everything else is in place, so that the run
// never ends as a success without a way to remove what it installed. Every other step is
// guarded on its own.
void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress);
// The same run, reporting each step's start and result to the journal.
void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress,
                     TRunJournal& journal);

// Creates the folder with all missing parents; raises EInOutError when it cannot.
void MakeFolder(std::string folder);
// Writes one client data file of the settings, moving the bar to the writer's progress points.
void WriteDataFile(const std::string& path, const TInstallationSettings& settings, TRunProgress& progress);
