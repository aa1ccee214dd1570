#include "app/Appl_Globals.h"

std::string InstallDir;
std::string DownloadDir;
std::string ClientDataDir;
std::string AppDataDir;
bool AutoUpdate = false;
std::int32_t ConnectionKind = 8;
std::string ReleaseCode = "XX";
bool UpgradeChosen = false;
bool CreateDesktopShortcut = false;
std::vector<std::string> FoundInstallations;

void ResetSettings() {
  InstallDir.clear();
  DownloadDir.clear();
  ClientDataDir.clear();
  AppDataDir.clear();
  AutoUpdate = false;
  ConnectionKind = 8;
  ReleaseCode = "XX";
  UpgradeChosen = false;
  CreateDesktopShortcut = false;
  FoundInstallations.clear();
}
