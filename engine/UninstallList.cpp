#include "engine/UninstallList.h"

std::vector<std::string> RemovalListLines(const std::string& clientDataDir,
                                          const std::string& installDir,
                                          const std::string& appDataDir, bool desktopShortcut) {
  std::vector<std::string> lines = {
      "Pelmora P2P",
      "<P" + clientDataDir + "*.PCF>",
      "<P" + clientDataDir + "*.PCV>",
      "<P" + clientDataDir + "*.PTH>",
      "<P" + clientDataDir + "*.DAT>",
      "<P" + clientDataDir + "*.GET>",
      "<E" + clientDataDir + ">",
      "<F" + installDir + "Pelmora.Exe>",
      "<F" + appDataDir + "Pelmora.dat>",
      "<F" + appDataDir + "Pelmora.bak>",
      "<F" + installDir + "PMInst.dat>",
      "<F" + installDir + "Uninstall.Exe>",
      "<F" + installDir + "Uninstall.Dat>",
      "<E" + installDir + ">",
      "<E" + appDataDir + ">",
      "<RSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P>",
      "<SPelmora P2P>",
  };
  if (desktopShortcut) lines.push_back("<TPelmora P2P.Lnk>");
  return lines;
}
