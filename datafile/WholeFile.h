#pragma once
// Files that appear whole or not at all (Windows): the content goes to a new temporary file in
// the target's folder, is flushed to the disk and then moved over the target in one step. A full
// disk, a failure or an end of the program half-way leaves the target as it was (or absent) and
// no temporary file. Failures raise EInOutError with the system's code ("I/O error 112").

#include <cstddef>
#include <string>

class TWholeFile {
 public:
  // Refuses a folder as the target, as opening it for writing would.
  explicit TWholeFile(const std::string& path);
  TWholeFile(const TWholeFile&) = delete;
  TWholeFile& operator=(const TWholeFile&) = delete;
  // Without Commit the temporary file is removed and the target stays untouched.
  ~TWholeFile();

  void Write(const void* data, std::size_t size);
  // Flushes, closes and puts the content in place of the target.
  void Commit();
  // Closes and removes the temporary file; raises nothing.
  void Discard() noexcept;
  bool IsOpen() const { return FHandle != nullptr; }

 private:
  std::string FTarget, FTemporary;
  void* FHandle = nullptr;
};

// The bytes as the whole new content of the file (the uninstaller's removal list).
void WriteWholeFile(const std::string& path, const std::string& bytes);

// A part of a file name that no other name made by this process has, nor (most likely) one of
// another process: its id and a counter.
std::string UniqueNamePart();

// Creates the new file TemporaryName(target, UniqueNamePart()) for writing (core/RunRecord.h),
// never taking over a file that is there already; INVALID_HANDLE_VALUE (as a void*) with the
// system's error when it cannot. temporary receives its path.
void* CreateTemporaryBeside(const std::string& target, std::string& temporary);
