#include "engine/WindowsRun.h"

#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include "core/Text.h"
#include "datafile/WholeFile.h"
#include "engine/Files.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "engine/InstallationRun.h"
#include "platform/RunRecordStore.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"

namespace {

std::string LongForm(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  return LowerCase(length == 0 || length >= MAX_PATH ? path : std::string(buffer, length));
}

}  // namespace

bool IsProgramRunning(const std::string& path) {
  const std::string wanted = LongForm(path);
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  bool running = false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more && !running; more = Process32Next(snapshot, &entry)) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (!process) continue;
    char image[MAX_PATH];
    DWORD length = MAX_PATH;
    if (QueryFullProcessImageNameA(process, 0, image, &length)) running = LongForm(std::string(image, length)) == wanted;
    CloseHandle(process);
  }
  CloseHandle(snapshot);
  return running;
}

std::string TWindowsRunActions::ShellFolder(TShellPlace place) {
  switch (place) {
    case TShellPlace::ProgramFiles: return ::ShellFolder(CSIDL_PROGRAM_FILES);
    case TShellPlace::LocalAppData: return ::ShellFolder(CSIDL_LOCAL_APPDATA);
    case TShellPlace::Programs: return ::ShellFolder(CSIDL_PROGRAMS);
    case TShellPlace::Desktop: return ::ShellFolder(CSIDL_DESKTOPDIRECTORY);
  }
  return {};
}

bool TWindowsRunActions::FolderExists(const std::string& folder) { return ::FolderExists(folder); }

bool TWindowsRunActions::FileExists(const std::string& path) { return ::FileExists(path); }

void TWindowsRunActions::MakeFolder(const std::string& folder) { ::MakeFolder(folder); }

void TWindowsRunActions::MakeFolderLevel(const std::string& folder) { CreateDirectoryA(folder.c_str(), nullptr); }

void TWindowsRunActions::CheckReplaceable(const std::string& path) {
  // A running program holds its file: it cannot be opened for exclusive writing.
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return;
  }
  const DWORD code = GetLastError();
  if (code != ERROR_FILE_NOT_FOUND) throw EFCreateError(path, SystemErrorText(code), static_cast<int>(code));
}

// A running program's file gives a sharing violation, or, where the system keeps the image
// mapped, access denied; the latter only counts when a process really runs that program (a
// folder of the program's name, or a file without rights, gives it too).
bool TWindowsRunActions::IsHeldByRunningProgram(const EFCreateError& failure, const std::string& path) {
  if (failure.ErrorCode == ERROR_SHARING_VIOLATION || failure.ErrorCode == ERROR_LOCK_VIOLATION) return true;
  return failure.ErrorCode == ERROR_ACCESS_DENIED && IsProgramRunning(path);
}

void TWindowsRunActions::ExtractClient(const std::string& path, TProgressSink& progress) {
  GB_PelmoraP2P_exe::ExtractPayload(path, &progress);
}

void TWindowsRunActions::ExtractUninstaller(const std::string& path) { GB_Uninstall_exe::ExtractPayload(path); }

void TWindowsRunActions::WriteDataFile(const std::string& path, const TDataFileSettings& header,
                                       const std::function<void(int percent)>& progress) {
  ::WriteDataFile(path, header, progress);
}

void TWindowsRunActions::RegisterUninstall(const std::string& installDir) { ::RegisterUninstall(installDir); }

void TWindowsRunActions::CreateLink(const TLinkSpec& link) { ::CreateLink(link); }

void TWindowsRunActions::WriteWholeFile(const std::string& path, const std::string& text) {
  ::WriteWholeFile(path, text);
}

bool TWindowsRunSystem::FolderExists(const std::string& folder) { return ::FolderExists(folder); }

bool TWindowsRunSystem::FileExists(const std::string& path) { return ::FileExists(path); }

// A key that this process may not open is there all the same, and not the run's to remove.
bool TWindowsRunSystem::KeyExists(const std::string& key) {
  HKEY handle = nullptr;
  const LSTATUS opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle);
  if (opened == ERROR_SUCCESS) RegCloseKey(handle);
  return opened != ERROR_FILE_NOT_FOUND && opened != ERROR_PATH_NOT_FOUND;
}

bool TWindowsRunSystem::ReadValue(const std::string& key, const std::string& name, std::string& text) {
  DWORD size = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return false;
  std::string buffer(size, '\0');
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size) !=
      ERROR_SUCCESS)
    return false;
  buffer.resize(size > 0 ? size - 1 : 0);
  text = buffer;
  return true;
}

std::string TWindowsRunSystem::AsideName(const std::string& path) {
  std::string aside;
  do aside = KeptName(path, UniqueNamePart());
  while (GetFileAttributesA(aside.c_str()) != INVALID_FILE_ATTRIBUTES);
  return aside;
}

void TWindowsRunSystem::MoveAside(const std::string& path, const std::string& aside) {
  // Never over something that stands there: the name is new.
  if (!MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = GetLastError();
    throw EFCreateError(path, SystemErrorText(code), static_cast<int>(code));
  }
}

void TWindowsRunSystem::SaveRecord(const TRunRecord& record) { SaveRunRecord(RunRecordText(record)); }

void TWindowsRunSystem::RemoveRecord() { RemoveRunRecord(); }

void TWindowsRunSystem::Undo(const TRunEntry& change) { UndoRunChange(change); }

void TWindowsRunSystem::Commit(const TRunEntry& change) { CommitRunChange(change); }
