#pragma once
// The stand-in client's main window as a test finds it: the visible top-level window of the
// client's class whose process runs a program from the given place, a folder ending with "\" or
// a program file, since tests that run beside each other start clients of their own.

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>

struct ClientWindow {
  HWND Window = nullptr;
  DWORD ProcessId = 0;

  explicit operator bool() const { return Window != nullptr; }
};

// The program file of a running process; empty when it cannot be asked.
inline std::string ProgramOfProcess(DWORD processId) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  char path[MAX_PATH] = "";
  DWORD size = sizeof path;
  if (!QueryFullProcessImageNameA(process, 0, path, &size)) path[0] = '\0';
  CloseHandle(process);
  return path;
}

// The program name of the process that started a process ("explorer.exe"); empty when either
// is gone.
inline std::string ParentProgramOf(DWORD processId) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  DWORD parent = 0;
  std::string name;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == processId) parent = entry.th32ParentProcessID;
  entry.dwSize = sizeof entry;
  for (BOOL more = parent && Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == parent) name = entry.szExeFile;
  CloseHandle(snapshot);
  return name;
}

// The client window of a program from place, other than one of the process except; an empty
// one when there is none.
inline ClientWindow FindClientWindow(const std::string& place, DWORD except = 0) {
  struct Search {
    std::string Place;
    DWORD Except;
    ClientWindow Found;
  } search{place, except, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        if (std::string(name) != "PelmoraP2PClient" || id == search.Except || !IsWindowVisible(window)) return TRUE;
        const std::string program = ProgramOfProcess(id);
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, program.c_str(),
                           static_cast<int>(std::min(program.size(), search.Place.size())), search.Place.c_str(),
                           -1) != CSTR_EQUAL)
          return TRUE;
        search.Found = {window, id};
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}
