#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "core/Exceptions.h"
#include "datafile/OutputFile.h"
#include "tests/native/datafile/MemoryFile.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class OutputFileTest : public testing::Test {
 protected:
  void SetUp() override {
    Folder = std::filesystem::temp_directory_path() /
             ("pelmora-output-" + std::to_string(std::random_device()()) +
              "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
  }
  void TearDown() override { std::filesystem::remove_all(Folder); }
  std::filesystem::path Folder;
};

TEST(OutputFileBuffer, HandsBytesOverInLargeBlocks) {
  TMemoryFile file;
  for (int i = 0; i < 300000; ++i) file.Write(static_cast<std::uint8_t>(i));
  file.Close();
  EXPECT_EQ(file.Blocks, 5);
  ASSERT_EQ(file.Bytes().size(), 300000u);
  EXPECT_EQ(static_cast<std::uint8_t>(file.Bytes()[299999]), static_cast<std::uint8_t>(299999));
}

TEST_F(OutputFileTest, CreatesTruncatesAndWritesEveryByte) {
  const auto path = Folder / "out.dat";
  std::ofstream(path) << std::string(1000, 'z');
  {
    const auto file = CreateOutputFile(path.string());
    for (char c : std::string("abc")) file->Write(static_cast<std::uint8_t>(c));
    file->Close();
  }
  EXPECT_EQ(ReadAll(path), "abc");
}

TEST_F(OutputFileTest, FileLeftByAFailureKeepsTheBytesWrittenBeforeIt) {
  const auto path = Folder / "partial.dat";
  {
    const auto file = CreateOutputFile(path.string());
    for (int i = 0; i < 70000; ++i) file->Write('p');
  }
  EXPECT_EQ(ReadAll(path).size(), 70000u);
}

TEST_F(OutputFileTest, CreateInAMissingFolderRaisesTheSystemCode) {
  try {
    CreateOutputFile((Folder / "missing" / "x.dat").string());
    FAIL() << "no exception";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, ENOENT);
    EXPECT_EQ(std::string(error.what()), "I/O error " + std::to_string(ENOENT));
  }
}

TEST_F(OutputFileTest, FullDeviceRaisesNoSpaceAtTheFlushNotLater) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
  const auto file = CreateOutputFile("/dev/full");
  for (int i = 0; i < 100; ++i) file->Write('x');
  try {
    file->Close();
    FAIL() << "closing reported success for bytes that never reached the file";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, ENOSPC);
    EXPECT_EQ(std::string(error.what()), "I/O error " + std::to_string(ENOSPC));
  }
}

}  // namespace
