#include "programs/uninstaller/RemovalList.h"

#include <algorithm>
#include <cctype>

namespace {

[[noreturn]] void Fail(int line, const std::string& problem) {
  throw ERemovalListError("UnInstall.dat, line " + std::to_string(line) + ": " + problem);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

// Characters that no file or key name may hold; "/" is refused too, since Windows would take
// it as a separator and so open a way around the "." and ".." check.
bool HasForbiddenCharacter(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>\"|/").find(c) != std::string_view::npos)
      return true;
  return false;
}

// The steps between backslashes: none empty, none "." or "..", no ":" (drive or stream).
void CheckSteps(int line, std::string_view steps, bool trailingSeparatorAllowed) {
  std::size_t start = 0;
  while (start <= steps.size()) {
    const std::size_t end = std::min(steps.find('\\', start), steps.size());
    const std::string_view step = steps.substr(start, end - start);
    const bool last = end == steps.size();
    if (step.empty()) {
      if (!(last && trailingSeparatorAllowed && start > 0)) Fail(line, "empty folder name in the path");
    } else if (step == "." || step == ".." ) {
      Fail(line, "the path must not step through \".\" or \"..\"");
    } else if (step.find(':') != std::string_view::npos) {
      Fail(line, "\":\" inside the path");
    }
    start = end + 1;
  }
}

void CheckAbsolutePath(int line, std::string_view path, bool trailingSeparatorAllowed) {
  if (HasForbiddenCharacter(path)) Fail(line, "the path holds a character that no file name may hold");
  if (path.size() < 4 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' ||
      path[2] != '\\')
    Fail(line, "the path must be a full path such as C:\\Folder\\File");
  CheckSteps(line, path.substr(3), trailingSeparatorAllowed);
}

void CheckPlainName(int line, std::string_view name) {
  if (HasForbiddenCharacter(name) || name.find_first_of("\\:*?") != std::string_view::npos ||
      name == "." || name == "..")
    Fail(line, "a name without folder, drive or wildcard is required");
}

void CheckEntry(const TRemovalEntry& entry) {
  const std::string_view argument = entry.Argument;
  switch (entry.Kind) {
    case TRemovalKind::MatchingFiles: {
      const std::size_t slash = argument.find_last_of('\\');
      if (slash == std::string_view::npos || slash + 1 == argument.size())
        Fail(entry.Line, "a folder followed by a file mask is required");
      CheckAbsolutePath(entry.Line, argument.substr(0, slash + 1), true);
      if (HasWildcard(argument.substr(0, slash))) Fail(entry.Line, "wildcards are allowed in the file mask only");
      const std::string_view mask = argument.substr(slash + 1);
      if (mask == "." || mask == "..") Fail(entry.Line, "the path must not step through \".\" or \"..\"");
      if (HasForbiddenCharacter(mask) || mask.find(':') != std::string_view::npos)
        Fail(entry.Line, "the file mask holds a character that no file name may hold");
      break;
    }
    case TRemovalKind::File:
      CheckAbsolutePath(entry.Line, argument, false);
      if (HasWildcard(argument)) Fail(entry.Line, "a single file cannot have wildcards");
      break;
    case TRemovalKind::EmptyFolder:
      CheckAbsolutePath(entry.Line, argument, true);
      if (HasWildcard(argument)) Fail(entry.Line, "a folder cannot have wildcards");
      break;
    case TRemovalKind::RegistryKey:
      if (HasForbiddenCharacter(argument) || HasWildcard(argument) ||
          argument.size() <= kUninstallKeyPrefix.size() ||
          !EqualsIgnoringCase(argument.substr(0, kUninstallKeyPrefix.size()), kUninstallKeyPrefix))
        Fail(entry.Line, "only an uninstall entry (" + std::string(kUninstallKeyPrefix) +
                             "...) can be removed from the registry");
      CheckSteps(entry.Line, argument, true);
      break;
    case TRemovalKind::StartMenuFolder:
    case TRemovalKind::DesktopShortcut:
      CheckPlainName(entry.Line, argument);
      break;
  }
}

}  // namespace

TRemovalList ParseRemovalList(std::string_view text) {
  TRemovalList list;
  int lineNumber = 0;
  bool haveProduct = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;

    if (!haveProduct) {
      if (line.front() == '<') Fail(lineNumber, "the first line must be the product name");
      list.Product = line;
      haveProduct = true;
      continue;
    }
    if (line.front() != '<') Fail(lineNumber, "a line must start with \"<\"");
    if (line.back() != '>') Fail(lineNumber, "the line lacks its closing \">\"");
    if (line.size() < 4) Fail(lineNumber, "a kind letter and its argument are required");
    const char kind = line[1];
    if (std::string_view("PFERST").find(kind) == std::string_view::npos)
      Fail(lineNumber, std::string("unknown kind \"") + kind + "\"");
    TRemovalEntry entry{static_cast<TRemovalKind>(kind), std::string(line.substr(2, line.size() - 3)),
                        lineNumber};
    CheckEntry(entry);
    list.Entries.push_back(std::move(entry));
  }
  if (!haveProduct) throw ERemovalListError("UnInstall.dat is empty");
  return list;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative match with one backtrack point for the last "*".
  std::size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() &&
               (mask[m] == '?' || std::tolower(static_cast<unsigned char>(mask[m])) ==
                                      std::tolower(static_cast<unsigned char>(name[n])))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}
