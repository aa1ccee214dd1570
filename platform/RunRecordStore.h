#pragma once
// Where the record of a run in progress is kept (core/RunRecord.h), how its changes are undone
// and made final on the computer, and the undo of a run that was cut off, at the next start of
// the installer or of the uninstaller.
//
// The record is a value below HKEY_LOCAL_MACHINE: the next start finds it without knowing the
// folder the run worked in (a fresh installation's folder may not even exist yet), only
// administrators may write it, so nobody else can plant a record for an administrator's
// installer to undo, and the registry writes a value whole or not at all.

#include <string>
#include <vector>

#include "core/RunRecord.h"

inline constexpr char kRunRecordKey[] = "Software\\Pelmora P2P Setup";
inline constexpr char kRunRecordValue[] = "Run";

// The record's text; false when no run is recorded.
bool LoadRunRecord(std::string& text);
// Raise EInOutError with the system's code when the record cannot be written or removed.
void SaveRunRecord(const std::string& text);
void RemoveRunRecord();

// Undoes one recorded change; raises an Exception that says why when it cannot. A change that
// was recorded but never made, or is undone already, needs nothing. Nothing is removed or put
// back through a folder that has become a link since (the change's own folder is checked).
void UndoRunChange(const TRunEntry& change);
// Removes the file that a MovedAside change kept; raises when it cannot.
void CommitRunChange(const TRunEntry& change);

// The places a run of the product may change, as the system names them for this user.
TRunPlaces ProductRunPlaces();

// What the start found of a run that was cut off.
struct TCutOffRun {
  bool Found = false;
  std::string Kind;        // "installation" or "upgrade"
  std::string Step;        // the step that was running
  std::string InstallDir;  // the folder it worked in, when it was settled
  std::size_t Undone = 0;  // changes undone
  // Changes that could not be undone (they stay recorded for the next start), or why the
  // record could not be used (it is then removed, and nothing is undone).
  std::vector<std::string> Failures;
  // The record stays, for a later start to finish: some changes could not be undone.
  bool Kept = false;
};

// Undoes the run that was cut off, if one is recorded, and removes its record once all of it is
// undone. Call it only while holding the installer lock (platform/InstallerLock.h), so that a
// run in progress is never undone under its feet. runningProgram: the path of the calling
// program when the run may have written it (the uninstaller, which removes itself afterwards):
// it is left where it is, and an earlier one kept aside goes instead of coming back.
TCutOffRun FinishCutOffRun(const std::string& runningProgram = "");
