#include "platform/RunRecordStore.h"

#include <windows.h>
#include <shlobj.h>

#include "core/Exceptions.h"
#include "core/RemovalList.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"

namespace {

bool IsGone(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

[[noreturn]] void Fail(const std::string& what, DWORD code) { throw Exception(what + ": " + SystemErrorText(code)); }

std::string FolderOf(const std::string& path) {
  std::string folder = path;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const std::size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

// A folder that someone has replaced by a link since the run used it: whatever lies behind it
// is not the run's.
void RefuseLinkedFolder(const std::string& path) {
  const std::string folder = FolderOf(path);
  // A drive's root may itself be a mount point; it is not a link that anyone planted.
  if (folder.size() <= 3) return;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    throw Exception("the folder " + folder + " is a link now; nothing is changed behind it");
}

// The temporaries that writing the file left when the run was cut off.
void RemoveTemporaries(const std::string& path) {
  const std::string folder = FolderOf(path);
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(TemporaryMask(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (const std::string& name : names)
    if (!DeleteFileA((folder + name).c_str()) && !IsGone(GetLastError())) Fail(folder + name, GetLastError());
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveFile(const std::string& path) {
  if (!DeleteFileA(path.c_str()) && !IsGone(GetLastError())) Fail(path, GetLastError());
}

}  // namespace

bool LoadRunRecord(std::string& text) {
  DWORD size = 0;
  LSTATUS result = RegGetValueA(HKEY_LOCAL_MACHINE, kRunRecordKey, kRunRecordValue, RRF_RT_REG_SZ, nullptr,
                                nullptr, &size);
  if (result != ERROR_SUCCESS) return false;
  std::string buffer(size, '\0');
  result = RegGetValueA(HKEY_LOCAL_MACHINE, kRunRecordKey, kRunRecordValue, RRF_RT_REG_SZ, nullptr, buffer.data(),
                        &size);
  if (result != ERROR_SUCCESS) return false;
  buffer.resize(size > 0 ? size - 1 : 0);
  text = buffer;
  return true;
}

void SaveRunRecord(const std::string& text) {
  HKEY key = nullptr;
  LSTATUS result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunRecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) throw EInOutError(static_cast<int>(result));
  result = RegSetValueExA(key, kRunRecordValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  // Written through at once: a record that a power cut loses could not undo the run.
  if (result == ERROR_SUCCESS) result = RegFlushKey(key);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw EInOutError(static_cast<int>(result));
}

void RemoveRunRecord() {
  const LSTATUS result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRunRecordKey);
  if (result != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(result))) throw EInOutError(static_cast<int>(result));
}

void UndoRunChange(const TRunEntry& change) {
  const std::string& target = change.Target;
  switch (change.Kind) {
    case TRunEntryKind::MadeFolder: {
      RefuseLinkedFolder(target);
      // A file of the folder's name kept the run from making it, and is not the run's.
      const DWORD attributes = GetFileAttributesA(target.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) break;
      // A folder that holds something the run did not put there stays, with what it holds.
      if (!RemoveDirectoryA(target.c_str()) && !IsGone(GetLastError()) && GetLastError() != ERROR_DIR_NOT_EMPTY)
        Fail(target, GetLastError());
      break;
    }
    case TRunEntryKind::NewFile: {
      RefuseLinkedFolder(target);
      RemoveTemporaries(target);
      // A folder of the file's name kept the run from writing it, and is not the run's.
      const DWORD attributes = GetFileAttributesA(target.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) break;
      RemoveFile(target);
      break;
    }
    case TRunEntryKind::MovedAside:
      RefuseLinkedFolder(target);
      RemoveTemporaries(target);
      if (Exists(change.Other) &&
          !MoveFileExA(change.Other.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        Fail(target, GetLastError());
      break;
    case TRunEntryKind::MadeKey: {
      const LSTATUS result = RegDeleteTreeA(HKEY_LOCAL_MACHINE, target.c_str());
      if (result == ERROR_SUCCESS || IsGone(static_cast<DWORD>(result))) {
        const LSTATUS removed = RegDeleteKeyA(HKEY_LOCAL_MACHINE, target.c_str());
        if (removed != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(removed))) Fail(target, static_cast<DWORD>(removed));
      } else {
        Fail(target, static_cast<DWORD>(result));
      }
      break;
    }
    case TRunEntryKind::ReplacedValue: {
      const LSTATUS result = RegSetKeyValueA(HKEY_LOCAL_MACHINE, target.c_str(), change.Other.c_str(), REG_SZ,
                                             change.Old.c_str(), static_cast<DWORD>(change.Old.size() + 1));
      if (result != ERROR_SUCCESS) Fail(target + "\\" + change.Other, static_cast<DWORD>(result));
      break;
    }
    case TRunEntryKind::AddedValue: {
      const LSTATUS result = RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, target.c_str(), change.Other.c_str());
      if (result != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(result)))
        Fail(target + "\\" + change.Other, static_cast<DWORD>(result));
      break;
    }
    case TRunEntryKind::Kind:
    case TRunEntryKind::InstallDir:
    case TRunEntryKind::Step:
      break;
  }
}

void CommitRunChange(const TRunEntry& change) {
  if (change.Kind != TRunEntryKind::MovedAside) return;
  RefuseLinkedFolder(change.Other);
  RemoveFile(change.Other);
}

TRunPlaces ProductRunPlaces() {
  const auto folder = [](int csidl, const std::string& below) {
    const std::string path = ShellFolder(csidl);
    return path.empty() ? std::string() : path + "\\" + below;
  };
  return {folder(CSIDL_LOCAL_APPDATA, std::string(kProductName) + "\\"),
          folder(CSIDL_PROGRAMS, std::string(kProductStartMenuFolder) + "\\"),
          folder(CSIDL_DESKTOPDIRECTORY, std::string(kProductDesktopShortcut))};
}

TCutOffRun FinishCutOffRun(const std::string& runningProgram) {
  TCutOffRun cutOff;
  std::string text;
  if (!LoadRunRecord(text)) return cutOff;
  cutOff.Found = true;
  TRunRecord record;
  try {
    record = ParseRunRecord(text);
    cutOff.Kind = record.Kind();
    cutOff.Step = record.Step();
    cutOff.InstallDir = record.InstallDir();
    CheckRunRecord(record, ProductRunPlaces());
  } catch (const ERunRecordError& failure) {
    cutOff.Failures.push_back(std::string("the record of the run cannot be used: ") + failure.what());
    try {
      RemoveRunRecord();
    } catch (const Exception&) {
    }
    return cutOff;
  }
  const std::size_t changes = record.ChangesNewestFirst().size();
  const auto isRunning = [&](const std::string& path) {
    return !runningProgram.empty() && lstrcmpiA(path.c_str(), runningProgram.c_str()) == 0;
  };
  cutOff.Failures = UndoChanges(record, [&](const TRunEntry& change) {
    if (!isRunning(change.Target))
      UndoRunChange(change);
    else if (change.Kind == TRunEntryKind::MovedAside)
      CommitRunChange(change);
  });
  cutOff.Undone = changes - cutOff.Failures.size();
  try {
    cutOff.Kept = !cutOff.Failures.empty();
    if (cutOff.Kept)
      SaveRunRecord(RunRecordText(record));
    else
      RemoveRunRecord();
  } catch (const Exception& failure) {
    cutOff.Failures.push_back(std::string("the record of the run: ") + failure.what());
  }
  return cutOff;
}
