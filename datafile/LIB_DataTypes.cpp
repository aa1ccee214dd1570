#include "datafile/LIB_DataTypes.h"

#include <charconv>
#include <cstdio>

namespace {

// An optional sign and decimal digits within the signed 32-bit range; anything else is 0.
std::int32_t IntegerOrZero(const std::string& piece) {
  const char* first = piece.data();
  const char* last = first + piece.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return 0;
  }
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return 0;
  return value;
}

std::uint8_t OctetOf(const std::string& piece) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(IntegerOrZero(piece)) & 0xFF);
}

// The octet before the first "." and the rest of the text (at most 200 bytes of it) after it;
// without a "." the octet is 0 and the text stays as it is.
std::uint8_t TakeOctet(std::string& text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string::npos) return 0;
  const std::uint8_t octet = OctetOf(text.substr(0, dot));
  text = text.substr(dot + 1, 200);
  return octet;
}

}  // namespace

PeerAddress ParseAddress(const std::string& text, std::uint16_t port) {
  std::string rest = text;
  PeerAddress address{};
  address.Port = port;
  address.First = TakeOctet(rest);
  address.Second = TakeOctet(rest);
  address.Third = TakeOctet(rest);
  address.Fourth = OctetOf(rest);
  return address;
}

std::string AddressToText(const PeerAddress& address) {
  return std::to_string(address.First) + '.' + std::to_string(address.Second) + '.' +
         std::to_string(address.Third) + '.' + std::to_string(address.Fourth) + ':' +
         std::to_string(address.Port);
}

std::string GuidToString(const TGUID& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.D1), guid.D2, guid.D3, guid.D4[0], guid.D4[1],
                guid.D4[2], guid.D4[3], guid.D4[4], guid.D4[5], guid.D4[6], guid.D4[7]);
  return text;
}
