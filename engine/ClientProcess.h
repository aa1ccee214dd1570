#pragma once
// The installed client: whether a folder holds an installation of it, and starting it.

#include <string>

// Starts the installed client from its folder, maximised and without arguments. The path is
// quoted, so that a folder with blanks cannot make Windows start another program (for example
// "C:\Program.exe") in its place. A client that cannot be started is not reported.
void StartClient(const std::string& installDir);

// Whether the folder (ending with "\") holds an installation of the client: its program as a
// file, and its removal list, which is the product's and names that program. Only such a folder
// is upgraded unattended; anything else would get programs that nothing can remove.
bool HoldsInstallation(const std::string& folder);
