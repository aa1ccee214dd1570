#include "core/RemovalList.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

#include "core/FolderName.h"
#include "core/Text.h"

namespace {

[[noreturn]] void Fail(int line, const std::string& problem) {
  throw ERemovalListError("UnInstall.dat, line " + std::to_string(line) + ": " + problem);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

// Characters that no file or key name may hold; "/" is refused too, since Windows would take
// it as a separator and so open a way around the "." and ".." check.
bool HasForbiddenCharacter(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>\"|/").find(c) != std::string_view::npos)
      return true;
  return false;
}

// The steps between backslashes: none empty, none "." or "..", no ":" (drive or stream).
void CheckSteps(int line, std::string_view steps, bool trailingSeparatorAllowed) {
  std::size_t start = 0;
  while (start <= steps.size()) {
    const std::size_t end = std::min(steps.find('\\', start), steps.size());
    const std::string_view step = steps.substr(start, end - start);
    const bool last = end == steps.size();
    if (step.empty()) {
      if (!(last && trailingSeparatorAllowed && start > 0)) Fail(line, "empty folder name in the path");
    } else if (step == "." || step == ".." ) {
      Fail(line, "the path must not step through \".\" or \"..\"");
    } else if (step.find(':') != std::string_view::npos) {
      Fail(line, "\":\" inside the path");
    }
    start = end + 1;
  }
}

void CheckAbsolutePath(int line, std::string_view path, bool trailingSeparatorAllowed) {
  if (HasForbiddenCharacter(path)) Fail(line, "the path holds a character that no file name may hold");
  if (path.size() < 4 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' ||
      path[2] != '\\')
    Fail(line, "the path must be a full path such as C:\\Folder\\File");
  CheckSteps(line, path.substr(3), trailingSeparatorAllowed);
}

void CheckPlainName(int line, std::string_view name) {
  if (HasForbiddenCharacter(name) || name.find_first_of("\\:*?") != std::string_view::npos ||
      name == "." || name == "..")
    Fail(line, "a name without folder, drive or wildcard is required");
}

void CheckEntry(const TRemovalEntry& entry) {
  const std::string_view argument = entry.Argument;
  switch (entry.Kind) {
    case TRemovalKind::MatchingFiles: {
      const std::size_t slash = argument.find_last_of('\\');
      if (slash == std::string_view::npos || slash + 1 == argument.size())
        Fail(entry.Line, "a folder followed by a file mask is required");
      CheckAbsolutePath(entry.Line, argument.substr(0, slash + 1), true);
      if (HasWildcard(argument.substr(0, slash))) Fail(entry.Line, "wildcards are allowed in the file mask only");
      const std::string_view mask = argument.substr(slash + 1);
      if (mask == "." || mask == "..") Fail(entry.Line, "the path must not step through \".\" or \"..\"");
      if (HasForbiddenCharacter(mask) || mask.find(':') != std::string_view::npos)
        Fail(entry.Line, "the file mask holds a character that no file name may hold");
      break;
    }
    case TRemovalKind::File:
      CheckAbsolutePath(entry.Line, argument, false);
      if (HasWildcard(argument)) Fail(entry.Line, "a single file cannot have wildcards");
      break;
    case TRemovalKind::EmptyFolder:
      CheckAbsolutePath(entry.Line, argument, true);
      if (HasWildcard(argument)) Fail(entry.Line, "a folder cannot have wildcards");
      break;
    case TRemovalKind::RegistryKey:
      if (HasForbiddenCharacter(argument) || HasWildcard(argument) ||
          argument.size() <= kUninstallKeyPrefix.size() ||
          !EqualsIgnoringCase(argument.substr(0, kUninstallKeyPrefix.size()), kUninstallKeyPrefix))
        Fail(entry.Line, "only an uninstall entry (" + std::string(kUninstallKeyPrefix) +
                             "...) can be removed from the registry");
      CheckSteps(entry.Line, argument, true);
      break;
    case TRemovalKind::StartMenuFolder:
    case TRemovalKind::DesktopShortcut:
      CheckPlainName(entry.Line, argument);
      break;
  }
}

// The folder of a path, with its final "\\", and the name after it.
std::pair<std::string_view, std::string_view> SplitPath(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string_view::npos) return {{}, path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::string_view (&names)[N]) {
  return std::any_of(std::begin(names), std::end(names),
                     [&](std::string_view candidate) { return EqualsIgnoringCase(name, candidate); });
}

// The files that the installation puts into the installation folder.
constexpr std::string_view kProgramFiles[] = {"Pelmora.Exe", "PMInst.dat", "Uninstall.Exe", "Uninstall.Dat"};
// The client data file and its backup, in the client's data folder.
constexpr std::string_view kDataFiles[] = {"Pelmora.dat", "Pelmora.bak"};
// The uninstaller's own file and its list.
constexpr std::string_view kUninstallerFiles[] = {"Uninstall.Exe", "Uninstall.Dat"};

