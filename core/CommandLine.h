#pragma once
// The installer's command line: "/autoupdate <folder>" asks for an unattended upgrade of the
// client in that folder; otherwise it holds the switches of a silent installation or of the
// wizard's log (core/SilentOptions), and the interactive wizard runs without "/quiet".

#include <string>
#include <vector>

#include "core/SilentOptions.h"

// Splits a raw command line as the runtime's ParamStr does: blanks and control characters
// separate parameters, double quotes group and are removed. A backslash is an ordinary
// character, so a quoted folder ending in "\" keeps it. Element 0 is the program's own path.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

struct TAutoUpdateRequest {
  bool AutoUpdate = false;
  std::string InstallDir;  // the folder to upgrade, ending with "\"; empty without the switch
};

// Reads the parameters after the program's path (element 0 is not passed in). The folder must
// be a full path (drive, ":\", no characters that no folder name may hold) short enough for
// the files put into it; otherwise the switch is ignored and the wizard runs interactively.
TAutoUpdateRequest ParseAutoUpdate(const std::vector<std::string>& parameters);

// The whole command line as the program reads it once at its start. The unattended upgrade
// keeps its command line as it is ("/autoupdate" first and a folder): with its request the
// switches are not read and stay as without any.
struct TProgramCommand {
  TAutoUpdateRequest AutoUpdate;
  TSilentOptions Switches;
};

// Reads the raw command line, the program's own path first.
TProgramCommand ParseProgramCommand(const std::string& commandLine);
