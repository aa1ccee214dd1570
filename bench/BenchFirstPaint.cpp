// Times how long a wizard takes from its start until its first page is on the screen, as a
// person sees it. The program is started, its window is looked for, and the screen inside the
// window's client area is read over and over until it has kept one picture for a while; the
// first page counts as shown at the first reading that already looks like that picture, and
// every reading after it does too. "Looks like" allows a small share of differing pixels, so
// that a page with something moving on it (our welcome page's words) settles as well.
//   bench_first_paint <program> <window caption>
// Prints "<ms until the window is visible> <ms until the first page is shown>" and ends the
// program. Any program with a captioned top-level window will do, ours or a peer's.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Timing.h"
#include "tests/driver/UiDriver.h"

namespace {

// How long the picture must stay alike to be the page's: longer than any gap between the paints
// of one page on a loaded machine.
constexpr double kLastingMs = 1500;
constexpr double kGiveUpMs = 30000;
constexpr DWORD kPauseMs = 5;
// Two readings look alike when at least this share of their pixels are the same: the other 3 %
// are far less than any part of a page (a picture, the bar, the texts), more than a few moving
// words.
constexpr double kAlikeShare = 0.97;

struct TSearch {
  DWORD ProcessId;
  const char* Caption;
  HWND Found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof caption);
  if (owner != search->ProcessId || !IsWindowVisible(window) || std::string(caption) != search->Caption)
    return TRUE;
  search->Found = window;
  return FALSE;
}

HWND FindVisibleWindow(DWORD processId, const char* caption) {
  TSearch search{processId, caption, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// Reads what the screen shows inside a window's client area, through one bitmap of its size.
class TScreenReader {
 public:
  explicit TScreenReader(HWND window) : FWindow(window) {
    RECT client{};
    GetClientRect(window, &client);
    FWidth = client.right;
    FHeight = client.bottom;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = FWidth;
    format.bmiHeader.biHeight = -FHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    FScreen = GetDC(nullptr);
    FMemory = CreateCompatibleDC(FScreen);
    FBitmap = CreateDIBSection(FScreen, &format, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
    FOld = SelectObject(FMemory, FBitmap);
  }
  ~TScreenReader() {
    SelectObject(FMemory, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FMemory);
    ReleaseDC(nullptr, FScreen);
  }
  TScreenReader(const TScreenReader&) = delete;
  TScreenReader& operator=(const TScreenReader&) = delete;

  // The pixels, row by row; empty when the window is gone or has no area.
  std::vector<std::uint32_t> Read() const {
    if (!FBits || !IsWindow(FWindow)) return {};
    POINT origin{0, 0};
    ClientToScreen(FWindow, &origin);
    BitBlt(FMemory, 0, 0, FWidth, FHeight, FScreen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(FBits, FBits + static_cast<std::size_t>(FWidth) * FHeight);
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
  }

 private:
  HWND FWindow;
  int FWidth = 0;
  int FHeight = 0;
  HDC FScreen = nullptr;
  HDC FMemory = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
  std::uint32_t* FBits = nullptr;
};

bool Alike(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size() || a.empty()) return false;
  std::size_t same = 0;
  for (std::size_t i = 0; i < a.size(); ++i) same += a[i] == b[i];
  return static_cast<double>(same) >= kAlikeShare * static_cast<double>(a.size());
}

struct TReading {
  double At;
  std::vector<std::uint32_t> Pixels;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: bench_first_paint <program> <window caption>\n", stderr);
    return 2;
  }
  const char* caption = argv[2];
  const double start = Now();
  StartedProcess process = StartProgram(argv[1], "");
  if (!process.Process) {
    std::fprintf(stderr, "bench_first_paint: cannot start %s\n", argv[1]);
    return 1;
  }

  HWND window = nullptr;
  while (!(window = FindVisibleWindow(process.Id, caption)) && Now() - start < kGiveUpMs) Sleep(kPauseMs);
  const double visible = Now() - start;

  // The readings since the last one that does not look like the newest: the page has settled
  // once they reach back kLastingMs, and the first of them is when it was shown.
  std::vector<TReading> alike;
  bool settled = false;
  if (window) {
    TScreenReader screen(window);
    while (!settled && Now() - start < kGiveUpMs) {
      TReading newest{Now() - start, screen.Read()};
      if (newest.Pixels.empty()) break;
      for (std::size_t i = alike.size(); i-- > 0;) {
        if (Alike(alike[i].Pixels, newest.Pixels)) continue;
        alike.erase(alike.begin(), alike.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        break;
      }
      alike.push_back(std::move(newest));
      settled = alike.back().At - alike.front().At >= kLastingMs;
      if (!settled) Sleep(kPauseMs);
    }
  }
  EndProcess(process);
  if (!settled) {
    std::fprintf(stderr, "bench_first_paint: no window \"%s\" that kept its picture\n", caption);
    return 1;
  }
  std::printf("%.0f %.0f\n", visible, alike.front().At);
  return 0;
}
