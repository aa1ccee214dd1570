#include "app/SystemLibrary.h"

#include "app/Exceptions.h"

namespace {

std::string SystemText(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length ? std::string(text, length) : "system error " + std::to_string(code);
  LocalFree(text);
  while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
    result.pop_back();
  return result;
}

HMODULE LoadSystemLibrary(const char* library) {
  HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Systems without the search flags refuse them: the full path names the system folder there.
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) module = LoadLibraryA((std::string(system) + "\\" + library).c_str());
  }
  if (!module)
    throw Exception(std::string("Cannot load the system library ") + library + ": " + SystemText(GetLastError()));
  return module;
}

}  // namespace

FARPROC SystemFunction(const char* library, const char* function) {
  const FARPROC address = GetProcAddress(LoadSystemLibrary(library), function);
  if (!address)
    throw Exception(std::string("The system library ") + library + " lacks " + function + ": " +
                    SystemText(GetLastError()));
  return address;
}
