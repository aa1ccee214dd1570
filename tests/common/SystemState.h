#pragma once
// What the tests read back from the system an installation changed: the shell's folders, whole
// files and the values of the uninstall entry.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// The key below HKEY_LOCAL_MACHINE where a run keeps its record while it runs.
inline const char kRunRecordKey[] = "Software\\Pelmora P2P Setup";

// A value of the uninstall entry below HKEY_LOCAL_MACHINE; "<missing>" without it.
inline std::string UninstallEntryValue(const char* name) {
  char value[MAX_PATH] = "";
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return "<missing>";
  return value;
}

// The values of a key below HKEY_LOCAL_MACHINE, name=text each; empty without the key.
inline std::map<std::string, std::string> KeyValues(const char* key) {
  std::map<std::string, std::string> values;
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return values;
  values["<key>"] = key;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD nameSize = sizeof name;
    std::string data(8192, '\0');
    DWORD dataSize = static_cast<DWORD>(data.size());
    if (RegEnumValueA(handle, index, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                      &dataSize) != ERROR_SUCCESS)
      break;
    data.resize(dataSize);
    values[std::string(key) + "\\" + name] = data.c_str();
  }
  RegCloseKey(handle);
  return values;
}

// What a run may change, in a form that compares and prints briefly: each file below the places
// (or the place itself when it is a file) by size and a hash of its bytes, each folder, and the
// values of the uninstall entry and of the run's record.
struct Snapshot {
  std::map<std::string, std::string> Entries;
  bool operator==(const Snapshot&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Snapshot& snapshot) {
  for (const auto& [path, state] : snapshot.Entries) out << "\n  " << path << " " << state;
  return out;
}

inline std::string Fingerprint(const std::string& bytes) {
  std::uint64_t hash = 1469598103934665603ull;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  std::ostringstream text;
  text << bytes.size() << " bytes, " << std::hex << hash;
  return text.str();
}

inline Snapshot TakeSnapshot(const std::vector<std::string>& places) {
  namespace fs = std::filesystem;
  Snapshot snapshot;
  for (const std::string& place : places) {
    std::error_code error;
    if (fs::is_regular_file(place, error)) {
      snapshot.Entries[place] = Fingerprint(ReadFile(place));
      continue;
    }
    if (!fs::is_directory(place, error)) continue;
    snapshot.Entries[place] = "folder";
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(place, error))
      snapshot.Entries[entry.path().string()] = entry.is_directory() ? "folder" : Fingerprint(ReadFile(entry.path().string()));
  }
  for (const char* key : {kUninstallKey, kRunRecordKey})
    for (const auto& [name, text] : KeyValues(key)) snapshot.Entries["HKLM\\" + name] = text;
  return snapshot;
}

// The product's places outside an installation folder: the per-user data folder, the start
// menu's folder and the desktop shortcut.
inline std::vector<std::string> ProductPlaces() {
  return {ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P",
          ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"};
}

}  // namespace system_state
