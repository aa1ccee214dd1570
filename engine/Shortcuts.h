#pragma once
// What makes the installed client visible to Windows: shell shortcuts and the uninstall entry.

#include <string>
#include <vector>

// Key of the uninstall entry, below HKEY_LOCAL_MACHINE.
inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P";

// One shortcut: the link file and what it starts. A negative IconIndex gives no icon location;
// otherwise the icon is that one of the target. Arguments are empty, no working folder is set.
struct TLinkSpec {
  std::string Target;
  std::string File;
  std::string Description;
  int IconIndex = -1;
  bool operator==(const TLinkSpec&) const = default;
};

// The start menu's programs folder and the desktop folder of the user, without a final "\\";
// empty when the system cannot tell.
std::string ProgramsFolder();
std::string DesktopFolder();

// Which run makes the start-menu shortcuts: the upgrade's help shortcut ends in "/".
enum class TShortcutRun { Installation, Upgrade };

// The start menu's folder of the product in the programs folder (without a final "\").
std::string StartMenuFolder(const std::string& programsFolder);
// The shortcuts in it to the client, the product page, the help page and the uninstaller of
// installDir (ending in "\"), in that order.
std::vector<TLinkSpec> StartMenuLinks(const std::string& installDir, TShortcutRun run,
                                      const std::string& programsFolder);
// The shortcut to the client on the desktop.
TLinkSpec DesktopLink(const std::string& installDir, const std::string& desktopFolder);

// Writes one shortcut file through the shell link object, with empty arguments. Needs COM on
// the calling thread; raises an Exception when the shell link object cannot be created, and
// EFCreateError when the link file cannot be written.
void CreateLink(const std::string& target, const std::string& linkFile,
                const std::string& description, const std::string& arguments, int iconIndex);
void CreateLink(const TLinkSpec& link);

// Writes the uninstall entry: DisplayName "Pelmora P2P" and the uninstaller of installDir
// (ending in "\") in double quotes as UninstallString. Raises EInOutError with the system's
// code when the key cannot be opened or a value cannot be written. key: below
// HKEY_LOCAL_MACHINE.
void RegisterUninstall(const std::string& installDir, const std::string& key = kUninstallKey);

// The shortcuts of StartMenuLinks in the start menu's folder of the product, which is made
// when missing (a failure, such as an existing folder, is ignored), and the desktop shortcut,
// each in one go as the benchmarks time them; the runs make them one by one, recorded for their
// undo. Nothing is made for an empty folder; the first failure of CreateLink is raised.
void CreateStartMenuShortcuts(const std::string& installDir, TShortcutRun run,
                              const std::string& programsFolder = ProgramsFolder());
void CreateDesktopLink(const std::string& installDir, const std::string& desktopFolder = DesktopFolder());
