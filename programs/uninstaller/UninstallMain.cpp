// Uninstall.Exe: removes what the installer's removal list "UnInstall.dat" in its own folder
// names, in list order, after the user confirms ("/quiet" skips the question and all other
// messages). The list lies in the installation folder, which the user may write to; before
// anything is touched every line must name one of the product's own places (CheckProductPlaces)
// and the client must not be running. Exit code: 0 all removed, 1 something could not be
// removed, 2 the list cannot be used (nothing was touched), 3 the user said no, 4 the client is
// running or its program cannot be removed (nothing was touched).
//
// A running program cannot delete its own file on Windows. After its last message the
// uninstaller copies itself into a new private folder of the temporary folder, with a random
// name and access for the system and the uninstaller's owner only, and starts "cmd /c start
// /wait" on that copy followed by "rmdir /s /q" of the folder. The copy ("/cleanup") waits on
// the uninstaller's process handle, removes the uninstaller's file, its list and the folders
// they kept, and ends; cmd, which waited on the copy's handle, then removes the private folder.
// Nothing of it is read from a file that anyone else may write, and no step retries by polling.

#include <windows.h>
#include <objbase.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/RemovalList.h"
#include "platform/FileBytes.h"
#include "platform/MessageBoxes.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"

namespace {

constexpr char kListName[] = "UnInstall.dat";
constexpr char kCleanupListName[] = "Cleanup.dat";
constexpr char kCleanupFolderPrefix[] = "PelmoraUninstall-";
constexpr char kTitle[] = "Pelmora P2P Uninstall";

enum TExitCode { kRemoved = 0, kNotAllRemoved = 1, kListRefused = 2, kDeclined = 3, kClientHeld = 4 };

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

// An existing file or folder in its long form ("C:\PROGRA~1\" and "C:\Program Files\" are one
// place); any other text unchanged.
std::string LongPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? path : std::string(buffer, length);
}

std::string LongFolder(const std::string& folder) { return WithSeparator(LongPath(folder)); }

// The per-user folder that holds the client's data files; empty when the system cannot tell.
std::string UserDataDir() {
  const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
  return local.empty() ? std::string() : LongFolder(WithSeparator(local) + std::string(kProductName) + "\\");
}

// The list's paths in the same long form as the places they are checked against.
void UseLongFolders(TRemovalList& list) {
  for (TRemovalEntry& entry : list.Entries) {
    if (entry.Kind != TRemovalKind::File && entry.Kind != TRemovalKind::MatchingFiles &&
        entry.Kind != TRemovalKind::EmptyFolder)
      continue;
    const std::size_t slash = entry.Argument.find_last_of('\\');
    entry.Argument = LongFolder(entry.Argument.substr(0, slash + 1)) + entry.Argument.substr(slash + 1);
  }
}

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

std::string TempFolder() {
  char temp[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  return length == 0 || length >= MAX_PATH ? std::string() : LongFolder(temp);
}

std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; arguments && i < count; ++i) {
    char text[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, arguments[i], -1, text, sizeof text, nullptr, nullptr);
    result.emplace_back(text);
  }
  LocalFree(arguments);
  return result;
}

std::uint64_t CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

std::string ReadWholeFile(const std::string& path, bool& ok) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  ok = bytes.has_value();
  return bytes.value_or(std::string());
}

// The error of opening the client's program for removal: 0 when nothing holds it (or it is
// gone). A running client holds its program, and nothing may be removed then: the uninstall
// would otherwise take its shortcuts and entry and leave it orphaned.
DWORD ClientProgramHeld(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return 0;
  }
  const DWORD code = GetLastError();
  return IsGone(code) ? 0 : code;
}

