#pragma once
// What the tests read back from the system an installation changed: the shell's folders, whole
// files and the values of the uninstall entry.

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>

namespace system_state {

inline const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P";

// A special folder of the shell, without a final backslash.
inline std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A value of the uninstall entry below HKEY_LOCAL_MACHINE; "<missing>" without it.
inline std::string UninstallEntryValue(const char* name) {
  char value[MAX_PATH] = "";
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return "<missing>";
  return value;
}

}  // namespace system_state
