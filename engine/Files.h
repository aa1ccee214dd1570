#pragma once
// Questions about the file system that the pages and runs ask.

#include <string>

bool FolderExists(const std::string& path);
// True for a file, not for a folder of that name.
bool FileExists(const std::string& path);
