// The installation and upgrade plans and their runner, on a model of the computer: the steps
// in order with their shares of the bar and failure policies, what the whole run leaves, a
// failure planted at each step (undone, or passed over), the upgrade's attempts, and a run cut
// off at every point at which it writes its record, then undone from that record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RemovalList.h"
#include "engine/InstallationPlan.h"
#include "engine/UpgradePlan.h"
#include "tests/native/engine/RunModel.h"

namespace {

using namespace run_model;

const std::string kInstallDir = "C:\\Program Files\\Pelmora P2P\\";
const std::string kDataDir = kLocalAppData + "\\Pelmora P2P\\";
const std::string kMenu = kPrograms + "\\Pelmora P2P\\";

struct TStepRow {
  std::string Name;
  bool Journalled;
  TOnFailure OnFailure;
  TBarMark End;
  bool operator==(const TStepRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TStepRow& row) {
  return out << row.Name << (row.Journalled ? "" : " (unjournalled)")
             << (row.OnFailure == TOnFailure::EndRun ? " ends the run" : " passed over") << ", bar "
             << row.End.Kind << "/" << row.End.Value;
}

std::vector<TStepRow> Rows(const TRunPlan& plan) {
  std::vector<TStepRow> rows;
  for (const TPlanStep& step : plan.Steps) rows.push_back({step.Name, step.Journalled, step.OnFailure, step.End});
  return rows;
}

// An installation on the model with the settings the pages would give.
class InstallationPlanTest : public testing::Test {
 protected:
  TRunPlan Plan() {
    return InstallationPlan({FInstallDir, FAppDataDir, FClientDataDir, FDesktop, FDownloadDir, FReleaseCode, 2},
                            FActions, kPayloadTotal);
  }
  // Runs the plan; the failure that ended it, or "" when it ended well.
  std::string Run() {
    try {
      RunPlan(Plan(), FSystem, FProgress, FJournal);
    } catch (const Exception& failure) {
      return failure.what();
    }
    return "";
  }
  // A computer without the product, the settings as the pages give them, nothing planted.
  void Fresh() {
    FMachine = FreshMachine();
    FInstallDir = "C:\\Program Files\\Pelmora P2P";
    FDownloadDir = "D:\\Downloads\\";
    FJournal.Lines.clear();
    FActions.Fault = nullptr;
    FActions.Unknown.clear();
  }
  // The computer as a whole installation leaves it.
  TMachine Installed() {
    TMachine machine = FreshMachine();
    for (const std::string& folder : {kInstallDir, kDataDir, kMenu}) machine.AddFolder(folder);
    const auto file = [&](const std::string& path, const std::string& content) { machine.Files[Lower(path)] = content; };
    file(kInstallDir + "Pelmora.Exe", "client");
    file(kInstallDir + "Uninstall.Exe", "uninstaller");
    file(kDataDir + "Pelmora.Dat", "data " + kDataDir + " D:\\Downloads\\");
    file(kInstallDir + "PMInst.Dat", "data " + kDataDir + " D:\\Downloads");
    file(kInstallDir + "UnInstall.dat", RemovalListText(RemovalListLines(kDataDir, kInstallDir, kDataDir, FDesktop)));
    for (const TLinkSpec& link : StartMenuLinks(kInstallDir, TShortcutRun::Installation, kPrograms))
      file(link.File, "link to " + link.Target);
    if (FDesktop) file(kDesktop + "\\Pelmora P2P.Lnk", "link to " + kInstallDir + "Pelmora.Exe");
    machine.Keys[Lower(kUninstallKey)] = {{"DisplayName", "Pelmora P2P"},
                                          {"UninstallString", "\"" + kInstallDir + "Uninstall.Exe\""}};
    return machine;
  }

