#include "datafile/GB_PELMORA_DAT.h"

#include "core/Exceptions.h"
#include "datafile/DateTime.h"
#include "datafile/DefaultContent.h"
#include "web/HostNames.h"
#include "web/LIB_pmURL.h"

TLibData1_ReadWrite* DataWriter = nullptr;

namespace {

TLibData1_ReadWrite& Writer() {
  if (DataWriter == nullptr) throw Exception("The data file sections are written without a writer");
  return *DataWriter;
}

std::string DottedText(std::uint8_t first, std::uint8_t second, std::uint8_t third,
                       std::uint8_t fourth) {
  return std::to_string(first) + '.' + std::to_string(second) + '.' + std::to_string(third) +
         '.' + std::to_string(fourth);
}

std::string SiteText(TSite site) {
  switch (site) {
    case TSite::Maker:
      return kMakerSite;
    case TSite::Mirror:
      return kMirrorSite;
    case TSite::Counter:
      return kCounterSite;
    case TSite::None:
      break;
  }
  return {};
}

}  // namespace

void WriteGnuHosts(TOutputFile& file) {
  Writer().WriteTag(file, 3);
  for (const THostDefault& host : GnuHostDefaults)
    WriteGnuHost(file, host.Octets[0], host.Octets[1], host.Octets[2], host.Octets[3], host.Port);
  Writer().WriteTag(file, 0);
}

void WriteGnuHost(TOutputFile& file, std::uint8_t first, std::uint8_t second, std::uint8_t third,
                  std::uint8_t fourth, std::uint16_t port) {
  TLibData1_ReadWrite& writer = Writer();
  writer.WriteTag(file, 3);
  writer.WriteAddress(file, ParseAddress(DottedText(first, second, third, fourth), port));
  writer.WriteDateTime(file, Now() - 1);
  writer.WriteDateTime(file, Now() - 1);
  writer.WriteInteger(file, 0);
  writer.WriteDateTime(file, Now() - 1);
  for (int i = 0; i < 3; ++i) writer.WriteFloat(file, 0);
  writer.WriteCardinal(file, 0);
  writer.WriteCardinal(file, 0);
  writer.WriteTag(file, 0);
  writer.WriteDateTime(file, 0);
}

void WritePeppHosts(TOutputFile& file) {
  Writer().WriteTag(file, 30);
  for (const THostDefault& host : PeppHostDefaults)
    WritePeppHost(file, host.Octets[0], host.Octets[1], host.Octets[2], host.Octets[3], host.Port);
  Writer().WriteTag(file, 0);
}

void WritePeppHost(TOutputFile& file, std::uint8_t first, std::uint8_t second, std::uint8_t third,
                   std::uint8_t fourth, std::uint16_t port) {
  TLibData1_ReadWrite& writer = Writer();
  writer.WriteTag(file, 30);
  writer.WriteAddress(file, ParseAddress(DottedText(first, second, third, fourth), port));
  writer.WriteDateTime(file, Now() - 1);
}

void WriteSettings(TOutputFile& file) {
  TLibData1_ReadWrite& writer = Writer();
  writer.WriteTag(file, 203);
  const std::string remSetPath = std::string(kMakerSite) + "/REMSET/";
  writer.WritePlainText(file, EncodeURL(remSetPath));
  writer.WritePlainText(file, EncodeURL(remSetPath));
  writer.WritePlainText(file, EncodeURL(""));
  writer.WritePlainText(file, EncodeURL("pelmora.rms"));
  writer.WriteInteger(file, 10);
  writer.WriteInteger(file, 7200);
  writer.WriteInteger(file, 15);
  writer.WriteDateTime(file, 0);
  writer.WriteDateTime(file, 0);
  writer.WriteInteger(file, 10);
  for (const TSettingDefault& setting : SettingDefaults)
    WriteSetting(file, setting.Key, SiteText(setting.Site) + setting.Value);
  writer.WriteTag(file, 0);
}

void WriteSetting(TOutputFile& file, const std::string& key, const std::string& value) {
  TLibData1_ReadWrite& writer = Writer();
  writer.WriteTag(file, 203);
  writer.WriteText(file, key);
  writer.WriteText(file, value);
}

void WriteKnownHashes(TOutputFile& file) {
  Writer().WriteTag(file, 44);
  for (const THashDefault& hash : KnownHashDefaults) WriteKnownHash(file, hash.Hash, hash.Size);
  Writer().WriteTag(file, 0);
}

void WriteKnownHash(TOutputFile& file, const std::string& hash, std::uint32_t size) {
  TLibData1_ReadWrite& writer = Writer();
  writer.WriteTag(file, 44);
  writer.WriteText(file, hash);
  writer.WriteCardinal(file, size);
}
