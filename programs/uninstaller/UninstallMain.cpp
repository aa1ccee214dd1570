// Uninstall.Exe: removes what the installer's removal list "UnInstall.dat" in its own folder
// names, in list order, after the user confirms ("/quiet" skips the question and all other
// messages). The list lies in the installation folder, which the user may write to; before
// anything is touched every line must name one of the product's own places (CheckProductPlaces)
// and the client must not be running, nor any installer: one installer or uninstaller at a
// time, and a run that an installer left cut off is finished off first. Links planted in those
// places are never followed (Place.h), and the uninstaller's own file goes after its end
// (SelfRemoval.h). "/log=<file>" keeps a step log, created on the installer's terms
// (platform/LogFile.h). Exit codes: ExitCodes.h.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/RemovalList.h"
#include "platform/FileBytes.h"
#include "platform/InstallerLock.h"
#include "platform/Links.h"
#include "platform/LogFile.h"
#include "platform/MessageBoxes.h"
#include "platform/RunRecordStore.h"
#include "platform/SystemError.h"
#include "platform/SystemLibrary.h"
#include "programs/uninstaller/ExitCodes.h"
#include "programs/uninstaller/Paths.h"
#include "programs/uninstaller/Removal.h"
#include "programs/uninstaller/SelfRemoval.h"

namespace {

constexpr char kListName[] = "UnInstall.dat";
constexpr char kTitle[] = "Pelmora P2P Uninstall";

std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; arguments && i < count; ++i) {
    char text[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, arguments[i], -1, text, sizeof text, nullptr, nullptr);
    result.emplace_back(text);
  }
  LocalFree(arguments);
  return result;
}

// The list's paths in the same long form as the places they are checked against.
void UseLongFolders(TRemovalList& list) {
  for (TRemovalEntry& entry : list.Entries) {
    if (entry.Kind != TRemovalKind::File && entry.Kind != TRemovalKind::MatchingFiles &&
        entry.Kind != TRemovalKind::EmptyFolder)
      continue;
    const std::size_t slash = entry.Argument.find_last_of('\\');
    entry.Argument = LongFolder(entry.Argument.substr(0, slash + 1)) + entry.Argument.substr(slash + 1);
  }
}

// The error of opening the client's program for removal: 0 when nothing holds it (or it is
// gone). A running client holds its program, and nothing may be removed then: the uninstall
// would otherwise take its shortcuts and entry and leave it orphaned.
DWORD ClientProgramHeld(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return 0;
  }
  const DWORD code = GetLastError();
  return IsGone(code) ? 0 : code;
}

struct TOptions {
  bool Quiet = false;
  std::string LogPath;  // empty: no log
};

// Switches are matched without regard to case; anything else is passed over, as it always was.
TOptions ReadOptions(const std::vector<std::string>& arguments) {
  constexpr char kLogSwitch[] = "/log=";
  constexpr std::size_t kLogSwitchLength = sizeof kLogSwitch - 1;
  TOptions options;
  for (const std::string& argument : arguments) {
    if (lstrcmpiA(argument.c_str(), "/quiet") == 0)
      options.Quiet = true;
    else if (argument.size() > kLogSwitchLength &&
             lstrcmpiA(argument.substr(0, kLogSwitchLength).c_str(), kLogSwitch) == 0)
      options.LogPath = argument.substr(kLogSwitchLength);
  }
  return options;
}

// The closing message and the exit code of a removal that ran.
int Report(const TRemoval& removal, const std::string& product, bool quiet) {
  if (removal.Problems().empty() && removal.Links().empty()) {
    if (!quiet)
      ShowMessageBox(nullptr, product + " was removed from your computer.", kTitle, MB_OK | MB_ICONINFORMATION);
    return kRemoved;
  }
  if (!quiet) {
    std::string message = product + " was removed, except for these items:";
    for (const std::string& problem : removal.Problems()) message += "\r" + problem;
    for (const std::string& link : removal.Links())
      message += "\r" + link + ": a link stands here in place of " + product +
                 "'s own; it was left alone, and so was what it points at";
    ShowMessageBox(nullptr, message, kTitle, MB_OK | MB_ICONWARNING);
  }
  return removal.Links().empty() ? kNotAllRemoved : kLinkRefused;
}

