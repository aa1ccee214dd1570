#include "datafile/OutputFile.h"

void TOutputFile::Flush() {
  if (FUsed == 0) return;
  // The bytes leave the buffer only once the system took them; a failed write keeps them
  // counted as unwritten.
  WriteBlock(FBuffer.data(), FUsed);
  FUsed = 0;
}

void TOutputFile::Close() {
  if (!IsOpen()) return;
  try {
    Flush();
  } catch (...) {
    FUsed = 0;
    AbandonFile();
    throw;
  }
  CloseFile();
}

void TOutputFile::FlushQuietly() noexcept {
  try {
    Flush();
  } catch (...) {
    FUsed = 0;
  }
}
