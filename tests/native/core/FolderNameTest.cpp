#include "core/FolderName.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(FolderNameTest, WithBackslashAddsOnlyAMissingFinalBackslash) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Games", "C:\\Games\\"},
      {"C:\\Games\\", "C:\\Games\\"},
      {"C:", "C:\\"},           // a drive gets its root
      {"C:\\", "C:\\"},         // a root stays as it is
      {"\\\\server\\share", "\\\\server\\share\\"},
      {"C:\\Games\\\\", "C:\\Games\\\\"},  // only a missing one is added, none taken away
      {"C:\\Games ", "C:\\Games \\"},  // no trimming
      {"Pelmora P2P", "Pelmora P2P\\"},
      {"\\", "\\"},
      {"", "\\"},  // the root of the current drive
  };
  for (auto [folder, expected] : cases) EXPECT_EQ(WithBackslash(folder), expected) << "\"" << folder << "\"";
}

TEST(FolderNameTest, AcceptsOnlyFullFolderPaths) {
  const std::pair<const char*, bool> cases[] = {
      {"C:\\Program Files\\Pelmora P2P", true},
      {"C:\\Program Files\\Pelmora P2P\\", true},
      {"D:\\", true},  // valid as a name; the pages refuse it as too short
      {"z:\\a b\\c.d", true},
      {"1:\\digits drive", true},  // the drive letter itself is not tested
      {"C:\\Ünïcödé", true},
      {"C:", false},
      {"C", false},
      {"", false},
      {" C:\\Games", false},
      {"C:\\Games ", false},
      {"\\\\server\\share", false},
      {"C:\\Games\\\\Old", false},
      {"C:\\Games\\", true},
      {"C:Games", false},
      {"C/\\Games", false},
      {"C:\\What?", false},
      {"C:\\a:b", false},
      {"C:\\a*b", false},
      {"C:\\a/b", false},
      {"C:\\a<b", false},
      {"C:\\a>b", false},
      {"C:\\\"quoted\"", false},
      {"C:\\tab\there", true},  // only blanks around the text count, and the listed characters
  };
  for (auto [text, valid] : cases) EXPECT_EQ(IsValidFolderName(text), valid) << "\"" << text << "\"";
}

TEST(FolderNameTest, ParentTreatsTheLastComponentAsAFile) {
  EXPECT_EQ(ParentFolder("C:\\Games"), "C:\\");
  EXPECT_EQ(ParentFolder("C:\\Program Files\\Pelmora P2P\\"), "C:\\Program Files\\");
  EXPECT_EQ(ParentFolder("C:\\Program Files\\Pelmora P2P"), "C:\\Program Files\\");
  EXPECT_EQ(ParentFolder("nowhere"), "");
}

TEST(FolderNameTest, TreeSelectionBecomesTheProposedFolder) {
  EXPECT_EQ(InstallFolderForSelection("C:\\Program Files"), "C:\\Program Files\\Pelmora P2P");
  EXPECT_EQ(InstallFolderForSelection("C:\\"), "C:\\Pelmora P2P");
  EXPECT_EQ(InstallFolderForSelection("C:\\Program Files\\Tools"), "C:\\Program Files\\Tools");
  EXPECT_EQ(DownloadFolderForSelection("D:\\"), "D:\\Downloads");
  EXPECT_EQ(DownloadFolderForSelection("D:\\Media"), "D:\\Media");
}

TEST(FolderNameTest, DownloadProposalPrefersCThenDThenE) {
  auto on = [](std::set<char> letters) {
    return [letters](char letter) { return letters.count(letter) > 0; };
  };
  EXPECT_EQ(ProposeDownloadFolder("C:\\Program Files\\Pelmora P2P\\", on({'D', 'E'})), "D:\\Downloads");
  EXPECT_EQ(ProposeDownloadFolder("C:\\Program Files\\Pelmora P2P\\", on({'C', 'D', 'E'})), "C:\\Downloads");
  EXPECT_EQ(ProposeDownloadFolder("F:\\Apps\\Pelmora P2P\\", on({})), "F:\\Downloads");
  EXPECT_EQ(ProposeDownloadFolder("F:\\Apps\\Pelmora P2P\\", on({'E'})), "E:\\Downloads");
}

}  // namespace
