#pragma once

#include <string>

#include "app/Frame_Panel.h"

class TProgressBar;

// The installation run: puts the client, its uninstaller, the data files, the removal list, the
// shortcuts and the uninstall entry on the computer, then shows the finish page.
class TPNLInstallInstalling : public TFramePanel {
 public:
  TPNLInstallInstalling();
  void BeforeShow() override;
  void AfterShow() override;

  // Moves the bar and shows its percentage, then lets the window answer.
  void SetProgress(long long position);
  // Moves the bar to a whole percentage of its range.
  void SetProgressPercent(int percent);
  // Creates the folder with all missing parents; raises EInOutError when it cannot.
  static void MakeFolder(std::string folder);
  void WriteDataFile(const std::string& path);

 protected:
  void Loaded() override;

 private:
  void SettleInstallDir();
  void SettleAppDataDir();
  void CreateShortcuts();
  void WriteRemovalList();

  TProgressBar* ProgressBar1 = nullptr;
  Control* Label12 = nullptr;
};
