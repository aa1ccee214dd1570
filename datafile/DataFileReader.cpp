#include "datafile/DataFileReader.h"

#include <charconv>

#include "web/LIB_pmURL.h"

namespace {

std::string ByteText(std::uint8_t value) { return "byte " + std::to_string(value); }

template <typename T>
bool ParseWhole(const std::string& text, T& value) {
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value);
  return error == std::errc() && end == last && !text.empty();
}

// The general number form the writer produces: "-"?digits("."digits)?("E""-"?digits)?.
bool IsNumberText(const std::string& text) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > from;
  };
  if (i < text.size() && text[i] == '-') ++i;
  if (!digits()) return false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (!digits()) return false;
  }
  if (i < text.size() && text[i] == 'E') {
    ++i;
    if (i < text.size() && text[i] == '-') ++i;
    if (!digits()) return false;
  }
  return i == text.size();
}

}  // namespace

void TDataReader::Fail(std::size_t offset, const std::string& problem) const {
  throw EDataFileError(offset, problem);
}

const TKeyTable& TDataReader::Table(std::size_t offset) const {
  if (!Key) Fail(offset, "a key text before any scrambled value");
  return *Key;
}

std::uint8_t TDataReader::ReadByte(const std::string& what) {
  const std::size_t start = Position;
  if (Position >= Bytes.size()) Fail(start, "expected " + what + ", found the end of the file");
  const auto first = static_cast<std::uint8_t>(Bytes[Position++]);
  if (first > 31) return first;
  if (first < 31)
    Fail(start, "expected " + what + ", found the unescaped control " + ByteText(first));
  if (Position >= Bytes.size())
    Fail(start, "expected the escaped value of " + what + " after byte 31, found the end of the file");
  const auto second = static_cast<std::uint8_t>(Bytes[Position++]);
  if (second < 84 || second > 115)
    Fail(start, "expected an escaped value (84 to 115) after byte 31 in " + what + ", found " +
                    ByteText(second));
  return static_cast<std::uint8_t>(second - 84);
}

std::string TDataReader::ReadPlainText(const std::string& what) {
  const std::size_t start = Position;
  const std::size_t low = ReadByte("the length of " + what);
  const std::size_t length = low + 256u * ReadByte("the length of " + what);
  // Every value takes at least one byte: a length beyond the end is damage, found before
  // reading on.
  if (length > Bytes.size() - Position)
    Fail(start, "expected " + what + " of " + std::to_string(length) + " bytes, found only " +
                    std::to_string(Bytes.size() - Position) + " bytes left");
  std::string text;
  text.reserve(length);
  for (std::size_t k = 0; k < length; ++k) text += static_cast<char>(ReadByte(what));
  return text;
}

void TDataReader::SetKey(const std::string& keyText) { Key = DeriveKeyTable(keyText); }

std::string TDataReader::ReadText(const std::string& what) {
  const std::size_t start = Position;
  Table(start);
  const std::uint8_t seed = ReadByte("the seed of " + what);
  if (seed == 0 || seed == 255)
    Fail(start, "expected the seed of " + what + " (1 to 254), found " + ByteText(seed));
  const std::size_t low = ReadByte("the length of " + what);
  const std::size_t length = low + 256u * ReadByte("the length of " + what);
  if (length > Bytes.size() - Position)
    Fail(start, "expected " + what + " of " + std::to_string(length) + " bytes, found only " +
                    std::to_string(Bytes.size() - Position) + " bytes left");
  std::string text;
  text.reserve(length);
  for (std::size_t k = 0; k < length; ++k)
    text += static_cast<char>(
        static_cast<std::uint8_t>(ReadByte(what) - (*Key)[(seed + k) % 256]));
  SwapKeyBytes(*Key, seed, static_cast<std::uint8_t>((seed + 2) % 256));
  return text;
}

std::uint8_t TDataReader::ReadTag(const std::string& what) {
  const std::size_t start = Position;
  const TKeyTable& table = Table(start);
  return static_cast<std::uint8_t>(ReadByte(what) - table[16]);
}

