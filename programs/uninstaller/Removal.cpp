#include "programs/uninstaller/Removal.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "core/FolderName.h"
#include "core/Text.h"
#include "platform/Links.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"
#include "programs/uninstaller/Paths.h"

TRemoval::TRemoval(const std::string& installDir, const std::string& userDataDir, std::string ownPath,
                   std::string listPath, TLogFile& log)
    : FInstallDir(installDir), FOwnPath(std::move(ownPath)), FListPath(std::move(listPath)), FLog(log) {
  if (!userDataDir.empty()) FDataDir.emplace_back(userDataDir);
}

void TRemoval::Remove(const TRemovalList& list) {
  for (const TRemovalEntry& entry : list.Entries) {
    FLine = {};
    const TPlace* place = PlaceOf(entry.Argument);
    switch (entry.Kind) {
      case TRemovalKind::MatchingFiles: RemoveMatching(*place, entry.Argument); break;
      case TRemovalKind::File: RemoveFile(*place, entry.Argument); break;
      case TRemovalKind::EmptyFolder: RemoveFolder(*place, entry.Argument); break;
      case TRemovalKind::RegistryKey: RemoveKey(entry.Argument); break;
      case TRemovalKind::StartMenuFolder: RemoveStartMenuFolder(entry.Argument); break;
      case TRemovalKind::DesktopShortcut: RemoveDesktopShortcut(entry.Argument); break;
    }
    FLog.Note("Line " + std::to_string(entry.Line) + " <" + static_cast<char>(entry.Kind) + entry.Argument +
              "> " + LineResult(FLine));
  }
}

namespace {

std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

}  // namespace

std::string TRemoval::LineResult(const TLineOutcome& outcome) {
  std::string result;
  const auto add = [&](const std::string& part) { result += (result.empty() ? "" : "; ") + part; };
  for (const std::string& link : outcome.Links)
    add("refused: a link stands at " + link + "; it was left alone, and so was what it points at");
  for (const std::string& problem : outcome.Problems) add("failed: " + problem);
  if (!outcome.Deferred.empty())
    add("left for the self-removal after the uninstaller's end: " + Listed(outcome.Deferred));
  if (!outcome.Removed.empty()) add("done: removed " + Listed(outcome.Removed));
  if (result.empty()) add("passed over: nothing of it is there");
  return result;
}

// The checked list names files and folders of these two places only; a path of both (the data
// went to the installation folder) is the installation folder's.
const TPlace* TRemoval::PlaceOf(const std::string& path) const {
  if (FInstallDir.Holds(path) || FDataDir.empty()) return &FInstallDir;
  return &FDataDir.front();
}

void TRemoval::NotRemoved(const std::string& what, const std::string& why) {
  FProblems.push_back(what + ": " + why);
  FLine.Problems.push_back(FProblems.back());
}

void TRemoval::Defer(const std::string& path) {
  FLine.Deferred.push_back(path);
  FDeferred.push_back(path);
}

bool TRemoval::Reachable(const std::string& what, const TOutcome& outcome) {
  return outcome.Result == TRemoved::Done || Take(what, outcome);
}

bool TRemoval::Take(const std::string& what, const TOutcome& outcome) {
  const auto same = [&](const std::string& link) { return SamePath(link, outcome.Link); };
  switch (outcome.Result) {
    case TRemoved::Done:
      FLine.Removed.push_back(what);
      return true;
    case TRemoved::Gone:
      return true;
    case TRemoved::Link:
      // One link may stand in the way of many things: it is told once.
      if (std::none_of(FLinks.begin(), FLinks.end(), same)) FLinks.push_back(outcome.Link);
      if (std::none_of(FLine.Links.begin(), FLine.Links.end(), same)) FLine.Links.push_back(outcome.Link);
      return false;
    case TRemoved::Failed:
      NotRemoved(what, SystemErrorText(outcome.Error));
      return false;
  }
  return false;
}

bool TRemoval::IsOwnFile(const std::string& path) const {
  return SamePath(path, FOwnPath) || SamePath(path, FListPath);
}

void TRemoval::RemoveFile(const TPlace& place, const std::string& path) {
  if (!IsOwnFile(path)) {
    Take(path, place.RemoveFile(path));
    return;
  }
  // The clean-up after the uninstaller's end removes it; a link in its place is told now.
  const TOutcome outcome = place.CheckFile(path);
  if (outcome.Result == TRemoved::Done)
    Defer(path);
  else
    Take(path, outcome);
}

void TRemoval::RemoveMatching(const TPlace& place, const std::string& argument) {
  const std::size_t slash = argument.find_last_of('\\');
  const std::string folder = argument.substr(0, slash + 1), mask = argument.substr(slash + 1);
  if (!Reachable(folder, place.CheckFolder(folder))) return;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(argument.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> names;
  do {
    // The system also matches short 8.3 names ("*.DAT" would find "a.data"); only the real
    // name counts.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && MatchesMask(found.cFileName, mask))
      names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (const std::string& name : names) RemoveFile(place, folder + name);
}

void TRemoval::RemoveFolder(const TPlace& place, const std::string& argument) {
  const std::string folder = WithBackslash(argument);
  const TOutcome outcome = place.RemoveFolder(folder);
  if (outcome.Result == TRemoved::Failed && outcome.Error == ERROR_DIR_NOT_EMPTY) {
    if (HoldsOnlyDeferred(folder)) {
      FDeferredFolders.push_back(folder);
      FLine.Deferred.push_back(folder);
    } else {
      NotRemoved(folder, "the folder still holds other files");
    }
    return;
  }
  Take(folder, outcome);
}

// Whether every entry of the folder is a file or folder whose removal waits for the clean-up.
bool TRemoval::HoldsOnlyDeferred(const std::string& folder) const {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool only = true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    bool deferred = false;
    for (const std::string& file : FDeferred) deferred = deferred || SamePath(file, folder + name);
    for (const std::string& sub : FDeferredFolders) deferred = deferred || SamePath(sub, folder + name + "\\");
    only = only && deferred;
  } while (only && FindNextFileA(search, &found));
  FindClose(search);
  return only;
}

void TRemoval::RemoveKey(const std::string& key) {
  const std::string entry = "HKEY_LOCAL_MACHINE\\" + key;
  const LSTATUS result = RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
  if (result == ERROR_SUCCESS)
    FLine.Removed.push_back(entry);
  else if (!IsGone(static_cast<DWORD>(result)))
    NotRemoved(entry, SystemErrorText(static_cast<DWORD>(result)));
}

void TRemoval::RemoveStartMenuFolder(const std::string& name) {
  const std::string programs = ShellFolder(CSIDL_PROGRAMS);
  if (programs.empty()) {
    NotRemoved("Start menu folder " + name, "the start menu cannot be found");
    return;
  }
  // The product's own folder of the start menu is a place of its own: a link in its stead is
  // neither emptied nor followed.
  const TPlace place(WithBackslash(programs) + name + "\\");
  RemoveMatching(place, place.Folder() + "*");
  RemoveFolder(place, place.Folder());
}

void TRemoval::RemoveDesktopShortcut(const std::string& name) {
  const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  if (desktop.empty()) {
    NotRemoved("Desktop shortcut " + name, "the desktop folder cannot be found");
    return;
  }
  const TPlace place(WithBackslash(desktop));
  RemoveFile(place, place.Folder() + name);
}
