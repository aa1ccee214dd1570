#include "core/SilentOptions.h"

#include <array>
#include <optional>

#include "core/FolderName.h"
#include "core/Text.h"

namespace {

struct TConnectionName {
  const char* Keyword;
  const char* Caption;  // the connection page's item, without its "&"
};

const std::array<TConnectionName, 9> kConnectionNames{{
    {"modem", "Dial-up Modem < 56KBS"},
    {"modem56", "Dial-up Modem 56K"},
    {"isdn", "ISDN"},
    {"dsl", "ADSL / DSL"},
    {"cable", "Cable"},
    {"t1", "T1"},
    {"t2", "T2"},
    {"adsl2", "ADSL 2"},
    {"unknown", "I don't know"},
}};

}  // namespace

int ConnectionKindNamed(const std::string& name) {
  const std::string wanted = LowerCase(Trim(name));
  for (std::size_t kind = 0; kind < kConnectionNames.size(); ++kind) {
    if (wanted == kConnectionNames[kind].Keyword || wanted == LowerCase(kConnectionNames[kind].Caption) ||
        wanted == std::to_string(kind))
      return static_cast<int>(kind);
  }
  return -1;
}

std::string ConnectionKindKeyword(int kind) {
  return kind >= 0 && kind < 8 ? kConnectionNames[static_cast<std::size_t>(kind)].Keyword : "unknown";
}

TSilentOptions ParseSilentOptions(const std::vector<std::string>& parameters) {
  TSilentOptions options;
  std::optional<std::string> dir, downloadDir, connection, log;
  bool noDesktop = false;
  auto refuse = [&options](TSilentRefusal refusal, const std::string& text) {
    if (options.Refusal != TSilentRefusal::None && options.Refusal <= refusal) return;
    options.Refusal = refusal;
    options.Refused = text;
  };

  for (const std::string& parameter : parameters) {
    const std::size_t equals = parameter.find('=');
    const std::string name = LowerCase(parameter.substr(0, equals));
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? parameter.substr(equals + 1) : "";
    auto take = [&](std::optional<std::string>& slot) {
      if (!hasValue || slot) return refuse(TSilentRefusal::BadSwitch, parameter);
      slot = value;
    };
    auto flag = [&](bool& slot) {
      if (hasValue || slot) return refuse(TSilentRefusal::BadSwitch, parameter);
      slot = true;
    };
    if (name == "/quiet")
      flag(options.Quiet);
    else if (name == "/nodesktop")
      flag(noDesktop);
    else if (name == "/dir")
      take(dir);
    else if (name == "/downloaddir")
      take(downloadDir);
    else if (name == "/connection")
      take(connection);
    else if (name == "/log")
      take(log);
    else
      refuse(TSilentRefusal::BadSwitch, parameter);
  }

  options.DesktopShortcut = !noDesktop;
  if (log) {
    if (Trim(*log).empty())
      refuse(TSilentRefusal::BadSwitch, "/log=" + *log);
    else
      options.LogFile = Trim(*log);
  }
  if (dir) {
    if (auto folder = AcceptedFolder(*dir, kMaxInstallDirLength))
      options.InstallDir = *folder;
    else
      refuse(TSilentRefusal::InvalidInstallDir, *dir);
  }
  if (downloadDir) {
    if (auto folder = AcceptedFolder(*downloadDir, kMaxDownloadDirLength))
      options.DownloadDir = *folder;
    else
      refuse(TSilentRefusal::InvalidDownloadDir, *downloadDir);
  }
  if (connection) {
    const int kind = ConnectionKindNamed(*connection);
    if (kind >= 0)
      options.ConnectionKind = kind;
    else
      refuse(TSilentRefusal::UnknownConnection, *connection);
  }
  return options;
}
