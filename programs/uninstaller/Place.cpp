#include "programs/uninstaller/Place.h"

#include <algorithm>

#include "core/FolderName.h"
#include "platform/Links.h"
#include "programs/uninstaller/Paths.h"

TPlace::TPlace(const std::string& folder) : FFolder(WithBackslash(folder)) {
  const std::string own = WithoutSeparator(FFolder);
  const std::size_t slash = own.find_last_of('\\');
  const std::string parent = FinalPathOf(own.substr(0, slash + 1));
  if (!parent.empty()) FFinalFolder = WithBackslash(parent) + own.substr(slash + 1) + "\\";
}

bool TPlace::Holds(const std::string& path) const {
  const std::string folder = WithBackslash(path);
  return folder.size() >= FFolder.size() && SamePath(folder.substr(0, FFolder.size()), FFolder);
}

std::string TPlace::LinkOnTheWay(const std::string& path) const {
  for (std::size_t slash = path.find('\\', FFolder.size() - 1); slash != std::string::npos;
       slash = path.find('\\', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (IsListedAsLink(folder)) return folder;
  }
  return {};
}

TOutcome TPlace::Reach(const std::string& path, HANDLE& handle) const {
  handle = INVALID_HANDLE_VALUE;
  const std::string target = WithoutSeparator(path);
  if (const std::string link = LinkOnTheWay(target); !link.empty()) return {TRemoved::Link, ERROR_SUCCESS, link};
  handle = CreateFileA(target.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    return {IsGone(code) ? TRemoved::Gone : TRemoved::Failed, code, {}};
  }
  // Opened as itself, a link is what goes: whatever it points at stays.
  if (IsReparsePoint(handle)) return {};
  const std::string final = FinalPath(handle);
  if (final.empty()) {
    const DWORD code = GetLastError();
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    return {TRemoved::Failed, code, {}};
  }
  const std::string expected = FFinalFolder + target.substr(std::min(target.size(), FFolder.size()));
  if (!FFinalFolder.empty() && SamePath(WithoutSeparator(final), WithoutSeparator(expected))) return {};
  CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
  return {TRemoved::Link, ERROR_SUCCESS, target};
}

TOutcome TPlace::CheckFolder(const std::string& folder) const {
  HANDLE handle;
  TOutcome outcome = Reach(folder, handle);
  if (handle == INVALID_HANDLE_VALUE) return outcome;
  // A link opened as itself holds nothing of the product; it goes with its folder's line.
  if (IsReparsePoint(handle)) outcome.Result = TRemoved::Gone;
  CloseHandle(handle);
  return outcome;
}

TOutcome TPlace::CheckFile(const std::string& path) const {
  HANDLE handle;
  const TOutcome outcome = Reach(path, handle);
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  return outcome;
}

TOutcome TPlace::RemoveFile(const std::string& path) const {
  HANDLE handle;
  TOutcome outcome = Reach(path, handle);
  if (handle == INVALID_HANDLE_VALUE) return outcome;
  // Deleted through the handle that was checked: whatever may have changed on the way since,
  // it is the same file.
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition))
    outcome = {TRemoved::Failed, GetLastError(), {}};
  CloseHandle(handle);
  return outcome;
}

TOutcome TPlace::RemoveFolder(const std::string& folder) const { return RemoveFile(folder); }
