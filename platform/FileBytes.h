#pragma once
// A whole file's bytes, read through the system's file calls rather than the C++ streams, which
// would bring the streams' and locales' machinery into the small programs.

#include <optional>
#include <string>

// Every byte of the file, exactly; nothing when the file cannot be opened (missing, a folder,
// held without sharing) or a read fails.
std::optional<std::string> ReadFileBytes(const std::string& path);

// The whole of a small file the product wrote (a removal list, a name), read while nobody may
// write it; false when it cannot be read or is far larger than any such file (1 MiB).
bool ReadSmallFile(const std::string& path, std::string& text);
