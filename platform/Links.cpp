#include "platform/Links.h"

std::string FinalPath(HANDLE handle) {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleA(handle, path.data(), static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(length + 1);
  }
  // The system gives the path in its "\\?\" form.
  if (path.rfind("\\\\?\\UNC\\", 0) == 0)
    path.erase(2, 6);
  else if (path.rfind("\\\\?\\", 0) == 0)
    path.erase(0, 4);
  return path;
}

std::string FinalPathOf(const std::string& path) {
  const HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::string result = FinalPath(handle);
  CloseHandle(handle);
  if (!result.empty() && result.back() == '\\') result.pop_back();
  return result;
}

bool SamePath(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool IsReparsePoint(HANDLE handle) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag))
    return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  BY_HANDLE_FILE_INFORMATION information{};
  return GetFileInformationByHandle(handle, &information) &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsListedAsLink(const std::string& path) {
  std::string name = path;
  while (name.size() > 3 && name.back() == '\\') name.pop_back();
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
