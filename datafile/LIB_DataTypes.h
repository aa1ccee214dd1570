#pragma once
// Value types of the client data file: the peer address and the GUID.

#include <cstdint>
#include <string>

// An IPv4 address with port, packed in the field order the client reads (six bytes).
struct PeerAddress {
  std::uint8_t Second;
  std::uint8_t Fourth;
  std::uint16_t Port;
  std::uint8_t First;  // the leftmost number of the dotted form
  std::uint8_t Third;
};
static_assert(sizeof(PeerAddress) == 6);

// Builds an address from dotted text and a port. Never fails: a piece that is no integer gives
// 0, a number above 255 keeps its low 8 bits, and missing dots give 0 octets.
PeerAddress ParseAddress(const std::string& text, std::uint16_t port);
// The dotted form with its port, "1.2.3.4:6346".
std::string AddressToText(const PeerAddress& address);

struct TGUID {
  std::uint32_t D1;
  std::uint16_t D2;
  std::uint16_t D3;
  std::uint8_t D4[8];
};

// The 38-character registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
std::string GuidToString(const TGUID& guid);

// A new GUID from the platform: CoCreateGuid on Windows, a random version-4 GUID elsewhere.
TGUID NewGuid();
