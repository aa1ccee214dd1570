#pragma once
// Links that someone else may have planted where a program writes or deletes. A folder link is
// listed as a reparse point. A file link may be listed as an ordinary file, and a handle opened
// on it then reaches the file it points at: the path the system gives for what an open handle
// reaches (its final path) tells where it really is.

#include <windows.h>

#include <string>

// The path of what the handle reaches, every link on the way followed, in its long form
// ("C:\Folder\File", "\\server\share\File"); empty when the system cannot tell.
std::string FinalPath(HANDLE handle);

// The final path of an existing file or folder, without a final backslash; empty when it
// cannot be opened.
std::string FinalPathOf(const std::string& path);

// Whether two paths are the same text as the file system compares names: without regard to
// case.
bool SamePath(const std::string& a, const std::string& b);

// Whether the file or folder that the handle reaches is itself a reparse point: a link that
// was opened as itself, not followed.
bool IsReparsePoint(HANDLE handle);

// Whether the path's last step is listed as a reparse point (a folder link); false when it
// does not exist.
bool IsListedAsLink(const std::string& path);
