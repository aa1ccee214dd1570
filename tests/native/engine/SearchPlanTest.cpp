#include "engine/SearchPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(SearchPlanTest, MasksAreTrimmedEmptyOnesLeftOutAndStarMeansEveryFile) {
  struct Case {
    std::string masks;
    Strings expected;
  };
  const Case cases[] = {
      {"", {"*.*"}},
      {" ; ;\t", {"*.*"}},
      {"pelmora.exe", {"pelmora.exe"}},
      {"*", {"*.*"}},
      {" a.exe ; ;*; b*.dll ;", {"a.exe", "*.*", "b*.dll"}},
      {";;*.TXT;", {"*.TXT"}},
      {"**;* ", {"**", "*.*"}},
      {"my file.txt", {"my file.txt"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SearchMasks(c.masks), c.expected) << "masks \"" << c.masks << "\"";
}

TEST(SearchPlanTest, FoldersAreTrimmedEmptyOnesLeftOutAndEndWithABackslash) {
  struct Case {
    std::string folders;
    Strings expected;
  };
  const Case cases[] = {
      {"", {}},
      {" ; ;", {}},
      {"D:\\Apps", {"D:\\Apps\\"}},
      {" C:\\a b ; ; D:\\c\\ ;", {"C:\\a b\\", "D:\\c\\"}},
      {"E:;E:\\", {"E:\\", "E:\\"}},
      {"\\\\server\\share", {"\\\\server\\share\\"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SearchFolders(c.folders), c.expected) << "folders \"" << c.folders << "\"";
}

TEST(SearchPlanTest, DriveRootOfAPath) {
  struct Case {
    std::string path, root;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Pelmora", "C:\\"},
      {"d:\\", "d:\\"},
      {"X:", "X:\\"},
      {"\\\\server\\share\\folder\\sub", "\\\\server\\share\\"},
      {"\\\\server\\share", "\\\\server\\share\\"},
      {"\\\\server", ""},
      {"\\\\server\\\\folder", ""},
      {"\\\\?\\C:\\folder", ""},
      {"folder\\sub", ""},
      {"1:\\folder", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DriveRootOf(c.path), c.root) << "path \"" << c.path << "\"";
}

TEST(SearchPlanTest, DriveKindsSelectDriveTypes) {
  // Columns: GetDriveType 0 unknown, 1 no root, 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk.
  struct Case {
    int kind;
    bool searched[7];
  };
  const Case cases[] = {
      {0, {false, false, false, false, false, false, false}},
      {1, {false, false, false, true, false, false, false}},
      {2, {false, false, true, true, false, false, true}},
      {3, {false, false, true, true, true, true, true}},
      {4, {false, false, false, false, false, false, false}},
      {255, {false, false, false, false, false, false, false}},
  };
  for (const Case& c : cases)
    for (unsigned type = 0; type < 7; ++type)
      EXPECT_EQ(DriveKindSearches(static_cast<std::uint8_t>(c.kind), type), c.searched[type])
          << "drive kind " << c.kind << ", drive type " << type;
}

TEST(SearchPlanTest, StartFoldersShareTheRangeRoundedTiesToEven) {
  struct Case {
    std::size_t i, n;
    TProgressRange expected;
  };
  const Case cases[] = {
      {1, 1, {1000, 998000}},
      {1, 2, {1000, 499000}},
      {2, 2, {500000, 998000}},
      {1, 3, {1000, 332667}},
      {2, 3, {333667, 665333}},
      {3, 3, {666333, 998000}},
      // 998000 / 32 = 31187.5: x1 rounds up to the even 31188, x3 (93562.5) down to the even 93562.
      {1, 32, {1000, 31188}},
      {4, 32, {94562, 124750}},
      {32, 32, {967812, 998000}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StartFolderRange(c.i, c.n), c.expected) << "folder " << c.i << " of " << c.n;
}

TEST(SearchPlanTest, StartFolderRangesFollowEachOtherUpTo998000) {
  for (std::size_t n = 1; n <= 60; ++n) {
    long long previousHigh = 0;
    for (std::size_t i = 1; i <= n; ++i) {
      const TProgressRange range = StartFolderRange(i, n);
      EXPECT_EQ(range.Low, previousHigh + 1000) << "folder " << i << " of " << n;
      EXPECT_LE(range.Low, range.High) << "folder " << i << " of " << n;
      previousHigh = range.High;
    }
    EXPECT_EQ(previousHigh, 998000) << n << " folders";
  }
}

TEST(SearchPlanTest, EachSubfolderTakesAnEighthOfWhatRemains) {
  struct Case {
    TProgressRange folder;
    std::vector<TProgressRange> expected;
  };
  const Case cases[] = {
      {{1000, 499000}, {{1000, 63250}, {63250, 117718}, {117718, 165378}}},
      {{500000, 998000}, {{500000, 562250}, {562250, 616718}}},
      {{0, 8}, {{0, 1}, {1, 1}, {1, 1}}},
      {{40, 47}, {{40, 40}, {40, 40}}},
      {{70, 70}, {{70, 70}}},
  };
  for (const Case& c : cases) {
    TSubfolderRanges ranges(c.folder);
    for (std::size_t k = 0; k < c.expected.size(); ++k)
      EXPECT_EQ(ranges.Next(), c.expected[k]) << "subfolder " << k + 1 << " of " << c.folder.Low << ".." << c.folder.High;
  }
}

TEST(SearchPlanTest, SubfolderRangesNeverOverrunTheFolder) {
  TSubfolderRanges ranges({1000, 499000});
  long long position = 1000;
  for (int k = 0; k < 5000; ++k) {
    const TProgressRange range = ranges.Next();
    ASSERT_EQ(range.Low, position) << "subfolder " << k + 1;
    ASSERT_GE(range.High, range.Low) << "subfolder " << k + 1;
    ASSERT_LE(range.High, 499000) << "subfolder " << k + 1;
    position = range.High;
  }
  // Deep in a long list the eighths have shrunk to nothing, close below the folder's end.
  EXPECT_GT(position, 498990);
}

TEST(SearchPlanTest, PercentIsTheValueDivTenThousand) {
  const std::pair<long long, int> cases[] = {
      {0, 0}, {9999, 0}, {10000, 1}, {499000, 49}, {500000, 50}, {998000, 99}, {999000, 99}, {1000000, 100}};
  for (const auto& [value, percent] : cases) EXPECT_EQ(SearchPercent(value), percent) << value;
}

TEST(SearchPlanTest, FoundFilesAreListedOnceRegardlessOfCaseAndSortedKeepingTheirCase) {
  TFoundFiles found;
  EXPECT_TRUE(found.Add("D:\\Apps\\Pelmora.exe"));
  EXPECT_TRUE(found.Add("c:\\Zeta\\pelmora.exe"));
  EXPECT_TRUE(found.Add("C:\\alpha\\PELMORA.EXE"));
  EXPECT_FALSE(found.Add("d:\\apps\\PELMORA.EXE"));
  EXPECT_TRUE(found.Contains("C:\\ALPHA\\pelmora.exe"));
  EXPECT_FALSE(found.Contains("C:\\alpha\\pelmora.ex"));
  EXPECT_EQ(found.Count(), 3u);

  const Strings expected = {"C:\\alpha\\PELMORA.EXE", "c:\\Zeta\\pelmora.exe", "D:\\Apps\\Pelmora.exe"};
  EXPECT_EQ(found.TakeSorted(), expected);
  EXPECT_EQ(found.Count(), 0u);
  EXPECT_FALSE(found.Contains("D:\\Apps\\Pelmora.exe"));
}

}  // namespace
