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

// A program usually runs from a download folder or a folder the user may write to, where anyone
// may have left a DLL named like a system one. Libraries are then looked up in the system
// folder only. The call is looked up at run time because older systems without the update that
// brings it must still start.
void RestrictDllSearchToSystemFolder() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  using TSetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto setDefaultDllDirectories = reinterpret_cast<TSetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");
}
