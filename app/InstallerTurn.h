#pragma once
// The installer's turn on the computer: the lock that keeps a second installer (or the
// uninstaller) from running beside this one, and the undo of a run that an earlier installer
// left cut off, which only the holder of the lock may do.

#include "engine/InstallLog.h"

// Takes the lock for the program's life and undoes a cut-off run. False when another installer
// or the uninstaller holds the lock, or when a cut-off run could not be undone: the program then
// changes nothing and ends, after a message box unless it is quiet. *exitCode receives the
// exit code it ends with.
bool TakeInstallerTurn(bool quiet, int* exitCode);

// Notes in the log what the start undid of a cut-off run, if anything.
void NoteCutOffRun(TInstallLog& log);
