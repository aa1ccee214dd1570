#pragma once
// The installer settings: what the pages collected and what the runs read. Plain process-wide
// values, touched by the GUI thread only and never saved by the installer.

#include <cstdint>
#include <string>
#include <vector>

extern std::string InstallDir;       // client program folder; ends with "\" once accepted
extern std::string DownloadDir;      // folder for completed downloads
extern std::string ClientDataDir;    // folder the client uses for its own files; ends with "\"
extern std::string AppDataDir;       // per-user folder that receives the data file; ends with "\"
extern bool AutoUpdate;              // unattended upgrade asked for on the command line
extern std::int32_t ConnectionKind;  // index in the connection page's list; 8 is "I don't know"
extern std::string ReleaseCode;      // handed to the client through its data file
extern bool UpgradeChosen;
extern bool CreateDesktopShortcut;
extern std::vector<std::string> FoundInstallations;  // client programs found by the disk search

// Puts every setting back to the value it has when the process starts ("XX" for ReleaseCode,
// which program start then sets to "01").
void ResetSettings();

class TFormMain;
// The fourteen pages in the order of the page table, each added to the main window as it is
// made: the first (the welcome page) by CreateFirstPanel, the other thirteen after it by
// CreateOtherPanels.
void CreateFirstPanel(TFormMain& form);
void CreateOtherPanels(TFormMain& form);
