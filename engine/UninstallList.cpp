#include "engine/UninstallList.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameFolder(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::vector<std::string> RemovalListLines(const std::string& clientDataDir,
                                          const std::string& installDir,
                                          const std::string& appDataDir, bool desktopShortcut) {
  std::vector<std::string> lines = {"Pelmora P2P"};
  // A data folder that fell back to the installation folder is one the user chose, which may
  // hold the user's own files of these kinds: masks are left out there, and only the client's
  // named files below go.
  if (!SameFolder(clientDataDir, installDir))
    for (const char* mask : {"*.PCF", "*.PCV", "*.PTH", "*.DAT", "*.GET"})
      lines.push_back("<P" + clientDataDir + mask + ">");
  const std::vector<std::string> rest = {
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
  lines.insert(lines.end(), rest.begin(), rest.end());
  if (desktopShortcut) lines.push_back("<TPelmora P2P.Lnk>");
  return lines;
}
