#pragma once
// The failure report: the address of the maker's report service and the query that carries
// one failure to it.

#include <string>

// The report address as the program keeps it: packed with EncodeURL, 24 bytes. Its first code
// stands for the maker's site, so the address follows the site of the build.
extern const std::string kReportAddressPacked;

// The text in front of the query: kReportAddressPacked unpacked, or the address that tests
// set for their own report server.
std::string ReportAddress();
// Points every later report at another service; an empty address restores the packed one.
// Only tests call it: the wizard is steered by nothing but its command line.
void SetReportAddress(const std::string& address);

// RFC 3986 percent-encoding: the unreserved characters stay, every other byte becomes "%XX".
std::string PercentEncode(const std::string& value);

struct TReportFields {
  std::string PageTitle;      // A
  std::string InstallDir;     // B
  std::string DownloadDir;    // C
  std::string ClientDataDir;  // D
  std::string AppDataDir;     // E
  std::string Message;        // F
};

// address + "T=Pelmora&V=3" and the fields A to F, each value in double quotes and encoded,
// so that a blank, "&", "#" or a non-ASCII letter in a folder cannot cut or corrupt the query.
std::string ReportURL(const std::string& address, const TReportFields& fields);