void CheckProductName(const TRemovalList& list) {
  if (!EqualsIgnoringCase(list.Product, kProductName))
    Fail(1, "the list belongs to \"" + list.Product + "\", not to " + std::string(kProductName));
}

}  // namespace

void CheckProductPlaces(const TRemovalList& list, const TProductPlaces& places) {
  CheckProductName(list);
  const auto isInstallDir = [&](std::string_view folder) {
    return EqualsIgnoringCase(WithBackslash(folder), places.InstallDir);
  };
  const auto isUserDataDir = [&](std::string_view folder) {
    return !places.UserDataDir.empty() && EqualsIgnoringCase(WithBackslash(folder), places.UserDataDir);
  };
  const std::string product(kProductName);
  bool program = false, uninstaller = false, ownList = false, installDir = false, key = false, startMenu = false;
  for (const TRemovalEntry& entry : list.Entries) {
    const std::string_view argument = entry.Argument;
    switch (entry.Kind) {
      case TRemovalKind::MatchingFiles:
        if (!isUserDataDir(SplitPath(argument).first))
          Fail(entry.Line, "files matching a mask are removed from the per-user data folder " +
                               (places.UserDataDir.empty() ? std::string("(which cannot be found)")
                                                           : places.UserDataDir) +
                               " only");
        break;
      case TRemovalKind::File: {
        const auto [folder, name] = SplitPath(argument);
        if (!(isInstallDir(folder) && IsOneOf(name, kProgramFiles)) &&
            !((isInstallDir(folder) || isUserDataDir(folder)) && IsOneOf(name, kDataFiles)))
          Fail(entry.Line, entry.Argument + " is not a file of " + product);
        program = program || (isInstallDir(folder) && EqualsIgnoringCase(name, "Pelmora.Exe"));
        uninstaller = uninstaller || (isInstallDir(folder) && EqualsIgnoringCase(name, "Uninstall.Exe"));
        ownList = ownList || (isInstallDir(folder) && EqualsIgnoringCase(name, "Uninstall.Dat"));
        break;
      }
      case TRemovalKind::EmptyFolder:
        if (!isInstallDir(argument) && !isUserDataDir(argument))
          Fail(entry.Line, entry.Argument + " is not a folder of " + product);
        installDir = installDir || isInstallDir(argument);
        break;
      case TRemovalKind::RegistryKey:
        if (!EqualsIgnoringCase(argument, kProductUninstallKey))
          Fail(entry.Line, entry.Argument + " is not the uninstall entry of " + product);
        key = true;
        break;
      case TRemovalKind::StartMenuFolder:
        if (!EqualsIgnoringCase(argument, kProductStartMenuFolder))
          Fail(entry.Line, entry.Argument + " is not the start-menu folder of " + product);
        startMenu = true;
        break;
      case TRemovalKind::DesktopShortcut:
        if (!EqualsIgnoringCase(argument, kProductDesktopShortcut))
          Fail(entry.Line, entry.Argument + " is not the desktop shortcut of " + product);
        break;
    }
  }
  const auto require = [](bool present, const std::string& what) {
    if (!present) throw ERemovalListError("UnInstall.dat does not name " + what);
  };
  require(program, "the program " + places.InstallDir + "Pelmora.Exe");
  require(uninstaller, "the uninstaller " + places.InstallDir + "Uninstall.Exe");
  require(ownList, "itself (" + places.InstallDir + "UnInstall.dat)");
  require(installDir, "the installation folder " + places.InstallDir);
  require(key, "the uninstall entry of " + product);
  require(startMenu, "the start-menu folder of " + product);
}

void CheckCleanupList(const TRemovalList& list, const std::string& userDataDir) {
  CheckProductName(list);
  std::string installDir;
  for (const TRemovalEntry& entry : list.Entries) {
    const std::string_view argument = entry.Argument;
    if (entry.Kind == TRemovalKind::File) {
      const auto [folder, name] = SplitPath(argument);
      if (!IsOneOf(name, kUninstallerFiles) || (!installDir.empty() && !EqualsIgnoringCase(folder, installDir)))
        Fail(entry.Line, entry.Argument + " is not the uninstaller or its list");
      installDir = folder;
    } else if (entry.Kind == TRemovalKind::EmptyFolder) {
      const std::string folder = WithBackslash(argument);
      if ((installDir.empty() || !EqualsIgnoringCase(folder, installDir)) &&
          (userDataDir.empty() || !EqualsIgnoringCase(folder, userDataDir)))
        Fail(entry.Line, entry.Argument + " is not a folder of " + std::string(kProductName));
    } else {
      Fail(entry.Line, "the clean-up removes files and folders only");
    }
  }
}

