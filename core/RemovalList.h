#pragma once
// The removal list "UnInstall.dat" that the installation run writes and the uninstaller reads:
// a product name, then one line per thing to remove, "<" kind letter, argument ">", removed in
// list order. The parser checks the whole list before anything is removed, so that a damaged or
// forged list touches nothing.

#include <string>
#include <string_view>
#include <vector>

#include "core/Exceptions.h"
#include "core/Text.h"

enum class TRemovalKind : char {
  MatchingFiles = 'P',    // files of a folder matching a wildcard mask: folder + mask
  File = 'F',             // one file
  EmptyFolder = 'E',      // a folder, only when it is empty by then
  RegistryKey = 'R',      // a key below HKEY_LOCAL_MACHINE, with its values
  StartMenuFolder = 'S',  // a subfolder of the start menu's programs folder, with its shortcuts
  DesktopShortcut = 'T',  // a shortcut file on the desktop
};

struct TRemovalEntry {
  TRemovalKind Kind;
  std::string Argument;
  int Line;  // 1-based, for messages
  bool operator==(const TRemovalEntry&) const = default;
};

struct TRemovalList {
  std::string Product;
  std::vector<TRemovalEntry> Entries;
};

// The list cannot be used; the message says which line and why.
class ERemovalListError : public Exception {
 public:
  using Exception::Exception;
};

// The uninstall entries are the only keys the list may name.
inline constexpr std::string_view kUninstallKeyPrefix =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

inline constexpr std::string_view kProductName = "Pelmora P2P";
// The product's places outside its folders: its uninstall entry, its start-menu folder and its
// desktop shortcut.
inline constexpr std::string_view kProductUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P";
inline constexpr std::string_view kProductStartMenuFolder = "Pelmora P2P";
inline constexpr std::string_view kProductDesktopShortcut = "Pelmora P2P.Lnk";

// Where this installation of the product lives; both folders end with "\".
struct TProductPlaces {
  std::string InstallDir;   // the folder the uninstaller runs from
  std::string UserDataDir;  // the local application data folder + "Pelmora P2P\"; empty when unknown
};

// Lines end with CR LF or LF; empty lines are skipped. Paths must be absolute ("X:\..."), free
// of "." and ".." steps and of wildcards except in the mask of a P line.
TRemovalList ParseRemovalList(std::string_view text);

// The list may be forged: anyone who may write to the installation folder may write it. Raises
// ERemovalListError unless the list is the product's and every entry names one of the product's
// own places: its program files in the installation folder, the client's data files in the
// per-user data folder or (when that could not be made) in the installation folder, these two
// folders, and the product's uninstall entry, start-menu folder and desktop shortcut. Masks are
// allowed in the per-user data folder only, which holds nothing but the client's files. The
// list must also name the product's own program, uninstaller, list, installation folder,
// uninstall entry and start-menu folder, so that a cut-down list cannot pass for a removal.
void CheckProductPlaces(const TRemovalList& list, const TProductPlaces& places);

// The list of the clean-up that runs once the uninstaller has ended: only the uninstaller's own
// file and list in one folder ("F" lines) and the product's folders that they kept from being
// removed ("E" lines: that folder, or the per-user data folder). Raises ERemovalListError
// otherwise.
void CheckCleanupList(const TRemovalList& list, const std::string& userDataDir);

// Where a line stands in the list: the uninstaller removes in this order, whatever the order in
// which the installation put the things in place.
enum class TListPlace {
  DataMasks,
  ClientDataFolder,
  Client,
  DataFile,
  DataBackup,
  DataFileCopy,
  Uninstaller,
  OwnList,
  InstallFolder,
  DataFolder,
  UninstallEntry,
  StartMenu,
  Desktop,
};

// One line of the list, named by the step of the installation that puts its thing in place.
struct TListedItem {
  TListPlace Place;
  std::string Line;
  bool operator==(const TListedItem&) const = default;
};

// What each step of an installation puts in place, as the list names it. Every folder ends
// with "\".
namespace listed {
std::vector<TListedItem> InstallFolder(const std::string& installDir);
// The mask lines ("<P" folder mask ">") name the client's data folder only when it is not the
// installation folder.
std::vector<TListedItem> DataFolder(const std::string& clientDataDir, const std::string& installDir,
                                    const std::string& appDataDir);
std::vector<TListedItem> ClientProgram(const std::string& installDir);
std::vector<TListedItem> Uninstaller(const std::string& installDir);
std::vector<TListedItem> UninstallEntry();
// The desktop shortcut's line only when one is made.
std::vector<TListedItem> Shortcuts(bool desktopShortcut);
// The data file and the backup that the client makes of it.
std::vector<TListedItem> DataFile(const std::string& appDataDir);
std::vector<TListedItem> DataFileCopy(const std::string& installDir);
std::vector<TListedItem> RemovalList(const std::string& installDir);
}  // namespace listed

// The list's lines: the product name, then the items in the order of their places (items of
// one place in the order given).
std::vector<std::string> RemovalListLines(std::vector<TListedItem> items);

// The lines of the list that an installation with these folders writes; the desktop shortcut's
// line comes last, only when one was made.
std::vector<std::string> RemovalListLines(const std::string& clientDataDir,
                                          const std::string& installDir,
                                          const std::string& appDataDir, bool desktopShortcut);

// The file's text: each line ends with CR LF.
std::string RemovalListText(const std::vector<std::string>& lines);
