#pragma once
// The installed client: whether a folder holds an installation of it, and starting it.

#include <string>

// How the client was started.
enum class TClientStart {
  Missing,           // not at all: its program is not there
  AsTheUser,         // directly, by an installer that runs with the user's own rights
  ThroughTheShell,   // by the desktop shell, as the user who runs it
  WithoutTheShell,   // directly by an elevated installer: no desktop shell could start it
};

// Starts the installed client from its folder, maximised and without arguments, in the
// installer's current folder. The client talks to the network and must run with the user's
// own rights, never with an elevated installer's: an elevated installer has the desktop shell
// start it, which runs as the user who logged on; only where no shell runs does it start the
// client itself. The path is quoted, so that a folder with blanks cannot make Windows start
// another program (for example "C:\Program.exe") in its place. A client that cannot be started
// is not reported; one whose program is missing is not tried (the shell would show the user
// its own error message).
TClientStart StartClient(const std::string& installDir);

// Whether the folder (ending with "\") holds an installation of the client: its program as a
// file, and its removal list, which is the product's and names that program. Only such a folder
// is upgraded unattended; anything else would get programs that nothing can remove.
bool HoldsInstallation(const std::string& folder);
