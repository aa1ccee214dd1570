#pragma once
// The disk search: every file that matches one of the masks, in the drive roots that the drive
// kind selects and in the extra folders, with their subfolders. Hidden folders and links to
// folders (junctions, symbolic links) are not entered; a folder that cannot be read is passed by.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// OnSearchProgress(percent 0..100): true aborts the search. OnAcceptFile(full path): true keeps the file.
using TSearchProgressEvent = std::function<bool(int percent)>;
using TAcceptFileEvent = std::function<bool(const std::string& path)>;

// masks: ";"-separated file masks ("*" is "*.*", none is "*.*"). DriveKind: 0 the current
// folder's drive, 1 fixed drives, 2 also removable and RAM drives, 3 also network and CD-ROM
// drives, 4 and more none. extraFolders: ";"-separated folders searched after the drives.
// MaxCount: 0 for no limit, else no file is added once the result holds that many.
// Returns the full paths, sorted and without duplicates, both regardless of case.
std::vector<std::string> FindFiles(const std::string& masks, std::uint8_t DriveKind,
                                   const std::string& extraFolders,
                                   const TSearchProgressEvent& OnSearchProgress,
                                   const TAcceptFileEvent& OnAcceptFile, std::size_t MaxCount);
