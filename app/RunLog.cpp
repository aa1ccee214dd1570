#include "app/RunLog.h"

#include <windows.h>
#include <aclapi.h>

#include <exception>
#include <vector>

#include "app/Appl_Globals.h"
#include "platform/Links.h"
#include "platform/UnguessableName.h"

namespace {

HANDLE& LogFile() {
  static HANDLE file = INVALID_HANDLE_VALUE;
  return file;
}

void WriteLine(const std::string& line) {
  HANDLE& file = LogFile();
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  // A log that fails once (a full disk) is given up rather than left with holes.
  if (!WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
      written != line.size()) {
    CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }
}

TLogTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

// CREATE_NEW never opens what stands at the name already, a link (even one to nothing) included.
HANDLE CreateNewLog(const std::string& path) {
  // Others may read it while the installation runs.
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// Whether the token's user, or the owner it gives new files (the administrators of an elevated
// process), owns the file.
bool OwnedByThisUser(HANDLE file) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      &descriptor) != ERROR_SUCCESS)
    return false;
  bool own = false;
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    std::vector<BYTE> buffer(512);
    DWORD size = 0;
    if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size))
      own = EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
    if (!own && GetTokenInformation(token, TokenOwner, buffer.data(), static_cast<DWORD>(buffer.size()), &size))
      own = EqualSid(owner, reinterpret_cast<TOKEN_OWNER*>(buffer.data())->Owner);
    CloseHandle(token);
  }
  LocalFree(descriptor);
  return own;
}

// The existing file at path, opened for writing when it is what its name says: a plain file of
// this user's own with no other name, reached without a link. What a handle opened on a file
// link reaches is told by its final path, which must lie in the folder the name is in.
HANDLE OpenOwnPlainFile(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return INVALID_HANDLE_VALUE;
  const std::string folder = FinalPathOf(path.substr(0, slash + 1));
  if (folder.empty()) return INVALID_HANDLE_VALUE;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE | READ_CONTROL, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return file;
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileInformationByHandle(file, &information) &&
      !(information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
      information.nNumberOfLinks == 1 && SamePath(FinalPath(file), folder + path.substr(slash)) &&
      OwnedByThisUser(file))
    return file;
  CloseHandle(file);
  return INVALID_HANDLE_VALUE;
}

std::string TemporaryFolder() {
  char folder[MAX_PATH + 1] = "";
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return {};
  std::string path = folder;
  if (path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

void CloseRunLog() {
  HANDLE& file = LogFile();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
}

std::string OpenNewRunLog() {
  CloseRunLog();
  const std::string folder = TemporaryFolder();
  if (folder.empty()) return {};
  std::string name;
  try {
    name = UnguessableName().substr(0, 16);
  } catch (const std::exception&) {
    return {};
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[32];
  wsprintfA(stamp, "%04u%02u%02u-%02u%02u%02u-", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
            now.wSecond);
  const std::string path = folder + "Install_Pelmora-" + stamp + name + ".log";
  LogFile() = CreateNewLog(path);
  return LogFile() == INVALID_HANDLE_VALUE ? std::string() : path;
}

void OpenRunLog(const std::string& path) {
  CloseRunLog();
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) return;
  HANDLE file = CreateNewLog(full);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
    file = OpenOwnPlainFile(full);
    // Created anew: the old lines go.
    if (file != INVALID_HANDLE_VALUE && !SetEndOfFile(file)) {
      CloseHandle(file);
      file = INVALID_HANDLE_VALUE;
    }
  }
  LogFile() = file;
}

TInstallLog& RunLog() {
  static TInstallLog log(&WriteLine, {&LocalNow, [] { return static_cast<std::int64_t>(GetTickCount64()); }});
  return log;
}

TRunJournal& InstallationRunJournal() {
  RunLog().Choices({InstallDir, DownloadDir, ConnectionKind, CreateDesktopShortcut});
  return RunLog();
}

TRunJournal& UpgradeRunJournal(const std::string& installDir) {
  RunLog().Note("Upgrade of the installation in: " + installDir);
  return RunLog();
}

void NoteClientStart(TClientStart start) {
  switch (start) {
    case TClientStart::Missing:
      RunLog().Note("Client not started: its program is missing");
      break;
    case TClientStart::AsTheUser:
      RunLog().Note("Client started");
      break;
    case TClientStart::ThroughTheShell:
      RunLog().Note("Client started through the desktop shell, as the user");
      break;
    case TClientStart::WithoutTheShell:
      RunLog().Note("Client started by the installer itself, with its administrator rights: no desktop shell runs");
      break;
  }
}
