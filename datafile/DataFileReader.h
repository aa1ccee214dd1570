#pragma once
// Reads client data files back: the inverse of the record writer and of WriteDataFile. Any
// byte string may be given; a damaged file raises EDataFileError naming the byte offset and
// what was expected there.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Exceptions.h"
#include "datafile/LIB_Data1_ReadWrite.h"

class EDataFileError : public Exception {
 public:
  EDataFileError(std::size_t offset, const std::string& problem)
      : Exception("byte offset " + std::to_string(offset) + ": " + problem), Offset(offset) {}
  std::size_t Offset;
};

// Reads the values of the record writer one after the other.
class TDataReader {
 public:
  explicit TDataReader(std::string_view bytes) : Bytes(bytes) {}

  std::size_t Offset() const { return Position; }
  bool AtEnd() const { return Position == Bytes.size(); }

  std::uint8_t ReadByte(const std::string& what);
  std::string ReadPlainText(const std::string& what);
  // Derives the key table that the following texts and tags are read with.
  void SetKey(const std::string& keyText);
  std::string ReadText(const std::string& what);
  std::uint8_t ReadTag(const std::string& what);
  void ExpectTag(std::uint8_t tag, const std::string& what);
  bool ReadBoolean(const std::string& what);
  std::int32_t ReadInteger(const std::string& what);
  std::uint32_t ReadCardinal(const std::string& what);
  // The number's text as stored ("0", "45678.5123456789"), checked to be a number.
  std::string ReadFloat(const std::string& what);
  PeerAddress ReadAddress(const std::string& what);

 private:
  [[noreturn]] void Fail(std::size_t offset, const std::string& problem) const;
  const TKeyTable& Table(std::size_t offset) const;

  std::string_view Bytes;
  std::size_t Position = 0;
  std::optional<TKeyTable> Key;
};

struct TDataFileHeader {
  std::string ClientDataDir;
  std::string DownloadDir;
  std::int32_t Field3 = 0;
  std::int32_t Field4 = 0;
  std::string ReleaseCode;
  std::int32_t Field6 = 0;
  std::string Guid;
  bool Field8 = false;
  std::int32_t Field9 = 0;
  std::int32_t Field10 = 0;
  bool Field11 = false;
  std::int32_t Field12 = 0;
  bool Field13 = false;
  std::string MakerInstallerUrl;
  std::string MirrorInstallerUrl;
  std::int32_t DayNumber = 0;  // the day the file was written minus 100
  std::int32_t ConnectionNumber = 0;
};

struct TDownloadSection {
  std::int32_t Count = 0;
  std::string DownloadDir;
  bool Flag1 = false;
  bool Flag2 = false;
};

struct TGnuHostRecord {
  PeerAddress Address{};
  std::string Date1;
  std::string Date2;
  std::int32_t Integer = 0;
  std::string Date3;
  std::string Floats[3];
  std::uint32_t Cardinals[2] = {};
  std::uint8_t ByteField = 0;
  std::string Date4;
};

struct TPeppHostRecord {
  PeerAddress Address{};
  std::string Date;
};

struct TRemSetBlock {
  std::string Texts[4];  // unpacked with DecodeURL
  std::int32_t Delay = 0;
  std::int32_t Interval = 0;
  std::int32_t RetryInterval = 0;
  std::string Date1;
  std::string Date2;
  std::int32_t Last = 0;
};

struct TKnownHashRecord {
  std::string Hash;
  std::uint32_t Size = 0;
};

struct TDataFileContent {
  std::string KeyText;
  TDataFileHeader Header;
  TDownloadSection Download;
  std::vector<TGnuHostRecord> GnuHosts;
  std::vector<TPeppHostRecord> PeppHosts;
  TRemSetBlock RemSet;
  std::vector<std::pair<std::string, std::string>> Settings;
  std::vector<TKnownHashRecord> KnownHashes;
};

TDataFileContent ReadDataFile(std::string_view bytes);
