#include "engine/ClientProcess.h"

#include <windows.h>

void StartClient(const std::string& installDir) {
  std::string commandLine = "\"" + installDir + "Pelmora.Exe\"";
  WinExec(commandLine.c_str(), SW_SHOWMAXIMIZED);
}