  std::string FInstallDir = "C:\\Program Files\\Pelmora P2P", FAppDataDir, FClientDataDir;
  std::string FDownloadDir = "D:\\Downloads\\";
  const std::string FReleaseCode = "01";
  bool FDesktop = true;
  TMachine FMachine = FreshMachine();
  TModelSystem FSystem{FMachine};
  TModelActions FActions{FMachine};
  TRecordingProgress FProgress;
  TRecordingJournal FJournal;
};

TEST_F(InstallationPlanTest, StepsComeInTheirOrderWithTheirBarMarksAndFailurePolicies) {
  using enum TOnFailure;
  const std::vector<TStepRow> expected = {
      {"Installation folder", true, EndRun, {}},
      {"Data folder", true, EndRun, {}},
      {"Client program", true, EndRun, {}},
      {"Uninstaller", true, EndRun, {}},
      {"Old data files", false, GoOn, TBarMark::AtPercent(90)},
      {"Uninstall entry", true, GoOn, {}},
      {"Shortcuts", true, GoOn, TBarMark::AtPercent(93)},
      {"Data file", true, EndRun, {}},
      {"Data file copy", true, GoOn, {}},
      {"Removal list", true, EndRun, {}},
  };
  EXPECT_EQ(Rows(Plan()), expected);
  EXPECT_EQ(Plan().BarMaximum, kPayloadTotal + kPayloadTotal / 10);
}

TEST_F(InstallationPlanTest, AWholeRunLeavesTheInstallationShowsEveryBarPositionAndKeepsNoRecord) {
  ASSERT_EQ(Run(), "");
  EXPECT_EQ(FMachine, Installed());
  EXPECT_EQ(FInstallDir, kInstallDir);
  EXPECT_EQ(FAppDataDir, kDataDir);
  EXPECT_EQ(FClientDataDir, kDataDir);
  EXPECT_EQ(FSystem.Record, "") << "a finished run keeps no record";
  // The client's share, then the fixed steps, then the data file's points twice; never 100.
  const int copied = PercentComplete(kClientC, kPayloadTotal + kPayloadTotal / 10);
  const int written = PercentComplete(kClientC + kClientU, kPayloadTotal + kPayloadTotal / 10);
  EXPECT_EQ(FProgress.Percents,
            (std::vector<int>{copied, written, 90, 92, 93, 94, 95, 96, 98, 99, 94, 95, 96, 98, 99}));
  std::vector<std::string> ended;
  for (const std::string& line : FJournal.Lines)
    if (line.find(" started") == std::string::npos) ended.push_back(line.substr(0, line.find(':')));
  EXPECT_EQ(ended, (std::vector<std::string>{"Installation folder done", "Data folder done", "Client program done",
                                             "Uninstaller done", "Uninstall entry done", "Shortcuts done",
                                             "Data file done", "Data file copy done", "Removal list done"}));
}

TEST_F(InstallationPlanTest, TheRemovalListComesFromWhatTheStepsPutInPlace) {
  for (bool desktop : {false, true}) {
    for (bool dataFolder : {true, false}) {
      SCOPED_TRACE(std::string(desktop ? "desktop" : "no desktop") + (dataFolder ? "" : ", no data folder"));
      Fresh();
      FInstallDir = "D:\\Apps\\Pelmora";
      FMachine.AddFolder("D:\\");
      FDesktop = desktop;
      if (!dataFolder) FActions.Unknown.insert(TShellPlace::LocalAppData);
      ASSERT_EQ(Run(), "");
      const std::string data = dataFolder ? kDataDir : "D:\\Apps\\Pelmora\\";
      EXPECT_EQ(FMachine.Files.at(Lower("D:\\Apps\\Pelmora\\UnInstall.dat")),
                RemovalListText(RemovalListLines(data, "D:\\Apps\\Pelmora\\", data, desktop)));
    }
  }
}

// Each failure that ends the run, planted at the step it belongs to: the error is raised and the
// computer is as it was before, with no record kept.
struct TEndingFault {
  const char* Action;
  std::string Path;  // empty: any
  const char* Step;
};

TEST_F(InstallationPlanTest, AFailureThatEndsTheRunLeavesTheComputerAsItWas) {
  const TEndingFault faults[] = {
      {"MakeFolder", "C:\\Pelmora\\", "Installation folder"},
      {"ExtractClient", "", "Client program"},
      {"ExtractUninstaller", "", "Uninstaller"},
      {"WriteDataFile", kDataDir + "Pelmora.Dat", "Data file"},
      {"WriteWholeFile", "", "Removal list"},
  };
  for (const TEndingFault& fault : faults) {
    SCOPED_TRACE(fault.Step);
    Fresh();
    if (std::string(fault.Step) == "Installation folder") {
      // Every folder is refused: the chosen one, the fallbacks and the last resort.
      FActions.Fault = [](const std::string& action, const std::string&) {
        if (action == "MakeFolder") throw EInOutError(5);
      };
      FInstallDir = "C:\\Elsewhere\\Pelmora";
      FActions.Unknown = {TShellPlace::ProgramFiles, TShellPlace::LocalAppData};
    } else {
      FActions.Fault = [&fault](const std::string& action, const std::string& path) {
        if (action == fault.Action && (fault.Path.empty() || Lower(path) == Lower(fault.Path))) throw EInOutError(112);
      };
    }
    const TMachine before = FMachine;
    EXPECT_NE(Run(), "");
    EXPECT_EQ(FMachine, before);
    EXPECT_EQ(FSystem.Record, "");
    ASSERT_GE(FJournal.Lines.size(), 2u);
    EXPECT_EQ(FJournal.Lines[FJournal.Lines.size() - 3].rfind(std::string(fault.Step) + " failed: ", 0), 0u)
        << FJournal.Lines[FJournal.Lines.size() - 3];
    EXPECT_EQ(FJournal.Lines.back().rfind("Undo done: ", 0), 0u) << FJournal.Lines.back();
  }
}

// A failure over an earlier installation puts that one back: its files, shortcuts and entry.
TEST_F(InstallationPlanTest, AFailureOverAnEarlierInstallationPutsItBack) {
  ASSERT_EQ(Run(), "");
  FMachine.Files[Lower(kInstallDir + "Pelmora.Exe")] = "older client";
  FMachine.Files[Lower(kInstallDir + "pelmora.bak")] = "an old backup";
  FMachine.Keys[Lower(kUninstallKey)]["DisplayName"] = "Earlier";
  FMachine.Keys[Lower(kUninstallKey)].erase("UninstallString");
  const TMachine before = FMachine;
  FActions.Fault = [](const std::string& action, const std::string&) {
    if (action == "WriteWholeFile") throw EInOutError(112);
  };
  FInstallDir = kInstallDir;
  FDownloadDir = "D:\\Downloads\\";
  EXPECT_EQ(Run(), "I/O error 112");
  EXPECT_EQ(FMachine, before);
}

// A failure of a step the installation can do without: the run ends well without that step's
// part, and the journal says so.
struct TPassedOverFault {
  const char* Action;
  const char* Step;
  std::function<void(TMachine&)> Without;  // what the whole installation then lacks
};

TEST_F(InstallationPlanTest, AFailureOfAStepTheInstallationCanDoWithoutIsPassedOver) {
  const TPassedOverFault faults[] = {
      {"RegisterUninstall", "Uninstall entry", [](TMachine& m) { m.Keys.clear(); }},
      {"WriteDataFile", "Data file copy", [](TMachine& m) { m.Files.erase(Lower(kInstallDir + "PMInst.Dat")); }},
  };
  for (const TPassedOverFault& fault : faults) {
    SCOPED_TRACE(fault.Step);
    Fresh();
    FActions.Fault = [&fault](const std::string& action, const std::string& path) {
      if (action == fault.Action && (action != std::string("WriteDataFile") || Lower(path).find("pminst") != std::string::npos))
        throw EInOutError(5);
    };
    ASSERT_EQ(Run(), "");
    TMachine expected = Installed();
    fault.Without(expected);
    EXPECT_EQ(FMachine, expected);
    EXPECT_NE(std::find(FJournal.Lines.begin(), FJournal.Lines.end(), std::string(fault.Step) + " passed over: I/O error 5"),
              FJournal.Lines.end());
  }
}

// A step passed over leaves nothing of itself: an earlier copy of the data file stays.
TEST_F(InstallationPlanTest, ACopyOfTheDataFilePassedOverKeepsTheEarlierCopy) {
  ASSERT_EQ(Run(), "");
  FMachine.Files[Lower(kInstallDir + "PMInst.Dat")] = "an earlier copy";
  FActions.Fault = [](const std::string& action, const std::string& path) {
    if (action == "WriteDataFile" && Lower(path).find("pminst") != std::string::npos) throw EInOutError(112);
  };
  FInstallDir = kInstallDir;
  FDownloadDir = "D:\\Downloads\\";
  ASSERT_EQ(Run(), "");
  EXPECT_EQ(FMachine.Files.at(Lower(kInstallDir + "PMInst.Dat")), "an earlier copy");
  EXPECT_EQ(std::count_if(FMachine.Files.begin(), FMachine.Files.end(),
                          [](const auto& file) { return file.first.find("~") != std::string::npos; }),
            0)
      << "a kept file is left";
}

TEST_F(InstallationPlanTest, AShortcutThatCannotBeSavedIsPassedOverAndTheNextOnesAreMade) {
  const std::string help = kMenu + "Pelmora P2P Help.Lnk";
  FMachine.AddFolder(kMenu);
  FMachine.Files[Lower(help)] = "an earlier help link";
  FActions.Fault = [&help](const std::string& action, const std::string& path) {
    if (action == "CreateLink" && path == help) throw EFCreateError(path, "Access denied.", 5);
  };
  ASSERT_EQ(Run(), "");
  TMachine expected = Installed();
  expected.Files[Lower(help)] = "an earlier help link";
  EXPECT_EQ(FMachine, expected) << "the other shortcuts and the desktop one are made, the earlier help link kept";
  const auto shortcuts = std::find_if(FJournal.Lines.begin(), FJournal.Lines.end(),
                                      [](const std::string& line) { return line.rfind("Shortcuts done", 0) == 0; });
  ASSERT_NE(shortcuts, FJournal.Lines.end());
  EXPECT_EQ(*shortcuts, "Shortcuts done: start menu and desktop; not saved, passed over: " + help +
                            " (Cannot create file \"" + help + "\". Access denied.)");
  EXPECT_NE(std::find(FProgress.Percents.begin(), FProgress.Percents.end(), 92), FProgress.Percents.end());
}

// Without a shell link object there are no shortcuts at all: the step is passed over, and what
// it had made (the start menu's folder) goes again.
TEST_F(InstallationPlanTest, AShellLinkObjectThatCannotBeMadeLeavesOutTheShortcutsAnd92) {
  FActions.Fault = [](const std::string& action, const std::string&) {
    if (action == "CreateLink") throw Exception("Class not registered");
  };
  ASSERT_EQ(Run(), "");
  TMachine expected = Installed();
  expected.Folders.erase(Lower(kMenu));
  for (auto file = expected.Files.begin(); file != expected.Files.end();)
    file = file->first.size() > 4 && file->first.substr(file->first.size() - 4) == ".lnk" ? expected.Files.erase(file) : std::next(file);
  EXPECT_EQ(FMachine, expected);
  EXPECT_EQ(std::find(FProgress.Percents.begin(), FProgress.Percents.end(), 92), FProgress.Percents.end());
  EXPECT_NE(std::find(FProgress.Percents.begin(), FProgress.Percents.end(), 93), FProgress.Percents.end());
}

TEST_F(InstallationPlanTest, AFolderThatCannotBeMadeFallsBackAndLeavesNoHalfOfItBehind) {
  // The chosen folder's parent can be made, the folder itself not: the run goes to the first
  // fallback, and the parent it made for the chosen one goes again.
  FInstallDir = "D:\\New\\Pelmora";
  FMachine.AddFolder("D:\\");
  FActions.Fault = [this](const std::string& action, const std::string& path) {
    if (action == "MakeFolder" && path == "D:\\New\\Pelmora\\") {
      FMachine.AddFolder("D:\\New\\");
      throw EInOutError(123);
    }
  };
  ASSERT_EQ(Run(), "");
  EXPECT_EQ(FInstallDir, kProgramFiles + "\\PelmoraP2P\\");
  EXPECT_FALSE(FMachine.HasFolder("D:\\New\\"));
}

TEST_F(InstallationPlanTest, ARecordThatCannotBeKeptIsJournalledOnceAndTheRunStillUndoesItself) {
  FSystem.FailSaves = true;
  FActions.Fault = [](const std::string& action, const std::string&) {
    if (action == "WriteWholeFile") throw EInOutError(112);
  };
  const TMachine before = FMachine;
  EXPECT_EQ(Run(), "I/O error 112");
  EXPECT_EQ(FMachine, before);
  EXPECT_EQ(std::count(FJournal.Lines.begin(), FJournal.Lines.end(), "Run record passed over: I/O error 5"), 1);
}

TEST_F(InstallationPlanTest, AChangeThatCannotBeUndoneStaysRecordedForTheNextStart) {
  FSystem.FailUndoOf = kInstallDir + "Pelmora.Exe";
  FActions.Fault = [](const std::string& action, const std::string&) {
    if (action == "WriteWholeFile") throw EInOutError(112);
  };
  EXPECT_EQ(Run(), "I/O error 112");
  const TRunRecord kept = ParseRunRecord(FSystem.Record);
  EXPECT_EQ(kept.ChangesNewestFirst(), (std::vector<TRunEntry>{{TRunEntryKind::NewFile, kInstallDir + "Pelmora.Exe", {}, {}}}));
  EXPECT_EQ(kept.Kind(), "installation");
  EXPECT_EQ(FJournal.Lines.back().rfind("Undo failed: 1 of ", 0), 0u) << FJournal.Lines.back();
  EXPECT_TRUE(FMachine.HasFile(kInstallDir + "Pelmora.Exe"));
  EXPECT_FALSE(FMachine.HasFile(kInstallDir + "Uninstall.Exe"));
}

// The run cut off at every point where it writes its record, fresh and over an earlier
// installation: undoing what the record then says gives the computer as it was before the run.
TEST_F(InstallationPlanTest, ARunCutOffAtAnyPointIsUndoneFromItsRecord) {
  for (bool earlier : {false, true}) {
    SCOPED_TRACE(earlier ? "over an earlier installation" : "fresh");
    Fresh();
    if (earlier) {
      ASSERT_EQ(Run(), "");
      FMachine.Files[Lower(kInstallDir + "Pelmora.Exe")] = "older client";
      FInstallDir = "C:\\Program Files\\Pelmora P2P";
      FDownloadDir = "D:\\Downloads\\";
    }
    FSystem.Saves.clear();
    const TMachine before = FMachine;
    ASSERT_EQ(Run(), "");
    ASSERT_GE(FSystem.Saves.size(), 10u);
    std::vector<std::string> records;
    for (const TModelSystem::TSave& save : FSystem.Saves) records.push_back(save.Record);
    records.push_back(FSystem.Saves.back().Record);
    for (std::size_t cut = 0; cut < FSystem.Saves.size(); ++cut) {
      // Cut just before this save (the record says what was done so far), and just after it
      // (the record names a change not yet made).
      for (const std::string& text : {records[cut], records[cut + 1]}) {
        TMachine machine = FSystem.Saves[cut].Before;
        if (!text.empty()) {
          TRunRecord record = ParseRunRecord(text);
          EXPECT_NO_THROW(CheckRunRecord(record, {kDataDir, kMenu, kDesktop + "\\Pelmora P2P.Lnk"}));
          EXPECT_EQ(UndoChanges(record, [&](const TRunEntry& change) { TModelSystem::UndoOn(machine, change); }),
                    std::vector<std::string>{});
        }
        EXPECT_EQ(machine, before) << "cut at save " << cut << " with the record:\n" << text;
      }
    }
  }
}

class UpgradePlanTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const std::string& folder : {kInstallDir, kMenu}) FMachine.AddFolder(folder);
    FMachine.Files[Lower(kInstallDir + "Pelmora.Exe")] = "older client";
    FMachine.Files[Lower(kInstallDir + "Uninstall.Exe")] = "older uninstaller";
    FMachine.Files[Lower(kInstallDir + "UnInstall.dat")] = "the list";
    FMachine.Files[Lower(kMenu + "Pelmora P2P.Lnk")] = "an older link";
  }
  std::string Run(bool autoUpdate = false) {
    try {
      RunPlan(UpgradePlan(kInstallDir, autoUpdate, FActions, FShowNotice, 7, kPayloadTotal), FSystem, FProgress,
              FJournal);
    } catch (const Exception& failure) {
      return failure.what();
    }
    return "";
  }
  TMachine Upgraded() const {
    TMachine machine = FMachine;
    machine.Files[Lower(kInstallDir + "Pelmora.Exe")] = "client";
    machine.Files[Lower(kInstallDir + "Uninstall.Exe")] = "uninstaller";
    for (const TLinkSpec& link : StartMenuLinks(kInstallDir, TShortcutRun::Upgrade, kPrograms))
      machine.Files[Lower(link.File)] = "link to " + link.Target;
    return machine;
  }
  std::vector<std::string> Attempts() const {
    std::vector<std::string> attempts;
    for (const std::string& line : FJournal.Lines)
      if (line.rfind("Client program (attempt", 0) == 0 && line.find(" started") == std::string::npos)
        attempts.push_back(line.substr(0, line.find(':')));
    return attempts;
  }

  TMachine FMachine = FreshMachine();
  TModelSystem FSystem{FMachine};
  TModelActions FActions{FMachine};
  TRecordingProgress FProgress;
  TRecordingJournal FJournal;
  std::vector<std::string> FNotices;
  TNoticeEvent FShowNotice = [this](const std::string& text) { FNotices.push_back(text); };
};

