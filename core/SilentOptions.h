#pragma once
// The switches of a silent installation. "/quiet" installs without any window, with the choices
// the pages would propose, changed by "/dir=<folder>", "/downloaddir=<folder>",
// "/connection=<kind>" and "/nodesktop"; "/log=<file>" names the log, also for the wizard.
// Switches are matched without regard to case and may come in any order. The checks that need
// the disk (a client already in the folder, the proposals) are the silent installation's.

#include <cstdint>
#include <string>
#include <vector>

// Why a silent installation is refused before anything is installed; the first that applies,
// in this order.
enum class TSilentRefusal {
  None,
  BadSwitch,           // an unknown switch, one given twice, a value missing, or a stray text
  InvalidInstallDir,   // a folder the installation folder page would refuse, or one too long
  InvalidDownloadDir,  // a folder the download folder page would refuse, or one too long
  UnknownConnection,   // no kind of the connection page
};

struct TSilentOptions {
  bool Quiet = false;
  TSilentRefusal Refusal = TSilentRefusal::None;
  std::string Refused;             // the parameter or value refused, for the log
  std::string InstallDir;          // trimmed, ending in "\"; empty: the page's proposal
  std::string DownloadDir;         // trimmed, ending in "\"; empty: the page's proposal
  std::int32_t ConnectionKind = 8;  // "I don't know", as the page pre-selects it
  bool DesktopShortcut = true;      // ticked on the install-or-upgrade page at first
  std::string LogFile;             // empty when "/log=" was not given
};

// Reads the parameters after the program's path (element 0 is not passed in).
TSilentOptions ParseSilentOptions(const std::vector<std::string>& parameters);

// The connection kind that a name stands for: its keyword ("modem", "modem56", "isdn", "dsl",
// "cable", "t1", "t2", "adsl2", "unknown"), its number 0 to 8, or the connection page's caption
// without its "&" ("I don't know"), without regard to case; -1 for anything else.
int ConnectionKindNamed(const std::string& name);
// The keyword of a kind, "unknown" for any number outside 0 to 7.
std::string ConnectionKindKeyword(int kind);
