// libFuzzer target: the data file reader on arbitrary bytes. Damage must end in
// EDataFileError; anything else (a crash, an overrun, another exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "datafile/DataFileReader.h"
#include "tools/DataFileText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const TDataFileContent content =
        ReadDataFile(std::string_view(reinterpret_cast<const char*>(data), size));
    DataFileToJson(content);
  } catch (const EDataFileError&) {
  }
  return 0;
}
