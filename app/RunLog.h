#pragma once
// The process's installation log (lines: engine/InstallLog.h; the file: platform/LogFile.h). It
// is opened at program start when the command line asks for it, and always in silent mode.
// Writing it never makes an installation fail: a log that cannot be created or written is left
// out.
//
// An elevated installer shares the user's temporary folder with every program the user runs, so
// the log is never written through a link that someone else may have planted: the silent
// installation's own log is a new file under a name that nobody can know before, and a log named
// on the command line is written only into a new file or a plain file of the user's own.

#include <string>

#include "engine/ClientProcess.h"
#include "engine/InstallLog.h"

// Opens the silent installation's log: a new file in the user's temporary folder,
// "Install_Pelmora-<date>-<time>-<random>.log". Returns its path; empty when none could be
// made, and the lines then go nowhere.
std::string OpenNewRunLog();

// Opens the log at path (a "/log=" switch): a new file, or the existing file created anew when
// it is a plain file of this user's own. A link, a file with more than one name or another
// owner's file standing there is left as it is, and the lines go nowhere.
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

// Notes how the client was started, above all when an elevated installer had to start it
// itself, with its own rights, because no desktop shell could.
void NoteClientStart(TClientStart start);
