#pragma once
// What the disk search decides without the platform: its masks and start folders, the progress
// range of every folder it walks, and the list of what it found. LIB_FindFiles walks the disks.
//
// Progress is counted from 0 to kSearchScale and reported as value div 10000, a percentage.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

inline constexpr long long kSearchScale = 1000000;

inline int SearchPercent(long long value) { return static_cast<int>(value / 10000); }

// The ";"-separated masks, trimmed, empty ones left out, "*" read as "*.*"; "*.*" when none is left.
std::vector<std::string> SearchMasks(const std::string& masks);

// The ";"-separated folders, trimmed, empty ones left out, each ending with "\".
std::vector<std::string> SearchFolders(const std::string& folders);

// The root of the drive that holds a full path, ending with "\": "C:\" or "\\server\share\";
// empty when the path names no drive.
std::string DriveRootOf(const std::string& path);

// Whether a drive of this type (as GetDriveType reports it: 2 removable, 3 fixed, 4 remote,
// 5 CD-ROM, 6 RAM disk) is searched for a drive kind of 1 to 3; kind 0 is the current
// folder's drive and 4 or more is none.
bool DriveKindSearches(std::uint8_t driveKind, unsigned driveType);

struct TProgressRange {
  long long Low = 0;
  long long High = 0;
  bool operator==(const TProgressRange&) const = default;
};

// Start folder i of n (i from 1): Round(998000 / n x (i - 1)) + 1000 to Round(998000 / n x i),
// rounded to the nearest with ties to the even one.
TProgressRange StartFolderRange(std::size_t i, std::size_t n);

// The ranges of a folder's subfolders, one after the other: each takes an eighth of what is
// left of the folder's range, so the first ones move the bar and deep trees never overrun it.
class TSubfolderRanges {
 public:
  explicit TSubfolderRanges(TProgressRange folder);
  TProgressRange Next();

 private:
  long long FPosition;
  long long FRemaining;
  long long FHigh;
};

// The found paths in the order found, without duplicates compared regardless of case.
class TFoundFiles {
 public:
  bool Contains(const std::string& path) const;
  // False when the path, in any case, is already listed.
  bool Add(const std::string& path);
  std::size_t Count() const { return FPaths.size(); }
  // The paths sorted regardless of case; the list is empty afterwards.
  std::vector<std::string> TakeSorted();

 private:
  std::vector<std::string> FPaths;
  std::unordered_set<std::string> FKeys;
};
