#pragma once
// The uninstaller's removal list "UnInstall.dat": a product name, then one line per thing to
// remove, "<" kind letter, argument ">", removed in list order. The parser checks the whole
// list before anything is removed, so that a damaged or forged list touches nothing.

#include <string>
#include <string_view>
#include <vector>

#include "app/Exceptions.h"

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

// Lines end with CR LF or LF; empty lines are skipped. Paths must be absolute ("X:\..."), free
// of "." and ".." steps and of wildcards except in the mask of a P line.
TRemovalList ParseRemovalList(std::string_view text);

// Windows file masks: "*" any run of characters, "?" one character, case-insensitive.
bool MatchesMask(std::string_view name, std::string_view mask);
