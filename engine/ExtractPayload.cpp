#include "engine/ExtractPayload.h"

#include <windows.h>

#include "core/Exceptions.h"
#include "app/ProgressDisplay.h"

namespace {

class TFileTarget final : public TPayloadTarget {
 public:
  TFileTarget(const std::string& path, TProgressBar* bar, Control* label)
      : Path(path), Display(bar, label) {}
  TFileTarget(const TFileTarget&) = delete;
  TFileTarget& operator=(const TFileTarget&) = delete;
  // A program that was not put in place leaves no trace: its temporary file goes.
  ~TFileTarget() override {
    if (File != INVALID_HANDLE_VALUE) CloseHandle(File);
    if (!Temporary.empty()) DeleteFileA(Temporary.c_str());
  }

  void Progress(long long position) override { Display.Step(position); }
  void FinishProgress() { Display.Finish(); }

  // The program is written whole under a temporary name beside its place and only then put in
  // place, so that a failure (a full disk, a damaged stream) leaves the old program whole, or no
  // program at all. A file that a running program holds cannot be opened for exclusive writing:
  // that is asked first, so that a running client's program is never replaced under it and the
  // failure comes before anything is written.
  void Create() override {
    const HANDLE existing = CreateFileA(Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE) {
      CloseHandle(existing);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
      throw EFCreateError(Path, SystemErrorText(GetLastError()));
    }
    const std::size_t slash = Path.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? "." : Path.substr(0, slash + 1);
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "pm", 0, temporary))
      throw EFCreateError(Path, SystemErrorText(GetLastError()));
    Temporary = temporary;
    File = CreateFileA(temporary, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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

  // Puts the complete, flushed program in place in one step; the old one stays until then.
  void Finish() {
    if (!FlushFileBuffers(File)) throw EInOutError(static_cast<int>(GetLastError()));
    const HANDLE file = File;
    File = INVALID_HANDLE_VALUE;
    if (!CloseHandle(file)) throw EInOutError(static_cast<int>(GetLastError()));
    if (!MoveFileExA(Temporary.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw EFCreateError(Path, SystemErrorText(GetLastError()));
    Temporary.clear();
  }

 private:
  std::string Path;
  TProgressDisplay Display;
  HANDLE File = INVALID_HANDLE_VALUE;
  std::string Temporary;  // the file being written, until it is in place
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
  target.Finish();
  target.FinishProgress();
}
