#include "datafile/WholeFile.h"

#include <windows.h>

#include <atomic>

#include "core/Exceptions.h"
#include "core/RunRecord.h"

namespace {

[[noreturn]] void RaiseLastError() { throw EInOutError(static_cast<int>(GetLastError())); }

}  // namespace

std::string UniqueNamePart() {
  static std::atomic<unsigned> counter{0};
  char unique[32];
  wsprintfA(unique, "%lX-%X", GetCurrentProcessId(),
            static_cast<unsigned>(GetTickCount64()) * 31u + counter.fetch_add(1));
  return unique;
}

// A name beside the target that no file has yet: CREATE_NEW never takes over a file that is
// already there, so a planted file cannot receive the content.
void* CreateTemporaryBeside(const std::string& target, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryName(target, UniqueNamePart());
    const HANDLE handle = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

TWholeFile::TWholeFile(const std::string& path) : FTarget(path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw EInOutError(ERROR_ACCESS_DENIED);
  const HANDLE handle = CreateTemporaryBeside(path, FTemporary);
  if (handle == INVALID_HANDLE_VALUE) RaiseLastError();
  FHandle = handle;
}

TWholeFile::~TWholeFile() { Discard(); }

void TWholeFile::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(FHandle, bytes, static_cast<DWORD>(size), &written, nullptr)) RaiseLastError();
    // A write that makes no progress means there is no room left.
    if (written == 0) throw EInOutError(ERROR_DISK_FULL);
    bytes += written;
    size -= written;
  }
}

void TWholeFile::Commit() {
  const HANDLE handle = FHandle;
  const BOOL flushed = FlushFileBuffers(handle);
  const DWORD flushError = GetLastError();
  FHandle = nullptr;
  if (!CloseHandle(handle) || !flushed) {
    const DWORD error = flushed ? GetLastError() : flushError;
    DeleteFileA(FTemporary.c_str());
    throw EInOutError(static_cast<int>(error));
  }
  if (!MoveFileExA(FTemporary.c_str(), FTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileA(FTemporary.c_str());
    throw EInOutError(static_cast<int>(error));
  }
}

void TWholeFile::Discard() noexcept {
  if (!FHandle) return;
  CloseHandle(FHandle);
  FHandle = nullptr;
  DeleteFileA(FTemporary.c_str());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  TWholeFile file(path);
  file.Write(bytes.data(), bytes.size());
  file.Commit();
}
