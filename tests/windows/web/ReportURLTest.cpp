#include <gtest/gtest.h>

#include <string>

#include "web/HostNames.h"
#include "web/LIB_pmURL.h"
#include "web/ReportURL.h"

namespace {

TEST(ReportAddress, IsKeptPackedIn24BytesAndUnpacksToTheMakersReportService) {
  EXPECT_EQ(kReportAddressPacked.size(), 24u);
  EXPECT_EQ(kReportAddressPacked.find("report"), std::string::npos) << "kept only packed";
  EXPECT_EQ(DecodeURL(kReportAddressPacked),
            std::string(kMakerSite) + "/p2p/report/setupfailure.php?");
  EXPECT_EQ(ReportAddress(), DecodeURL(kReportAddressPacked));

  SetReportAddress("http://127.0.0.1:8080/r?");
  EXPECT_EQ(ReportAddress(), "http://127.0.0.1:8080/r?");
  SetReportAddress("");
  EXPECT_EQ(ReportAddress(), DecodeURL(kReportAddressPacked));
}

TEST(PercentEncode, KeepsUnreservedCharactersAndEncodesEveryOtherByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"AZaz09-._~", "AZaz09-._~"},
      {"", ""},
      {"\"C:\\Program Files\\\"", "%22C%3A%5CProgram%20Files%5C%22"},
      {"a&b=c#d?e/f+g%h", "a%26b%3Dc%23d%3Fe%2Ff%2Bg%25h"},
      {"Caf\xE9 \xFF\x01", "Caf%E9%20%FF%01"},
      {std::string("nul\0x", 5), "nul%00x"},
  };
  for (const auto& [value, encoded] : cases) EXPECT_EQ(PercentEncode(value), encoded) << value;
}

TEST(ReportURL, JoinsTheKeysInOrderWithQuotedEncodedValues) {
  TReportFields fields{"Install or upgrade?", "C:\\Program Files\\P&P #1\\", "", "", "",
                      "I/O error 112"};
  EXPECT_EQ(ReportURL("http://r.example.com/x?", fields),
            "http://r.example.com/x?T=Pelmora&V=3"
            "&A=%22Install%20or%20upgrade%3F%22"
            "&B=%22C%3A%5CProgram%20Files%5CP%26P%20%231%5C%22"
            "&C=%22%22&D=%22%22&E=%22%22"
            "&F=%22I%2FO%20error%20112%22");
}

}  // namespace
