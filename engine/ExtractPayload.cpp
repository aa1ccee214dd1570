#include "engine/ExtractPayload.h"

#include <windows.h>

#include "core/Exceptions.h"
#include "core/ProgressPacer.h"
#include "datafile/WholeFile.h"
#include "platform/MessagePump.h"
#include "platform/SystemError.h"

namespace {

class TFileTarget final : public TPayloadTarget {
 public:
  TFileTarget(const std::string& path, TProgressSink* sink)
      : Path(path), Sink(sink), Pacer([] { return GetTickCount64(); }) {}
  TFileTarget(const TFileTarget&) = delete;
  TFileTarget& operator=(const TFileTarget&) = delete;
  // A program that was not put in place leaves no trace: its temporary file goes.
  ~TFileTarget() override {
    if (File != INVALID_HANDLE_VALUE) CloseHandle(File);
    if (!Temporary.empty()) DeleteFileA(Temporary.c_str());
    // Left by a failure: the sink still shows how far the run came; the messages wait for
    // whoever handles the failure.
    if (Sink && Pacer.Pending()) {
      try {
        Sink->ShowProgress(Pacer.Value());
      } catch (...) {
        // Leaving by a failure already: the picture stays one step behind.
      }
    }
  }

  void Progress(long long position) override { Take(Pacer.Step(position)); }
  void FinishProgress() { Take(Pacer.Finish()); }

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
    } else if (const DWORD code = GetLastError(); code != ERROR_FILE_NOT_FOUND) {
      throw EFCreateError(Path, SystemErrorText(code), static_cast<int>(code));
    }
    // The temporary's name tells whose it is, so that the undo of a run that was cut off while
    // it wrote finds it.
    File = CreateTemporaryBeside(Path, Temporary);
    if (File == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      Temporary.clear();
      throw EFCreateError(Path, SystemErrorText(code), static_cast<int>(code));
    }
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
    if (!MoveFileExA(Temporary.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      const DWORD code = GetLastError();
      throw EFCreateError(Path, SystemErrorText(code), static_cast<int>(code));
    }
    Temporary.clear();
  }

 private:
  void Take(TProgressPacer::TFrame frame) {
    if (frame.Show && Sink) Sink->ShowProgress(Pacer.Value());
    if (!frame.Pump) return;
    if (Sink)
      Sink->ProcessMessages();
    else
      TMessagePump::Instance().ProcessMessages();
  }

  std::string Path;
  TProgressSink* Sink;
  TProgressPacer Pacer;
  HANDLE File = INVALID_HANDLE_VALUE;
  std::string Temporary;  // the file being written, until it is in place
};

}  // namespace

void ExtractPayload(const TPayload& payload, const std::string& path, TProgressSink* sink) {
  TFileTarget target(path, sink);
  InflatePayload(payload, target);
  target.Finish();
  target.FinishProgress();
}
