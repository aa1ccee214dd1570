#include "platform/LogFile.h"

#include <aclapi.h>

#include <exception>
#include <vector>

#include "core/Text.h"
#include "platform/Links.h"
#include "platform/UnguessableName.h"

namespace {

// CREATE_NEW never opens what stands at the name already, a link (even one to nothing) included.
HANDLE CreateNewLog(const std::string& path) {
  // Others may read it while the program runs.
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

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length == 0 || length >= MAX_PATH ? std::string() : std::string(full, length);
}

}  // namespace

TLogTime LocalLogTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void TLogFile::Close() {
  if (FFile != INVALID_HANDLE_VALUE) CloseHandle(FFile);
  FFile = INVALID_HANDLE_VALUE;
  FPath.clear();
}

bool TLogFile::Take(HANDLE file, const std::string& path) {
  FFile = file;
  if (IsOpen()) FPath = path;
  return IsOpen();
}

std::string TLogFile::OpenNew(const std::string& folder, const std::string& prefix) {
  Close();
  std::string random;
  try {
    random = UnguessableName().substr(0, 16);
  } catch (const std::exception&) {
    return {};
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string stamp = '-' + ZeroPadded(now.wYear, 4) + ZeroPadded(now.wMonth, 2) + ZeroPadded(now.wDay, 2) +
                            '-' + ZeroPadded(now.wHour, 2) + ZeroPadded(now.wMinute, 2) + ZeroPadded(now.wSecond, 2) +
                            '-';
  const std::string path = folder + prefix + stamp + random + ".log";
  return Take(CreateNewLog(path), path) ? path : std::string();
}

bool TLogFile::Open(const std::string& path) {
  Close();
  const std::string full = FullPath(path);
  if (full.empty()) return false;
  HANDLE file = CreateNewLog(full);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
    file = OpenOwnPlainFile(full);
    // Created anew: the old lines go.
    if (file != INVALID_HANDLE_VALUE && !SetEndOfFile(file)) {
      CloseHandle(file);
      file = INVALID_HANDLE_VALUE;
    }
  }
  return Take(file, full);
}

bool TLogFile::OpenToAppend(const std::string& path) {
  Close();
  const std::string full = FullPath(path);
  if (full.empty()) return false;
  HANDLE file = OpenOwnPlainFile(full);
  LARGE_INTEGER start{};
  if (file != INVALID_HANDLE_VALUE && !SetFilePointerEx(file, start, nullptr, FILE_END)) {
    CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }
  return Take(file, full);
}

void TLogFile::Write(const std::string& line) {
  if (!IsOpen()) return;
  DWORD written = 0;
  if (!WriteFile(FFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size())
    Close();
}

void TLogFile::Note(const std::string& text) { Write(LogLine(LocalLogTime(), text)); }
