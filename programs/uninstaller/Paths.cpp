#include "programs/uninstaller/Paths.h"

#include <shlobj.h>

#include "core/FolderName.h"
#include "core/RemovalList.h"
#include "platform/ShellFolders.h"

std::string WithoutSeparator(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

std::string LongPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? path : std::string(buffer, length);
}

std::string LongFolder(const std::string& folder) { return WithBackslash(LongPath(folder)); }

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::string TempFolder() {
  char temp[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  return length == 0 || length >= MAX_PATH ? std::string() : LongFolder(temp);
}

std::string UserDataDir() {
  const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
  return local.empty() ? std::string() : LongFolder(WithBackslash(local) + std::string(kProductName) + "\\");
}

bool IsGone(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }


bool WriteNewFile(const std::string& path, const std::string& text) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  const DWORD error = !ok ? GetLastError() : written != text.size() ? ERROR_DISK_FULL : ERROR_SUCCESS;
  CloseHandle(file);
  SetLastError(error);
  return error == ERROR_SUCCESS;
}
