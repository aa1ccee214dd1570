#pragma once
// The record of a run in progress: what the installation or upgrade run has changed on the
// computer so far, each change written down before it is made. A run that fails undoes its
// changes from it, newest first; a run that was cut off (the process killed, the power lost) is
// undone from it at the next start. Its text is written whole or not at all, so that what it
// says is always one state of the run.
//
// Text, lines ended by CR LF: the first line "Pelmora P2P run", then one line per entry, "<",
// the kind letter, fields separated by "|", ">". "%", "|", "<", ">" and control characters
// inside a field are written as "%" and two hexadecimal digits.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Exceptions.h"

enum class TRunEntryKind : char {
  Kind = 'A',          // "installation" or "upgrade"
  InstallDir = 'I',    // the run's installation folder, once it is settled
  Step = 'S',          // the step that runs now
  MadeFolder = 'M',    // a folder the run made: removed again when it is empty
  NewFile = 'N',       // a file the run writes where there was none: removed, with its temporaries
  MovedAside = 'O',    // a file of an earlier installation, kept under a new name until the run ends
  MadeKey = 'R',       // a registry key the run made: removed with its values
  ReplacedValue = 'V', // a value of an existing key the run replaced: its earlier text restored
  AddedValue = 'W',    // a value the run added to an existing key: removed
};

struct TRunEntry {
  TRunEntryKind Kind;
  // Path or key; for MovedAside the file's own path; for the values the key.
  std::string Target;
  // MovedAside: the name it is kept under. ReplacedValue, AddedValue: the value's name.
  std::string Other;
  // ReplacedValue: the earlier text of the value.
  std::string Old;
  bool operator==(const TRunEntry&) const = default;
};

struct TRunRecord {
  std::vector<TRunEntry> Entries;

  std::string Kind() const;
  std::string InstallDir() const;
  std::string Step() const;
  // Sets the one entry of that kind (Kind, InstallDir, Step), in place or at the end.
  void Set(TRunEntryKind kind, const std::string& value);
  void Add(TRunEntry entry) { Entries.push_back(std::move(entry)); }
  // The changes, newest first: the order in which they are undone.
  std::vector<TRunEntry> ChangesNewestFirst() const;
};

class ERunRecordError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr std::string_view kRunRecordTitle = "Pelmora P2P run";

std::string RunRecordText(const TRunRecord& record);
// Raises ERunRecordError for a text that is not a run record or holds an entry it cannot read.
TRunRecord ParseRunRecord(std::string_view text);

// The places a run may change; folders end with "\", empty when the system cannot tell.
struct TRunPlaces {
  std::string UserDataDir;     // the local application data folder + "Pelmora P2P\"
  std::string StartMenuDir;    // the start menu's programs folder + "Pelmora P2P\"
  std::string DesktopShortcut; // the desktop folder + "Pelmora P2P.Lnk"
};

// A record is undone with the rights of whoever starts the installer next: it must name the
// product's own places only. Raises ERunRecordError unless every change lies in the record's
// installation folder (or, for folders made, above it on its path), in the per-user data folder,
// in the start menu's folder of the product or at its desktop shortcut, and the keys are the
// product's uninstall entry; a kept file must lie beside its own file.
void CheckRunRecord(const TRunRecord& record, const TRunPlaces& places);

// Undoes the record's changes newest first through undo, which raises an Exception when it
// cannot undo one; the others are undone all the same. The record keeps only what could not be
// undone (and what says which run it was); returns those changes' failures, one text each.
std::vector<std::string> UndoChanges(TRunRecord& record, const std::function<void(const TRunEntry&)>& undo);

// Files are written under a temporary name beside them, "~" + name + "." + a unique part +
// ".tmp", and then put in place; files of an earlier installation are kept under "~" + name +
// "." + a unique part + ".old" until the run ends. A run that was cut off leaves such names; the
// undo removes the temporaries of the files the run wrote.
std::string TemporaryName(const std::string& path, const std::string& unique);
std::string KeptName(const std::string& path, const std::string& unique);
// "~" + name + ".*.tmp" in the file's folder.
std::string TemporaryMask(const std::string& path);
