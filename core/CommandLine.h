#pragma once
// The wizard's command line: "/autoupdate <folder>" asks for an unattended upgrade of the
// client in that folder; anything else runs the interactive wizard.

#include <string>
#include <vector>

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