void TDataReader::ExpectTag(std::uint8_t tag, const std::string& what) {
  const std::size_t start = Position;
  const std::uint8_t found = ReadTag(what);
  if (found != tag)
    Fail(start, "expected tag " + std::to_string(tag) + " (" + what + "), found tag " +
                    std::to_string(found));
}

bool TDataReader::ReadBoolean(const std::string& what) {
  const std::size_t start = Position;
  const std::uint8_t value = ReadByte(what);
  if (value >= 140 && value <= 169) return true;
  if (value >= 100 && value <= 129) return false;
  Fail(start, "expected a flag byte for " + what + " (100 to 129 or 140 to 169), found " +
                  ByteText(value));
}

std::int32_t TDataReader::ReadInteger(const std::string& what) {
  const std::size_t start = Position;
  const std::string text = ReadText(what);
  std::int32_t value = 0;
  if (!ParseWhole(text, value))
    Fail(start, "expected an integer text for " + what + ", found \"" + text + "\"");
  return value;
}

std::uint32_t TDataReader::ReadCardinal(const std::string& what) {
  const std::size_t start = Position;
  const std::string text = ReadText(what);
  std::uint32_t value = 0;
  if (!ParseWhole(text, value))
    Fail(start, "expected an unsigned integer text for " + what + ", found \"" + text + "\"");
  return value;
}

std::string TDataReader::ReadFloat(const std::string& what) {
  const std::size_t start = Position;
  const std::string text = ReadText(what);
  if (!IsNumberText(text))
    Fail(start, "expected a number text for " + what + ", found \"" + text + "\"");
  return text;
}

PeerAddress TDataReader::ReadAddress(const std::string& what) {
  PeerAddress address{};
  address.Fourth = ReadTag("the fourth octet of " + what);
  address.Second = ReadTag("the second octet of " + what);
  const std::uint8_t high = ReadTag("the port of " + what);
  const std::uint8_t low = ReadTag("the port of " + what);
  address.Port = static_cast<std::uint16_t>(high * 256 + low);
  address.First = ReadTag("the first octet of " + what);
  address.Third = ReadTag("the third octet of " + what);
  return address;
}

namespace {

void ReadHeader(TDataReader& reader, TDataFileHeader& header) {
  header.ClientDataDir = reader.ReadText("header field 1 (client data folder)");
  header.DownloadDir = reader.ReadText("header field 2 (download folder)");
  header.Field3 = reader.ReadInteger("header field 3");
  header.Field4 = reader.ReadInteger("header field 4");
  header.ReleaseCode = reader.ReadText("header field 5 (release code)");
  header.Field6 = reader.ReadInteger("header field 6");
  header.Guid = reader.ReadText("header field 7 (GUID)");
  header.Field8 = reader.ReadBoolean("header field 8");
  header.Field9 = reader.ReadInteger("header field 9");
  header.Field10 = reader.ReadInteger("header field 10");
  header.Field11 = reader.ReadBoolean("header field 11");
  header.Field12 = reader.ReadInteger("header field 12");
  header.Field13 = reader.ReadBoolean("header field 13");
  header.MakerInstallerUrl = reader.ReadText("header field 14 (installer URL)");
  header.MirrorInstallerUrl = reader.ReadText("header field 15 (mirror installer URL)");
  header.DayNumber = reader.ReadInteger("header field 16 (day number)");
  header.ConnectionNumber = reader.ReadInteger("header field 17 (connection number)");
}

// A list: its tag, records that each start with the same tag, and tag 0.
template <typename ReadRecord>
void ReadList(TDataReader& reader, std::uint8_t tag, const std::string& name,
              ReadRecord readRecord) {
  reader.ExpectTag(tag, "start of the " + name);
  for (;;) {
    const std::size_t start = reader.Offset();
    const std::uint8_t found = reader.ReadTag("a record of the " + name + " or its end");
    if (found == 0) return;
    if (found != tag)
      throw EDataFileError(start, "expected tag " + std::to_string(tag) + " (a record of the " +
                                      name + ") or tag 0 (its end), found tag " +
                                      std::to_string(found));
    readRecord();
  }
}

}  // namespace

