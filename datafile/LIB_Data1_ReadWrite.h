#pragma once
// The typed record writer of the client data file. Every file starts with its own random key
// text; the 256-byte key table derived from it shifts the bytes of texts and tags and changes
// after every text, flags are random bytes from two ranges, and bytes below 32 are escaped.
// The client reads the format back; DataFileReader.h is our own reader of it.

#include <array>
#include <cstdint>
#include <string>

#include "datafile/LIB_DataTypes.h"
#include "datafile/OutputFile.h"

using TKeyTable = std::array<std::uint8_t, 256>;

// Texts carry a two-byte length.
constexpr std::size_t kMaxTextLength = 65535;

// Generates a new key text (879 to 977 bytes from 14 to 253), makes the process-wide key
// table from it and returns the text, which the caller stores with WritePlainText.
std::string MakeKey();

// The key table of a key text.
TKeyTable DeriveKeyTable(const std::string& keyText);

// Exchanges table[a - 1] and table[b - 1]; nothing when a or b is 0. The writer applies it to
// the process-wide table after every text, a reader to its own copy.
void SwapKeyBytes(TKeyTable& table, std::uint8_t a, std::uint8_t b);

// "General" number format with 15 significant digits and "." whatever the locale: "0",
// "45678", "45678.5123456789", "1.5E20".
std::string FloatToText(double value);

class TLibData1_ReadWrite {
 public:
  void WriteByte(TOutputFile& file, std::uint8_t value);
  void WritePlainText(TOutputFile& file, const std::string& text);
  void WriteText(TOutputFile& file, const std::string& text);
  void WriteTag(TOutputFile& file, std::uint8_t value);
  void WriteWord(TOutputFile& file, std::uint16_t value);
  void WriteBoolean(TOutputFile& file, bool value);
  void WriteInteger(TOutputFile& file, std::int32_t value);
  void WriteCardinal(TOutputFile& file, std::uint32_t value);
  void WriteFloat(TOutputFile& file, double value);
  void WriteDateTime(TOutputFile& file, double value);
  void WriteTruncated(TOutputFile& file, double value);
  void WriteGuid(TOutputFile& file, const TGUID& guid);
  void WriteAddress(TOutputFile& file, const PeerAddress& address);
  // Acts on the process-wide key table.
  void SwapKeyBytes(std::uint8_t a, std::uint8_t b);
};
