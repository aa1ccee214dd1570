#include "core/FolderName.h"

#include <algorithm>

#include "core/Text.h"

std::string WithBackslash(std::string_view folder) {
  std::string result(folder);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

bool IsValidFolderName(const std::string& text) {
  if (Trim(text) != text) return false;
  if (text.size() < 3) return false;
  if (text[1] != ':' || text[2] != '\\') return false;
  if (text.find("\\\\") != std::string::npos) return false;
  static const std::string kForbidden = "\"*/:<>?";
  return std::none_of(text.begin() + 2, text.end(),
                      [](char c) { return kForbidden.find(c) != std::string::npos; });
}

std::optional<std::string> AcceptedFolder(const std::string& value, std::size_t maxLength) {
  std::string folder = Trim(value);
  if (!IsValidFolderName(folder) || folder.size() < 4) return std::nullopt;
  folder = WithBackslash(folder);
  if (folder.size() > maxLength) return std::nullopt;
  return folder;
}

std::string ParentFolder(const std::string& path) {
  std::string file = path;
  if (!file.empty() && file.back() == '\\') file.pop_back();
  file += ".txt";
  size_t slash = file.find_last_of("\\:");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string InstallFolderForSelection(const std::string& selected) {
  if (std::count(selected.begin(), selected.end(), '\\') < 2) return WithBackslash(selected) + "Pelmora P2P";
  return selected;
}

std::string DownloadFolderForSelection(const std::string& selected) {
  return selected.size() < 4 ? selected + "Downloads" : selected;
}

std::string ProposeDownloadFolder(const std::string& installDir,
                                  const std::function<bool(char driveLetter)>& hasFixedDownloads) {
  std::string folder = installDir.substr(0, 3);
  for (char letter : {'E', 'D', 'C'})
    if (hasFixedDownloads(letter)) folder = std::string(1, letter) + ":\\Downloads";
  if (folder.size() == 3) folder += "Downloads";
  return folder;
}
