#include "engine/LIB_FindFiles.h"

#include <windows.h>

#include <algorithm>

#include "core/Text.h"
#include "engine/SearchPlan.h"

namespace {

// One enumeration of a folder; closed however the walk leaves it.
class TFolderListing {
 public:
  explicit TFolderListing(const std::string& pattern)
      : FHandle(FindFirstFileA(pattern.c_str(), &Entry)) {}
  ~TFolderListing() {
    if (FHandle != INVALID_HANDLE_VALUE) FindClose(FHandle);
  }
  TFolderListing(const TFolderListing&) = delete;
  TFolderListing& operator=(const TFolderListing&) = delete;

  // False when the folder could not be read (missing, no access, path too long): it is passed by.
  bool Opened() const { return FHandle != INVALID_HANDLE_VALUE; }
  bool Next() { return FindNextFileA(FHandle, &Entry) != FALSE; }
  bool IsDots() const {
    const char* name = Entry.cFileName;
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
  }
  bool IsFolder() const { return (Entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

  WIN32_FIND_DATAA Entry;

 private:
  HANDLE FHandle;
};

class TSearch {
 public:
  TSearch(const std::string& masks, const TSearchProgressEvent& onSearchProgress,
          const TAcceptFileEvent& onAcceptFile, std::size_t maxCount)
      : FMasks(SearchMasks(masks)),
        FOnSearchProgress(onSearchProgress),
        FOnAcceptFile(onAcceptFile),
        FMaxCount(maxCount) {}

  void Report(long long value) {
    // The first folder's deepest subfolders end below the 1% reported at the start: the bar
    // must not step back.
    FReported = std::max(FReported, value);
    // Once aborted the search stays aborted, whatever later reports answer.
    if (FOnSearchProgress && FOnSearchProgress(SearchPercent(FReported))) FAborted = true;
  }

  bool Aborted() const { return FAborted; }

  // Each folder is listed once, for its files and its subfolders alike: a listing costs far
  // more than matching the names.
  void Walk(const std::string& folder, TProgressRange range) {
    TSubfolderRanges subfolders(range);
    TFolderListing listing(folder + "*.*");
    if (listing.Opened()) {
      do {
        if (FAborted) break;
        if (!listing.IsFolder()) {
          AddFile(folder, listing.Entry.cFileName);
          continue;
        }
        // Hidden folders are not entered, and neither are links to folders: following a
        // junction or symbolic link could lead back up the tree and walk it again and again.
        const DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((listing.Entry.dwFileAttributes & skipped) || listing.IsDots()) continue;
        const TProgressRange subfolder = subfolders.Next();
        Walk(folder + listing.Entry.cFileName + "\\", subfolder);
      } while (listing.Next());
    }
    Report(range.High);
  }

  std::vector<std::string> TakeSorted() { return FFound.TakeSorted(); }

 private:
  bool LimitReached() const { return FMaxCount != 0 && FFound.Count() >= FMaxCount; }

  void AddFile(const std::string& folder, const char* name) {
    if (LimitReached() || !MatchesAnyMask(name)) return;
    const std::string path = folder + name;
    if (FFound.Contains(path)) return;
    if (FOnAcceptFile && !FOnAcceptFile(path)) return;
    FFound.Add(path);
  }

  bool MatchesAnyMask(const char* name) const {
    return std::any_of(FMasks.begin(), FMasks.end(),
                       [name](const std::string& mask) { return MatchesMask(name, mask); });
  }

  const std::vector<std::string> FMasks;
  const TSearchProgressEvent& FOnSearchProgress;
  const TAcceptFileEvent& FOnAcceptFile;
  const std::size_t FMaxCount;
  TFoundFiles FFound;
  long long FReported = 0;
  bool FAborted = false;
};

std::vector<std::string> DriveRoots(std::uint8_t driveKind) {
  std::vector<std::string> roots;
  if (driveKind == 0) {
    char current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    if (length > 0 && length < MAX_PATH) {
      std::string root = DriveRootOf(current);
      if (!root.empty()) roots.push_back(root);
    }
    return roots;
  }
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (DriveKindSearches(driveKind, GetDriveTypeA(root.c_str()))) roots.push_back(root);
  }
  return roots;
}

// An empty floppy or CD-ROM drive among the roots must fail quietly instead of asking the user
// to insert a disk.
class TQuietDriveErrors {
 public:
  TQuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &FPrevious); }
  ~TQuietDriveErrors() { SetThreadErrorMode(FPrevious, nullptr); }
  TQuietDriveErrors(const TQuietDriveErrors&) = delete;
  TQuietDriveErrors& operator=(const TQuietDriveErrors&) = delete;

 private:
  DWORD FPrevious = 0;
};

}  // namespace

std::vector<std::string> FindFiles(const std::string& masks, std::uint8_t DriveKind,
                                   const std::string& extraFolders,
                                   const TSearchProgressEvent& OnSearchProgress,
                                   const TAcceptFileEvent& OnAcceptFile, std::size_t MaxCount) {
  const TQuietDriveErrors quiet;
  TSearch search(masks, OnSearchProgress, OnAcceptFile, MaxCount);
  std::vector<std::string> folders = DriveRoots(DriveKind);
  for (std::string& folder : SearchFolders(extraFolders)) folders.push_back(std::move(folder));
  search.Report(10000);

  for (std::size_t i = 1; i <= folders.size() && !search.Aborted(); ++i)
    search.Walk(folders[i - 1], StartFolderRange(i, folders.size()));

  search.Report(999000);
  std::vector<std::string> result = search.TakeSorted();
  search.Report(kSearchScale);
  return result;
}
