#include "platform/SystemLibrary.h"

#include "core/Exceptions.h"
#include "platform/SystemError.h"

namespace {

HMODULE LoadSystemLibrary(const char* library) {
  HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Systems without the search flags refuse them: the full path names the system folder there.
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) module = LoadLibraryA((std::string(system) + "\\" + library).c_str());
  }
  if (!module)
    throw Exception(std::string("Cannot load the system library ") + library + ": " + SystemErrorText(GetLastError()));
  return module;
}

}  // namespace

FARPROC SystemFunction(const char* library, const char* function) {
  const FARPROC address = GetProcAddress(LoadSystemLibrary(library), function);
  if (!address)
    throw Exception(std::string("The system library ") + library + " lacks " + function + ": " +
                    SystemErrorText(GetLastError()));
  return address;
}
