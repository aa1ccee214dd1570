#include "core/CommandLine.h"

#include <algorithm>
#include <cctype>

#include "core/FolderName.h"
#include "core/Text.h"

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A full folder path ending with "\" into which the runs' files fit within the system's path
// limit: anything else cannot be the client's folder, and the wizard runs interactively.
bool IsUsableFolder(const std::string& folder) {
  if (folder.size() > kMaxInstallDirLength) return false;
  if (!std::isalpha(static_cast<unsigned char>(folder[0]))) return false;
  if (std::any_of(folder.begin(), folder.end(),
                  [](char c) { return static_cast<unsigned char>(c) < ' ' || c == '|'; }))
    return false;
  return IsValidFolderName(folder);
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> parameters;
  size_t i = 0;
  while (true) {
    while (i < commandLine.size() && IsSeparator(commandLine[i])) ++i;
    if (i >= commandLine.size()) break;
    std::string parameter;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || !IsSeparator(commandLine[i])); ++i) {
      if (commandLine[i] == '"')
        quoted = !quoted;
      else
        parameter += commandLine[i];
    }
    parameters.push_back(parameter);
  }
  return parameters;
}

TAutoUpdateRequest ParseAutoUpdate(const std::vector<std::string>& parameters) {
  static const std::string kSwitch = "/autoupdate ";

  std::string joined;
  for (const std::string& parameter : parameters) joined += parameter + ' ';
  joined = Trim(joined);

  TAutoUpdateRequest request;
  if (LowerCase(joined).compare(0, kSwitch.size(), kSwitch) != 0) return request;

  const std::string folder = WithBackslash(Trim(joined.substr(kSwitch.size())));
  if (!IsUsableFolder(folder)) return request;
  request.AutoUpdate = true;
  request.InstallDir = folder;
  return request;
}

TProgramCommand ParseProgramCommand(const std::string& commandLine) {
  std::vector<std::string> parameters = SplitCommandLine(commandLine);
  if (!parameters.empty()) parameters.erase(parameters.begin());
  TProgramCommand command;
  command.AutoUpdate = ParseAutoUpdate(parameters);
  if (!command.AutoUpdate.AutoUpdate) command.Switches = ParseSilentOptions(parameters);
  return command;
}
