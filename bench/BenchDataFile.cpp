// Writes complete client data files and prints the time per file and the file's size.
//   bench_datafile [folder] [count]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Random.h"
#include "datafile/WriteDataFile.h"

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
  const int count = argc > 2 ? std::max(1, std::stoi(argv[2])) : 50;
  const std::string path = (folder / "bench-Pelmora.Dat").string();
  Randomize();
  const TDataFileSettings header{.ClientDataDir = "C:\\Users\\Bench\\AppData\\Local\\Pelmora P2P\\",
                               .DownloadDir = "C:\\Users\\Bench\\Downloads\\Pelmora\\",
                               .ReleaseCode = "01",
                               .ConnectionKind = 8};

  std::vector<double> milliseconds;
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    WriteDataFile(path, header, {});
    const auto stop = std::chrono::steady_clock::now();
    milliseconds.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  const auto size = std::filesystem::file_size(path);
  std::filesystem::remove(path);
  std::printf("data file: %llu bytes; %d writes: min %.2f ms, median %.2f ms, max %.2f ms\n",
              static_cast<unsigned long long>(size), count, milliseconds.front(),
              milliseconds[milliseconds.size() / 2], milliseconds.back());
  return 0;
}
