// The output file on POSIX systems, for the native build.
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "core/Exceptions.h"
#include "datafile/OutputFile.h"

namespace {

class TPosixOutputFile final : public TOutputFile {
 public:
  explicit TPosixOutputFile(const std::string& path)
      : Handle(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) {
    if (Handle < 0) throw EInOutError(errno);
  }

  ~TPosixOutputFile() override {
    if (Handle < 0) return;
    FlushQuietly();
    close(Handle);
  }

 protected:
  void WriteBlock(const std::uint8_t* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t written = write(Handle, data, size);
      if (written < 0) {
        if (errno == EINTR) continue;
        throw EInOutError(errno);
      }
      // A write that makes no progress means there is no room left.
      if (written == 0) throw EInOutError(ENOSPC);
      data += written;
      size -= static_cast<std::size_t>(written);
    }
  }

  void CloseFile() override {
    const int handle = Handle;
    Handle = -1;
    if (close(handle) != 0) throw EInOutError(errno);
  }

  bool IsOpen() const override { return Handle >= 0; }

 private:
  int Handle;
};

}  // namespace

std::unique_ptr<TOutputFile> CreateOutputFile(const std::string& path) {
  return std::make_unique<TPosixOutputFile>(path);
}
