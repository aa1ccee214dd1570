#include "engine/Shortcuts.h"

#include "web/HostNames.h"

std::string StartMenuFolder(const std::string& programsFolder) { return programsFolder + "\\Pelmora P2P"; }

std::vector<TLinkSpec> StartMenuLinks(const std::string& installDir, TShortcutRun run,
                                      const std::string& programsFolder) {
  const std::string menu = StartMenuFolder(programsFolder) + "\\";
  const std::string site = kMakerSite;
  return {
      {installDir + "Pelmora.Exe", menu + "Pelmora P2P.Lnk", "Pelmora P2P", 0},
      {site + "/p2p/", menu + "Pelmora P2P On the Web.Lnk", "Pelmora P2P On the web", -1},
      {site + (run == TShortcutRun::Upgrade ? "/p2p/help/" : "/p2p/help"), menu + "Pelmora P2P Help.Lnk",
       "Pelmora P2P Help", -1},
      {installDir + "Uninstall.Exe", menu + "Pelmora P2P Uninstall.Lnk", "Pelmora P2P Uninstall", 0},
  };
}

TLinkSpec DesktopLink(const std::string& installDir, const std::string& desktopFolder) {
  return {installDir + "Pelmora.Exe", desktopFolder + "\\Pelmora P2P.Lnk", "Pelmora P2P", 0};
}
