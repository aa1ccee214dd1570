#include "programs/uninstaller/SelfRemoval.h"

#include <windows.h>
#include <sddl.h>

#include <cstdint>
#include <cstdlib>
#include <exception>

#include "core/RemovalList.h"
#include "platform/InstallerLock.h"
#include "platform/FileBytes.h"
#include "platform/Links.h"
#include "platform/LogFile.h"
#include "platform/SystemError.h"
#include "platform/UnguessableName.h"
#include "programs/uninstaller/ExitCodes.h"
#include "programs/uninstaller/Paths.h"
#include "programs/uninstaller/Place.h"

namespace {

constexpr char kCleanupListName[] = "Cleanup.dat";
constexpr char kLogNameFile[] = "Log.dat";
constexpr char kCleanupFolderPrefix[] = "PelmoraUninstall-";

std::string Quoted(const std::string& text) { return '"' + text + '"'; }

std::uint64_t CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// A new folder that the system and this process's owner alone may open; a standard user's
// process cannot put anything into it while an elevated uninstall uses it. CreateDirectory
// never takes an existing folder, and nobody knows the name before, so it cannot be planted.
std::string MakePrivateFolder(const std::string& parent, std::string& problem) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    problem = SystemErrorText(GetLastError());
    return {};
  }
  BYTE ownerBuffer[256];
  DWORD needed = 0;
  const BOOL haveOwner = GetTokenInformation(token, TokenOwner, ownerBuffer, sizeof ownerBuffer, &needed);
  const DWORD ownerError = GetLastError();
  CloseHandle(token);
  char* owner = nullptr;
  if (!haveOwner || !ConvertSidToStringSidA(reinterpret_cast<TOKEN_OWNER*>(ownerBuffer)->Owner, &owner)) {
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
  std::string folder;
  try {
    folder = parent + kCleanupFolderPrefix + UnguessableName() + "\\";
    if (!CreateDirectoryA(folder.c_str(), &attributes)) {
      problem = SystemErrorText(GetLastError());
      folder.clear();
    }
  } catch (const std::exception& failure) {
    problem = failure.what();
    folder.clear();
  }
  LocalFree(descriptor);
  return folder;
}

// Whether the folder holds the client program as a file of its own, as an installation leaves
// it: a link planted in its place, which the uninstaller left alone, is no installation.
bool HoldsInstalledClient(const std::string& folder) {
  const std::string client = folder + "Pelmora.Exe";
  return GetFileAttributesA(client.c_str()) != INVALID_FILE_ATTRIBUTES && !IsListedAsLink(client) &&
         SamePath(FinalPathOf(client), LongPath(client));
}

}  // namespace

bool TSelfRemoval::Prepare(const std::string& ownPath, const std::vector<std::string>& files,
                           const std::vector<std::string>& folders, const std::string& logPath,
                           std::string& problem) {
  if (files.empty() && folders.empty()) return true;
  const std::string temp = TempFolder();
  if (temp.empty()) {
    problem = "no temporary folder for the clean-up";
    return false;
  }
  const std::string folder = MakePrivateFolder(temp, problem);
  if (folder.empty()) {
    problem = "no folder for the clean-up: " + problem;
    return false;
  }
  std::string list = std::string(kProductName) + "\r\n";
  for (const std::string& file : files) list += "<F" + file + ">\r\n";
  for (const std::string& sub : folders) list += "<E" + sub + ">\r\n";
  FFolder = folder;
  FParent = temp;
  if (!CopyFileA(ownPath.c_str(), (folder + "Uninstall.Exe").c_str(), TRUE) ||
      !WriteNewFile(folder + kCleanupListName, list) ||
      (!logPath.empty() && !WriteNewFile(folder + kLogNameFile, logPath))) {
    problem = "the clean-up cannot be prepared: " + SystemErrorText(GetLastError());
    Discard();
    return false;
  }
  return true;
}

void TSelfRemoval::Discard() {
  DeleteFileA((FFolder + "Uninstall.Exe").c_str());
  DeleteFileA((FFolder + kCleanupListName).c_str());
  DeleteFileA((FFolder + kLogNameFile).c_str());
  RemoveDirectoryA(FFolder.c_str());
  FFolder.clear();
}

// cmd runs in the temporary folder and gets the private folder's name only, which holds no
// character that cmd would read as an instruction.
bool TSelfRemoval::Start(std::string& problem) {
  if (FFolder.empty()) return true;
  const std::string name = FFolder.substr(FParent.size(), FFolder.size() - FParent.size() - 1);
  char system[MAX_PATH];
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    problem = SystemErrorText(GetLastError());
    Discard();
    return false;
  }
  std::string commandLine = Quoted(std::string(system) + "\\cmd.exe") + " /d /c \"start \"\" /wait " + name +
                            "\\Uninstall.Exe /cleanup " + std::to_string(GetCurrentProcessId()) + " " +
                            std::to_string(CreationTime(GetCurrentProcess())) + " & rmdir /s /q " + name + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      FParent.c_str(), &startup, &process)) {
    problem = SystemErrorText(GetLastError());
    Discard();
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// It waits for the uninstaller to end, then removes what its list names. The creation time
// tells the uninstaller from a later process that got the same id.
int RunCleanup(const std::vector<std::string>& arguments) {
  const std::string folder = LongFolder(FolderOf(OwnPath()));
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
  // An installer started since may be writing files of these names again, or have done so:
  // the clean-up waits until none runs, and leaves a folder in which an installation stands
  // anew.
  if (!AcquireInstallerLock(INFINITE)) return kInstallerRunning;
  std::string text;
  if (!ReadSmallFile(folder + kCleanupListName, text)) return kListRefused;
  TRemovalList list;
  try {
    list = ParseRemovalList(text);
    CheckCleanupList(list, UserDataDir());
  } catch (const ERemovalListError&) {
    return kListRefused;
  }
  for (const TRemovalEntry& entry : list.Entries)
    if (entry.Kind == TRemovalKind::File && HoldsInstalledClient(FolderOf(entry.Argument))) return kInstallerRunning;
  // The log that the uninstaller kept, on the terms it was written on: still a plain file of
  // this user's own, reached without a link.
  TLogFile log;
  std::string logPath;
  if (ReadSmallFile(folder + kLogNameFile, logPath)) log.OpenToAppend(logPath);
  int result = kRemoved;
  for (const TRemovalEntry& entry : list.Entries) {
    const bool isFile = entry.Kind == TRemovalKind::File;
    const TPlace place(isFile ? FolderOf(entry.Argument) : entry.Argument);
    const TOutcome outcome = isFile ? place.RemoveFile(entry.Argument) : place.RemoveFolder(entry.Argument);
    std::string what;
    switch (outcome.Result) {
      case TRemoved::Done: what = "done"; break;
      case TRemoved::Gone: what = "passed over: nothing of it is there"; break;
      case TRemoved::Link:
        what = "refused: a link stands at " + outcome.Link + "; it was left alone, and so was what it points at";
        result = kLinkRefused;
        break;
      case TRemoved::Failed:
        what = "failed: " + SystemErrorText(outcome.Error);
        if (result == kRemoved) result = kNotAllRemoved;
        break;
    }
    log.Note("Self-removal of " + entry.Argument + " " + what);
  }
  log.Note("Self-removal ended (exit code " + std::to_string(result) + ")");
  return result;
}