TEST_F(UpgradePlanTest, StepsComeInTheirOrderAndTheUnattendedOneWaitsFirst) {
  using enum TOnFailure;
  const std::vector<TStepRow> interactive = {
      {"Installation folder", true, EndRun, {}},
      {"Client program", false, EndRun, {}},
      {"Uninstaller", true, EndRun, {}},
      {"Shortcuts", true, EndRun, TBarMark::AtMaximum()},
  };
  std::vector<TStepRow> unattended = interactive;
  unattended.insert(unattended.begin() + 1, {"Waiting for the client to end", false, EndRun, {}});
  EXPECT_EQ(Rows(UpgradePlan(kInstallDir, false, FActions, FShowNotice, 7, kPayloadTotal)), interactive);
  EXPECT_EQ(Rows(UpgradePlan(kInstallDir, true, FActions, FShowNotice, 7, kPayloadTotal)), unattended);
  EXPECT_EQ(UpgradePlan(kInstallDir, false, FActions, FShowNotice, 7, kPayloadTotal).BarMaximum, kPayloadTotal);
}

TEST_F(UpgradePlanTest, AnUpgradeReplacesBothProgramsAndTheMenuLinksAndDropsTheKeptOnes) {
  const TMachine expected = Upgraded();
  ASSERT_EQ(Run(true), "");
  EXPECT_EQ(FMachine, expected) << "nothing kept aside is left";
  EXPECT_EQ(FProgress.Waited, (std::vector<unsigned>{7, 7, 7}));
  EXPECT_EQ(FProgress.Percents.back(), 100);
  EXPECT_EQ(FSystem.Record, "");
}

