// The output file on Windows, with the system's error codes (112 for a full disk). The data
// file appears whole or not at all (TWholeFile).
#include "datafile/OutputFile.h"
#include "datafile/WholeFile.h"

namespace {

class TWin32OutputFile final : public TOutputFile {
 public:
  explicit TWin32OutputFile(const std::string& path) : File(path) {}

 protected:
  void WriteBlock(const std::uint8_t* data, std::size_t size) override { File.Write(data, size); }
  void CloseFile() override { File.Commit(); }
  void AbandonFile() noexcept override { File.Discard(); }
  bool IsOpen() const override { return File.IsOpen(); }

 private:
  TWholeFile File;
};

}  // namespace

std::unique_ptr<TOutputFile> CreateOutputFile(const std::string& path) {
  return std::make_unique<TWin32OutputFile>(path);
}
