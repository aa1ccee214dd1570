#pragma once
// Questions about the file system that the pages and runs ask.

#include <string>

bool FolderExists(const std::string& path);
// True for a file, not for a folder of that name.
bool FileExists(const std::string& path);
// Creates every missing folder of the path; false when one of them cannot be made.
bool ForceFolders(const std::string& folder);

// Whether the folder is the Windows folder or lies in it, however it is written: short names,
// "." and ".." steps and links on the way count as the system resolves them.
bool IsInWindowsFolder(const std::string& folder);

// Makes the folder with every missing parent. When one of them cannot be made, those it made
// are removed again and the system's error code is returned; 0 when the folder is there.
unsigned long MakeFolderOrNothing(const std::string& folder);
