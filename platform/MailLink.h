#pragma once
// Opens a new message to an address in the user's mail program ("mailto:" through the shell).

#include <windows.h>

#include <string>

// Nothing happens when no mail program is set up; the shell may say so itself.
void OpenMailLink(HWND owner, const std::string& address);
