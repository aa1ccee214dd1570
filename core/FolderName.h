#pragma once
// Folder names as the folder pages take them from the user, and the proposals they make.

#include <functional>
#include <string>

// True for a full folder path such as "C:\Games": no blanks around it, drive letter, ":\",
// no doubled backslash, none of " * / : < > ? after the drive.
bool IsValidFolderName(const std::string& text);

// The folder part of path, whose last component is always taken as a file name (up to the
// last backslash or drive colon):
// "C:\Games" gives "C:\", "C:\Program Files\Pelmora P2P" gives "C:\Program Files\".
std::string ParentFolder(const std::string& path);

// The installation folder for a folder picked in the tree: a drive root or a folder right under
// one gets the product folder "Pelmora P2P" appended.
std::string InstallFolderForSelection(const std::string& selected);

// The download folder for a folder picked in the tree: a drive root gets "Downloads".
std::string DownloadFolderForSelection(const std::string& selected);

// The download folder to propose: an existing "Downloads" folder on a fixed disk, C before D
// before E, else "Downloads" on the installation folder's drive.
std::string ProposeDownloadFolder(const std::string& installDir,
                                  const std::function<bool(char driveLetter)>& hasFixedDownloads);
