#pragma once
// Paths and files as the uninstaller's parts share them: its own program, the temporary folder,
// the per-user data folder, and whole small files read at once.

#include <windows.h>

#include <string>

// Without the final backslashes, a drive's root excepted ("C:\").
std::string WithoutSeparator(std::string path);
// The folder of a path: the text up to and including its last backslash.
std::string FolderOf(const std::string& path);

// An existing file or folder in its long form ("C:\PROGRA~1\" and "C:\Program Files\" are one
// place); any other text unchanged.
std::string LongPath(const std::string& path);
std::string LongFolder(const std::string& folder);

// The program file of this process.
std::string OwnPath();
// The user's temporary folder, long form, ending with "\"; empty when the system cannot tell.
std::string TempFolder();
// The per-user folder that holds the client's data files, ending with "\"; empty when the
// system cannot tell.
std::string UserDataDir();

// Whether an error code says that the file or folder is not there (any more).
bool IsGone(DWORD code);

// Writes a new file (never one that exists); false, with the system's code as the last error,
// when it cannot.
bool WriteNewFile(const std::string& path, const std::string& text);
