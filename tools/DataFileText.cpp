#include "tools/DataFileText.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

class TPrinter {
 public:
  explicit TPrinter(bool json) : Json(json) {}

  std::string Quote(const std::string& text) const {
    std::string out = "\"";
    for (const char c : text) {
      const auto byte = static_cast<std::uint8_t>(c);
      char escaped[8];
      if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
      } else if (byte >= 32 && byte < 127) {
        out += c;
      } else {
        std::snprintf(escaped, sizeof escaped, Json ? "\\u%04x" : "\\x%02x", byte);
        out += escaped;
      }
    }
    return out + '"';
  }

  // One "name: value" line in the text, one "name": value member in JSON.
  void Field(const std::string& name, const std::string& value) {
    Separate();
    if (Json)
      Out += Quote(name) + ": " + value;
    else
      Out += Indent() + name + ": " + value + '\n';
  }
  void Open(const std::string& name, bool list) {
    Separate();
    if (Json)
      Out += (name.empty() || InList() ? "" : Quote(name) + ": ") + (list ? "[" : "{");
    else if (!name.empty())
      Out += Indent() + name + ":\n";
    Stack.push_back(list);
    First = true;
  }
  void Close() {
    const bool list = Stack.back();
    Stack.pop_back();
    if (Json) Out += list ? "]" : "}";
    First = false;
  }
  std::string Text(const std::string& text) const { return Quote(text); }
  std::string Bool(bool value) const { return value ? "true" : "false"; }
  std::string Number(long long value) const { return std::to_string(value); }
  std::string Finish() { return Json ? Out + '\n' : Out; }

 private:
  void Separate() {
    if (Json && !First) Out += ", ";
    First = false;
  }
  bool InList() const { return !Stack.empty() && Stack.back(); }
  std::string Indent() const { return std::string(2 * Stack.size(), ' '); }

  bool Json;
  bool First = true;
  std::vector<bool> Stack;
  std::string Out;
};

std::string Render(const TDataFileContent& content, bool json) {
  TPrinter p(json);
  p.Open("", false);
  p.Field("keyTextLength", p.Number(static_cast<long long>(content.KeyText.size())));
  const TDataFileHeader& h = content.Header;
  p.Open("header", false);
  p.Field("clientDataDir", p.Text(h.ClientDataDir));
  p.Field("downloadDir", p.Text(h.DownloadDir));
  p.Field("field3", p.Number(h.Field3));
  p.Field("field4", p.Number(h.Field4));
  p.Field("releaseCode", p.Text(h.ReleaseCode));
  p.Field("field6", p.Number(h.Field6));
  p.Field("guid", p.Text(h.Guid));
  p.Field("field8", p.Bool(h.Field8));
  p.Field("field9", p.Number(h.Field9));
  p.Field("field10", p.Number(h.Field10));
  p.Field("field11", p.Bool(h.Field11));
  p.Field("field12", p.Number(h.Field12));
  p.Field("field13", p.Bool(h.Field13));
  p.Field("installerUrl", p.Text(h.MakerInstallerUrl));
  p.Field("mirrorInstallerUrl", p.Text(h.MirrorInstallerUrl));
  p.Field("dayNumber", p.Number(h.DayNumber));
  p.Field("connectionNumber", p.Number(h.ConnectionNumber));
  p.Close();
  p.Open("downloadFolder", false);
  p.Field("count", p.Number(content.Download.Count));
  p.Field("dir", p.Text(content.Download.DownloadDir));
  p.Field("flag1", p.Bool(content.Download.Flag1));
  p.Field("flag2", p.Bool(content.Download.Flag2));
  p.Close();
  p.Open("gnuHosts", true);
  for (const TGnuHostRecord& host : content.GnuHosts) {
    p.Open("host", false);
    p.Field("address", p.Text(AddressToText(host.Address)));
    p.Field("date1", host.Date1);
    p.Field("date2", host.Date2);
    p.Field("integer", p.Number(host.Integer));
    p.Field("date3", host.Date3);
    for (int i = 0; i < 3; ++i) p.Field("number" + std::to_string(i + 1), host.Floats[i]);
    for (int i = 0; i < 2; ++i) p.Field("counter" + std::to_string(i + 1), p.Number(host.Cardinals[i]));
    p.Field("byteField", p.Number(host.ByteField));
    p.Field("date4", host.Date4);
    p.Close();
  }
  p.Close();
  p.Open("peppHosts", true);
  for (const TPeppHostRecord& host : content.PeppHosts) {
    p.Open("host", false);
    p.Field("address", p.Text(AddressToText(host.Address)));
    p.Field("date", host.Date);
    p.Close();
  }
  p.Close();
  p.Open("remSet", false);
  for (int i = 0; i < 4; ++i) p.Field("text" + std::to_string(i + 1), p.Text(content.RemSet.Texts[i]));
  p.Field("delay", p.Number(content.RemSet.Delay));
  p.Field("interval", p.Number(content.RemSet.Interval));
  p.Field("retryInterval", p.Number(content.RemSet.RetryInterval));
  p.Field("date1", content.RemSet.Date1);
  p.Field("date2", content.RemSet.Date2);
  p.Field("last", p.Number(content.RemSet.Last));
  p.Close();
  p.Open("settings", true);
  for (const auto& [key, value] : content.Settings) {
    p.Open("setting", false);
    p.Field("key", p.Text(key));
    p.Field("value", p.Text(value));
    p.Close();
  }
  p.Close();
  p.Open("knownHashes", true);
  for (const TKnownHashRecord& hash : content.KnownHashes) {
    p.Open("hash", false);
    p.Field("hash", p.Text(hash.Hash));
    p.Field("size", p.Number(hash.Size));
    p.Close();
  }
  p.Close();
  p.Close();
  return p.Finish();
}

}  // namespace

std::string DataFileToText(const TDataFileContent& content) { return Render(content, false); }
std::string DataFileToJson(const TDataFileContent& content) { return Render(content, true); }
