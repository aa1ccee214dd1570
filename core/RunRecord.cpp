#include "core/RunRecord.h"

#include <algorithm>
#include <cctype>

#include "core/RemovalList.h"
#include "core/Text.h"

namespace {

[[noreturn]] void Fail(int line, const std::string& problem) {
  throw ERunRecordError("run record, line " + std::to_string(line) + ": " + problem);
}

bool NeedsEscape(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == '%' || c == '|' || c == '<' || c == '>';
}

std::string Escaped(std::string_view field) {
  std::string text;
  for (const char c : field) {
    if (NeedsEscape(c))
      text += '%' + HexByte(static_cast<unsigned char>(c));
    else
      text += c;
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescaped(int line, std::string_view field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      text += field[i];
      continue;
    }
    const int high = i + 2 < field.size() ? HexDigit(field[i + 1]) : -1;
    const int low = i + 2 < field.size() ? HexDigit(field[i + 2]) : -1;
    if (high < 0 || low < 0) Fail(line, "\"%\" without two hexadecimal digits");
    text += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return text;
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = text.find('|', start);
    fields.push_back(text.substr(start, bar - start));
    if (bar == std::string_view::npos) return fields;
    start = bar + 1;
  }
}

// How many fields each kind has.
int FieldCount(TRunEntryKind kind) {
  switch (kind) {
    case TRunEntryKind::MovedAside:
    case TRunEntryKind::AddedValue: return 2;
    case TRunEntryKind::ReplacedValue: return 3;
    default: return 1;
  }
}

bool IsChange(TRunEntryKind kind) {
  return kind != TRunEntryKind::Kind && kind != TRunEntryKind::InstallDir && kind != TRunEntryKind::Step;
}

bool SameText(std::string_view a, std::string_view b) { return LowerCase(std::string(a)) == LowerCase(std::string(b)); }

bool StartsWith(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && SameText(text.substr(0, start.size()), start);
}

std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

// A full path such as "C:\Folder\File" that steps through no "." or "..".
bool IsPlainFullPath(std::string_view path) {
  if (path.size() < 4 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' || path[2] != '\\')
    return false;
  if (path.find_first_of("*?\"/<>|", 0) != std::string_view::npos) return false;
  if (path.substr(2).find(':') != std::string_view::npos) return false;
  // Steps between backslashes: none empty but after a final backslash, none "." or "..".
  std::size_t start = 3;
  while (start < path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string_view step = path.substr(start, end - start);
    if (step.empty() || step == "." || step == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

std::string TRunRecord::Kind() const {
  for (const TRunEntry& entry : Entries)
    if (entry.Kind == TRunEntryKind::Kind) return entry.Target;
  return {};
}

std::string TRunRecord::InstallDir() const {
  for (const TRunEntry& entry : Entries)
    if (entry.Kind == TRunEntryKind::InstallDir) return entry.Target;
  return {};
}

std::string TRunRecord::Step() const {
  for (const TRunEntry& entry : Entries)
    if (entry.Kind == TRunEntryKind::Step) return entry.Target;
  return {};
}

void TRunRecord::Set(TRunEntryKind kind, const std::string& value) {
  for (TRunEntry& entry : Entries)
    if (entry.Kind == kind) {
      entry.Target = value;
      return;
    }
  Entries.push_back({kind, value, {}, {}});
}

std::vector<TRunEntry> TRunRecord::ChangesNewestFirst() const {
  std::vector<TRunEntry> changes;
  for (auto entry = Entries.rbegin(); entry != Entries.rend(); ++entry)
    if (IsChange(entry->Kind)) changes.push_back(*entry);
  return changes;
}

std::string RunRecordText(const TRunRecord& record) {
  std::string text = std::string(kRunRecordTitle) + "\r\n";
  for (const TRunEntry& entry : record.Entries) {
    text += '<';
    text += static_cast<char>(entry.Kind);
    text += Escaped(entry.Target);
    const int fields = FieldCount(entry.Kind);
    if (fields >= 2) text.append(1, '|').append(Escaped(entry.Other));
    if (fields >= 3) text.append(1, '|').append(Escaped(entry.Old));
    text += ">\r\n";
  }
  return text;
}

TRunRecord ParseRunRecord(std::string_view text) {
  TRunRecord record;
  const int lines = ForEachLine(text, [&record](std::string_view line, int lineNumber) {
    if (lineNumber == 1) {
      if (line != kRunRecordTitle) Fail(1, "not a run record of " + std::string(kProductName));
      return;
    }
    if (line.size() < 3 || line.front() != '<' || line.back() != '>') Fail(lineNumber, "an entry is \"<\" kind fields \">\"");
    const char letter = line[1];
    if (std::string_view("AISMNORVW").find(letter) == std::string_view::npos)
      Fail(lineNumber, std::string("unknown kind \"") + letter + "\"");
    const auto kind = static_cast<TRunEntryKind>(letter);
    const std::vector<std::string_view> fields = Fields(line.substr(2, line.size() - 3));
    if (static_cast<int>(fields.size()) != FieldCount(kind)) Fail(lineNumber, "wrong number of fields");
    TRunEntry entry{kind, Unescaped(lineNumber, fields[0]), {}, {}};
    if (fields.size() >= 2) entry.Other = Unescaped(lineNumber, fields[1]);
    if (fields.size() >= 3) entry.Old = Unescaped(lineNumber, fields[2]);
    if (entry.Target.empty()) Fail(lineNumber, "an empty entry");
    record.Entries.push_back(std::move(entry));
  });
  if (lines == 0) throw ERunRecordError("the run record is empty");
  return record;
}

void CheckRunRecord(const TRunRecord& record, const TRunPlaces& places) {
  const std::string installDir = record.InstallDir();
  const auto inside = [](std::string_view path, std::string_view folder) {
    return !folder.empty() && path.size() > folder.size() && StartsWith(path, folder) &&
           path.find('\\', folder.size()) == std::string_view::npos;
  };
  const auto isProductFile = [&](std::string_view path) {
    return inside(path, installDir) || inside(path, places.UserDataDir) || inside(path, places.StartMenuDir) ||
           (!places.DesktopShortcut.empty() && SameText(path, places.DesktopShortcut));
  };
  const auto isProductFolder = [&](std::string_view folder) {
    // The folders on the installation folder's path are made by the run when they are missing.
    return (!installDir.empty() && StartsWith(installDir, folder) && folder.size() > 3) ||
           (!places.UserDataDir.empty() && SameText(folder, places.UserDataDir)) ||
           (!places.StartMenuDir.empty() && SameText(folder, places.StartMenuDir));
  };
  if (!installDir.empty() && (!IsPlainFullPath(installDir) || installDir.back() != '\\'))
    throw ERunRecordError("the run record's installation folder " + installDir + " is not a full folder path");
  for (const TRunEntry& entry : record.Entries) {
    const std::string& target = entry.Target;
    switch (entry.Kind) {
      case TRunEntryKind::Kind:
        if (target != "installation" && target != "upgrade") throw ERunRecordError("unknown run \"" + target + "\"");
        break;
      case TRunEntryKind::InstallDir:
      case TRunEntryKind::Step:
        break;
      case TRunEntryKind::MadeFolder:
        if (!IsPlainFullPath(target) || target.back() != '\\' || !isProductFolder(target))
          throw ERunRecordError(target + " is not a folder of " + std::string(kProductName));
        break;
      case TRunEntryKind::NewFile:
        if (!IsPlainFullPath(target) || !isProductFile(target))
          throw ERunRecordError(target + " is not a file of " + std::string(kProductName));
        break;
      case TRunEntryKind::MovedAside:
        if (!IsPlainFullPath(target) || !isProductFile(target) || !IsPlainFullPath(entry.Other) ||
            !SameText(FolderOf(target), FolderOf(entry.Other)))
          throw ERunRecordError(target + " is not a file of " + std::string(kProductName) + " kept beside it");
        break;
      case TRunEntryKind::MadeKey:
      case TRunEntryKind::ReplacedValue:
      case TRunEntryKind::AddedValue:
        if (!SameText(target, kProductUninstallKey))
          throw ERunRecordError(target + " is not the uninstall entry of " + std::string(kProductName));
        break;
    }
  }
}

std::vector<std::string> UndoChanges(TRunRecord& record, const std::function<void(const TRunEntry&)>& undo) {
  std::vector<std::string> failures;
  std::vector<TRunEntry> kept;
  for (auto entry = record.Entries.rbegin(); entry != record.Entries.rend(); ++entry) {
    if (!IsChange(entry->Kind)) {
      kept.push_back(*entry);
      continue;
    }
    try {
      undo(*entry);
    } catch (const Exception& failure) {
      failures.push_back(entry->Target + ": " + failure.what());
      kept.push_back(*entry);
    }
  }
  record.Entries.assign(kept.rbegin(), kept.rend());
  return failures;
}

namespace {

std::string BesideWith(const std::string& path, const std::string& middle, const char* extension) {
  const std::size_t slash = path.find_last_of("\\:");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, nameStart) + "~" + path.substr(nameStart) + "." + middle + extension;
}

}  // namespace

std::string TemporaryName(const std::string& path, const std::string& unique) { return BesideWith(path, unique, ".tmp"); }

std::string KeptName(const std::string& path, const std::string& unique) { return BesideWith(path, unique, ".old"); }

std::string TemporaryMask(const std::string& path) { return BesideWith(path, "*", ".tmp"); }
