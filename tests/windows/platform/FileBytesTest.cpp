// ReadFileBytes under Wine: whole files byte for byte, and nothing where a file cannot be read.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/FileBytes.h"

namespace {

class FileBytesTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "pelmora-filebytes-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(Folder.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& file : Files) DeleteFileA(file.c_str());
    RemoveDirectoryA(Folder.c_str());
  }
  std::string Make(const std::string& name, const std::string& bytes) {
    const std::string path = Folder + name;
    std::ofstream(path, std::ios::binary) << bytes;
    Files.push_back(path);
    return path;
  }
  std::string Folder;
  std::vector<std::string> Files;
};

TEST_F(FileBytesTest, ReadsEveryByteOfAFile) {
  std::string large;
  for (int i = 0; i < 200 * 1024 + 17; ++i) large += static_cast<char>((i * 7919) >> 3);
  const struct {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"empty", ""},
      {"control bytes", std::string("a\0b\r\n\x1a\xff", 7)},
      {"several read blocks and a rest", large},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> read = ReadFileBytes(Make(c.Name, c.Bytes));
    ASSERT_TRUE(read.has_value()) << c.Name;
    EXPECT_EQ(read->size(), c.Bytes.size()) << c.Name;
    EXPECT_TRUE(*read == c.Bytes) << c.Name;
  }
}

TEST_F(FileBytesTest, ReadsAFileAnotherProgramWritesWithSharing) {
  const std::string path = Make("log", "first line\r\n");
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFileBytes(path), std::optional<std::string>("first line\r\n"));
  CloseHandle(writer);
}

TEST_F(FileBytesTest, GivesNothingForWhatCannotBeRead) {
  const std::string held = Make("held", "taken");
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const struct {
    const char* What;
    std::string Path;
  } cases[] = {
      {"a missing file", Folder + "missing"},
      {"a folder", Folder},
      {"a folder named without its backslash", Folder.substr(0, Folder.size() - 1)},
      {"a file held without sharing", held},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadFileBytes(c.Path), std::nullopt) << c.What;
  CloseHandle(holder);
}

}  // namespace
