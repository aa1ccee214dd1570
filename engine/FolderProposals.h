#pragma once
// The folders that an installation proposes where the user names none: the folder pages show
// them, and the silent installation installs into them as the pages accept them with "&Next".
// Both are given without a final backslash, as the pages show them.

#include <string>

// The program-files folder's "Pelmora P2P", or "C:\Pelmora P2P" when the system cannot tell
// where program files go.
std::string ProposedInstallDir();

// An existing "Downloads" folder on a fixed disk (core's ProposeDownloadFolder), else
// "Downloads" on the installation folder's drive.
std::string ProposedDownloadDir(const std::string& installDir);
