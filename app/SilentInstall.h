#pragma once
// The program's entry: reads the command line and runs a silent installation ("/quiet") or
// the wizard (no switch, "/autoupdate <folder>", anything else), with a log when asked for.

#include <string>

#include "core/SilentOptions.h"

// Exit codes of Install_Pelmora.exe; README lists them.
enum TSilentExitCode : int {
  kExitSuccess = 0,
  kExitStartupFailed = 1,     // the program could not get ready (also the wizard's)
  kExitBadSwitch = 2,         // unknown or repeated switch, missing value, stray text
  kExitInvalidInstallDir = 3,
  kExitAlreadyInstalled = 4,  // the installation folder holds a client already
  kExitInvalidDownloadDir = 5,
  kExitUnknownConnection = 6,
  kExitRunFailed = 7,         // the installation run failed (a full disk, for instance)
  kExitInstallerBusy = 8,     // another installer or the uninstaller runs; nothing was changed
};

// Installs without any window with the options' choices (the pages' proposals for what they
// leave open) through the wizard's installation run, logs it, and returns the exit code. A
// failure of the run sends the failure report that the error page's wizard sends.
int RunSilentInstallation(const TSilentOptions& options, const std::string& commandLine);

// Reads the program's command line once and runs what it asks for: the silent installation,
// or the wizard with the unattended upgrade's request; returns the exit code.
int RunInstaller();
