#pragma once
// An output file in memory, so that tests can look at every byte the writer produced.

#include <string>

#include "datafile/OutputFile.h"

class TMemoryFile final : public TOutputFile {
 public:
  // Everything written so far, buffered bytes included.
  const std::string& Bytes() {
    Flush();
    return Data;
  }
  int Blocks = 0;

 protected:
  void WriteBlock(const std::uint8_t* data, std::size_t size) override {
    ++Blocks;
    Data.append(reinterpret_cast<const char*>(data), size);
  }
  void CloseFile() override { Open = false; }
  bool IsOpen() const override { return Open; }

 private:
  std::string Data;
  bool Open = true;
};
