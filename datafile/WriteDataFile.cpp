#include "datafile/WriteDataFile.h"

#include <memory>

#include "datafile/DateTime.h"
#include "datafile/GB_PELMORA_DAT.h"
#include "datafile/OutputFile.h"
#include "web/HostNames.h"

namespace {

// The section writers reach the writer through DataWriter; it must not outlive the file.
class TDataWriterScope {
 public:
  explicit TDataWriterScope(TLibData1_ReadWrite& writer) { DataWriter = &writer; }
  ~TDataWriterScope() { DataWriter = nullptr; }
  TDataWriterScope(const TDataWriterScope&) = delete;
  TDataWriterScope& operator=(const TDataWriterScope&) = delete;
};

void Report(const TProgressCallback& progress, int percent) {
  if (progress) progress(percent);
}

}  // namespace

std::int32_t ConnectionNumber(std::int32_t connectionKind) {
  switch (connectionKind) {
    case 0:
      return 6;
    case 1:
      return 10;
    case 2:
      return 45;
    case 3:
      return 80;
    case 4:
    case 5:
    case 6:
    case 7:
      return 90;
    default:
      return 77;
  }
}

std::string ClientDownloadDir(std::string downloadDir) {
  if (!downloadDir.empty() && downloadDir.back() == '\\') downloadDir.pop_back();
  return downloadDir;
}

void WriteDataFile(const std::string& path, const TDataFileSettings& header,
                   const TProgressCallback& progress) {
  TLibData1_ReadWrite writer;
  const std::unique_ptr<TOutputFile> output = CreateOutputFile(path);
  TOutputFile& file = *output;

  writer.WriteByte(file, 0);
  writer.WritePlainText(file, MakeKey());
  writer.WriteText(file, header.ClientDataDir);
  writer.WriteText(file, header.DownloadDir);
  writer.WriteInteger(file, 3);
  writer.WriteInteger(file, 3);
  writer.WriteText(file, header.ReleaseCode);
  writer.WriteInteger(file, 100);
  writer.WriteGuid(file, NewGuid());
  writer.WriteBoolean(file, false);
  writer.WriteInteger(file, 0);
  writer.WriteInteger(file, 0);
  writer.WriteBoolean(file, false);
  writer.WriteInteger(file, 120);
  writer.WriteBoolean(file, true);
  writer.WriteText(file, std::string(kMakerSite) + "/Install_Pelmora.exe");
  writer.WriteText(file, std::string(kMirrorSite) + "/Install_Pelmora.exe");
  writer.WriteTruncated(file, Now() - 100);
  writer.WriteInteger(file, ConnectionNumber(header.ConnectionKind));
  Report(progress, 94);

  const TDataWriterScope scope(writer);

  writer.WriteTag(file, 8);
  writer.WriteInteger(file, 1);
  writer.WriteTag(file, 8);
  writer.WriteText(file, ClientDownloadDir(header.DownloadDir));
  writer.WriteBoolean(file, true);
  writer.WriteBoolean(file, true);
  writer.WriteTag(file, 0);
  Report(progress, 95);

  writer.WriteTag(file, 22);
  writer.WriteTag(file, 32);
  WriteGnuHosts(file);
  Report(progress, 96);

  writer.WriteTag(file, 0);
  writer.WriteTag(file, 27);
  WritePeppHosts(file);
  Report(progress, 98);

  writer.WriteTag(file, 0);
  WriteSettings(file);
  Report(progress, 99);

  writer.WriteTag(file, 0);
  WriteKnownHashes(file);
  writer.WriteTag(file, 0);
  file.Close();
}
