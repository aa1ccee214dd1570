#pragma once
// Links planted where a user could plant them with the user's own rights. Under Wine a Unix
// symbolic link inside the prefix is a link for Windows programs: a folder link is listed as a
// reparse point, a file link as the file it points at. Wine starts Linux programs too, so a
// test plants links with the system's own ln, and changes a file's Unix owner with chown
// (which only root may do).

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "tests/driver/Waiting.h"

namespace planted {

// The Unix path of a Windows path (Wine's own kernel32 export); empty outside Wine.
inline std::string UnixPath(const std::string& path) {
  using TToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<TToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  wchar_t wide[MAX_PATH * 2] = L"";
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2);
  char* unix = toUnix(wide);
  if (!unix) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

// Runs a script of the Linux system's shell to its end, with "$1", "$2", ... the Unix paths of
// the Windows paths given. Wine tells neither when a Linux program ends nor how, so the script
// leaves a file behind when it succeeds ("$0"), and the test waits for that file.
inline bool RunUnixScript(const std::string& script, const std::vector<std::string>& paths) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string done = std::string(temp) + "pelmora-unix-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(GetTickCount64()) + ".done";
  std::string commandLine = "sh -c \"" + script + " && : > \\\"$0\\\"\" \"" + UnixPath(done) + "\"";
  for (const std::string& path : paths) {
    const std::string unixPath = UnixPath(path);
    if (unixPath.empty()) return false;
    commandLine += " \"" + unixPath + "\"";
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA("\\\\?\\unix\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const bool succeeded =
      WaitUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, kPatientMs);
  DeleteFileA(done.c_str());
  return succeeded;
}

inline std::string WithoutFinalSeparator(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// Puts a symbolic link at link (replacing the file, folder or link there) that points at
// target, which need not exist; says whether the link is in place.
inline bool PlantLink(const std::string& link, const std::string& target) {
  return RunUnixScript(R"(rm -rf \"$1\" && ln -s \"$2\" \"$1\" && test -L \"$1\")",
                       {WithoutFinalSeparator(link), WithoutFinalSeparator(target)});
}

// Removes the link itself, if one stands there (Windows programs under Wine reach what it
// points at instead).
inline bool RemoveLink(const std::string& link) {
  return RunUnixScript(R"(test ! -L \"$1\" || rm -f \"$1\")", {WithoutFinalSeparator(link)});
}

// The owner of a file as the system reports it, as text ("S-1-5-..."); empty when unknown.
inline std::string OwnerOf(const std::string& path) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                            nullptr, &descriptor) != ERROR_SUCCESS)
    return {};
  char* text = nullptr;
  std::string result;
  if (ConvertSidToStringSidA(owner, &text)) {
    result = text;
    LocalFree(text);
  }
  LocalFree(descriptor);
  return result;
}

// Gives the file to another Unix user than the one the tests run as, as another user's own
// file; false where the tests may not (only root may) or the system does not tell it apart.
inline bool GiveToAnotherUser(const std::string& path) {
  const std::string before = OwnerOf(path);
  return !before.empty() && RunUnixScript(R"(chown 54321 \"$1\")", {path}) && OwnerOf(path) != before;
}

}  // namespace planted
