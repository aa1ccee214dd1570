#pragma once
// A running program cannot delete its own file on Windows. After its last message the
// uninstaller copies itself into a new private folder of the temporary folder, with a name
// nobody can know before and access for the system and the uninstaller's owner only, and
// starts "cmd /c start /wait" on that copy followed by "rmdir /s /q" of the folder. The copy
// ("/cleanup") waits on the uninstaller's process handle, removes the uninstaller's file, its
// list and the folders they kept, each in its place (Place.h), and ends; cmd, which waited on
// the copy's handle, then removes the private folder. Nothing of it is read from a file that
// anyone else may write, and no step retries by polling. The copy adds what it removed to the
// uninstaller's log, when there is one.

#include <string>
#include <vector>

class TSelfRemoval {
 public:
  // Sets up the clean-up of the uninstaller's own file and list (files) and of the folders
  // that they keep from going: the private folder with a copy of this program and the
  // clean-up's list, and the name of the uninstaller's log (logPath, empty when it keeps none).
  // Done before the last message, so that a failure can still be told; false, with the reason,
  // when it cannot be set up.
  bool Prepare(const std::string& ownPath, const std::vector<std::string>& files,
               const std::vector<std::string>& folders, const std::string& logPath, std::string& problem);
  // Starts the prepared clean-up; false, with the reason, when it cannot be started.
  bool Start(std::string& problem);

 private:
  void Discard();

  std::string FFolder, FParent;  // the private folder and the temporary folder it is in
};

// The clean-up copy: "/cleanup <process id> <creation time>", started in its private folder.
// Returns its exit code.
int RunCleanup(const std::vector<std::string>& arguments);
