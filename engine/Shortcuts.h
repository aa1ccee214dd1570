#pragma once
// What makes the installed client visible to Windows: shell shortcuts and the uninstall entry.

#include <string>

// Key of the uninstall entry, below HKEY_LOCAL_MACHINE.
inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P";

// Writes one shortcut file through the shell link object, with no working folder. A negative
// iconIndex gives no icon location; otherwise the icon is that one of target. Needs COM on the
// calling thread; raises an Exception when the shell link object cannot be created, and
// EFCreateError when the link file cannot be written.
void CreateLink(const std::string& target, const std::string& linkFile,
                const std::string& description, const std::string& arguments, int iconIndex);

// Writes the uninstall entry: DisplayName "Pelmora P2P" and the uninstaller of installDir
// (ending in "\") in double quotes as UninstallString. Never fails; a failure leaves the entry
// out. key: below HKEY_LOCAL_MACHINE.
void RegisterUninstall(const std::string& installDir, const std::string& key = kUninstallKey);

// Which run makes the start-menu shortcuts: the upgrade's help shortcut ends in "/".
enum class TShortcutRun { Installation, Upgrade };

// The start menu's programs folder and the desktop folder of the user, without a final "\";
// empty when the system cannot tell.
std::string ProgramsFolder();
std::string DesktopFolder();

// Creates programsFolder + "\Pelmora P2P" (a failure, such as an existing folder, is ignored)
// and in it the shortcuts to the client, the product page, the help page and the uninstaller
// of installDir. Makes nothing when programsFolder is empty; raises the first failure of
// CreateLink.
void CreateStartMenuShortcuts(const std::string& installDir, TShortcutRun run,
                              const std::string& programsFolder = ProgramsFolder());

// The shortcut to the client on the desktop; nothing when desktopFolder is empty.
void CreateDesktopLink(const std::string& installDir,
                       const std::string& desktopFolder = DesktopFolder());
