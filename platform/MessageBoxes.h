#pragma once
// Every message box of the programs: modal, over its owner, titled with the program's name.
// Lines of the text are separated by single carriage returns.

#include <windows.h>

#include <string>

// An owner that is no longer a window (the main window of a start that failed) gives the box
// none, where the system would refuse to show it. Returns the button chosen (IDOK, IDYES, …).
int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style);
