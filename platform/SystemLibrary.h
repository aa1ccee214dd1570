#pragma once
// System libraries that Windows does not list among its known libraries (KnownDLLs) are looked
// up like any other: a file of the same name beside the installer would be taken first. The
// program therefore imports only known libraries and loads the others (msimg32, wininet,
// comctl32) when first needed, from the system folder alone. comctl32 loaded by name still
// comes in the version the manifest asks for: side-by-side redirection comes before the search.

#include <windows.h>

#include <string>

// The function of a library of the system folder; raises an Exception when the library or the
// function cannot be had. The library stays loaded for the rest of the process.
FARPROC SystemFunction(const char* library, const char* function);

template <class Function>
Function SystemFunctionOf(const char* library, const char* function) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(library, function)));
}

// Makes the process look up libraries in the system folder only, never in the folder the
// program was started from. Runs first at the programs' start.
void RestrictDllSearchToSystemFolder();