// An installation that was cut off before it wrote its removal list, just undone: all that is
// left of it is this program in its folder, which go the way the uninstaller's own file goes.
int RemoveCutOffInstallation(const std::string& ownPath, const std::string& listPath, const std::string& folder,
                             bool quiet, TLogFile& log) {
  log.Note("An installation cut off before its removal list was undone; this program and its folder go");
  const TRemovalList own{std::string(kProductName),
                         {{TRemovalKind::File, ownPath, 1}, {TRemovalKind::EmptyFolder, folder, 2}}};
  const std::string temp = TempFolder();
  if (!temp.empty()) SetCurrentDirectoryA(temp.c_str());
  TRemoval removal(folder, UserDataDir(), ownPath, listPath, log);
  removal.Remove(own);
  TSelfRemoval selfRemoval;
  std::string problem;
  const bool started =
      selfRemoval.Prepare(ownPath, removal.Deferred(), removal.DeferredFolders(), log.Path(), problem) &&
      selfRemoval.Start(problem);
  const int result = started && removal.Problems().empty() ? kRemoved : kNotAllRemoved;
  if (!started) log.Note("Self-removal failed: " + problem);
  if (!quiet)
    ShowMessageBox(nullptr,
                   "The installation of " + std::string(kProductName) + " in " + folder +
                       " was cut off before it was complete; what it had put in place is removed." +
                       (result == kRemoved ? "" : "\rThe uninstaller's own file stays: " + problem),
                   kTitle, MB_OK | MB_ICONINFORMATION);
  log.Note("Uninstall finished (exit code " + std::to_string(result) + ")");
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearchToSystemFolder();
  const std::vector<std::string> arguments = Arguments();
  if (!arguments.empty() && lstrcmpiA(arguments[0].c_str(), "/cleanup") == 0) return RunCleanup(arguments);
  const TOptions options = ReadOptions(arguments);
  const bool quiet = options.Quiet;
  TLogFile log;
  if (!options.LogPath.empty()) log.Open(options.LogPath);
  log.Note(std::string(kTitle) + " started (" + (quiet ? "quiet" : "interactive") + ")");
  log.Note(std::string("Command line: ") + GetCommandLineA());

  const std::string ownPath = LongPath(OwnPath());
  const std::string folder = FolderOf(ownPath);
  const std::string listPath = folder + kListName;
  const auto refuse = [&](const std::string& message, int code) {
    log.Note("Uninstall refused: " + message + " (exit code " + std::to_string(code) + ")");
    if (!quiet) ShowMessageBox(nullptr, message, kTitle, MB_OK | MB_ICONERROR);
    return code;
  };
  log.Note("Removal list: " + listPath);

  // Never beside an installer at work; an installation or upgrade that one left cut off is
  // finished off first, with this program, which goes in the end anyway, left in place.
  if (!AcquireInstallerLock()) return refuse(kInstallerBusyMessage, kInstallerRunning);
  const TCutOffRun cutOff = FinishCutOffRun(ownPath);

  TRemovalList list;
  std::string text;
  const bool readable = ReadSmallFile(listPath, text);
  if (!readable && cutOff.Found && cutOff.Kind == "installation" && SamePath(cutOff.InstallDir, folder))
    return RemoveCutOffInstallation(ownPath, listPath, folder, quiet, log);
  if (!readable)
    return refuse("The removal list " + listPath + " cannot be read.\rNothing was removed.", kListRefused);
  const std::string userDataDir = UserDataDir();
  try {
    list = ParseRemovalList(text);
    UseLongFolders(list);
    CheckProductPlaces(list, {folder, userDataDir});
  } catch (const ERemovalListError& error) {
    return refuse(std::string(error.what()) + "\rThe removal list is damaged; nothing was removed.", kListRefused);
  }

  if (!quiet &&
      ShowMessageBox(nullptr, "Do you want to remove " + list.Product + " and all of its components?", kTitle,
                     MB_YESNO | MB_ICONQUESTION) != IDYES) {
    log.Note("Uninstall declined by the user (exit code " + std::to_string(kDeclined) + ")");
    return kDeclined;
  }

  const std::string client = folder + "Pelmora.Exe";
  if (const DWORD held = ClientProgramHeld(client))
    return refuse(list.Product + " cannot be removed while it is running (" + client + ": " + SystemErrorText(held) +
                      ").\rClose " + list.Product + " and start the uninstall again; nothing was removed.",
                  kClientHeld);

  // The folders being removed must not be held by our own current folder.
  const std::string temp = TempFolder();
  if (!temp.empty()) SetCurrentDirectoryA(temp.c_str());

  TRemoval removal(folder, userDataDir, ownPath, listPath, log);
  removal.Remove(list);
  TSelfRemoval selfRemoval;
  std::string problem;
  const bool prepared =
      selfRemoval.Prepare(ownPath, removal.Deferred(), removal.DeferredFolders(), log.Path(), problem);
  // The removal is done: an installer may run while the last message stays open. The clean-up
  // takes the lock again, and leaves a folder in which an installation stands anew.
  ReleaseInstallerLock();
  int result = Report(removal, list.Product, quiet);

  // Started after the last message, so that it waits for nothing but this process's end.
  if (!prepared || !selfRemoval.Start(problem)) {
    log.Note("Self-removal failed: " + problem);
    if (!quiet)
      ShowMessageBox(nullptr, "The uninstaller's own file " + ownPath + " cannot be removed: " + problem, kTitle,
                     MB_OK | MB_ICONWARNING);
    if (result == kRemoved) result = kNotAllRemoved;
  } else if (!removal.Deferred().empty() || !removal.DeferredFolders().empty()) {
    log.Note("Self-removal started: it waits for the uninstaller's end");
  }
  log.Note("Uninstall finished (exit code " + std::to_string(result) + ")");
  return result;
}