TEST_F(UpgradePlanTest, AHeldClientIsTriedAgainUntilItsHolderEnds) {
  FActions.Held = {Lower(kInstallDir + "Pelmora.Exe")};
  FActions.HeldFor = 3;
  ASSERT_EQ(Run(), "");
  EXPECT_EQ(FMachine, Upgraded());
  EXPECT_EQ(Attempts(), (std::vector<std::string>{"Client program (attempt 1) passed over",
                                                  "Client program (attempt 2) passed over",
                                                  "Client program (attempt 3) passed over",
                                                  "Client program (attempt 4) done"}));
  EXPECT_EQ(FNotices, (std::vector<std::string>{RetryNotice(1), "", RetryNotice(2), "", RetryNotice(3), ""}));
  EXPECT_EQ(FProgress.Waited, std::vector<unsigned>(3 * kRetryWaitSeconds, 7));
}

TEST_F(UpgradePlanTest, AClientHeldThroughAllAttemptsEndsTheRunWithNothingChanged) {
  FActions.Held = {Lower(kInstallDir + "Pelmora.Exe")};
  const TMachine before = FMachine;
  EXPECT_EQ(Run(), "Cannot create file \"" + kInstallDir + "Pelmora.Exe\". Sharing violation.");
  EXPECT_EQ(FMachine, before);
  EXPECT_EQ(Attempts().size(), static_cast<std::size_t>(kUpgradeAttempts));
  EXPECT_EQ(Attempts().back(), "Client program (attempt 21) failed");
  EXPECT_EQ(FNotices.size(), 2u * (kUpgradeAttempts - 1));
  EXPECT_EQ(FSystem.Record, "");
}

