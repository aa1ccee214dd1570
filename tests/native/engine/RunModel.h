#pragma once
// A model of the computer that the runs change, for checking the plans and their runner without
// touching the machine: folders, files and registry keys in memory (paths compared without
// regard to case, as Windows does), the runs' work and record on it, a bar and a journal that
// remember what they were told, and faults that a test plants at any of the work's actions.

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/FolderName.h"
#include "core/Progress.h"
#include "engine/RunActions.h"
#include "engine/RunPlan.h"

namespace run_model {

inline std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

inline std::string Folder(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

struct TMachine {
  std::set<std::string> Folders;              // lower case, ending in "\"
  std::map<std::string, std::string> Files;   // lower case path -> content
  std::map<std::string, std::map<std::string, std::string>> Keys;

  bool operator==(const TMachine&) const = default;

  bool HasFolder(const std::string& folder) const { return Folders.count(Lower(WithBackslash(folder))) > 0; }
  bool HasFile(const std::string& path) const { return Files.count(Lower(path)) > 0; }
  void AddFolder(const std::string& folder) { Folders.insert(Lower(WithBackslash(folder))); }
};

inline std::ostream& operator<<(std::ostream& out, const TMachine& machine) {
  for (const std::string& folder : machine.Folders) out << "\n  folder " << folder;
  for (const auto& [path, content] : machine.Files) out << "\n  file " << path << " = " << content.substr(0, 200);
  for (const auto& [key, values] : machine.Keys) {
    out << "\n  key " << key;
    for (const auto& [name, value] : values) out << " " << name << "=" << value;
  }
  return out;
}

// The shell's folders of the model's user.
inline const std::string kProgramFiles = "C:\\Program Files";
inline const std::string kLocalAppData = "C:\\Users\\u\\AppData\\Local";
inline const std::string kPrograms = "C:\\Users\\u\\Start Menu\\Programs";
inline const std::string kDesktop = "C:\\Users\\u\\Desktop";

// A computer on which nothing of the product is installed yet.
inline TMachine FreshMachine() {
  TMachine machine;
  for (const std::string& folder : {std::string("C:\\"), kProgramFiles, std::string("C:\\Users\\"),
                                    std::string("C:\\Users\\u\\"), std::string("C:\\Users\\u\\AppData\\"), kLocalAppData,
                                    std::string("C:\\Users\\u\\Start Menu\\"), kPrograms, kDesktop})
    machine.AddFolder(folder);
  return machine;
}

// The payload sizes of the model: compressed and program length of each.
constexpr long long kClientC = 1000, kClientU = 3000, kUninstallerC = 200, kUninstallerU = 300;
constexpr long long kPayloadTotal = kClientC + kClientU + kUninstallerC + kUninstallerU;

// The record and undo on the model. Every save is remembered with the machine as it was then,
// so a test can cut the run off at any of them.
class TModelSystem final : public TRunSystem {
 public:
  explicit TModelSystem(TMachine& machine) : Machine(machine) {}

  struct TSave {
    TMachine Before;     // the machine when the record was about to be saved
    std::string Record;  // the record the next start would find if the run were cut off then
  };

  bool FolderExists(const std::string& folder) override { return Machine.HasFolder(folder); }
  bool FileExists(const std::string& path) override { return Machine.HasFile(path); }
  bool KeyExists(const std::string& key) override { return Machine.Keys.count(Lower(key)) > 0; }
  bool ReadValue(const std::string& key, const std::string& name, std::string& text) override {
    const auto found = Machine.Keys.find(Lower(key));
    if (found == Machine.Keys.end() || !found->second.count(name)) return false;
    text = found->second.at(name);
    return true;
  }
  std::string AsideName(const std::string& path) override {
    return KeptName(path, std::to_string(++FAsides));
  }
  void MoveAside(const std::string& path, const std::string& aside) override {
    Machine.Files[Lower(aside)] = Machine.Files.at(Lower(path));
    Machine.Files.erase(Lower(path));
  }
  void SaveRecord(const TRunRecord& record) override {
    Saves.push_back({Machine, Record});
    if (FailSaves) throw EInOutError(5);
    Record = RunRecordText(record);
  }
  void RemoveRecord() override { Record.clear(); }
  void Undo(const TRunEntry& change) override {
    if (FailUndoOf == change.Target) throw Exception("cannot undo");
    UndoOn(Machine, change);
  }
  void Commit(const TRunEntry& change) override { Machine.Files.erase(Lower(change.Other)); }

  // How the next start undoes a change on the model.
  static void UndoOn(TMachine& machine, const TRunEntry& change) {
    const std::string target = Lower(change.Target);
    switch (change.Kind) {
      case TRunEntryKind::MadeFolder: {
        const bool empty =
            std::none_of(machine.Files.begin(), machine.Files.end(), [&](const auto& file) { return Folder(file.first) == target; }) &&
            std::none_of(machine.Folders.begin(), machine.Folders.end(),
                         [&](const std::string& folder) { return folder != target && Folder(folder) == target; });
        if (empty) machine.Folders.erase(target);
        break;
      }
      case TRunEntryKind::NewFile: machine.Files.erase(target); break;
      case TRunEntryKind::MovedAside:
        if (machine.Files.count(Lower(change.Other))) {
          machine.Files[target] = machine.Files[Lower(change.Other)];
          machine.Files.erase(Lower(change.Other));
        }
        break;
      case TRunEntryKind::MadeKey: machine.Keys.erase(target); break;
      case TRunEntryKind::ReplacedValue: machine.Keys[target][change.Other] = change.Old; break;
      case TRunEntryKind::AddedValue: machine.Keys[target].erase(change.Other); break;
      default: break;
    }
  }

  TMachine& Machine;
  std::string Record;  // the saved record; empty when none is kept
  std::vector<TSave> Saves;
  bool FailSaves = false;
  std::string FailUndoOf;

 private:
  int FAsides = 0;
};

// The runs' work on the model. Fault, when set, is called with each action's name and path
// before the action and may raise to make it fail.
class TModelActions final : public TRunActions {
 public:
  explicit TModelActions(TMachine& machine) : Machine(machine) {}

  std::string ShellFolder(TShellPlace place) override {
    if (Unknown.count(place)) return "";
    switch (place) {
      case TShellPlace::ProgramFiles: return kProgramFiles;
      case TShellPlace::LocalAppData: return kLocalAppData;
      case TShellPlace::Programs: return kPrograms;
      case TShellPlace::Desktop: return kDesktop;
    }
    return "";
  }
  bool FolderExists(const std::string& folder) override { return Machine.HasFolder(folder); }
  bool FileExists(const std::string& path) override { return Machine.HasFile(path); }
  void MakeFolder(const std::string& folder) override {
    Act("MakeFolder", folder);
    std::string level;
    for (std::size_t slash = folder.find('\\', 3); slash != std::string::npos; slash = folder.find('\\', slash + 1))
      Machine.AddFolder(folder.substr(0, slash + 1));
    Machine.AddFolder(folder);
  }
  void MakeFolderLevel(const std::string& folder) override {
    if (Machine.HasFolder(Folder(folder)) && !Blocked(folder)) Machine.AddFolder(folder);
  }
  void CheckReplaceable(const std::string& path) override {
    if (Machine.HasFolder(path)) throw EFCreateError(path, "Access denied.", 5);
    if (Machine.HasFile(path) && Held.count(Lower(path))) {
      if (HeldFor > 0 && --HeldFor == 0) Held.erase(Lower(path));
      throw EFCreateError(path, "Sharing violation.", 32);
    }
  }
  bool IsHeldByRunningProgram(const EFCreateError& failure, const std::string&) override {
    return failure.ErrorCode == 32;
  }
  void ExtractClient(const std::string& path, TProgressSink& progress) override {
    for (long long position = 1024; position <= kClientC; position += 1024) progress.ShowProgress(position);
    progress.ShowProgress(kClientC);
    Write("ExtractClient", path, "client");
    progress.ShowProgress(kClientC + kClientU);
  }
  void ExtractUninstaller(const std::string& path) override { Write("ExtractUninstaller", path, "uninstaller"); }
  void WriteDataFile(const std::string& path, const TDataFileSettings& header,
                     const std::function<void(int percent)>& progress) override {
    for (int percent : {94, 95, 96, 98, 99}) progress(percent);
    Write("WriteDataFile", path, "data " + header.ClientDataDir + " " + header.DownloadDir);
  }
  void RegisterUninstall(const std::string& installDir) override {
    Act("RegisterUninstall", installDir);
    auto& values = Machine.Keys[Lower(kUninstallKey)];
    values["DisplayName"] = "Pelmora P2P";
    values["UninstallString"] = "\"" + installDir + "Uninstall.Exe\"";
  }
  void CreateLink(const TLinkSpec& link) override {
    Act("CreateLink", link.File);
    if (!Machine.HasFolder(Folder(link.File))) throw EFCreateError(link.File, "Path not found.", 3);
    Machine.Files[Lower(link.File)] = "link to " + link.Target;
  }
  void WriteWholeFile(const std::string& path, const std::string& text) override { Write("WriteWholeFile", path, text); }

  TMachine& Machine;
  std::set<std::string> Held;  // lower-case paths a running program holds
  int HeldFor = 0;             // attempts after which the holder ends; 0: never
  std::set<TShellPlace> Unknown;
  std::function<void(const std::string& action, const std::string& path)> Fault;

 private:
  bool Blocked(const std::string& path) const { return Machine.HasFile(path); }
  void Act(const std::string& action, const std::string& path) {
    if (Fault) Fault(action, path);
  }
  // Files appear whole or not at all, as the Windows writers make them.
  void Write(const std::string& action, const std::string& path, const std::string& content) {
    if (!Machine.HasFolder(Folder(path)) || Machine.HasFolder(path)) throw EFCreateError(path, "Access denied.", 5);
    Act(action, path);
    Machine.Files[Lower(path)] = content;
  }
};

// The bar: its maximum and every percentage it showed, in order (repeats folded), and the
// waits it was asked for.
class TRecordingProgress final : public TRunProgress, public TProgressSink {
 public:
  void SetMax(long long maximum) override { FMax = maximum; }
  long long Max() const override { return FMax; }
  void SetProgress(long long position) override { Show(position); }
  void ProcessMessages() override {}
  void Wait(unsigned milliseconds) override { Waited.push_back(milliseconds); }
  TProgressSink& PayloadProgress() override { return *this; }
  void ShowProgress(long long position) override { Show(position); }

  std::vector<int> Percents;
  std::vector<unsigned> Waited;

 private:
  void Show(long long position) {
    const int percent = PercentComplete(position, FMax);
    if (Percents.empty() || Percents.back() != percent) Percents.push_back(percent);
  }
  long long FMax = 0;
};

// The journal as lines: "<step> started", "<step> done: <detail>", "<step> passed over: ...",
// "<step> failed: ...".
class TRecordingJournal final : public TRunJournal {
 public:
  void StepStarted(const std::string& step) override { Lines.push_back(step + " started"); }
  void StepEnded(const std::string& step, TStepResult result, const std::string& detail) override {
    const char* word = result == TStepResult::Done ? " done: " : result == TStepResult::Abandoned ? " passed over: " : " failed: ";
    Lines.push_back(step + word + detail);
  }
  std::vector<std::string> Lines;
};

}  // namespace run_model