TDataFileContent ReadDataFile(std::string_view bytes) {
  TDataReader reader(bytes);
  TDataFileContent content;
  const std::size_t start = reader.Offset();
  const std::uint8_t first = reader.ReadByte("the leading value 0");
  if (first != 0) throw EDataFileError(start, "expected the leading value 0, found " + ByteText(first));
  content.KeyText = reader.ReadPlainText("the key text");
  reader.SetKey(content.KeyText);
  ReadHeader(reader, content.Header);

  reader.ExpectTag(8, "download folder section");
  content.Download.Count = reader.ReadInteger("the download folder count");
  reader.ExpectTag(8, "download folder");
  content.Download.DownloadDir = reader.ReadText("the download folder");
  content.Download.Flag1 = reader.ReadBoolean("the first download folder flag");
  content.Download.Flag2 = reader.ReadBoolean("the second download folder flag");
  reader.ExpectTag(0, "end of the download folder section");

  reader.ExpectTag(22, "peer lists");
  reader.ExpectTag(32, "peer lists");
  ReadList(reader, 3, "Gnu host list", [&] {
    TGnuHostRecord host;
    host.Address = reader.ReadAddress("a Gnu host address");
    host.Date1 = reader.ReadFloat("the first date of a Gnu host");
    host.Date2 = reader.ReadFloat("the second date of a Gnu host");
    host.Integer = reader.ReadInteger("the integer of a Gnu host");
    host.Date3 = reader.ReadFloat("the third date of a Gnu host");
    for (std::string& value : host.Floats) value = reader.ReadFloat("a number of a Gnu host");
    for (std::uint32_t& value : host.Cardinals)
      value = reader.ReadCardinal("a counter of a Gnu host");
    host.ByteField = reader.ReadTag("the byte field of a Gnu host");
    host.Date4 = reader.ReadFloat("the last date of a Gnu host");
    content.GnuHosts.push_back(std::move(host));
  });

  reader.ExpectTag(0, "end of the Gnu host list");
  reader.ExpectTag(27, "start of the Pepp section");
  ReadList(reader, 30, "Pepp host list", [&] {
    TPeppHostRecord host;
    host.Address = reader.ReadAddress("a Pepp host address");
    host.Date = reader.ReadFloat("the date of a Pepp host");
    content.PeppHosts.push_back(std::move(host));
  });

  reader.ExpectTag(0, "end of the Pepp host list");
  reader.ExpectTag(203, "start of the settings");
  for (std::string& text : content.RemSet.Texts)
    text = DecodeURL(reader.ReadPlainText("a packed RemSet text"));
  content.RemSet.Delay = reader.ReadInteger("the RemSet delay");
  content.RemSet.Interval = reader.ReadInteger("the RemSet interval");
  content.RemSet.RetryInterval = reader.ReadInteger("the RemSet retry interval");
  content.RemSet.Date1 = reader.ReadFloat("the first RemSet date");
  content.RemSet.Date2 = reader.ReadFloat("the second RemSet date");
  content.RemSet.Last = reader.ReadInteger("the last RemSet number");
  for (;;) {
    const std::size_t at = reader.Offset();
    const std::uint8_t found = reader.ReadTag("a setting or the end of the settings");
    if (found == 0) break;
    if (found != 203)
      throw EDataFileError(at, "expected tag 203 (a setting) or tag 0 (end of the settings), "
                               "found tag " + std::to_string(found));
    std::string key = reader.ReadText("a setting key");
    std::string value = reader.ReadText("the value of setting " + key);
    content.Settings.emplace_back(std::move(key), std::move(value));
  }

  reader.ExpectTag(0, "end of the settings");
  ReadList(reader, 44, "known hash list", [&] {
    TKnownHashRecord hash;
    hash.Hash = reader.ReadText("a known hash");
    hash.Size = reader.ReadCardinal("the size of a known hash");
    content.KnownHashes.push_back(std::move(hash));
  });
  reader.ExpectTag(0, "end of the file");
  if (!reader.AtEnd())
    throw EDataFileError(reader.Offset(), "expected the end of the file, found " +
                                              std::to_string(bytes.size() - reader.Offset()) +
                                              " more bytes");
  return content;
}
