#include "platform/MessageBoxes.h"

int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
  return MessageBoxA(owner && IsWindow(owner) ? owner : nullptr, text.c_str(), title.c_str(), style);
}
