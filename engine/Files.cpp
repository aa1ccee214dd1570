#include "engine/Files.h"

#include <windows.h>

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceFolders(const std::string& folder) {
  std::string path = folder;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  if (path.empty() || FolderExists(path)) return !path.empty();
  size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos && slash > 2 && !ForceFolders(path.substr(0, slash))) return false;
  // A file of that name makes the folder impossible; another process may have just made it.
  return CreateDirectoryA(path.c_str(), nullptr) || FolderExists(path);
}
