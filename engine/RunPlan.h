#pragma once
// A run of the engine as a plan of steps that one runner carries out. Each step has its name in
// the journal, the bar's position when it has ended, what its failure means (the run ends, or it
// goes on without the step), the work it does and the lines of the removal list for what it puts
// in place. The work writes each change down in the run's record before it makes it (through
// TRunContext), so the runner can undo every change, newest first, when a failure ends the run,
// and a later start can undo a run that was cut off. A run that reaches its end commits: the
// files of the earlier installation that it kept under new names go, and the record with them.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/RemovalList.h"
#include "core/RunRecord.h"
#include "engine/RunJournal.h"
#include "engine/RunProgress.h"

// The computer as the runner sees it: what exists before a change, where the record is kept,
// and how a recorded change is undone or committed. The Windows one is engine/WindowsRun.h.
class TRunSystem {
 public:
  virtual bool FolderExists(const std::string& folder) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool KeyExists(const std::string& key) = 0;
  // The text of a value; false when the key has no such value.
  virtual bool ReadValue(const std::string& key, const std::string& name, std::string& text) = 0;
  // A new name beside the file, under which the file is kept while the run goes on.
  virtual std::string AsideName(const std::string& path) = 0;
  // Moves the file to that name; raises when it cannot.
  virtual void MoveAside(const std::string& path, const std::string& aside) = 0;
  // Keeps the record, whole, where the next start looks for it; raises when it cannot.
  virtual void SaveRecord(const TRunRecord& record) = 0;
  virtual void RemoveRecord() = 0;
  // Undoes one change; raises when it cannot. Undoing a change that was recorded but never
  // made does nothing.
  virtual void Undo(const TRunEntry& change) = 0;
  // Makes one change final (removes a file kept aside); raises when it cannot.
  virtual void Commit(const TRunEntry& change) = 0;

 protected:
  ~TRunSystem() = default;
};

struct TRunPlan;

// What a step's work is given: the bar, the journal, and the record of the run, in which it
// writes each change down before making it.
class TRunContext {
 public:
  TRunContext(const TRunPlan& plan, TRunSystem& system, TRunProgress& progress, TRunJournal& journal,
              TRunRecord& record)
      : Progress(progress), Journal(journal), FPlan(&plan), FSystem(system), FRecord(record) {}

  TRunProgress& Progress;
  TRunJournal& Journal;

  // The run's installation folder, once it is settled (ends with "\").
  void SetInstallDir(const std::string& folder);
  // Before the folder is made with its missing parents: each missing one, outermost first.
  void WillMakeFolder(const std::string& folder);
  // Before a file is written: one already there is kept aside (and goes when the run commits),
  // otherwise the file is new.
  void WillWrite(const std::string& path);
  // Before a file is removed: it is kept aside, and goes when the run commits. Nothing when
  // there is no such file.
  void WillRemove(const std::string& path);
  // Before values of a key are written: the key is new, or each value's earlier text is kept.
  void WillSetValues(const std::string& key, const std::vector<std::string>& names);

  // How many changes are recorded; UndoSince undoes those after such a count and forgets them,
  // for a step that tries one way after another.
  // The plan that runs, for a step that needs what the whole plan puts in place.
  const TRunPlan& Plan() const { return *FPlan; }

  std::size_t Mark() const { return FRecord.Entries.size(); }
  void UndoSince(std::size_t mark);

  // Keeps the record where the next start finds it. A record that cannot be kept (no right to
  // it) is journalled once; the run goes on, and can still undo itself, but not after a cut.
  void Save();

 private:
  void Record(TRunEntry entry);

  const TRunPlan* FPlan;
  TRunSystem& FSystem;
  TRunRecord& FRecord;
  bool FSaveFailed = false;
};

// Where the bar stands when a step has ended, also when it was passed over.
struct TBarMark {
  enum TKind { Unchanged, Percent, Maximum } Kind = Unchanged;
  int Value = 0;  // the percentage of Percent

  static TBarMark AtPercent(int percent) { return {Percent, percent}; }
  static TBarMark AtMaximum() { return {Maximum, 0}; }
  bool operator==(const TBarMark&) const = default;
};

struct TPlanStep {
  // The step's name in the record, and in the journal when it is journalled.
  std::string Name{};
  // False for a step that writes nothing to the journal or writes its own lines (one per try).
  bool Journalled = true;
  TOnFailure OnFailure = TOnFailure::EndRun;
  TBarMark End{};
  // Does the step's work and returns what it settled or wrote, for the journal.
  std::function<std::string(TRunContext&)> Work{};
  // What the step puts in place, as the removal list names it; asked when the list is written,
  // after the steps before it have settled their folders.
  std::function<std::vector<TListedItem>()> Listed{};
};

struct TRunPlan {
  std::string Kind;  // "installation" or "upgrade"
  long long BarMaximum = 0;
  std::vector<TPlanStep> Steps;

  // The lines of the removal list for everything the plan puts in place.
  std::vector<TListedItem> ListedItems() const;
};

// Carries the plan out: sets the bar's maximum, then runs the steps in order. A step that fails
// and can be done without is undone on its own and the run goes on. On a failure that ends the run, every recorded change is undone, newest
// first (journalled as the step "Undo"), the record is removed when all of it was undone, and
// the failure is raised again. After the last step the run commits.
void RunPlan(const TRunPlan& plan, TRunSystem& system, TRunProgress& progress, TRunJournal& journal);
