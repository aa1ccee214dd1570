// The GUID source of the native build: a random (version 4) GUID from the system's entropy.
#include <random>

#include "datafile/LIB_DataTypes.h"

TGUID NewGuid() {
  std::random_device entropy;
  TGUID guid{};
  guid.D1 = entropy();
  const std::uint32_t middle = entropy();
  guid.D2 = static_cast<std::uint16_t>(middle >> 16);
  guid.D3 = static_cast<std::uint16_t>((middle & 0x0FFF) | 0x4000);
  for (int i = 0; i < 8; i += 4) {
    const std::uint32_t bits = entropy();
    for (int k = 0; k < 4; ++k) guid.D4[i + k] = static_cast<std::uint8_t>(bits >> (8 * k));
  }
  guid.D4[0] = static_cast<std::uint8_t>((guid.D4[0] & 0x3F) | 0x80);
  return guid;
}
