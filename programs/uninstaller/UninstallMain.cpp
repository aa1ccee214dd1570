// Uninstall.Exe: removes what the installer's removal list "UnInstall.dat" in its own folder
// names, in list order, after the user confirms ("/quiet" skips the question and all other
// messages). Exit code: 0 all removed, 1 something could not be removed, 2 the list cannot be
// used (nothing was touched), 3 the user said no.
//
// A running program cannot delete its own file on Windows. The uninstaller writes a small batch
// file into the temporary folder and starts it hidden; the batch waits until the uninstaller's
// file can be deleted (that is, the uninstaller has ended), deletes it and the list, removes
// the folders that only they kept from being empty, and deletes itself.

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "programs/uninstaller/RemovalList.h"

namespace {

constexpr char kListName[] = "UnInstall.dat";

std::string SystemText(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length ? std::string(text, length) : "system error " + std::to_string(code);
  LocalFree(text);
  while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
    result.pop_back();
  return result;
}

std::string Quoted(const std::string& text) {
  std::string result(1, '"');
  result.append(text).push_back('"');
  return result;
}

bool IsGone(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string Lower(std::string text) {
  if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool SamePath(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string ShellFolder(int csidl) {
  char path[MAX_PATH];
  if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return path;
}

class TUninstaller {
 public:
  TUninstaller(std::string ownPath, std::string listPath)
      : OwnPath(std::move(ownPath)), ListPath(std::move(listPath)) {}

  void Remove(const TRemovalList& list) {
    for (const TRemovalEntry& entry : list.Entries) {
      switch (entry.Kind) {
        case TRemovalKind::MatchingFiles: RemoveMatching(entry.Argument); break;
        case TRemovalKind::File: RemoveFile(entry.Argument); break;
        case TRemovalKind::EmptyFolder: RemoveFolder(entry.Argument); break;
        case TRemovalKind::RegistryKey: RemoveKey(entry.Argument); break;
        case TRemovalKind::StartMenuFolder: RemoveStartMenuFolder(entry.Argument); break;
        case TRemovalKind::DesktopShortcut: RemoveDesktopShortcut(entry.Argument); break;
      }
    }
  }

  // Hands the uninstaller's own file, the list and the folders they keep to the batch.
  void StartCleanup() {
    if (Deferred.empty() && DeferredFolders.empty()) return;
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) {
      NotRemoved(OwnPath, "no temporary folder for the clean-up: " + SystemText(GetLastError()));
      return;
    }
    const std::string batch = std::string(temp) + "PelmoraUninstall-" +
                              std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(GetTickCount64()) + ".bat";
    std::string script = "@echo off\r\nset /a tries=0\r\n";
    for (std::size_t i = 0; i < Deferred.size(); ++i) {
      const std::string quoted = Quoted(Escaped(Deferred[i]));
      const std::string number = std::to_string(i);
      // The uninstaller's own file can go once its process has ended; until then it is held.
      script.append(":wait").append(number).append("\r\ndel /f /q ").append(quoted).append(" >nul 2>&1\r\n");
      script.append("if not exist ").append(quoted).append(" goto done").append(number).append("\r\n");
      script.append("set /a tries+=1\r\nif %tries% lss 20000 goto wait").append(number).append("\r\n");
      script.append(":done").append(number).append("\r\n");
    }
    for (const std::string& folder : DeferredFolders)
      script.append("rmdir \"").append(Escaped(folder)).append("\" >nul 2>&1\r\n");
    script += "del \"%~f0\" >nul 2>&1\r\n";
    {
      std::ofstream out(batch, std::ios::binary | std::ios::trunc);
      out << script;
      if (!out.flush()) {
        NotRemoved(OwnPath, "the clean-up file " + batch + " cannot be written");
        return;
      }
    }
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    // cmd takes the outer quotes off what follows /c, leaving the quoted batch path.
    std::string commandLine = Quoted(std::string(system) + "\\cmd.exe") + " /c " + Quoted(Quoted(batch));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, temp, &startup, &process)) {
      NotRemoved(OwnPath, "the clean-up cannot be started: " + SystemText(GetLastError()));
      DeleteFileA(batch.c_str());
      return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  const std::vector<std::string>& Problems() const { return Problems_; }

 private:
  // "%" would be expanded by the batch.
  static std::string Escaped(const std::string& path) {
    std::string result;
    for (const char c : path) {
      result += c;
      if (c == '%') result += '%';
    }
    return result;
  }

  void NotRemoved(const std::string& what, const std::string& why) { Problems_.push_back(what + ": " + why); }

  bool IsOwnFile(const std::string& path) const { return SamePath(path, OwnPath) || SamePath(path, ListPath); }

  void RemoveFile(const std::string& path) {
    if (IsOwnFile(path)) {
      Deferred.push_back(path);
      return;
    }
    if (DeleteFileA(path.c_str())) return;
    const DWORD code = GetLastError();
    if (!IsGone(code)) NotRemoved(path, SystemText(code));
  }

  void RemoveMatching(const std::string& argument) {
    const std::size_t slash = argument.find_last_of('\\');
    const std::string folder = argument.substr(0, slash + 1), mask = argument.substr(slash + 1);
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(argument.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::string> names;
    do {
      // The system also matches short 8.3 names ("*.DAT" would find "a.data"); only the real
      // name counts.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && MatchesMask(found.cFileName, mask))
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    for (const std::string& name : names) RemoveFile(folder + name);
  }

  void RemoveFolder(const std::string& argument) {
    const std::string folder = WithSeparator(argument);
    if (RemoveDirectoryA(folder.c_str())) return;
    const DWORD code = GetLastError();
    if (IsGone(code)) return;
    if (code == ERROR_DIR_NOT_EMPTY && HoldsOnlyDeferred(folder)) {
      DeferredFolders.push_back(folder);
      return;
    }
    NotRemoved(folder, code == ERROR_DIR_NOT_EMPTY ? "the folder still holds other files" : SystemText(code));
  }

  // Whether every entry of the folder is a file or folder whose removal waits for the batch.
  bool HoldsOnlyDeferred(const std::string& folder) const {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool only = true;
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      bool deferred = false;
      for (const std::string& file : Deferred) deferred = deferred || SamePath(file, folder + name);
      for (const std::string& sub : DeferredFolders) deferred = deferred || SamePath(sub, folder + name + "\\");
      only = only && deferred;
    } while (only && FindNextFileA(search, &found));
    FindClose(search);
    return only;
  }

  void RemoveKey(const std::string& key) {
    const LSTATUS result = RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    if (result != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(result)))
      NotRemoved("HKEY_LOCAL_MACHINE\\" + key, SystemText(static_cast<DWORD>(result)));
  }

  void RemoveStartMenuFolder(const std::string& name) {
    const std::string programs = ShellFolder(CSIDL_PROGRAMS);
    if (programs.empty()) {
      NotRemoved("Start menu folder " + name, "the start menu cannot be found");
      return;
    }
    const std::string folder = WithSeparator(programs) + name + "\\";
    RemoveMatching(folder + "*");
    RemoveFolder(folder);
  }

  void RemoveDesktopShortcut(const std::string& name) {
    const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    if (desktop.empty()) {
      NotRemoved("Desktop shortcut " + name, "the desktop folder cannot be found");
      return;
    }
    RemoveFile(WithSeparator(desktop) + name);
  }

  std::string OwnPath, ListPath;
  std::vector<std::string> Deferred, DeferredFolders, Problems_;
};

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

bool HasQuietSwitch() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  bool quiet = false;
  for (int i = 1; arguments && i < count; ++i) quiet = quiet || lstrcmpiW(arguments[i], L"/quiet") == 0;
  LocalFree(arguments);
  return quiet;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const bool quiet = HasQuietSwitch();
  const std::string ownPath = OwnPath();
  const std::string folder = ownPath.substr(0, ownPath.find_last_of('\\') + 1);
  const std::string listPath = folder + kListName;
  const char* title = "Pelmora P2P Uninstall";

  TRemovalList list;
  {
    std::ifstream in(listPath, std::ios::binary);
    if (!in) {
      if (!quiet)
        MessageBoxA(nullptr, ("The removal list " + listPath + " cannot be read.\rNothing was removed.").c_str(),
                    title, MB_OK | MB_ICONERROR);
      return 2;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
      list = ParseRemovalList(text);
    } catch (const ERemovalListError& error) {
      if (!quiet)
        MessageBoxA(nullptr, (std::string(error.what()) + "\rThe removal list is damaged; nothing was removed.").c_str(),
                    title, MB_OK | MB_ICONERROR);
      return 2;
    }
  }

  if (!quiet &&
      MessageBoxA(nullptr, ("Do you want to remove " + list.Product + " and all of its components?").c_str(),
                  title, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return 3;

  // The folders being removed must not be held by our own current folder.
  char temp[MAX_PATH];
  if (GetTempPathA(MAX_PATH, temp)) SetCurrentDirectoryA(temp);

  TUninstaller uninstaller(ownPath, listPath);
  uninstaller.Remove(list);
  uninstaller.StartCleanup();

  if (uninstaller.Problems().empty()) {
    if (!quiet)
      MessageBoxA(nullptr, (list.Product + " was removed from your computer.").c_str(), title,
                  MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (!quiet) {
    std::string message = list.Product + " was removed, except for these items:";
    for (const std::string& problem : uninstaller.Problems()) message += "\r" + problem;
    MessageBoxA(nullptr, message.c_str(), title, MB_OK | MB_ICONWARNING);
  }
  return 1;
}
