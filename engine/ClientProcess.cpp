#include "engine/ClientProcess.h"

#include <windows.h>

#include <algorithm>

#include "core/Exceptions.h"
#include "core/RemovalList.h"
#include "engine/Files.h"
#include "platform/Links.h"

namespace {

// The whole of a small file; false when it cannot be read.
bool ReadSmallFile(const std::string& path, std::string& text) {
  // Far more than any list the installation writes.
  constexpr LONGLONG kMaxSize = 1 << 20;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxSize;
  if (ok) {
    text.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    ok = text.empty() || (ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr) &&
                          read == text.size());
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

void StartClient(const std::string& installDir) {
  std::string commandLine = "\"" + installDir + "Pelmora.Exe\"";
  WinExec(commandLine.c_str(), SW_SHOWMAXIMIZED);
}

bool HoldsInstallation(const std::string& folder) {
  const std::string program = folder + "Pelmora.Exe";
  std::string text;
  if (!FileExists(program) || !ReadSmallFile(folder + "UnInstall.dat", text)) return false;
  TRemovalList list;
  try {
    list = ParseRemovalList(text);
  } catch (const ERemovalListError&) {
    return false;
  }
  // The list may name the folder in another form (a short name); the system tells.
  const std::string place = FinalPathOf(program);
  return SamePath(list.Product, std::string(kProductName)) &&
         std::any_of(list.Entries.begin(), list.Entries.end(), [&](const TRemovalEntry& entry) {
           return entry.Kind == TRemovalKind::File && SamePath(FinalPathOf(entry.Argument), place);
         });
}