// A new folder that the system and this process's owner alone may open; a standard user's
// process cannot put anything into it while an elevated uninstall uses it. CreateDirectory
// never takes an existing folder, so the name cannot be planted in advance either.
std::string MakePrivateFolder(const std::string& parent, std::string& problem) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    problem = SystemErrorText(GetLastError());
    return {};
  }
  std::vector<BYTE> ownerBuffer(256);
  DWORD needed = 0;
  const BOOL haveOwner = GetTokenInformation(token, TokenOwner, ownerBuffer.data(),
                                             static_cast<DWORD>(ownerBuffer.size()), &needed);
  const DWORD ownerError = GetLastError();
  CloseHandle(token);
  char* owner = nullptr;
  if (!haveOwner || !ConvertSidToStringSidA(reinterpret_cast<TOKEN_OWNER*>(ownerBuffer.data())->Owner, &owner)) {
    problem = SystemErrorText(haveOwner ? GetLastError() : ownerError);
    return {};
  }
  const std::string descriptorText = std::string("D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;") + owner + ")";
  LocalFree(owner);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(descriptorText.c_str(), SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    problem = SystemErrorText(GetLastError());
    return {};
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  GUID guid{};
  std::string folder;
  if (CoCreateGuid(&guid) != S_OK) {
    problem = "no random name";
  } else {
    char name[64];
    wsprintfA(name, "%s%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", kCleanupFolderPrefix, guid.Data1,
              guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
              guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    folder = parent + name + "\\";
    if (!CreateDirectoryA(folder.c_str(), &attributes)) {
      problem = SystemErrorText(GetLastError());
      folder.clear();
    }
  }
  LocalFree(descriptor);
  return folder;
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

  // Sets up the clean-up of the uninstaller's own file, its list and the folders they keep:
  // a private folder with a copy of this program and the clean-up's list. Done before the last
  // message, so that a failure can still be told.
  void PrepareCleanup() {
    if (Deferred.empty() && DeferredFolders.empty()) return;
    const std::string temp = TempFolder();
    if (temp.empty()) {
      NotRemoved(OwnPath, "no temporary folder for the clean-up");
      return;
    }
    std::string problem;
    const std::string folder = MakePrivateFolder(temp, problem);
    if (folder.empty()) {
      NotRemoved(OwnPath, "no folder for the clean-up: " + problem);
      return;
    }
    std::string list = std::string(kProductName) + "\r\n";
    for (const std::string& file : Deferred) list += "<F" + file + ">\r\n";
    for (const std::string& sub : DeferredFolders) list += "<E" + sub + ">\r\n";
    if (!CopyFileA(OwnPath.c_str(), (folder + "Uninstall.Exe").c_str(), TRUE) ||
        !WriteNewFile(folder + kCleanupListName, list)) {
      NotRemoved(OwnPath, "the clean-up cannot be prepared: " + SystemErrorText(GetLastError()));
      DeleteFileA((folder + "Uninstall.Exe").c_str());
      DeleteFileA((folder + kCleanupListName).c_str());
      RemoveDirectoryA(folder.c_str());
      return;
    }
    CleanupFolder = folder;
    CleanupParent = temp;
  }

  // Starts the prepared clean-up; false (with the reason) when it cannot be started. cmd runs
  // in the temporary folder and gets the private folder's name only, which holds no character
  // that cmd would read as an instruction.
  bool StartCleanup(std::string& problem) {
    if (CleanupFolder.empty()) return true;
    const std::string name = CleanupFolder.substr(CleanupParent.size(), CleanupFolder.size() - CleanupParent.size() - 1);
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
      problem = SystemErrorText(GetLastError());
      return false;
    }
    std::string commandLine = Quoted(std::string(system) + "\\cmd.exe") + " /d /c \"start \"\" /wait " + name +
                              "\\Uninstall.Exe /cleanup " + std::to_string(GetCurrentProcessId()) + " " +
                              std::to_string(CreationTime(GetCurrentProcess())) + " & rmdir /s /q " + name + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        CleanupParent.c_str(), &startup, &process)) {
      problem = SystemErrorText(GetLastError());
      DeleteFileA((CleanupFolder + "Uninstall.Exe").c_str());
      DeleteFileA((CleanupFolder + kCleanupListName).c_str());
      RemoveDirectoryA(CleanupFolder.c_str());
      return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }

  const std::vector<std::string>& Problems() const { return Problems_; }

 private:
  static bool WriteNewFile(const std::string& path, const std::string& text) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    const DWORD error = !ok ? GetLastError() : written != text.size() ? ERROR_DISK_FULL : ERROR_SUCCESS;
    CloseHandle(file);
    SetLastError(error);
    return error == ERROR_SUCCESS;
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
    if (!IsGone(code)) NotRemoved(path, SystemErrorText(code));
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
    NotRemoved(folder, code == ERROR_DIR_NOT_EMPTY ? "the folder still holds other files" : SystemErrorText(code));
  }

  // Whether every entry of the folder is a file or folder whose removal waits for the clean-up.
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
      NotRemoved("HKEY_LOCAL_MACHINE\\" + key, SystemErrorText(static_cast<DWORD>(result)));
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

  std::string OwnPath, ListPath, CleanupFolder, CleanupParent;
  std::vector<std::string> Deferred, DeferredFolders, Problems_;
};