// Anything but a held client ends the run at the first attempt, with the earlier version kept.
TEST_F(UpgradePlanTest, AnyOtherFailureEndsTheRunAtOnceWithTheEarlierVersionInPlace) {
  const struct {
    const char* Case;
    std::function<void()> Plant;
  } cases[] = {
      {"damaged payload",
       [this] { FActions.Fault = [](const std::string& a, const std::string&) { if (a == "ExtractClient") throw Exception("Error"); }; }},
      {"full disk",
       [this] { FActions.Fault = [](const std::string& a, const std::string&) { if (a == "ExtractClient") throw EInOutError(112); }; }},
      {"a folder of the program's name",
       [this] {
         FMachine.Files.erase(Lower(kInstallDir + "Pelmora.Exe"));
         FMachine.AddFolder(kInstallDir + "Pelmora.Exe");
       }},
      {"the uninstaller",
       [this] { FActions.Fault = [](const std::string& a, const std::string&) { if (a == "ExtractUninstaller") throw EInOutError(112); }; }},
      {"a shell link object",
       [this] { FActions.Fault = [](const std::string& a, const std::string&) { if (a == "CreateLink") throw Exception("Class not registered"); }; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    SetUp();
    FActions.Fault = nullptr;
    FJournal.Lines.clear();
    FNotices.clear();
    c.Plant();
    const TMachine before = FMachine;
    EXPECT_NE(Run(), "");
    EXPECT_EQ(FMachine, before);
    EXPECT_EQ(FNotices, std::vector<std::string>{});
    EXPECT_LE(Attempts().size(), 1u);
    EXPECT_EQ(FSystem.Record, "");
  }
}

TEST_F(UpgradePlanTest, AnUpgradeCutOffAtAnyPointIsUndoneFromItsRecord) {
  const TMachine before = FMachine;
  ASSERT_EQ(Run(), "");
  std::vector<std::string> records;
  for (const TModelSystem::TSave& save : FSystem.Saves) records.push_back(save.Record);
  records.push_back(FSystem.Saves.back().Record);
  for (std::size_t cut = 0; cut < FSystem.Saves.size(); ++cut) {
    for (const std::string& text : {records[cut], records[cut + 1]}) {
      TMachine machine = FSystem.Saves[cut].Before;
      if (!text.empty()) {
        TRunRecord record = ParseRunRecord(text);
        EXPECT_NO_THROW(CheckRunRecord(record, {kDataDir, kMenu, kDesktop + "\\Pelmora P2P.Lnk"}));
        UndoChanges(record, [&](const TRunEntry& change) { TModelSystem::UndoOn(machine, change); });
      }
      EXPECT_EQ(machine, before) << "cut at save " << cut << " with the record:\n" << text;
    }
  }
}

}  // namespace
