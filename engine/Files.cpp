#include "engine/Files.h"

#include <windows.h>

#include <vector>

#include "core/Text.h"
#include "platform/Links.h"

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsOnFixedDisk(const std::string& path) {
  return GetDriveTypeA(LowerCase(path.substr(0, 3)).c_str()) == DRIVE_FIXED;
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

namespace {

// The full path of the folder, "." and ".." steps resolved, without a final backslash; the
// text itself when the system cannot tell.
std::string FullFolderPath(const std::string& folder) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
  std::string path = length == 0 || length >= MAX_PATH ? folder : std::string(full, length);
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// Where the folder really is: the final path of the nearest of its folders that exists,
// followed by the steps that do not exist yet.
std::string WhereFolderIs(const std::string& folder) {
  std::string path = FullFolderPath(folder), rest;
  for (;;) {
    const std::string final = FinalPathOf(path.size() == 2 ? path + "\\" : path);
    if (!final.empty()) return (final.back() == '\\' ? final.substr(0, final.size() - 1) : final) + rest;
    const std::size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos || slash < 2) return path + rest;
    rest = path.substr(slash) + rest;
    path.resize(slash);
  }
}

}  // namespace

bool IsInWindowsFolder(const std::string& folder) {
  char windows[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string system = WhereFolderIs(windows), place = WhereFolderIs(folder);
  return place.size() >= system.size() && SamePath(place.substr(0, system.size()), system) &&
         (place.size() == system.size() || place[system.size()] == '\\');
}

unsigned long FolderCanBeMade(const std::string& folder) {
  const std::string path = FullFolderPath(folder);
  std::vector<std::string> missing;
  for (std::string step = path; GetFileAttributesA(step.c_str()) == INVALID_FILE_ATTRIBUTES;) {
    missing.push_back(step);
    const std::size_t slash = step.find_last_of('\\');
    if (slash == std::string::npos || slash < 3) break;
    step.resize(slash);
  }
  std::vector<std::string> made;
  DWORD code = ERROR_SUCCESS;
  for (auto step = missing.rbegin(); step != missing.rend() && code == ERROR_SUCCESS; ++step) {
    if (CreateDirectoryA(step->c_str(), nullptr))
      made.push_back(*step);
    else
      code = GetLastError();
  }
  // A file of that name leaves no room for the folder.
  if (code == ERROR_SUCCESS && !FolderExists(path)) code = ERROR_DIRECTORY;
  for (auto undo = made.rbegin(); undo != made.rend(); ++undo) RemoveDirectoryA(undo->c_str());
  return code;
}
