#pragma once

#include <string>

// Starts the installed client from its folder, maximised and without arguments. The path is
// quoted, so that a folder with blanks cannot make Windows start another program (for example
// "C:\Program.exe") in its place. A client that cannot be started is not reported.
void StartClient(const std::string& installDir);
