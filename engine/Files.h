#pragma once
// Questions about the file system that the pages and runs ask.

#include <string>

bool FolderExists(const std::string& path);
// True for a file, not for a folder of that name.
bool FileExists(const std::string& path);
// Creates every missing folder of the path; false when one of them cannot be made.
bool ForceFolders(const std::string& folder);