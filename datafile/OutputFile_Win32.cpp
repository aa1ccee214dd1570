// The output file on Windows, with the system's error codes (112 for a full disk).
#include <windows.h>

#include "app/Exceptions.h"
#include "datafile/OutputFile.h"

namespace {

int LastError() { return static_cast<int>(GetLastError()); }

class TWin32OutputFile final : public TOutputFile {
 public:
  explicit TWin32OutputFile(const std::string& path)
      : Handle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (Handle == INVALID_HANDLE_VALUE) throw EInOutError(LastError());
  }

  ~TWin32OutputFile() override {
    if (Handle == INVALID_HANDLE_VALUE) return;
    FlushQuietly();
    CloseHandle(Handle);
  }

 protected:
  void WriteBlock(const std::uint8_t* data, std::size_t size) override {
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(Handle, data, static_cast<DWORD>(size), &written, nullptr))
        throw EInOutError(LastError());
      // A write that makes no progress means there is no room left.
      if (written == 0) throw EInOutError(ERROR_DISK_FULL);
      data += written;
      size -= written;
    }
  }

  void CloseFile() override {
    const HANDLE handle = Handle;
    Handle = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) throw EInOutError(LastError());
  }

  bool IsOpen() const override { return Handle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE Handle;
};

}  // namespace

std::unique_ptr<TOutputFile> CreateOutputFile(const std::string& path) {
  return std::make_unique<TWin32OutputFile>(path);
}
