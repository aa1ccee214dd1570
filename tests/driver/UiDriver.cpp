#include "tests/driver/UiDriver.h"

#include <cstdio>
#include <vector>

#include "app/AutomationIds.h"
#include "tests/driver/Waiting.h"

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchWizardWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char caption[128] = "";
  GetWindowTextA(window, caption, sizeof caption);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (IsWindowVisible(window) && std::string(caption) == UiDriver::kWindowCaption &&
      (search->processId == 0 || owner == search->processId)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

std::string WindowText(HWND window) {
  char text[512] = "";
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

BOOL CALLBACK CollectBarButton(HWND child, LPARAM context) {
  auto* buttons = reinterpret_cast<std::vector<BarButton>*>(context);
  int id = GetDlgCtrlID(child);
  if (id >= kFirstBarButtonId && id < kFirstBarButtonId + 24 && IsWindowVisible(child)) {
    RECT bounds;
    GetWindowRect(child, &bounds);
    buttons->push_back({WindowText(child), bounds, child});
  }
  return TRUE;
}

BOOL CALLBACK FindHeader(HWND child, LPARAM context) {
  if (GetDlgCtrlID(child) != kHeaderControlId) return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

}  // namespace

bool UiDriver::WaitForWindow(DWORD timeoutMs) {
  ULONGLONG start = GetTickCount64();
  do {
    Search search{FProcessId, nullptr};
    EnumWindows(MatchWizardWindow, reinterpret_cast<LPARAM>(&search));
    FWindow = search.found;
    if (FWindow) {
      FHeaderHome = HeaderPosition();
      return true;
    }
    Sleep(20);
  } while (GetTickCount64() - start < timeoutMs);
  return false;
}

HWND UiDriver::HeaderWindow() const {
  HWND header = nullptr;
  EnumChildWindows(FWindow, FindHeader, reinterpret_cast<LPARAM>(&header));
  return header;
}

POINT UiDriver::HeaderPosition() const {
  RECT bounds{};
  GetWindowRect(HeaderWindow(), &bounds);
  POINT position{bounds.left, bounds.top};
  ScreenToClient(FWindow, &position);
  return position;
}

std::string UiDriver::Header() const {
  HWND header = HeaderWindow();
  return header ? WindowText(header) : std::string();
}

bool UiDriver::WaitForPage(const std::string& header, DWORD timeoutMs) const {
  constexpr ULONGLONG kStillMs = 200;
  ULONGLONG start = GetTickCount64();
  ULONGLONG stillSince = 0;
  do {
    POINT position = HeaderPosition();
    bool atRest = Header() == header && position.x == FHeaderHome.x && position.y == FHeaderHome.y;
    if (!atRest) {
      stillSince = 0;
    } else {
      if (stillSince == 0) stillSince = GetTickCount64();
      if (GetTickCount64() - stillSince >= kStillMs) return true;
    }
    Sleep(20);
  } while (GetTickCount64() - start < timeoutMs);
  return false;
}

bool UiDriver::WaitForHeader(const std::string& header, DWORD timeoutMs) const {
  ULONGLONG start = GetTickCount64();
  do {
    if (Header() == header) return true;
    Sleep(20);
  } while (GetTickCount64() - start < timeoutMs);
  return false;
}

std::vector<BarButton> UiDriver::Buttons() const {
  std::vector<BarButton> buttons;
  EnumChildWindows(FWindow, CollectBarButton, reinterpret_cast<LPARAM>(&buttons));
  return buttons;
}

std::vector<std::string> UiDriver::ButtonCaptions() const {
  std::vector<std::string> captions;
  for (const BarButton& button : Buttons()) captions.push_back(button.Caption);
  return captions;
}

std::vector<std::string> UiDriver::WaitForButtonCaptions(const std::vector<std::string>& expected,
                                                         DWORD timeoutMs) const {
  return ReadUntil([this] { return ButtonCaptions(); }, expected, timeoutMs);
}

bool UiDriver::Click(const std::string& caption) const {
  for (const BarButton& button : Buttons()) {
    if (button.Caption != caption) continue;
    LPARAM middle = MAKELPARAM((button.Bounds.right - button.Bounds.left) / 2,
                               (button.Bounds.bottom - button.Bounds.top) / 2);
    PostMessageA(button.Handle, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageA(button.Handle, WM_LBUTTONUP, 0, middle);
    return true;
  }
  return false;
}

bool SaveScreenshot(const std::string& path) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  int stride = (width * 3 + 3) & ~3;

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as BMP files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(stride * height);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  bool saved = false;
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    saved = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
            std::fwrite(bits, info.biSizeImage, 1, out) == 1;
    saved = std::fclose(out) == 0 && saved;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO format{};
  format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP copy = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, copy);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::vector<COLORREF> pixels;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  const auto* bgr = static_cast<const BYTE*>(bits);
  for (int i = 0; i < width * height; ++i) pixels.push_back(RGB(bgr[4 * i + 2], bgr[4 * i + 1], bgr[4 * i]));
  SelectObject(memory, old);
  DeleteObject(copy);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

RECT TitleBarOf(HWND window) {
  RECT frame, client;
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return {client.left, frame.top, client.right, client.top};
}

bool TitleBarDrawn(HWND window) {
  const std::vector<COLORREF> pixels = ScreenPixels(TitleBarOf(window));
  if (pixels.empty()) return false;
  // The caption's own text is dark; the bar around it is not.
  size_t black = 0;
  for (COLORREF pixel : pixels) black += pixel == RGB(0, 0, 0);
  return black * 2 < pixels.size();
}

StartedProcess StartProgram(const std::string& program, const std::string& parameters) {
  std::string commandLine = "\"" + program + "\"" + (parameters.empty() ? "" : " " + parameters);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info))
    return {};
  CloseHandle(info.hThread);
  return {info.hProcess, info.dwProcessId};
}

long WaitForExit(const StartedProcess& process, DWORD timeoutMs) {
  if (WaitForSingleObject(process.Process, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD exitCode = 0;
  GetExitCodeProcess(process.Process, &exitCode);
  return static_cast<long>(exitCode);
}

void EndProcess(StartedProcess& process) {
  if (!process.Process) return;
  if (WaitForSingleObject(process.Process, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process.Process, 1);
    WaitForSingleObject(process.Process, 5000);
  }
  CloseHandle(process.Process);
  process = {};
}
