// The client data file written through the Windows file output and GUID source.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "app/Appl_Globals.h"
#include "app/Exceptions.h"
#include "app/Random.h"
#include "datafile/DataFileReader.h"
#include "datafile/WriteDataFile.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TempFolder() {
  char buffer[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, buffer);
  std::string folder(buffer, length);
  folder += "pelmora-datafile-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// The I/O error code that writing a data file to the path raises; 0 when it succeeds.
int IOErrorOf(const std::string& path) {
  try {
    WriteDataFile(path, {});
  } catch (const EInOutError& error) {
    EXPECT_EQ(std::string(error.what()), "I/O error " + std::to_string(error.ErrorCode));
    return error.ErrorCode;
  }
  return 0;
}

class DataFileWinTest : public testing::Test {
 protected:
  void SetUp() override {
    Randomize();
    ResetSettings();
    ReleaseCode = "01";
    ClientDataDir = R"(C:\users\test\AppData\Local\Pelmora P2P\)";
    DownloadDir = R"(C:\users\test\Downloads\Pelmora\)";
    Folder = TempFolder();
  }
  void TearDown() override { ResetSettings(); }
  std::string Folder;
};

TEST_F(DataFileWinTest, WritesAFileThatReadsBackWithAPlatformGuid) {
  const std::string path = Folder + "Pelmora.Dat";
  WriteDataFile(path, {});
  const TDataFileContent content = ReadDataFile(ReadAll(path));
  EXPECT_EQ(content.Header.ClientDataDir, ClientDataDir);
  EXPECT_EQ(content.Header.DownloadDir, R"(C:\users\test\Downloads\Pelmora\)");
  EXPECT_EQ(content.Download.DownloadDir, R"(C:\users\test\Downloads\Pelmora)");
  EXPECT_EQ(content.Header.ConnectionNumber, 77);
  EXPECT_TRUE(std::regex_match(content.Header.Guid,
                               std::regex(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\})")))
      << content.Header.Guid;
  EXPECT_EQ(content.GnuHosts.size(), 500u);
  EXPECT_EQ(content.KnownHashes.size(), 1195u);
  DeleteFileA(path.c_str());
}

TEST_F(DataFileWinTest, UnwritableTargetsRaiseTheSystemCode) {
  EXPECT_EQ(IOErrorOf(Folder + "missing\\Pelmora.Dat"), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(IOErrorOf(Folder), ERROR_ACCESS_DENIED) << "a folder cannot be written as a file";
}

// The drive that tests/windows/datafile/small-disk.sh maps to a 64 KiB file system.
constexpr char kSmallDrive[] = "K:\\";

TEST_F(DataFileWinTest, FullDiskRaisesIOError112AndKeepsWhatWasWritten) {
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExA(kSmallDrive, nullptr, &total, nullptr) ||
      total.QuadPart > 1024 * 1024)
    GTEST_SKIP() << "no small disk at K: (mounting a tmpfs needs root; see small-disk.sh)";
  const std::string path = std::string(kSmallDrive) + "Pelmora.Dat";
  EXPECT_EQ(IOErrorOf(path), ERROR_DISK_FULL);
  const std::string kept = ReadAll(path);
  EXPECT_GT(kept.size(), 0u);
  EXPECT_EQ(kept.substr(0, 2), "\x1F\x54");
  DeleteFileA(path.c_str());
}

}  // namespace
