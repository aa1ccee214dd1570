#pragma once
// Writes one complete client data file: key text, header, download folder, both peer lists,
// settings and known hashes.

#include <cstdint>
#include <functional>
#include <string>

// Receives the progress points 94, 95, 96, 98 and 99 (percent of the bar) as the file grows.
using TProgressCallback = std::function<void(int percent)>;

// Reads ClientDataDir, DownloadDir, ReleaseCode and ConnectionKind and removes a trailing "\"
// from DownloadDir itself. A failed create, write or close raises EInOutError; the bytes
// written up to the failure stay in the file.
void WriteDataFile(const std::string& path, const TProgressCallback& progress);

// The number by which the client tunes itself to the chosen connection kind.
std::int32_t ConnectionNumber(std::int32_t connectionKind);
