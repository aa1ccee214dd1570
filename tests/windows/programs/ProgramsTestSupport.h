#pragma once
// Starting the programs of programs/ and finding their windows, for the tests of this folder.

#include <windows.h>

#include <string>

#include "tests/driver/BuildFolder.h"
#include "tests/driver/MessageBoxes.h"
#include "tests/driver/Waiting.h"

inline std::string TestFolder(const std::string& kind) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "pelmora-" + kind + "-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

class Program {
 public:
  Program(const std::string& path, const std::string& arguments, int show = SW_SHOWNORMAL) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                   &startup, &FProcess);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (!FProcess.hProcess) return;
    if (WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(FProcess.hProcess, 99);
    WaitForSingleObject(FProcess.hProcess, 10000);
    CloseHandle(FProcess.hThread);
    CloseHandle(FProcess.hProcess);
  }
  bool Started() const { return FProcess.hProcess != nullptr; }
  DWORD Id() const { return FProcess.dwProcessId; }
  // The exit code, or -1 when the program has not ended in time.
  long WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(FProcess.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(FProcess.hProcess, &code);
    return static_cast<long>(code);
  }
  // A visible top-level window of the program with this class, or null.
  HWND WaitForWindow(const char* className, DWORD timeoutMs) const {
    struct Search {
      DWORD Id;
      const char* ClassName;
      HWND Found;
    } search{FProcess.dwProcessId, className, nullptr};
    const ULONGLONG start = GetTickCount64();
    while (!search.Found && GetTickCount64() - start < timeoutMs) {
      EnumWindows(
          [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            if (id == s->Id && IsWindowVisible(window) && std::string(name) == s->ClassName) {
              s->Found = window;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&search));
      if (!search.Found) Sleep(20);
    }
    return search.Found;
  }

 private:
  PROCESS_INFORMATION FProcess{};
};

inline std::string WindowText(HWND window) {
  char text[4096] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
