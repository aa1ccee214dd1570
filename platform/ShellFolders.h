#pragma once
// The shell's special folders (program files, the start menu, the desktop, per-user data).

#include <string>

// A special folder of the shell (CSIDL_...), without a final backslash; empty when the system
// cannot tell.
std::string ShellFolder(int csidl);