TRemovalList ParseRemovalList(std::string_view text) {
  TRemovalList list;
  bool haveProduct = false;
  ForEachLine(text, [&list, &haveProduct](std::string_view line, int lineNumber) {
    if (line.empty()) return;

    if (!haveProduct) {
      if (line.front() == '<') Fail(lineNumber, "the first line must be the product name");
      list.Product = line;
      haveProduct = true;
      return;
    }
    if (line.front() != '<') Fail(lineNumber, "a line must start with \"<\"");
    if (line.back() != '>') Fail(lineNumber, "the line lacks its closing \">\"");
    if (line.size() < 4) Fail(lineNumber, "a kind letter and its argument are required");
    const char kind = line[1];
    if (std::string_view("PFERST").find(kind) == std::string_view::npos)
      Fail(lineNumber, std::string("unknown kind \"") + kind + "\"");
    TRemovalEntry entry{static_cast<TRemovalKind>(kind), std::string(line.substr(2, line.size() - 3)),
                        lineNumber};
    CheckEntry(entry);
    list.Entries.push_back(std::move(entry));
  });
  if (!haveProduct) throw ERemovalListError("UnInstall.dat is empty");
  return list;
}

namespace listed {

std::vector<TListedItem> InstallFolder(const std::string& installDir) {
  return {{TListPlace::InstallFolder, "<E" + installDir + ">"}};
}

std::vector<TListedItem> DataFolder(const std::string& clientDataDir, const std::string& installDir,
                                    const std::string& appDataDir) {
  std::vector<TListedItem> items;
  // A data folder that fell back to the installation folder is one the user chose, which may
  // hold the user's own files of these kinds: masks are left out there, and only the client's
  // named files go.
  if (!EqualsIgnoringCase(clientDataDir, installDir))
    for (const char* mask : {"*.PCF", "*.PCV", "*.PTH", "*.DAT", "*.GET"})
      items.push_back({TListPlace::DataMasks, "<P" + clientDataDir + mask + ">"});
  items.push_back({TListPlace::ClientDataFolder, "<E" + clientDataDir + ">"});
  items.push_back({TListPlace::DataFolder, "<E" + appDataDir + ">"});
  return items;
}

std::vector<TListedItem> ClientProgram(const std::string& installDir) {
  return {{TListPlace::Client, "<F" + installDir + "Pelmora.Exe>"}};
}

std::vector<TListedItem> Uninstaller(const std::string& installDir) {
  return {{TListPlace::Uninstaller, "<F" + installDir + "Uninstall.Exe>"}};
}

std::vector<TListedItem> UninstallEntry() {
  return {{TListPlace::UninstallEntry, "<R" + std::string(kProductUninstallKey) + ">"}};
}

std::vector<TListedItem> Shortcuts(bool desktopShortcut) {
  std::vector<TListedItem> items{{TListPlace::StartMenu, "<S" + std::string(kProductStartMenuFolder) + ">"}};
  if (desktopShortcut) items.push_back({TListPlace::Desktop, "<T" + std::string(kProductDesktopShortcut) + ">"});
  return items;
}

std::vector<TListedItem> DataFile(const std::string& appDataDir) {
  return {{TListPlace::DataFile, "<F" + appDataDir + "Pelmora.dat>"},
          {TListPlace::DataBackup, "<F" + appDataDir + "Pelmora.bak>"}};
}

std::vector<TListedItem> DataFileCopy(const std::string& installDir) {
  return {{TListPlace::DataFileCopy, "<F" + installDir + "PMInst.dat>"}};
}

std::vector<TListedItem> RemovalList(const std::string& installDir) {
  return {{TListPlace::OwnList, "<F" + installDir + "Uninstall.Dat>"}};
}

}  // namespace listed

std::vector<std::string> RemovalListLines(std::vector<TListedItem> items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const TListedItem& a, const TListedItem& b) { return a.Place < b.Place; });
  std::vector<std::string> lines = {std::string(kProductName)};
  for (const TListedItem& item : items) lines.push_back(item.Line);
  return lines;
}

std::vector<std::string> RemovalListLines(const std::string& clientDataDir,
                                          const std::string& installDir,
                                          const std::string& appDataDir, bool desktopShortcut) {
  std::vector<TListedItem> items;
  for (std::vector<TListedItem> step :
       {listed::InstallFolder(installDir), listed::DataFolder(clientDataDir, installDir, appDataDir),
        listed::ClientProgram(installDir), listed::Uninstaller(installDir), listed::UninstallEntry(),
        listed::Shortcuts(desktopShortcut), listed::DataFile(appDataDir), listed::DataFileCopy(installDir),
        listed::RemovalList(installDir)})
    items.insert(items.end(), step.begin(), step.end());
  return RemovalListLines(std::move(items));
}

std::string RemovalListText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
