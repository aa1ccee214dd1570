#include "platform/ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return "";
  return path;
}
