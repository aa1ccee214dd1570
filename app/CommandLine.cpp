#include "app/CommandLine.h"

#include "app/Text.h"

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

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

AutoUpdateRequest ParseAutoUpdate(const std::vector<std::string>& parameters) {
  static const std::string kSwitch = "/autoupdate ";

  std::string joined;
  for (const std::string& parameter : parameters) joined += parameter + ' ';
  joined = Trim(joined);

  AutoUpdateRequest request;
  if (LowerCase(joined).compare(0, kSwitch.size(), kSwitch) != 0) return request;

  std::string folder = Trim(joined.substr(kSwitch.size()));
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  request.AutoUpdate = true;
  request.InstallDir = folder;
  return request;
}
