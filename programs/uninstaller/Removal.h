#pragma once
// Carries out a checked removal list: the product's files, folders, uninstall entry, start-menu
// folder and desktop shortcut, in list order, each in its place (Place.h). It keeps the
// uninstaller's own file and list, and the folders they keep from going, for the clean-up after
// its end, and collects what could not be removed and the links it left alone. The log gets
// each line of the list with its result.

#include <string>
#include <vector>

#include "core/RemovalList.h"
#include "platform/LogFile.h"
#include "programs/uninstaller/Place.h"

class TRemoval {
 public:
  // The installation folder and the per-user data folder (empty when unknown), as the list
  // was checked against them; ownPath and listPath are the uninstaller's own file and list.
  TRemoval(const std::string& installDir, const std::string& userDataDir, std::string ownPath,
           std::string listPath, TLogFile& log);

  void Remove(const TRemovalList& list);

  // "<what>: <why>" for each thing that could not be removed.
  const std::vector<std::string>& Problems() const { return FProblems; }
  // The links that stood in place of a file or folder of the product, left alone.
  const std::vector<std::string>& Links() const { return FLinks; }
  // The uninstaller's own file and list, and the folders that only they keep from going.
  const std::vector<std::string>& Deferred() const { return FDeferred; }
  const std::vector<std::string>& DeferredFolders() const { return FDeferredFolders; }

 private:
  // What became of the things one line of the list names.
  struct TLineOutcome {
    std::vector<std::string> Removed, Links, Problems, Deferred;
  };

  const TPlace* PlaceOf(const std::string& path) const;
  // Takes the outcome of one removal: true when the thing is gone.
  bool Take(const std::string& what, const TOutcome& outcome);
  // Takes the outcome of a check: true when the thing may be removed.
  bool Reachable(const std::string& what, const TOutcome& outcome);
  void Defer(const std::string& path);
  // "done: ...", "passed over: ...", "refused: ...", "failed: ..." or "left for the self-removal
  // ...", the most serious first.
  static std::string LineResult(const TLineOutcome& outcome);
  void NotRemoved(const std::string& what, const std::string& why);

  void RemoveFile(const TPlace& place, const std::string& path);
  void RemoveMatching(const TPlace& place, const std::string& argument);
  void RemoveFolder(const TPlace& place, const std::string& argument);
  void RemoveKey(const std::string& key);
  void RemoveStartMenuFolder(const std::string& name);
  void RemoveDesktopShortcut(const std::string& name);
  bool HoldsOnlyDeferred(const std::string& folder) const;
  bool IsOwnFile(const std::string& path) const;

  TPlace FInstallDir;
  std::vector<TPlace> FDataDir;  // none when the system cannot tell the per-user data folder
  std::string FOwnPath, FListPath;
  std::vector<std::string> FProblems, FLinks, FDeferred, FDeferredFolders;
  TLogFile& FLog;
  TLineOutcome FLine;  // of the line being carried out
};
