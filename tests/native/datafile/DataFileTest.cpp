#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "core/Random.h"
#include "datafile/DataFileReader.h"
#include "datafile/DateTime.h"
#include "datafile/GB_PELMORA_DAT.h"
#include "datafile/WriteDataFile.h"
#include "tools/DataFileText.h"
#include "tests/native/datafile/MemoryFile.h"
#include "web/HostNames.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Two data files of one installation, written as the installation run writes them.
class DataFileTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Randomize();
    Folder = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                       ("pelmora-datafile-" + std::to_string(std::random_device()())));
    std::filesystem::create_directories(*Folder);
    TDataFileSettings header{.ClientDataDir = R"(C:\Users\Ann\AppData\Local\Pelmora P2P\)",
                           .DownloadDir = R"(D:\Downloads\)",
                           .ReleaseCode = "01",
                           .ConnectionKind = 3};
    Progress = new std::vector<int>;
    const double before = Now();
    WriteDataFile((*Folder / "Pelmora.Dat").string(), header, [](int percent) { Progress->push_back(percent); });
    // As the installation run settles its setting after the first file.
    header.DownloadDir = ClientDownloadDir(header.DownloadDir);
    DownloadDirAfterFirst = new std::string(header.DownloadDir);
    WriteDataFile((*Folder / "PMInst.Dat").string(), header, {});
    DayBefore = static_cast<int>(before - 100);
    DayAfter = static_cast<int>(Now() - 100);
    FirstBytes = new std::string(ReadAll(*Folder / "Pelmora.Dat"));
    SecondBytes = new std::string(ReadAll(*Folder / "PMInst.Dat"));
    First = new TDataFileContent(ReadDataFile(*FirstBytes));
    Second = new TDataFileContent(ReadDataFile(*SecondBytes));
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(*Folder);
    delete Folder;
    delete Progress;
    delete DownloadDirAfterFirst;
    delete FirstBytes;
    delete SecondBytes;
    delete First;
    delete Second;
  }

  static inline std::filesystem::path* Folder;
  static inline std::vector<int>* Progress;
  static inline std::string* DownloadDirAfterFirst;
  static inline int DayBefore, DayAfter;
  static inline std::string *FirstBytes, *SecondBytes;
  static inline TDataFileContent *First, *Second;
};

TEST_F(DataFileTest, BeginsWithEscapedZeroAndTheKeyLength) {
  for (const std::string* bytes : {FirstBytes, SecondBytes}) {
    ASSERT_GT(bytes->size(), 6u);
    EXPECT_EQ(bytes->substr(0, 2), "\x1F\x54");
    const int low = static_cast<std::uint8_t>((*bytes)[2]);
    EXPECT_GE(low, 111);
    EXPECT_LE(low, 209);
    EXPECT_EQ(bytes->substr(3, 2), "\x1F\x57");
  }
  EXPECT_EQ(First->KeyText.size(), static_cast<std::uint8_t>((*FirstBytes)[2]) + 3u * 256);
}

