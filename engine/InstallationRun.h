#pragma once
// The installation run: puts the client, its uninstaller, the data files, the removal list, the
// shortcuts and the uninstall entry on the computer, as the plan of engine/InstallationPlan.h
// says, or, when a failure ends it, leaves the computer as it was.

#include <string>

#include "engine/InstallationPlan.h"
#include "engine/RunJournal.h"
#include "engine/RunProgress.h"

// The whole run, with progress on the page's bar and label, reporting each step's start and
// result to the journal. Raises the failure that ends it (a folder that cannot be made, the
// client program, the uninstaller, the first data file, the removal list) once every change of
// the run is undone; the other steps are passed over when they fail.
void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress, TRunJournal& journal);
void InstallationRun(const TInstallationSettings& settings, TRunProgress& progress);

// Creates the folder with all missing parents; raises EInOutError when it cannot.
void MakeFolder(std::string folder);
// Writes one client data file of the settings, moving the bar to the writer's progress points.
void WriteInstallationDataFile(const std::string& path, const TInstallationSettings& settings, TRunProgress& progress);
