#pragma once
// The work that the steps of the runs do on the computer: the payloads, the data file, the
// shortcuts, the uninstall entry and the removal list, and the shell's folders they go to. The
// plans are built over this, so that they can be checked without touching the computer; the
// Windows one is engine/WindowsRun.h.

#include <functional>
#include <string>

#include "core/Exceptions.h"
#include "datafile/WriteDataFile.h"
#include "engine/ProgressSink.h"
#include "engine/Shortcuts.h"

enum class TShellPlace { ProgramFiles, LocalAppData, Programs, Desktop };

class TRunActions {
 public:
  // The shell's folder without a final "\"; empty when the system cannot tell.
  virtual std::string ShellFolder(TShellPlace place) = 0;
  virtual bool FolderExists(const std::string& folder) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Creates the folder with its missing parents, or at least its last level; raises EInOutError.
  virtual void MakeFolder(const std::string& folder) = 0;
  // Creates one folder level; a failure (such as an existing folder) is no failure here.
  virtual void MakeFolderLevel(const std::string& folder) = 0;
  // Raises EFCreateError with the system's code when the file is there but cannot be opened to
  // be replaced (a running program holds it, or it is a folder).
  virtual void CheckReplaceable(const std::string& path) = 0;
  // Whether the failure is that of a program file that a running program holds.
  virtual bool IsHeldByRunningProgram(const EFCreateError& failure, const std::string& path) = 0;
  virtual void ExtractClient(const std::string& path, TProgressSink& progress) = 0;
  virtual void ExtractUninstaller(const std::string& path) = 0;
  virtual void WriteDataFile(const std::string& path, const TDataFileSettings& header,
                             const std::function<void(int percent)>& progress) = 0;
  // The uninstall entry of the installation in installDir; raises when it cannot be written.
  virtual void RegisterUninstall(const std::string& installDir) = 0;
  // Raises EFCreateError when the link file cannot be saved, another Exception when there is no
  // shell link object to make it with.
  virtual void CreateLink(const TLinkSpec& link) = 0;
  // Writes the file whole or not at all.
  virtual void WriteWholeFile(const std::string& path, const std::string& text) = 0;

 protected:
  ~TRunActions() = default;
};
