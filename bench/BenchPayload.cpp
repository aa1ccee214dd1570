// Times ExtractPayload of the client program against the floor on this machine: inflating the
// same stream in memory and writing the program with one write. Prints both and their ratio,
// and the same against a floor that puts the program in place whole or not at all.
//   bench_payload [folder] [count]
// Needs a display: the bar and label are real controls on the wizard's real window.
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchWindow.h"
#include "app/ProgressDisplay.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/PayloadTotals.h"
#include "ui/Application.h"

namespace {

struct Figures {
  double Min, Median;
};

// Times run count times; prepare, when given, runs before each and is not timed.
Figures Time(int count, const std::function<void()>& run, const std::function<void()>& prepare = {}) {
  std::vector<double> ms;
  for (int i = 0; i < count; ++i) {
    if (prepare) prepare();
    const auto start = std::chrono::steady_clock::now();
    run();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : "C:\\windows\\temp";
  if (folder.back() != '\\') folder += '\\';
  const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string path = folder + "bench-Pelmora-" + std::to_string(GetCurrentProcessId()) + ".Exe";

  TBenchWindow window("Installing Pelmora P2P");
  TProgressBar& bar = *window.Bar;
  TControl& label = *window.Label;
  bar.SetMax(static_cast<int>(kPayloadTotal + kPayloadTotal / 10));

  // The bar starts each run empty, as on the page; emptying it is not part of the run.
  const auto emptyBar = [&] {
    bar.SetPosition(0);
    TApplication::Instance().ProcessMessages();
  };
  TProgressDisplay barAndLabel(&bar, &label);
  TProgressDisplay barAlone(&bar, nullptr);
  const Figures withBar = Time(count, [&] { GB_PelmoraP2P_exe::ExtractPayload(path, &barAndLabel); }, emptyBar);
  const Figures barOnly = Time(count, [&] { GB_PelmoraP2P_exe::ExtractPayload(path, &barAlone); }, emptyBar);
  const Figures bare = Time(count, [&] { GB_PelmoraP2P_exe::ExtractPayload(path); });

  const TPayload payload = GB_PelmoraP2P_exe::Payload();
  std::vector<Bytef> program(static_cast<std::size_t>(payload.U));
  const Figures floor = Time(count, [&] {
    uLongf length = static_cast<uLongf>(program.size());
    if (uncompress(program.data(), &length, payload.Blocks, static_cast<uLong>(payload.C)) != Z_OK) std::abort();
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, program.data(), static_cast<DWORD>(length), &written, nullptr))
      std::abort();
    CloseHandle(file);
  });
  // The same with the program put in place whole or not at all, as ExtractPayload does: written
  // under a temporary name, flushed to the disk, then moved over the old program.
  const std::string temporary = path + ".tmp";
  const Figures wholeFloor = Time(count, [&] {
    uLongf length = static_cast<uLongf>(program.size());
    if (uncompress(program.data(), &length, payload.Blocks, static_cast<uLong>(payload.C)) != Z_OK) std::abort();
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, program.data(), static_cast<DWORD>(length), &written, nullptr) ||
        !FlushFileBuffers(file))
      std::abort();
    CloseHandle(file);
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) std::abort();
  });
  DeleteFileA(path.c_str());

  std::printf("client payload: N=%lld blocks, C=%lld, U=%lld bytes; %lld progress steps; %d runs each\n",
              payload.N, payload.C, payload.U, payload.N + payload.U / 1024 + 1, count);
  std::printf("ExtractPayload with bar and label: min %.1f ms, median %.1f ms\n", withBar.Min, withBar.Median);
  std::printf("ExtractPayload with bar only:       min %.1f ms, median %.1f ms\n", barOnly.Min, barOnly.Median);
  std::printf("ExtractPayload without bar:        min %.1f ms, median %.1f ms\n", bare.Min, bare.Median);
  std::printf("floor (inflate in memory, one write): min %.1f ms, median %.1f ms\n", floor.Min, floor.Median);
  std::printf("floor, whole or absent (temporary file, flush, move): min %.1f ms, median %.1f ms\n",
              wholeFloor.Min, wholeFloor.Median);
  std::printf("ratio to the floor (medians): %.2fx with bar and label (goal: at most 2x), %.2fx without "
              "(goal: at most 1.5x)\n",
              withBar.Median / floor.Median, bare.Median / floor.Median);
  std::printf("ratio to the whole-or-absent floor (medians): %.2fx with bar and label, %.2fx without\n",
              withBar.Median / wholeFloor.Median, bare.Median / wholeFloor.Median);
  return 0;
}
