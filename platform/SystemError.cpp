#include "platform/SystemError.h"

#include <windows.h>

std::string SystemMessage(unsigned long errorCode) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, errorCode, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length && text ? std::string(text, length) : std::string();
  LocalFree(text);
  while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
    result.pop_back();
  return result;
}

std::string SystemErrorText(unsigned long errorCode) {
  std::string text = SystemMessage(errorCode);
  return text.empty() ? "System error " + std::to_string(errorCode) : text;
}
