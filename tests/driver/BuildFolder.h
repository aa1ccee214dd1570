#pragma once
// The build folder that a test program runs from, with its final backslash: the nearest folder
// above the program that holds the build's CMakeCache.txt, however deep the program lies.

#include <windows.h>

#include <string>

inline std::string BuildFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  for (std::size_t slash = folder.find_last_of('\\'); slash != std::string::npos; slash = folder.find_last_of('\\')) {
    folder.erase(slash);
    if (GetFileAttributesA((folder + "\\CMakeCache.txt").c_str()) != INVALID_FILE_ATTRIBUTES) return folder + "\\";
  }
  return {};
}
