#include "datafile/OutputFile.h"

void TOutputFile::Flush() {
  if (Used == 0) return;
  // The bytes leave the buffer only once the system took them; a failed write keeps them
  // counted as unwritten.
  WriteBlock(Buffer.data(), Used);
  Used = 0;
}

void TOutputFile::Close() {
  if (!IsOpen()) return;
  try {
    Flush();
  } catch (...) {
    Used = 0;
    AbandonFile();
    throw;
  }
  CloseFile();
}

void TOutputFile::FlushQuietly() noexcept {
  try {
    Flush();
  } catch (...) {
    Used = 0;
  }
}
