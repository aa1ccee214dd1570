#include "datafile/LIB_Data1_ReadWrite.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

#include "core/Exceptions.h"
#include "core/Random.h"

namespace {

// One table for the whole process, empty until the first MakeKey.
std::optional<TKeyTable> KeyTable;

TKeyTable& CurrentTable() {
  if (!KeyTable) throw Exception("The data file key table is used before MakeKey");
  return *KeyTable;
}

void CheckTextLength(const std::string& text) {
  if (text.size() > kMaxTextLength)
    throw Exception("A text of " + std::to_string(text.size()) +
                    " bytes does not fit into the data file (at most 65535)");
}

// The mantissa digits and decimal exponent of a finite, non-zero value rounded to 15
// significant digits, with trailing zeros removed. Formatted by the C library, which rounds
// exactly as std::to_chars would, without the tables that std::to_chars links in.
void Decompose15(double value, std::string& digits, int& exponent) {
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%.14e", value);
  const std::string scientific(text, static_cast<std::size_t>(length));
  const std::size_t e = scientific.find('e');
  exponent = std::atoi(scientific.c_str() + e + 1);
  digits.clear();
  for (std::size_t i = 0; i < e; ++i)
    if (scientific[i] >= '0' && scientific[i] <= '9') digits += scientific[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

}  // namespace

std::string MakeKey() {
  const int length = 879 + Random(99);
  std::string key;
  key.reserve(static_cast<std::size_t>(length));
  for (int i = 0; i < length; ++i) key += static_cast<char>(14 + Random(240));
  KeyTable = DeriveKeyTable(key);
  return key;
}

TKeyTable DeriveKeyTable(const std::string& keyText) {
  std::string key = keyText;
  while (key.size() < 300) key += ' ';
  // Positions count from 1, as in K[p].
  const auto at = [&key](std::size_t p) { return static_cast<std::uint8_t>(key[p - 1]); };
  TKeyTable table{};
  std::size_t held = 0;
  for (std::size_t p = key.size(); p >= 250; --p)
    if (p % 5 == 0 && held < 150) table[held++] = at(p);
  for (std::size_t p = 1; p <= key.size() && held < 256; ++p)
    if (p % 2 == 0) table[held++] = at(p);
  while (held < 256) {
    table[held] = at(held);
    ++held;
  }
  return table;
}

void SwapKeyBytes(TKeyTable& table, std::uint8_t a, std::uint8_t b) {
  if (a == 0 || b == 0) return;
  std::swap(table[a - 1], table[b - 1]);
}

std::string FloatToText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  std::string digits;
  int exponent = 0;
  Decompose15(std::fabs(value), digits, exponent);
  std::string text = value < 0 ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (exponent >= 15 || std::fabs(value) < 0.00001) {
    text += digits[0];
    if (count > 1) text += '.' + digits.substr(1);
    text += 'E' + std::to_string(exponent);
  } else if (exponent < 0) {
    text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (count <= exponent + 1) {
    text += digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
  } else {
    const std::size_t point = static_cast<std::size_t>(exponent) + 1;
    text += digits.substr(0, point) + '.' + digits.substr(point);
  }
  return text;
}

void TLibData1_ReadWrite::WriteByte(TOutputFile& file, std::uint8_t value) {
  if (value <= 31) {
    file.Write(31);
    file.Write(static_cast<std::uint8_t>(value + 84));
  } else {
    file.Write(value);
  }
}

void TLibData1_ReadWrite::WritePlainText(TOutputFile& file, const std::string& text) {
  CheckTextLength(text);
  WriteByte(file, static_cast<std::uint8_t>(text.size() % 256));
  WriteByte(file, static_cast<std::uint8_t>(text.size() / 256));
  for (const char c : text) WriteByte(file, static_cast<std::uint8_t>(c));
}

void TLibData1_ReadWrite::WriteText(TOutputFile& file, const std::string& text) {
  CheckTextLength(text);
  TKeyTable& table = CurrentTable();
  const int seed = 1 + Random(254);
  WriteByte(file, static_cast<std::uint8_t>(seed));
  WriteByte(file, static_cast<std::uint8_t>(text.size() % 256));
  WriteByte(file, static_cast<std::uint8_t>(text.size() / 256));
  for (std::size_t k = 0; k < text.size(); ++k)
    WriteByte(file, static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[k]) +
                                              table[(static_cast<std::size_t>(seed) + k) % 256]));
  SwapKeyBytes(static_cast<std::uint8_t>(seed), static_cast<std::uint8_t>((seed + 2) % 256));
}

void TLibData1_ReadWrite::WriteTag(TOutputFile& file, std::uint8_t value) {
  WriteByte(file, static_cast<std::uint8_t>(value + CurrentTable()[16]));
}

void TLibData1_ReadWrite::WriteWord(TOutputFile& file, std::uint16_t value) {
  WriteTag(file, static_cast<std::uint8_t>(value >> 8));
  WriteTag(file, static_cast<std::uint8_t>(value & 0xFF));
}

void TLibData1_ReadWrite::WriteBoolean(TOutputFile& file, bool value) {
  WriteByte(file, static_cast<std::uint8_t>((value ? 140 : 100) + Random(30)));
}

void TLibData1_ReadWrite::WriteInteger(TOutputFile& file, std::int32_t value) {
  WriteText(file, std::to_string(value));
}

void TLibData1_ReadWrite::WriteCardinal(TOutputFile& file, std::uint32_t value) {
  WriteText(file, std::to_string(value));
}

void TLibData1_ReadWrite::WriteFloat(TOutputFile& file, double value) {
  WriteText(file, FloatToText(value));
}

void TLibData1_ReadWrite::WriteDateTime(TOutputFile& file, double value) {
  WriteFloat(file, value);
}

void TLibData1_ReadWrite::WriteTruncated(TOutputFile& file, double value) {
  // Out of range or not a number cannot become a 32-bit integer; refuse it like the
  // runtime's range check instead of writing an arbitrary number.
  const double whole = std::trunc(value);
  if (!(whole >= std::numeric_limits<std::int32_t>::min() &&
        whole <= std::numeric_limits<std::int32_t>::max()))
    throw Exception("Invalid floating point operation");
  WriteInteger(file, static_cast<std::int32_t>(whole));
}

void TLibData1_ReadWrite::WriteGuid(TOutputFile& file, const TGUID& guid) {
  WriteText(file, GuidToString(guid));
}

void TLibData1_ReadWrite::WriteAddress(TOutputFile& file, const PeerAddress& address) {
  WriteTag(file, address.Fourth);
  WriteTag(file, address.Second);
  WriteWord(file, address.Port);
  WriteTag(file, address.First);
  WriteTag(file, address.Third);
}

void TLibData1_ReadWrite::SwapKeyBytes(std::uint8_t a, std::uint8_t b) {
  ::SwapKeyBytes(CurrentTable(), a, b);
}
