#pragma once
// Folder names: their final backslash, folders as the folder pages take them from the user,
// and the proposals they make.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The system's limit for a path, its final zero included.
inline constexpr std::size_t kMaxPath = 260;
// The longest name that an installation or an upgrade writes into the installation folder,
// temporary names included: the name under which the removal list is written whole before it
// takes its place (datafile/WholeFile: "~", the name, ".", the process id and a unique number
// of up to 8 hexadecimal digits each, ".tmp"). Whatever the runs come to write there, the
// folders the pages accept leave room for this name.
inline constexpr std::string_view kLongestNameInInstallDir = "~UnInstall.dat.FFFFFFFF-FFFFFFFF.tmp";
// The longest installation folder, its final "\" included, that every name the runs write
// fits in within the system's limit.
inline constexpr std::size_t kMaxInstallDirLength = kMaxPath - 1 - kLongestNameInInstallDir.size();
// The longest download folder, its final "\" included: room for a one-letter file.
inline constexpr std::size_t kMaxDownloadDirLength = kMaxPath - 2;

// The folder with its final "\": appended unless the text ends with one already. A path is
// joined to a file name by appending the name to this. An empty text gives "\" (the root of
// the current drive); a caller that must keep an empty text empty asks first.
std::string WithBackslash(std::string_view folder);

// True for a full folder path such as "C:\Games": no blanks around it, drive letter, ":\",
// no doubled backslash, none of " * / : < > ? after the drive.
bool IsValidFolderName(const std::string& text);

// The folder as the folder pages accept it: trimmed, a full path that IsValidFolderName takes,
// no drive's root, "\" appended, at most maxLength characters long with it; nothing when
// refused.
std::optional<std::string> AcceptedFolder(const std::string& value, std::size_t maxLength);

// The folder part of path, whose last component is always taken as a file name (up to the
// last backslash or drive colon):
// "C:\Games" gives "C:\", "C:\Program Files\Pelmora P2P" gives "C:\Program Files\".
std::string ParentFolder(const std::string& path);

// The installation folder for a folder picked in the tree: a drive root or a folder right under
// one gets the product folder "Pelmora P2P" appended.
std::string InstallFolderForSelection(const std::string& selected);

// The download folder for a folder picked in the tree: a drive root gets "Downloads".
std::string DownloadFolderForSelection(const std::string& selected);

// The download folder to propose: an existing "Downloads" folder on a fixed disk, C before D
// before E, else "Downloads" on the installation folder's drive.
std::string ProposeDownloadFolder(const std::string& installDir,
                                  const std::function<bool(char driveLetter)>& hasFixedDownloads);
