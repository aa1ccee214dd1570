#include "tests/driver/MessageBoxes.h"

#include <atomic>
#include <thread>

#include "tests/driver/Waiting.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;

std::string TextOf(HWND window) {
  char text[4096] = "";
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 2000, &ignored))
    return {};
  return text;
}

struct Search {
  DWORD ProcessId;
  ShownMessageBox Found;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char windowClass[16] = "";
  GetClassNameA(window, windowClass, sizeof windowClass);
  if (owner != search.ProcessId || std::string(windowClass) != "#32770" || !IsWindowVisible(window))
    return TRUE;
  HWND message = GetDlgItem(window, kMessageTextId);
  std::string text = message ? TextOf(message) : std::string();
  if (text.empty()) return TRUE;
  search.Found = {window, text, TextOf(window), GetWindow(window, GW_OWNER)};
  return FALSE;
}

}  // namespace

ShownMessageBox FindMessageBox(DWORD processId) {
  Search search{processId, {}};
  EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

ShownMessageBox WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  ShownMessageBox box;
  WaitUntil([&] { return static_cast<bool>(box = FindMessageBox(processId)); }, timeoutMs);
  return box;
}

bool AnswerMessageBox(const ShownMessageBox& box, int buttonId, DWORD timeoutMs) {
  PostMessageA(box.Window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.Window, buttonId)));
  return WaitUntil([&] { return !IsWindow(box.Window) || !IsWindowVisible(box.Window); }, timeoutMs);
}

std::string ReadAndAnswerMessageBox(DWORD processId, DWORD timeoutMs) {
  ShownMessageBox box = WaitForMessageBox(processId, timeoutMs);
  if (!box) return "<no message box>";
  AnswerMessageBox(box, IDOK, timeoutMs);
  return box.Text;
}

std::string MessageShownBy(const std::function<void()>& action) {
  std::string text;
  std::atomic<bool> finished{false};
  std::thread answerer([&] {
    ShownMessageBox box;
    WaitUntil([&] { return finished || (box = FindMessageBox(GetCurrentProcessId())); }, INFINITE);
    if (!box) return;
    text = box.Text;
    AnswerMessageBox(box, IDOK, kPatientMs);
  });
  action();
  finished = true;
  answerer.join();
  return text;
}
