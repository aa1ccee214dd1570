// libFuzzer target: unpacking arbitrary bytes, then packing and unpacking what that gave.
// Crashes, overruns and hangs are findings; the packing is not reversible in every case, so
// the texts themselves are not compared.
#include <cstddef>
#include <cstdint>
#include <string>

#include "web/LIB_pmURL.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = DecodeURL(std::string(reinterpret_cast<const char*>(data), size));
  DecodeURL(EncodeURL(text));
  return 0;
}
