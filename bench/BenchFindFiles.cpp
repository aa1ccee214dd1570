// Times FindFiles over a folder tree against the floor on this machine: a bare walk that lists
// every folder once and keeps the files of the searched name. FindFiles runs as the search page
// runs it, moving a real bar and label and processing messages at every report, and without
// events. Prints the times, the counts and the speed ratio.
//   bench_findfiles <folder> [runs]
// Needs a display: the bar and label are real controls on the wizard's real window.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Appl_Globals.h"
#include "app/Form_Main.h"
#include "app/ui/Application.h"
#include "engine/LIB_FindFiles.h"

namespace {

constexpr char kName[] = "pelmora.exe";

const ControlSpec kDesign[] = {
    {.Kind = ControlKind::Label, .Name = "Label12", .Left = 344, .Top = 200, .Width = 120, .Height = 13,
     .Caption = "0% complete", .FontColor = Colors::White},
    {.Kind = ControlKind::ProgressBar, .Name = "ProgressBar1", .Left = 39, .Top = 232, .Width = 634, .Height = 26},
};

class BenchPage : public TFramePanel {
 public:
  BenchPage() : TFramePanel("BenchPage", kDesign) { Title = "Searching Pelmora P2P"; }
  using TFramePanel::Controls;
};

struct Figures {
  double Min, Median;
};

Figures Time(int runs, const std::function<void()>& run) {
  run();  // warms the file system's caches
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

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
    } else if (!(entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT)) &&
               lstrcmpA(name, ".") != 0 && lstrcmpA(name, "..") != 0) {
      BareWalk(folder + name + "\\", folders, found);
    }
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

  ResetSettings();
  TFormMain form;
  form.Create();
  form.Show();
  auto page = std::make_unique<BenchPage>();
  BenchPage& bench = *page;
  form.AddPanel(std::move(page));
  form.ShowPanel("BenchPage", false);
  Application::Instance().ProcessMessages();
  auto& bar = bench.Controls.Get<TProgressBar>("ProgressBar1");
  Control& label = bench.Controls.Get("Label12");
  bar.SetMax(100);

  std::size_t folders = 0, reports = 0;
  std::vector<std::string> bareFound, pageFound, plainFound;
  const Figures bare = Time(runs, [&] {
    folders = 0;
    bareFound.clear();
    BareWalk(folder, folders, bareFound);
  });
  // What the search page does at every report.
  const TSearchProgressEvent pageProgress = [&](int percent) {
    ++reports;
    bar.SetPosition(percent);
    label.SetCaption(std::to_string(percent) + "% complete");
    Application::Instance().ProcessMessages();
    return false;
  };
  const TAcceptFileEvent keepAll = [](const std::string&) { return true; };
  const Figures withPage = Time(runs, [&] {
    reports = 0;
    pageFound = FindFiles(kName, 4, folder, pageProgress, keepAll, 0);
  });
  const Figures plain = Time(runs, [&] { plainFound = FindFiles(kName, 4, folder, {}, {}, 0); });

  if (pageFound.size() != bareFound.size() || plainFound.size() != bareFound.size()) {
    std::fprintf(stderr, "the walks disagree: bare walk %zu files, FindFiles %zu and %zu\n", bareFound.size(),
                 pageFound.size(), plainFound.size());
    return 1;
  }
  std::printf("tree %s: %zu folders, %zu files named %s; %d runs each after one warm-up run\n", folder.c_str(),
              folders, bareFound.size(), kName, runs);
  std::printf("bare FindFirstFile walk:                min %.0f ms, median %.0f ms\n", bare.Min, bare.Median);
  std::printf("FindFiles, page's bar, label, messages: min %.0f ms, median %.0f ms (%zu reports)\n", withPage.Min,
              withPage.Median, reports);
  std::printf("FindFiles without events:               min %.0f ms, median %.0f ms\n", plain.Min, plain.Median);
  std::printf("speed against the bare walk (medians): %.2f with the page's progress, %.2f without (goal: at least 0.80)\n",
              bare.Median / withPage.Median, bare.Median / plain.Median);
  return 0;
}