TEST_F(DataFileTest, HeaderHoldsEveryField) {
  const TDataFileHeader& h = First->Header;
  EXPECT_EQ(h.ClientDataDir, R"(C:\Users\Ann\AppData\Local\Pelmora P2P\)");
  EXPECT_EQ(h.Field3, 3);
  EXPECT_EQ(h.Field4, 3);
  EXPECT_EQ(h.ReleaseCode, "01");
  EXPECT_EQ(h.Field6, 100);
  EXPECT_TRUE(std::regex_match(
      h.Guid, std::regex(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})")));
  EXPECT_FALSE(h.Field8);
  EXPECT_EQ(h.Field9, 0);
  EXPECT_EQ(h.Field10, 0);
  EXPECT_FALSE(h.Field11);
  EXPECT_EQ(h.Field12, 120);
  EXPECT_TRUE(h.Field13);
  EXPECT_EQ(h.MakerInstallerUrl, std::string(kMakerSite) + "/Install_Pelmora.exe");
  EXPECT_EQ(h.MirrorInstallerUrl, std::string(kMirrorSite) + "/Install_Pelmora.exe");
  EXPECT_GE(h.DayNumber, DayBefore);
  EXPECT_LE(h.DayNumber, DayAfter);
  EXPECT_EQ(h.ConnectionNumber, 80);
  EXPECT_NE(First->Header.Guid, Second->Header.Guid);
  EXPECT_EQ(*Progress, (std::vector<int>{94, 95, 96, 98, 99}));
}

TEST_F(DataFileTest, TrailingBackslashLeavesTheDownloadFolderAfterTheFirstHeader) {
  EXPECT_EQ(First->Header.DownloadDir, R"(D:\Downloads\)");
  EXPECT_EQ(First->Download.DownloadDir, R"(D:\Downloads)");
  EXPECT_EQ(*DownloadDirAfterFirst, R"(D:\Downloads)");
  EXPECT_EQ(Second->Header.DownloadDir, R"(D:\Downloads)");
  EXPECT_EQ(Second->Download.DownloadDir, R"(D:\Downloads)");
  EXPECT_EQ(First->Download.Count, 1);
  EXPECT_TRUE(First->Download.Flag1);
  EXPECT_TRUE(First->Download.Flag2);
}

TEST(ConnectionNumber, FollowsTheConnectionKind) {
  const int expected[] = {6, 10, 45, 80, 90, 90, 90, 90, 77};
  for (int kind = 0; kind <= 8; ++kind) EXPECT_EQ(ConnectionNumber(kind), expected[kind]) << kind;
  EXPECT_EQ(ConnectionNumber(-1), 77);
  EXPECT_EQ(ConnectionNumber(9), 77);
}

TEST_F(DataFileTest, HostListsHoldTheirRecords) {
  ASSERT_EQ(First->GnuHosts.size(), 500u);
  ASSERT_EQ(First->PeppHosts.size(), 500u);
  const std::regex dateTime(R"(\d{5}\.\d{1,10})");
  for (const TGnuHostRecord& host : First->GnuHosts) {
    EXPECT_TRUE(std::regex_match(host.Date1, dateTime)) << host.Date1;
    EXPECT_TRUE(std::regex_match(host.Date3, dateTime)) << host.Date3;
    EXPECT_EQ(host.Integer, 0);
    for (const std::string& value : host.Floats) EXPECT_EQ(value, "0");
    EXPECT_EQ(host.Cardinals[0], 0u);
    EXPECT_EQ(host.Cardinals[1], 0u);
    EXPECT_EQ(host.ByteField, 0);
    EXPECT_EQ(host.Date4, "0");
    EXPECT_NEAR(std::stod(host.Date2), Now() - 1, 0.01);
  }
  std::set<std::string> gnu, pepp;
  for (const auto& host : First->GnuHosts) gnu.insert(AddressToText(host.Address));
  for (const auto& host : First->PeppHosts) {
    EXPECT_TRUE(std::regex_match(host.Date, dateTime)) << host.Date;
    pepp.insert(AddressToText(host.Address));
  }
  EXPECT_EQ(gnu.size(), 500u);
  EXPECT_EQ(pepp.size(), 500u);
}

// "198.018.001.002:6346" to "198.18.1.2:6346", the form of AddressToText.
std::string Unpadded(const std::string& value) {
  std::smatch m;
  if (!std::regex_match(value, m, std::regex(R"((\d{3})\.(\d{3})\.(\d{3})\.(\d{3}):(\d+))")))
    return "malformed " + value;
  std::string out;
  for (int i = 1; i <= 4; ++i) out += std::to_string(std::stoi(m[i])) + (i < 4 ? "." : "");
  return out + ":" + m[5].str();
}

TEST_F(DataFileTest, SettingsHoldTheNamedPairsThenPeersAndBlocks) {
  const auto& settings = First->Settings;
  ASSERT_EQ(settings.size(), 2118u);
  const std::string maker = kMakerSite, mirror = kMirrorSite, counter = kCounterSite;
  const std::vector<std::pair<std::string, std::string>> named = {
      {"VerLatestVersion", "4.38"},
      {"VerLatestExpired", "4.21"},
      {"RemSetPath1", mirror + "/REMSET/"},
      {"PathDownloadLocation2", mirror + "/Install_Pelmora.exe"},
      {"CntInstallPath", counter + "/TEL/INSTALL/CNTINST"},
      {"CntSuspendedTill", "01/01/1900"},
      {"CntUsePath", counter + "/TEL/GEBRUIK/CNTUSE"},
      {"CntUseTreshold", "120"},
      {"PathDownloadLocation1", maker + "/Install_Pelmora.exe"},
      {"RemSetDelay", "10"},
      {"RemSetFile", "pelmora.rms"},
      {"RemSetInterval", "7200"},
      {"RemSetPath2", maker + "/REMSET/"},
      {"RemSetPath3", ""},
      {"RemSetRetryInterval", "15"},
      {"RemSetSuspendedTill", "01/01/1900"},
  };
  EXPECT_EQ(std::vector(settings.begin(), settings.begin() + 16), named);

  // Runs of keys in their order, with the values of each run.
  std::vector<std::pair<std::string, std::vector<std::string>>> runs;
  for (auto it = settings.begin() + 16; it != settings.end(); ++it) {
    if (runs.empty() || runs.back().first != it->first) runs.push_back({it->first, {}});
    runs.back().second.push_back(it->second);
  }
  ASSERT_EQ(runs.size(), 6u);
  const std::vector<std::pair<std::string, std::size_t>> shape = {
      {"PPNodePepp", 1770}, {"PNodeIP", 1},     {"PNodeGnu", 50},
      {"PPNodeCurPepp", 11}, {"PNodePepp", 20}, {"PBlockedNode", 250}};
  for (std::size_t i = 0; i < shape.size(); ++i) {
    EXPECT_EQ(runs[i].first, shape[i].first);
    EXPECT_EQ(runs[i].second.size(), shape[i].second) << shape[i].first;
  }

  std::set<std::string> gnu, pepp;
  for (const auto& host : First->GnuHosts) gnu.insert(AddressToText(host.Address));
  for (const auto& host : First->PeppHosts) pepp.insert(AddressToText(host.Address));
  const auto port6346 = [](const std::string& v) { return v.ends_with(":6346"); };
  for (std::size_t i = 0; i < 5; ++i)
    for (const std::string& value : runs[i].second)
      EXPECT_EQ(Unpadded(value).rfind("malformed", 0), std::string::npos) << runs[i].first;

  const auto& ppNodePepp = runs[0].second;
  EXPECT_EQ(std::set(ppNodePepp.begin(), ppNodePepp.end()).size(), 1462u);
  EXPECT_EQ(std::count_if(ppNodePepp.begin(), ppNodePepp.end(), port6346), 1761);
  for (const std::string& value : runs[2].second) EXPECT_TRUE(gnu.count(Unpadded(value))) << value;
  for (const std::string& value : runs[3].second) {
    EXPECT_TRUE(pepp.count(Unpadded(value))) << value;
    EXPECT_TRUE(port6346(value)) << value;
  }
  EXPECT_TRUE(std::all_of(runs[4].second.begin(), runs[4].second.end(), port6346));
  EXPECT_EQ(std::count_if(runs[4].second.begin(), runs[4].second.end(),
                          [&](const std::string& v) { return pepp.count(Unpadded(v)) > 0; }),
            7);
  const std::regex blocked(R"((\d{3}\d{3})000\d{6}255\d{3})");
  for (const std::string& value : runs[5].second)
    EXPECT_TRUE(std::regex_match(value, blocked)) << value;
}

TEST_F(DataFileTest, RemSetBlockIsPackedAndUnpacksToItsTexts) {
  const TRemSetBlock& r = First->RemSet;
  EXPECT_EQ(r.Texts[0], std::string(kMakerSite) + "/REMSET/");
  EXPECT_EQ(r.Texts[1], std::string(kMakerSite) + "/REMSET/");
  EXPECT_EQ(r.Texts[2], "");
  EXPECT_EQ(r.Texts[3], "pelmora.rms");
  EXPECT_EQ(r.Delay, 10);
  EXPECT_EQ(r.Interval, 7200);
  EXPECT_EQ(r.RetryInterval, 15);
  EXPECT_EQ(r.Date1, "0");
  EXPECT_EQ(r.Date2, "0");
  EXPECT_EQ(r.Last, 10);
  // Packed, the address text does not appear in the file as it stands.
  EXPECT_EQ(FirstBytes->find("REMSET"), std::string::npos);
}

TEST_F(DataFileTest, HashListHoldsItsRecordsWithOneHashTwice) {
  const auto& hashes = First->KnownHashes;
  ASSERT_EQ(hashes.size(), 1195u);
  EXPECT_EQ(hashes[0].Hash, "P53HONQTHF4LIWKWQZTD5RESX7DWPJUU");
  EXPECT_EQ(hashes[0].Size, 3545425u);
  std::map<std::string, std::set<std::uint32_t>> sizes;
  std::uint32_t smallest = UINT32_MAX, largest = 0;
  std::string largestHash;
  const std::regex base32("[A-Z2-7]{32}");
  for (const TKnownHashRecord& hash : hashes) {
    EXPECT_TRUE(std::regex_match(hash.Hash, base32)) << hash.Hash;
    sizes[hash.Hash].insert(hash.Size);
    smallest = std::min(smallest, hash.Size);
    if (hash.Size > largest) largest = hash.Size, largestHash = hash.Hash;
  }
  EXPECT_EQ(sizes.size(), 1194u);
  const auto twice = std::find_if(sizes.begin(), sizes.end(), [](const auto& e) { return e.second.size() == 2; });
  EXPECT_NE(twice, sizes.end()) << "one hash must stand twice with two sizes";
  EXPECT_EQ(smallest, 22u);
  EXPECT_EQ(largest, 918393628u);
  EXPECT_EQ(largestHash, "3QXSJDP6DG54FRXR2T2WYMMDDMUL7KNL");
}

// Everything apart from what each file generates anew: GUID, dates and times.
TDataFileContent WithoutGenerated(TDataFileContent content) {
  content.KeyText.clear();
  content.Header.Guid.clear();
  content.Header.DayNumber = 0;
  content.Header.DownloadDir.clear();
  for (auto& host : content.GnuHosts) host.Date1 = host.Date2 = host.Date3 = "";
  for (auto& host : content.PeppHosts) host.Date = "";
  return content;
}

TEST_F(DataFileTest, TwoFilesDifferInBytesButNotInContent) {
  EXPECT_NE(*FirstBytes, *SecondBytes);
  EXPECT_NE(First->KeyText, Second->KeyText);
  EXPECT_EQ(DataFileToJson(WithoutGenerated(*First)), DataFileToJson(WithoutGenerated(*Second)));
}

TEST(WriteDataFileFailure, FullDiskRaisesTheIOErrorAndReleasesTheWriter) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  try {
    WriteDataFile("/dev/full", {R"(C:\Data\)", R"(E:\Down\)", "01", 8}, {});
    FAIL() << "a full disk was reported as success";
  } catch (const EInOutError& error) {
    EXPECT_EQ(std::string(error.what()), "I/O error " + std::to_string(ENOSPC));
  }
  EXPECT_EQ(DataWriter, nullptr) << "the section writers must not keep a freed writer";
}

TEST(WriteDataFileFailure, MissingFolderRaisesTheIOError) {
  EXPECT_THROW(WriteDataFile("/nonexistent-pelmora-folder/Pelmora.Dat", {}, {}), EInOutError);
}

TEST(SectionWriters, RefuseToRunWithoutAWriter) {
  TMemoryFile file;
  EXPECT_THROW(WriteKnownHash(file, "P53HONQTHF4LIWKWQZTD5RESX7DWPJUU", 1), Exception);
}

}  // namespace
