// Times FindFiles over a folder tree against two walks on this machine: a bare walk that lists
// every folder once and keeps the files of the searched name, and a walk that lists every
// folder once per mask and once more for its subfolders (two listings for one name). FindFiles
// runs without events and as the search page runs it, moving a real bar and label and
// processing messages at every report. Prints the times, the counts and the speed ratios.
//   bench_findfiles <folder> [rounds]
// Needs a display: the bar and label are real controls on the wizard's real window.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchWindow.h"
#include "engine/LIB_FindFiles.h"
#include "ui/Application.h"

namespace {

constexpr char kName[] = "pelmora.exe";


// Runs every variant once per round, so that a change in the machine's load falls on all of them;
// one round first warms the file system's caches. Returns each variant's median in ms.
std::vector<double> Medians(int runs, const std::vector<std::function<void()>>& variants) {
  std::vector<std::vector<double>> ms(variants.size());
  for (int round = 0; round <= runs; ++round) {
    for (std::size_t v = 0; v < variants.size(); ++v) {
      const auto start = std::chrono::steady_clock::now();
      variants[v]();
      if (round > 0)
        ms[v].push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
  }
  std::vector<double> medians;
  for (std::vector<double>& times : ms) {
    std::sort(times.begin(), times.end());
    medians.push_back(times[times.size() / 2]);
  }
  return medians;
}

bool IsDots(const char* name) { return lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0; }

// One listing per folder; the same folders entered as FindFiles enters.
void BareWalk(const std::string& folder, std::size_t& folders, std::vector<std::string>& found) {
  ++folders;
  WIN32_FIND_DATAA entry;
  HANDLE listing = FindFirstFileA((folder + "*").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return;
  do {
    const char* name = entry.cFileName;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      if (lstrcmpiA(name, kName) == 0) found.push_back(folder + name);
    } else if (!(entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT)) && !IsDots(name)) {
      BareWalk(folder + name + "\\", folders, found);
    }
  } while (FindNextFileA(listing, &entry));
  FindClose(listing);
}

// A listing per mask and one of the subfolders, and nothing else: one of the name, one of the
// folders.
void ListingsWalk(const std::string& folder, std::vector<std::string>& found) {
  WIN32_FIND_DATAA entry;
  HANDLE listing = FindFirstFileA((folder + kName).c_str(), &entry);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(folder + entry.cFileName);
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
  }
  listing = FindFirstFileA((folder + "*.*").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT)) && !IsDots(entry.cFileName))
      ListingsWalk(folder + entry.cFileName + "\\", found);
  } while (FindNextFileA(listing, &entry));
  FindClose(listing);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bench_findfiles <folder> [runs]\n", stderr);
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  TBenchWindow window("Searching Pelmora P2P");
  TProgressBar& bar = *window.Bar;
  TControl& label = *window.Label;
  bar.SetMax(100);

  // What the search page does at every report: the bar and label change with the percentage,
  // and pending messages are processed every time.
  int shown = -1;
  std::size_t reports = 0;
  const TSearchProgressEvent pageProgress = [&](int percent) {
    ++reports;
    if (percent != shown) {
      shown = percent;
      bar.SetPosition(percent);
      label.SetCaption(std::to_string(percent) + "% complete");
    }
    TApplication::Instance().ProcessMessages();
    return false;
  };
  const TAcceptFileEvent keepAll = [](const std::string&) { return true; };

  std::size_t folders = 0;
  std::vector<std::string> bareFound, listingsFound, pageFound, plainFound;
  const std::vector<double> ms = Medians(
      runs, {[&] {
               folders = 0;
               bareFound.clear();
               BareWalk(folder, folders, bareFound);
             },
             [&] {
               listingsFound.clear();
               ListingsWalk(folder, listingsFound);
             },
             [&] { plainFound = FindFiles(kName, 4, folder, {}, {}, 0); },
             [&] {
               reports = 0;
               shown = -1;
               pageFound = FindFiles(kName, 4, folder, pageProgress, keepAll, 0);
             }});

  for (std::vector<std::string>* found : {&bareFound, &listingsFound, &pageFound, &plainFound})
    std::sort(found->begin(), found->end());
  if (listingsFound != bareFound || plainFound != bareFound || pageFound != bareFound) {
    std::fprintf(stderr, "the walks disagree: bare walk %zu files, the search's listings %zu, FindFiles %zu and %zu\n",
                 bareFound.size(), listingsFound.size(), plainFound.size(), pageFound.size());
    return 1;
  }
  std::printf("tree %s: %zu folders, %zu files named %s; medians of %d rounds after a warm-up round\n",
              folder.c_str(), folders, bareFound.size(), kName, runs);
  std::printf("bare walk, one listing per folder:             %6.0f ms\n", ms[0]);
  std::printf("walk with a listing per mask and one of folders: %4.0f ms\n", ms[1]);
  std::printf("FindFiles without events:                      %6.0f ms\n", ms[2]);
  std::printf("FindFiles with the page's bar, label, messages: %5.0f ms (%zu reports)\n", ms[3], reports);
  std::printf("speed against the bare walk: %.2f without events, %.2f with the page's progress (goal: at least 0.80)\n",
              ms[0] / ms[2], ms[0] / ms[3]);
  std::printf("speed against a listing per mask and folders:  %.2f without events, %.2f with the page's progress\n",
              ms[1] / ms[2], ms[1] / ms[3]);
  return 0;
}
