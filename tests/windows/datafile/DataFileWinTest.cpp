// The client data file written through the Windows file output and GUID source.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "core/Random.h"
#include "datafile/DataFileReader.h"
#include "datafile/LIB_Data1_ReadWrite.h"
#include "datafile/WholeFile.h"
#include "datafile/WriteDataFile.h"
#include "tests/common/FloatTextCases.h"

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
    WriteDataFile(path, {}, {});
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
    Folder = TempFolder();
  }
  const TDataFileSettings Header{.ClientDataDir = R"(C:\users\test\AppData\Local\Pelmora P2P\)",
                               .DownloadDir = R"(C:\users\test\Downloads\Pelmora\)",
                               .ReleaseCode = "01",
                               .ConnectionKind = 8};
  std::string Folder;
};

TEST_F(DataFileWinTest, WritesAFileThatReadsBackWithAPlatformGuid) {
  const std::string path = Folder + "Pelmora.Dat";
  WriteDataFile(path, Header, {});
  const TDataFileContent content = ReadDataFile(ReadAll(path));
  EXPECT_EQ(content.Header.ClientDataDir, Header.ClientDataDir);
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

// The drive that tests/driver/small-drive.sh maps to a 64 KiB file system.
constexpr char kSmallDrive[] = "K:\\";

// The files whose names on K: are not the test's own: temporary files left behind.
std::vector<std::string> FilesOnSmallDrive() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((std::string(kSmallDrive) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool HaveSmallDrive() {
  ULARGE_INTEGER total{};
  return GetDiskFreeSpaceExA(kSmallDrive, nullptr, &total, nullptr) && total.QuadPart <= 1024 * 1024;
}

// Fills the small drive up to the last free block with a file of that name.
void FillSmallDrive(const std::string& filler) {
  const HANDLE file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const std::string block(4096, 'f');
  DWORD written = 0;
  while (WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written > 0) {
  }
  CloseHandle(file);
}

// A data file that does not fit appears not at all: no half-written file of its name, an older
// one left whole, and no temporary file. The installation folder's copy is written the same way.
TEST_F(DataFileWinTest, FullDiskRaisesIOError112AndLeavesNoHalfWrittenFile) {
  if (!HaveSmallDrive()) GTEST_SKIP() << "no small disk at K: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
  for (const char* name : {"Pelmora.Dat", "PMInst.Dat"}) {
    const std::string path = std::string(kSmallDrive) + name;
    EXPECT_EQ(IOErrorOf(path), ERROR_DISK_FULL) << name;
    EXPECT_EQ(FilesOnSmallDrive(), std::vector<std::string>{}) << name;

    std::ofstream(path, std::ios::binary) << "the complete older file";
    EXPECT_EQ(IOErrorOf(path), ERROR_DISK_FULL) << name;
    EXPECT_EQ(ReadAll(path), "the complete older file") << name;
    EXPECT_EQ(FilesOnSmallDrive(), std::vector<std::string>{name});
    DeleteFileA(path.c_str());
  }
}

TEST_F(DataFileWinTest, AWholeFileReplacesTheOldOneOnlyWhenComplete) {
  const std::string path = Folder + "UnInstall.dat";
  std::ofstream(path, std::ios::binary) << "an older, longer list that must not shine through";
  WriteWholeFile(path, "Pelmora P2P\r\n");
  EXPECT_EQ(ReadAll(path), "Pelmora P2P\r\n");
  {
    TWholeFile unfinished(path);
    unfinished.Write("half", 4);
  }
  EXPECT_EQ(ReadAll(path), "Pelmora P2P\r\n") << "a file given up half-way changes nothing";
  DeleteFileA(path.c_str());
  EXPECT_TRUE(RemoveDirectoryA(Folder.c_str())) << "a temporary file is left in the folder";
}

TEST_F(DataFileWinTest, FullDiskLeavesTheRemovalListWholeOrAbsent) {
  if (!HaveSmallDrive()) GTEST_SKIP() << "no small disk at K: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
  const std::string path = std::string(kSmallDrive) + "UnInstall.dat";
  const std::string filler = std::string(kSmallDrive) + "filler.bin";
  std::ofstream(path, std::ios::binary) << "Pelmora P2P\r\n<old list>\r\n";
  FillSmallDrive(filler);
  std::string list = "Pelmora P2P\r\n";
  while (list.size() < 16 * 1024) list += "<FC:\\Program Files\\PelmoraP2P\\Pelmora.Exe>\r\n";
  try {
    WriteWholeFile(path, list);
    ADD_FAILURE() << "a list larger than the free room was written";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, ERROR_DISK_FULL);
    EXPECT_EQ(std::string(error.what()), "I/O error 112");
  }
  EXPECT_EQ(ReadAll(path), "Pelmora P2P\r\n<old list>\r\n");
  EXPECT_EQ(FilesOnSmallDrive(), (std::vector<std::string>{"UnInstall.dat", "filler.bin"}));
  DeleteFileA(filler.c_str());
  DeleteFileA(path.c_str());
}

// The digits come from the program's C library here; a C locale with a decimal comma changes
// nothing in the data file's numbers.
TEST(FloatToTextWin, GeneralFormatWith15SignificantDigitsInEveryLocale) {
  for (const char* locale : {"C", "German_Germany.1252"}) {
    ASSERT_NE(std::setlocale(LC_NUMERIC, locale), nullptr) << locale;
    char comma[8];
    std::snprintf(comma, sizeof comma, "%.1f", 2.5);
    for (const auto& c : kFloatTextCases)
      EXPECT_EQ(FloatToText(c.Value), c.Text) << "locale " << locale << " (2.5 prints as " << comma << ")";
  }
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
