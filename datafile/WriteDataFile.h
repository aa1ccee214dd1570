#pragma once
// Writes one complete client data file: key text, header, download folder, both peer lists,
// settings and known hashes.

#include <cstdint>
#include <functional>
#include <string>

// Receives the progress points 94, 95, 96, 98 and 99 (percent of the bar) as the file grows.
using TProgressCallback = std::function<void(int percent)>;

// The values of the file's header: what the installation gives the client.
struct TDataFileSettings {
  std::string ClientDataDir;
  // As given in the header; the download section has it as ClientDownloadDir makes it.
  std::string DownloadDir;
  std::string ReleaseCode;
  std::int32_t ConnectionKind = 8;  // index in the connection page's list
};

// A failed create, write or close raises EInOutError; the bytes written up to the failure stay
// in the file.
void WriteDataFile(const std::string& path, const TDataFileSettings& header,
                   const TProgressCallback& progress);

// The download folder as the client wants it: without its trailing "\".
std::string ClientDownloadDir(std::string downloadDir);

// The number by which the client tunes itself to the chosen connection kind.
std::int32_t ConnectionNumber(std::int32_t connectionKind);
