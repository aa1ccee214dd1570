#pragma once
// The process's installation log file (format: engine/InstallLog.h). It is opened at program start
// when the command line asks for it, and always in silent mode, and created anew. Writing it
// never makes an installation fail: a log that cannot be created or written is left out.

#include <string>

#include "engine/InstallLog.h"

// The log of a silent installation without "/log=": "Install_Pelmora.log" in the user's
// temporary folder.
std::string DefaultLogPath();

// Opens the log at path; until then, and when it cannot be written, its lines go nowhere.
void OpenRunLog(const std::string& path);
// Closes the log; its lines go nowhere again until it is opened anew.
void CloseRunLog();

TInstallLog& RunLog();

// The journal of the installation run that is about to start: notes the settings it starts
// with (folders, connection kind, desktop shortcut) in the log and returns the log.
TRunJournal& InstallationRunJournal();
// The journal of the upgrade run that is about to start: notes the folder it upgrades and
// returns the log.
TRunJournal& UpgradeRunJournal(const std::string& installDir);
