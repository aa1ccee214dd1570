#pragma once
// Questions about the file system that the pages and runs ask.

#include <string>

bool FolderExists(const std::string& path);
// True for a file, not for a folder of that name.
bool FileExists(const std::string& path);
// Whether the path lies on a fixed disk (by its drive letter): the only disks whose folders
// the folder pages offer and propose.
bool IsOnFixedDisk(const std::string& path);

// Creates every missing folder of the path; false when one of them cannot be made.
bool ForceFolders(const std::string& folder);

// Whether the folder is the Windows folder or lies in it, however it is written: short names,
// "." and ".." steps and links on the way count as the system resolves them.
bool IsInWindowsFolder(const std::string& folder);

// Whether the folder can be made: tries to make it with every missing parent, then removes
// again what it made, so that the installation run makes (and on a failure removes) them
// itself. Returns the system's error code, 0 when the folder is there or could be made.
unsigned long FolderCanBeMade(const std::string& folder);
