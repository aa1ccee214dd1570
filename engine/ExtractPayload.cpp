#include "engine/ExtractPayload.h"

#include <windows.h>

#include "app/Exceptions.h"
#include "app/ProgressDisplay.h"

namespace {

class TFileTarget final : public TPayloadTarget {
 public:
  TFileTarget(const std::string& path, TProgressBar* bar, Control* label)
      : Path(path), Display(bar, label) {}
  TFileTarget(const TFileTarget&) = delete;
  TFileTarget& operator=(const TFileTarget&) = delete;
  ~TFileTarget() override {
    if (File != INVALID_HANDLE_VALUE) CloseHandle(File);
  }

  void Progress(long long position) override { Display.Step(position); }
  void FinishProgress() { Display.Finish(); }

  void Create() override {
    File = CreateFileA(Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (File == INVALID_HANDLE_VALUE) throw EFCreateError(Path, SystemErrorText(GetLastError()));
  }

  // A write that fails or falls short would leave a program that cannot run; it is reported
  // with the system's code (112 when the disk is full).
  void Write(const std::uint8_t* data, std::size_t size) override {
    DWORD written = 0;
    if (!WriteFile(File, data, static_cast<DWORD>(size), &written, nullptr))
      throw EInOutError(static_cast<int>(GetLastError()));
    if (written != size) throw EInOutError(ERROR_DISK_FULL);
  }

  void Close() {
    const HANDLE file = File;
    File = INVALID_HANDLE_VALUE;
    if (!CloseHandle(file)) throw EInOutError(static_cast<int>(GetLastError()));
  }

 private:
  std::string Path;
  TProgressDisplay Display;
  HANDLE File = INVALID_HANDLE_VALUE;
};

}  // namespace

std::string SystemErrorText(unsigned long errorCode) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, errorCode, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length ? std::string(text, length) : "System error " + std::to_string(errorCode);
  LocalFree(text);
  while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
    result.pop_back();
  return result;
}

void ExtractPayload(const TPayload& payload, const std::string& path, TProgressBar* bar,
                    Control* label) {
  TFileTarget target(path, bar, label);
  InflatePayload(payload, target);
  target.Close();
  target.FinishProgress();
}
