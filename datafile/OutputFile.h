#pragma once
// Buffered byte output of the client data file. The writer hands over single bytes; they reach
// the system one buffer at a time, so a data file costs a handful of system writes. A failed
// create, write or close raises EInOutError with the system's error code ("I/O error 112" for a
// full disk on Windows), and no byte counts as written before the system has accepted it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TOutputFile {
 public:
  TOutputFile() = default;
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;
  virtual ~TOutputFile() = default;

  void Write(std::uint8_t value) {
    if (FUsed == FBuffer.size()) Flush();
    FBuffer[FUsed++] = value;
  }

  // Hands the buffered bytes to the system.
  void Flush();

  // Flushes and closes; the file is closed (abandoned) even when the flush fails.
  void Close();

 protected:
  // Writes all of the block or raises EInOutError.
  virtual void WriteBlock(const std::uint8_t* data, std::size_t size) = 0;
  // Closes the system's file; raises EInOutError when the system reports a failure.
  virtual void CloseFile() = 0;
  // Closes the system's file after a failed write; raises nothing.
  virtual void AbandonFile() noexcept {
    try {
      CloseFile();
    } catch (...) {
    }
  }
  virtual bool IsOpen() const = 0;

  // For the destructors of the platform files: keeps what was written before a failure
  // elsewhere, without raising from a destructor.
  void FlushQuietly() noexcept;

 private:
  std::array<std::uint8_t, 64 * 1024> FBuffer{};
  std::size_t FUsed = 0;
};

// Creates the file for sequential writing; an existing one is replaced. On Windows the file
// appears only when Close succeeds, whole (TWholeFile); elsewhere it is truncated at once.
std::unique_ptr<TOutputFile> CreateOutputFile(const std::string& path);
