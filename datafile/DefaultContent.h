#pragma once
// The default content of the client data file, compiled in from the data files under
// resources/datafile by tools/GenDefaultContent.py. The generator refuses data files whose
// counts differ from the ones below.

#include <cstdint>

struct THostDefault {
  std::uint8_t Octets[4];  // in dotted order, first octet first
  std::uint16_t Port;
};

// The web site a setting's value starts with; the rest of the value follows it.
enum class TSite : std::uint8_t { None, Maker, Mirror, Counter };

struct TSettingDefault {
  const char* Key;
  TSite Site;
  const char* Value;
};

struct THashDefault {
  const char* Hash;  // 32 characters of the base-32 alphabet
  std::uint32_t Size;
};

constexpr int kGnuHostCount = 500;
constexpr int kPeppHostCount = 500;
constexpr int kSettingCount = 2118;
constexpr int kKnownHashCount = 1195;

extern const THostDefault GnuHostDefaults[kGnuHostCount];
extern const THostDefault PeppHostDefaults[kPeppHostCount];
extern const TSettingDefault SettingDefaults[kSettingCount];
extern const THashDefault KnownHashDefaults[kKnownHashCount];
