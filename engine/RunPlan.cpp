#include "engine/RunPlan.h"

#include <exception>

#include "core/FolderName.h"

namespace {

// The folders from the outermost below the root ("C:\" or "\\server\share\") to the folder.
std::vector<std::string> FolderLevels(const std::string& folder) {
  const std::string path = WithBackslash(folder);
  std::size_t start = 3;
  if (path.rfind("\\\\", 0) == 0) {
    const std::size_t share = path.find('\\', 2);
    start = share == std::string::npos ? path.size() : path.find('\\', share + 1) + 1;
  }
  std::vector<std::string> levels;
  for (std::size_t slash = path.find('\\', start); slash != std::string::npos; slash = path.find('\\', slash + 1))
    levels.push_back(path.substr(0, slash + 1));
  return levels;
}

void MoveBar(TRunProgress& progress, const TBarMark& mark) {
  switch (mark.Kind) {
    case TBarMark::Unchanged: break;
    case TBarMark::Percent: progress.SetProgressPercent(mark.Value); break;
    case TBarMark::Maximum: progress.SetProgress(progress.Max()); break;
  }
}

// Undoes the run's changes; the journal tells how it went. The record stays only while it
// still names something that could not be undone, for the next start to try again.
void Rollback(TRunRecord& record, TRunSystem& system, TRunJournal& journal) {
  journal.StepStarted("Undo");
  const std::size_t changes = record.ChangesNewestFirst().size();
  const std::vector<std::string> failures = UndoChanges(record, [&](const TRunEntry& change) { system.Undo(change); });
  if (failures.empty()) {
    try {
      system.RemoveRecord();
    } catch (const Exception&) {
      // Nothing is left to undo: a record that stays names only changes undone already.
    }
    journal.StepEnded("Undo", TStepResult::Done, std::to_string(changes) + " changes undone");
    return;
  }
  std::string detail = std::to_string(failures.size()) + " of " + std::to_string(changes) + " changes not undone:";
  for (const std::string& failure : failures) detail += " " + failure + ";";
  try {
    system.SaveRecord(record);
  } catch (const Exception&) {
    // The record as it was before the undo still names these changes.
  }
  journal.StepEnded("Undo", TStepResult::Failed, detail);
}

// The changes are final: the kept files of the earlier installation go. One that cannot go is
// left behind under its kept name and named in the journal; the run has succeeded all the same.
void CommitRun(TRunRecord& record, TRunSystem& system, TRunJournal& journal) {
  std::string left;
  for (const TRunEntry& change : record.Entries) {
    if (change.Kind != TRunEntryKind::MovedAside) continue;
    try {
      system.Commit(change);
    } catch (const Exception& failure) {
      left += " " + change.Other + ": " + failure.what() + ";";
    }
  }
  try {
    system.RemoveRecord();
  } catch (const Exception& failure) {
    left += " the run's record: " + std::string(failure.what()) + ";";
  }
  if (!left.empty()) {
    journal.StepStarted("Commit");
    journal.StepEnded("Commit", TStepResult::Abandoned, "left behind:" + left);
  }
}

// Runs one step: its start and end in the journal when it is journalled, what it settled or
// wrote when it ends well. A step passed over leaves nothing of itself; any other failure is
// raised.
void RunStep(const TPlanStep& step, TRunContext& context, TRunJournal& journal) {
  if (step.Journalled) journal.StepStarted(step.Name);
  const std::size_t mark = context.Mark();
  std::string detail;
  try {
    detail = step.Work(context);
  } catch (const Exception& failure) {
    if (step.OnFailure == TOnFailure::EndRun) {
      if (step.Journalled) journal.StepEnded(step.Name, TStepResult::Failed, failure.what());
      throw;
    }
    context.UndoSince(mark);
    if (step.Journalled) journal.StepEnded(step.Name, TStepResult::Abandoned, failure.what());
    return;
  } catch (const std::exception& failure) {
    if (step.Journalled) journal.StepEnded(step.Name, TStepResult::Failed, failure.what());
    throw;
  }
  if (step.Journalled) journal.StepEnded(step.Name, TStepResult::Done, detail);
}

}  // namespace

void TRunContext::Save() {
  try {
    FSystem.SaveRecord(FRecord);
  } catch (const Exception& failure) {
    if (FSaveFailed) return;
    FSaveFailed = true;
    Journal.StepStarted("Run record");
    Journal.StepEnded("Run record", TStepResult::Abandoned, failure.what());
  }
}

void TRunContext::Record(TRunEntry entry) {
  FRecord.Add(std::move(entry));
  Save();
}

void TRunContext::SetInstallDir(const std::string& folder) {
  FRecord.Set(TRunEntryKind::InstallDir, WithBackslash(folder));
  Save();
}

void TRunContext::WillMakeFolder(const std::string& folder) {
  bool missing = false;
  for (const std::string& level : FolderLevels(folder)) {
    missing = missing || !FSystem.FolderExists(level);
    if (missing) FRecord.Add({TRunEntryKind::MadeFolder, level, {}, {}});
  }
  if (missing) Save();
}

void TRunContext::WillWrite(const std::string& path) {
  if (!FSystem.FileExists(path)) {
    Record({TRunEntryKind::NewFile, path, {}, {}});
    return;
  }
  WillRemove(path);
}

void TRunContext::WillRemove(const std::string& path) {
  if (!FSystem.FileExists(path)) return;
  const std::string aside = FSystem.AsideName(path);
  Record({TRunEntryKind::MovedAside, path, aside, {}});
  FSystem.MoveAside(path, aside);
}

void TRunContext::WillSetValues(const std::string& key, const std::vector<std::string>& names) {
  if (!FSystem.KeyExists(key)) {
    Record({TRunEntryKind::MadeKey, key, {}, {}});
    return;
  }
  for (const std::string& name : names) {
    std::string old;
    if (FSystem.ReadValue(key, name, old))
      FRecord.Add({TRunEntryKind::ReplacedValue, key, name, old});
    else
      FRecord.Add({TRunEntryKind::AddedValue, key, name, {}});
  }
  Save();
}

void TRunContext::UndoSince(std::size_t mark) {
  TRunRecord newer;
  newer.Entries.assign(FRecord.Entries.begin() + static_cast<std::ptrdiff_t>(mark), FRecord.Entries.end());
  UndoChanges(newer, [this](const TRunEntry& change) { FSystem.Undo(change); });
  // What could not be undone stays recorded, for the run's own undo to try once more.
  FRecord.Entries.resize(mark);
  FRecord.Entries.insert(FRecord.Entries.end(), newer.Entries.begin(), newer.Entries.end());
  Save();
}

std::vector<TListedItem> TRunPlan::ListedItems() const {
  std::vector<TListedItem> items;
  for (const TPlanStep& step : Steps) {
    if (!step.Listed) continue;
    const std::vector<TListedItem> listed = step.Listed();
    items.insert(items.end(), listed.begin(), listed.end());
  }
  return items;
}

void RunPlan(const TRunPlan& plan, TRunSystem& system, TRunProgress& progress, TRunJournal& journal) {
  TRunRecord record;
  record.Set(TRunEntryKind::Kind, plan.Kind);
  TRunContext context(plan, system, progress, journal, record);
  progress.SetMax(plan.BarMaximum);
  for (const TPlanStep& step : plan.Steps) {
    try {
      record.Set(TRunEntryKind::Step, step.Name);
      context.Save();
      RunStep(step, context, journal);
    } catch (...) {
      Rollback(record, system, journal);
      throw;
    }
    MoveBar(progress, step.End);
  }
  CommitRun(record, system, journal);
}
