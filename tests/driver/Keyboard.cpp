#include "tests/driver/Keyboard.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "tests/driver/Waiting.h"

namespace {

// The virtual key of a key's name; 0 for a name it does not know.
WORD VirtualKey(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
  const struct {
    const char* Name;
    WORD Key;
  } named[] = {{"tab", VK_TAB},   {"return", VK_RETURN}, {"space", VK_SPACE}, {"escape", VK_ESCAPE},
               {"up", VK_UP},     {"down", VK_DOWN},     {"left", VK_LEFT},   {"right", VK_RIGHT},
               {"home", VK_HOME}, {"end", VK_END},       {"shift", VK_SHIFT}, {"alt", VK_MENU},
               {"ctrl", VK_CONTROL}};
  for (const auto& key : named)
    if (name == key.Name) return key.Key;
  return 0;
}

INPUT KeyEvent(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END)
    input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return input;
}

}  // namespace

bool PressKeys(HWND window, const std::string& keys, DWORD timeoutMs) {
  std::vector<INPUT> events;
  std::istringstream list(keys);
  for (std::string chord; list >> chord;) {
    // "shift+Tab": the modifiers go down first and up last, around the key.
    std::vector<WORD> held;
    for (size_t start = 0; start <= chord.size();) {
      size_t plus = chord.find('+', start);
      if (plus == start) plus = chord.find('+', start + 1);  // "+" itself
      const std::string part = chord.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
      const WORD key = VirtualKey(part);
      if (!key) return false;
      held.push_back(key);
      if (plus == std::string::npos) break;
      start = plus + 1;
    }
    for (WORD key : held) events.push_back(KeyEvent(key, false));
    for (auto key = held.rbegin(); key != held.rend(); ++key) events.push_back(KeyEvent(*key, true));
  }
  if (!WaitUntil([&] { return GetForegroundWindow() == window; }, timeoutMs)) return false;
  return SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)) == events.size();
}

bool TypeText(HWND window, const std::string& text, DWORD timeoutMs) {
  std::vector<INPUT> events;
  for (char c : text) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<unsigned char>(c);
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      events.push_back(input);
    }
  }
  if (!WaitUntil([&] { return GetForegroundWindow() == window; }, timeoutMs)) return false;
  return SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)) == events.size();
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}