// The clean-up copy: "/cleanup <process id> <creation time>", started in its private folder.
// It waits for that process (the uninstaller) to end, then removes what its list names. The
// creation time tells the uninstaller from a later process that got the same id.
int RunCleanup(const std::vector<std::string>& arguments) {
  const std::string own = OwnPath();
  const std::string folder = LongFolder(FolderOf(own));
  const std::string temp = TempFolder();
  // Only a copy in a clean-up folder of the temporary folder acts; the installed uninstaller
  // started with the switch does nothing.
  if (arguments.size() != 3 || temp.empty() || !SamePath(FolderOf(folder.substr(0, folder.size() - 1)), temp) ||
      folder.compare(temp.size(), sizeof kCleanupFolderPrefix - 1, kCleanupFolderPrefix) != 0)
    return kListRefused;
  const DWORD id = std::strtoul(arguments[1].c_str(), nullptr, 10);
  const std::uint64_t created = std::strtoull(arguments[2].c_str(), nullptr, 10);
  if (const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)) {
    if (CreationTime(process) == created) WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
  }
  bool readable = false;
  const std::string text = ReadWholeFile(folder + kCleanupListName, readable);
  if (!readable) return kListRefused;
  TRemovalList list;
  try {
    list = ParseRemovalList(text);
    CheckCleanupList(list, UserDataDir());
  } catch (const ERemovalListError&) {
    return kListRefused;
  }
  int result = kRemoved;
  for (const TRemovalEntry& entry : list.Entries) {
    const bool done = entry.Kind == TRemovalKind::File ? DeleteFileA(entry.Argument.c_str())
                                                       : RemoveDirectoryA(entry.Argument.c_str());
    if (!done && !IsGone(GetLastError())) result = kNotAllRemoved;
  }
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> arguments = Arguments();
  if (!arguments.empty() && lstrcmpiA(arguments[0].c_str(), "/cleanup") == 0) return RunCleanup(arguments);
  bool quiet = false;
  for (const std::string& argument : arguments) quiet = quiet || lstrcmpiA(argument.c_str(), "/quiet") == 0;

  const std::string ownPath = LongPath(OwnPath());
  const std::string folder = FolderOf(ownPath);
  const std::string listPath = folder + kListName;
  const auto refuse = [&](const std::string& message, int code) {
    if (!quiet) ShowMessageBox(nullptr, message, kTitle, MB_OK | MB_ICONERROR);
    return code;
  };

  TRemovalList list;
  bool readable = false;
  const std::string text = ReadWholeFile(listPath, readable);
  if (!readable) return refuse("The removal list " + listPath + " cannot be read.\rNothing was removed.", kListRefused);
  try {
    list = ParseRemovalList(text);
    UseLongFolders(list);
    CheckProductPlaces(list, {folder, UserDataDir()});
  } catch (const ERemovalListError& error) {
    return refuse(std::string(error.what()) + "\rThe removal list is damaged; nothing was removed.", kListRefused);
  }

  if (!quiet &&
      ShowMessageBox(nullptr, "Do you want to remove " + list.Product + " and all of its components?", kTitle,
                     MB_YESNO | MB_ICONQUESTION) != IDYES)
    return kDeclined;

  const std::string client = folder + "Pelmora.Exe";
  if (const DWORD held = ClientProgramHeld(client))
    return refuse(list.Product + " cannot be removed while it is running (" + client + ": " + SystemErrorText(held) +
                      ").\rClose " + list.Product + " and start the uninstall again; nothing was removed.",
                  kClientHeld);

  // The folders being removed must not be held by our own current folder.
  const std::string temp = TempFolder();
  if (!temp.empty()) SetCurrentDirectoryA(temp.c_str());

  TUninstaller uninstaller(ownPath, listPath);
  uninstaller.Remove(list);
  uninstaller.PrepareCleanup();

  int result = kRemoved;
  if (uninstaller.Problems().empty()) {
    if (!quiet)
      ShowMessageBox(nullptr, list.Product + " was removed from your computer.", kTitle,
                     MB_OK | MB_ICONINFORMATION);
  } else {
    if (!quiet) {
      std::string message = list.Product + " was removed, except for these items:";
      for (const std::string& problem : uninstaller.Problems()) message += "\r" + problem;
      ShowMessageBox(nullptr, message, kTitle, MB_OK | MB_ICONWARNING);
    }
    result = kNotAllRemoved;
  }

  // Started after the last message, so that it waits for nothing but this process's end.
  std::string problem;
  if (!uninstaller.StartCleanup(problem)) {
    if (!quiet)
      ShowMessageBox(nullptr, "The uninstaller's own file " + ownPath + " cannot be removed: " + problem,
                     kTitle, MB_OK | MB_ICONWARNING);
    result = kNotAllRemoved;
  }
  return result;
}
