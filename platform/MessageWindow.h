#pragma once
// Hidden message-only windows: a thread's queue through which timers and other threads reach
// code on the GUI thread. Each kind has a window class of its own and one window procedure.

#include <windows.h>

// Registers the class (once) and makes a message-only window of it; nullptr when the system
// refuses, with GetLastError telling why.
HWND CreateMessageWindow(const char* className, WNDPROC windowProc);
