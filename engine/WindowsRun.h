#pragma once
// The runs' work and records on the real computer: the payloads, the data file writer, the
// shell, the registry and the files, and the record of the run below HKEY_LOCAL_MACHINE.

#include "engine/RunActions.h"
#include "engine/RunPlan.h"

class TWindowsRunActions final : public TRunActions {
 public:
  std::string ShellFolder(TShellPlace place) override;
  bool FolderExists(const std::string& folder) override;
  bool FileExists(const std::string& path) override;
  void MakeFolder(const std::string& folder) override;
  void MakeFolderLevel(const std::string& folder) override;
  void CheckReplaceable(const std::string& path) override;
  bool IsHeldByRunningProgram(const EFCreateError& failure, const std::string& path) override;
  void ExtractClient(const std::string& path, TProgressSink& progress) override;
  void ExtractUninstaller(const std::string& path) override;
  void WriteDataFile(const std::string& path, const TDataFileSettings& header,
                     const std::function<void(int percent)>& progress) override;
  void RegisterUninstall(const std::string& installDir) override;
  void CreateLink(const TLinkSpec& link) override;
  void WriteWholeFile(const std::string& path, const std::string& text) override;
};

class TWindowsRunSystem final : public TRunSystem {
 public:
  bool FolderExists(const std::string& folder) override;
  bool FileExists(const std::string& path) override;
  bool KeyExists(const std::string& key) override;
  bool ReadValue(const std::string& key, const std::string& name, std::string& text) override;
  std::string AsideName(const std::string& path) override;
  void MoveAside(const std::string& path, const std::string& aside) override;
  void SaveRecord(const TRunRecord& record) override;
  void RemoveRecord() override;
  void Undo(const TRunEntry& change) override;
  void Commit(const TRunEntry& change) override;
};

// Whether a process runs the program at path (compared in long form, without regard to case).
bool IsProgramRunning(const std::string& path);
