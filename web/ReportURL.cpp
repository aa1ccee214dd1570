#include "web/ReportURL.h"

#include "web/LIB_pmURL.h"

// "http://www.pelmora.example.com/p2p/report/setupfailure.php?", the site being the code for
// the maker's site.
const std::string kReportAddressPacked(
    "\x7C\xF0\xF6\x1B\x60\xF8\xAF\x6D\x78\xE8\x3E\x6B\xEB\xBD\xAC\x9E\xFC\xBB\xE2\xB0\xB6\xBB\x60\x12",
    24);

namespace {

std::string& AddressOverride() {
  static std::string address;
  return address;
}

std::string Field(char key, const std::string& value) {
  return std::string("&") + key + "=" + PercentEncode("\"" + value + "\"");
}

}  // namespace

std::string ReportAddress() {
  return AddressOverride().empty() ? DecodeURL(kReportAddressPacked) : AddressOverride();
}

void SetReportAddress(const std::string& address) { AddressOverride() = address; }

std::string PercentEncode(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(value.size() * 3);
  for (char c : value) {
    auto byte = static_cast<unsigned char>(c);
    bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                      (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                      byte == '~';
    if (unreserved) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::string ReportURL(const std::string& address, const TReportFields& fields) {
  return address + "T=Pelmora" + "&V=" + "3" + Field('A', fields.PageTitle) +
         Field('B', fields.InstallDir) + Field('C', fields.DownloadDir) +
         Field('D', fields.ClientDataDir) + Field('E', fields.AppDataDir) +
         Field('F', fields.Message);
}
