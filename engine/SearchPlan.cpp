#include "engine/SearchPlan.h"

#include <algorithm>
#include <cctype>

#include "core/FolderName.h"
#include "core/Text.h"

namespace {

std::vector<std::string> SplitTrimmed(const std::string& list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = std::min(list.find(';', start), list.size());
    std::string item = Trim(list.substr(start, end - start));
    if (!item.empty()) items.push_back(std::move(item));
    start = end + 1;
  }
  return items;
}

// a / n rounded to the nearest whole number, ties to the even one.
long long RoundedQuotient(long long a, long long n) {
  long long quotient = a / n;
  long long twiceRest = 2 * (a % n);
  if (twiceRest > n || (twiceRest == n && quotient % 2 != 0)) ++quotient;
  return quotient;
}

constexpr long long kStartFolderSpan = 998000;
constexpr long long kFirstFolderStart = 1000;

}  // namespace

std::vector<std::string> SearchMasks(const std::string& masks) {
  std::vector<std::string> list = SplitTrimmed(masks);
  for (std::string& mask : list)
    if (mask == "*") mask = "*.*";
  if (list.empty()) list.push_back("*.*");
  return list;
}

std::vector<std::string> SearchFolders(const std::string& folders) {
  std::vector<std::string> list = SplitTrimmed(folders);
  for (std::string& folder : list) folder = WithBackslash(folder);
  return list;
}

std::string DriveRootOf(const std::string& path) {
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
    return path.substr(0, 2) + "\\";
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '?' && path[2] != '.') {
    std::size_t server = path.find('\\', 2);
    if (server == std::string::npos || server == 2) return {};
    std::size_t share = path.find('\\', server + 1);
    if (share == server + 1) return {};
    return (share == std::string::npos ? path : path.substr(0, share)) + "\\";
  }
  return {};
}

bool DriveKindSearches(std::uint8_t driveKind, unsigned driveType) {
  constexpr unsigned kRemovable = 2, kFixed = 3, kRemote = 4, kCdRom = 5, kRamDisk = 6;
  switch (driveType) {
    case kFixed:
      return driveKind >= 1 && driveKind <= 3;
    case kRemovable:
    case kRamDisk:
      return driveKind == 2 || driveKind == 3;
    case kRemote:
    case kCdRom:
      return driveKind == 3;
    default:
      return false;
  }
}

TProgressRange StartFolderRange(std::size_t i, std::size_t n) {
  const long long count = static_cast<long long>(n);
  const long long index = static_cast<long long>(i);
  return {RoundedQuotient(kStartFolderSpan * (index - 1), count) + kFirstFolderStart,
          RoundedQuotient(kStartFolderSpan * index, count)};
}

TSubfolderRanges::TSubfolderRanges(TProgressRange folder)
    : FPosition(folder.Low), FRemaining(folder.High - folder.Low), FHigh(folder.High) {}

TProgressRange TSubfolderRanges::Next() {
  const long long start = FPosition;
  const long long step = FRemaining / 8;
  FPosition = std::min(FPosition + step, FHigh);
  FRemaining -= step;
  return {start, FPosition};
}

bool TFoundFiles::Contains(const std::string& path) const { return FKeys.contains(LowerCase(path)); }

bool TFoundFiles::Add(const std::string& path) {
  if (!FKeys.insert(LowerCase(path)).second) return false;
  FPaths.push_back(path);
  return true;
}

std::vector<std::string> TFoundFiles::TakeSorted() {
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(FPaths.size());
  for (std::string& path : FPaths) keyed.emplace_back(LowerCase(path), std::move(path));
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::string> sorted;
  sorted.reserve(keyed.size());
  for (auto& [key, path] : keyed) sorted.push_back(std::move(path));
  FPaths.clear();
  FKeys.clear();
  return sorted;
}
