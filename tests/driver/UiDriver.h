#pragma once
// Drives the installer from outside, as a person would: finds its window, reads the header and
// the captions of the visible buttons, clicks a button by its caption, and takes screenshots.
// Works across processes with the ordinary window messages.

#include <windows.h>

#include <string>
#include <vector>

struct BarButton {
  std::string Caption;
  RECT Bounds;  // in screen coordinates
  HWND Handle;
};

class UiDriver {
 public:
  static constexpr const char* kWindowCaption = "Install Pelmora P2P 4.44";

  // Finds the wizard's window of one process (processId 0: of any process); Found tells.
  explicit UiDriver(DWORD processId = 0) : FProcessId(processId) {}

  bool WaitForWindow(DWORD timeoutMs);
  bool Found() const { return FWindow != nullptr; }
  HWND Window() const { return FWindow; }

  std::string Header() const;
  bool WaitForHeader(const std::string& header, DWORD timeoutMs) const;
  // Waits until the page with this header has slid fully in and stood still for a moment, as
  // a person waits before the next click.
  bool WaitForPage(const std::string& header, DWORD timeoutMs) const;
  std::vector<BarButton> Buttons() const;
  std::vector<std::string> ButtonCaptions() const;
  // Waits until the bar shows these captions and returns the captions last read, so that a
  // caller's comparison shows what was there when the time ran out.
  std::vector<std::string> WaitForButtonCaptions(const std::vector<std::string>& expected,
                                                 DWORD timeoutMs) const;
  // Presses and releases the mouse button over the middle of the visible button so captioned.
  bool Click(const std::string& caption) const;

 private:
  HWND HeaderWindow() const;
  POINT HeaderPosition() const;

  DWORD FProcessId;
  HWND FWindow = nullptr;
  POINT FHeaderHome{};  // where the header stands when no page slides
};

// Saves the whole screen as a 24-bit BMP file.
bool SaveScreenshot(const std::string& path);

// The colours that the display shows in an area of the screen, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& area);
// A window's title bar in screen coordinates: the strip from the top of its frame down to its
// client area, inside its side borders.
RECT TitleBarOf(HWND window);
// Whether the display shows a window's title bar drawn. A frame that is not drawn shows black.
bool TitleBarDrawn(HWND window);

// A started installer process.
struct StartedProcess {
  HANDLE Process = nullptr;
  DWORD Id = 0;
};

StartedProcess StartProgram(const std::string& program, const std::string& parameters);
// The exit code, or -1 when the process did not end in time.
long WaitForExit(const StartedProcess& process, DWORD timeoutMs);
void EndProcess(StartedProcess& process);
