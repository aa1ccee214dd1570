#include "engine/LIB_FindFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

std::string Unique() {
  return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE listing = FindFirstFileA((folder + "*").c_str(), &entry);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path + "\\");
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
  }
  RemoveDirectoryA(folder.c_str());
}

// A folder of this test below a parent folder, removed with all it holds at the end.
class Scratch {
 public:
  explicit Scratch(const std::string& parent) : FRoot(parent + "pm-ff-" + Unique() + "\\") {
    if (!CreateDirectoryA(FRoot.c_str(), nullptr)) throw std::runtime_error("cannot make " + FRoot);
  }
  ~Scratch() { RemoveTree(FRoot); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  // The folder, ending with "\".
  const std::string& Root() const { return FRoot; }
  std::string operator[](const std::string& relative) const { return FRoot + relative; }

  // Makes the folder and its missing parents; relative paths use "\".
  void Folder(const std::string& relative, DWORD attributes = 0) {
    std::size_t end = 0;
    while ((end = relative.find('\\', end + 1)) != std::string::npos)
      CreateDirectoryA((FRoot + relative.substr(0, end)).c_str(), nullptr);
    const std::string path = FRoot + relative;
    if (!CreateDirectoryA(path.c_str(), nullptr)) throw std::runtime_error("cannot make " + path);
    if (attributes) SetFileAttributesA(path.c_str(), attributes);
  }

  void File(const std::string& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::size_t slash = relative.rfind('\\');
    if (slash != std::string::npos && GetFileAttributesA((FRoot + relative.substr(0, slash)).c_str()) ==
                                          INVALID_FILE_ATTRIBUTES)
      Folder(relative.substr(0, slash));
    const std::string path = FRoot + relative;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot make " + path);
    CloseHandle(file);
  }

 private:
  std::string FRoot;
};

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

// What the search reported and offered, and the answers it got.
struct Events {
  std::vector<int> Percents;
  Strings Offered;
  // Report numbers (from 1) that answer "abort".
  std::set<std::size_t> AbortOn;
  // Paths containing this are refused.
  std::string Refuse = "\x01";
  // A runaway search is stopped here, so that the test fails instead of hanging.
  std::size_t MaxReports = 100000;

  TSearchProgressEvent Progress() {
    return [this](int percent) {
      Percents.push_back(percent);
      return AbortOn.contains(Percents.size()) || Percents.size() >= MaxReports;
    };
  }
  TAcceptFileEvent Accept() {
    return [this](const std::string& path) {
      Offered.push_back(path);
      return path.find(Refuse) == std::string::npos;
    };
  }
};

// The bar only moves forward, from 1 at the start to 100 at the end.
void ExpectSteadyProgress(const std::vector<int>& percents) {
  ASSERT_GE(percents.size(), 3u);
  EXPECT_EQ(percents.front(), 1);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << ::testing::PrintToString(percents);
  EXPECT_EQ(percents[percents.size() - 2], 99);
  EXPECT_EQ(percents.back(), 100);
}

Strings Prefixed(const std::string& root, const Strings& relative) {
  Strings paths;
  for (const std::string& path : relative) paths.push_back(root + path);
  return paths;
}

TEST(FindFilesTest, ProgressFollowsTheRangesOfTheStartFoldersAndTheirSubfolders) {
  struct Case {
    const char* what;
    Strings folders;
    std::string extra;
    std::vector<int> percents;
  };
  const Case cases[] = {
      {"no folder to search", {}, "", {1, 99, 100}},
      // Two start folders split the range: the first ends at 499000, the second starts at
      // 500000 and gives its three subfolders an eighth of what remains each.
      {"two folders", {"a", "b\\s1", "b\\s2", "b\\s3"}, "a;b", {1, 49, 56, 61, 66, 99, 99, 100}},
      {"three folders", {"a", "b", "c"}, " a ; ; b ;c;", {1, 33, 66, 99, 99, 100}},
      // The deepest folder's range ends at 2947, below the 1% of the start: the bar stays at 1.
      {"a deep chain", {"c\\d\\e\\f"}, "c", {1, 1, 1, 12, 99, 99, 100}},
  };
  for (const Case& c : cases) {
    Scratch scratch(TempFolder());
    for (const std::string& folder : c.folders) scratch.Folder(folder);
    std::string extra;
    for (std::size_t start = 0; start <= c.extra.size();) {
      std::size_t end = std::min(c.extra.find(';', start), c.extra.size());
      std::string item = c.extra.substr(start, end - start);
      const bool blank = item.find_first_not_of(' ') == std::string::npos;
      extra += (blank ? item : " " + scratch.Root() + item.substr(item.find_first_not_of(' '))) + ";";
      start = end + 1;
    }
    Events events;
    const Strings found = FindFiles("*", 4, extra, events.Progress(), events.Accept(), 0);
    EXPECT_EQ(events.Percents, c.percents) << c.what;
    EXPECT_TRUE(found.empty()) << c.what;
  }
}

TEST(FindFilesTest, HiddenFoldersAreNotEnteredButHiddenFilesAreFound) {
  Scratch scratch(TempFolder());
  scratch.File("visible\\pelmora.exe", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  scratch.Folder("secret", FILE_ATTRIBUTE_HIDDEN);
  scratch.File("secret\\pelmora.exe");
  scratch.File("secret\\deeper\\pelmora.exe");
  scratch.Folder("system", FILE_ATTRIBUTE_SYSTEM);
  scratch.File("system\\PELMORA.EXE");
  // A folder whose name matches is no file; what it holds is.
  scratch.File("pelmora.exe\\pelmora.exe");

  Events events;
  const Strings found = FindFiles("pelmora.exe", 4, scratch.Root(), events.Progress(), events.Accept(), 0);
  EXPECT_EQ(found, Prefixed(scratch.Root(), {"pelmora.exe\\pelmora.exe", "system\\PELMORA.EXE",
                                             "visible\\pelmora.exe"}));
  EXPECT_EQ(events.Offered.size(), 3u);
  ExpectSteadyProgress(events.Percents);
}

TEST(FindFilesTest, MasksAreTrimmedEmptyOnesSkippedAndStarMeansEveryFile) {
  Scratch scratch(TempFolder());
  for (const char* file : {"a.txt", "b.TXT", "c.dat", "noext", "sub\\d.txt"}) scratch.File(file);
  scratch.Folder("folder.txt");
  const Strings all = {"a.txt", "b.TXT", "c.dat", "noext", "sub\\d.txt"};
  struct Case {
    std::string masks;
    Strings found;
  };
  const Case cases[] = {
      {"*.txt", {"a.txt", "b.TXT", "sub\\d.txt"}},
      {" *.TXT ; ; ", {"a.txt", "b.TXT", "sub\\d.txt"}},
      {"*", all},
      {"", all},
      {" ; ;", all},
      {"c.dat;*.dat; C.DAT", {"c.dat"}},
      {"*.dat;noext", {"c.dat", "noext"}},
      {"*.none", {}},
  };
  for (const Case& c : cases) {
    Events events;
    const Strings found = FindFiles(c.masks, 4, scratch.Root(), events.Progress(), events.Accept(), 0);
    EXPECT_EQ(found, Prefixed(scratch.Root(), c.found)) << "masks \"" << c.masks << "\"";
    EXPECT_EQ(events.Offered.size(), c.found.size()) << "masks \"" << c.masks << "\"";
  }
}

TEST(FindFilesTest, TheSameFileReachedTwiceIsListedOnceAsFirstReached) {
  Scratch scratch(TempFolder());
  scratch.File("top.exe");
  scratch.File("Sub\\Pelmora.exe");
  std::string upper = scratch.Root();
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  const std::string extra = scratch.Root() + ";" + upper + "SUB ; " + scratch["sub\\"];

  Events events;
  const Strings found = FindFiles("*.exe", 4, extra, events.Progress(), events.Accept(), 0);
  EXPECT_EQ(found, Prefixed(scratch.Root(), {"Sub\\Pelmora.exe", "top.exe"}));
  // A path already listed is not even offered again.
  EXPECT_EQ(events.Offered.size(), 2u);
  ExpectSteadyProgress(events.Percents);
}

TEST(FindFilesTest, AFolderThatCannotBeListedIsPassedBy) {
  Scratch scratch(TempFolder());
  scratch.File("file.bin");
  const std::string extra = scratch["missing"] + ";" + scratch["file.bin"] + ";" + scratch.Root();

  Events events;
  const Strings found = FindFiles("*", 4, extra, events.Progress(), events.Accept(), 0);
  EXPECT_EQ(found, Strings{scratch["file.bin"]});
  EXPECT_EQ(events.Percents, (std::vector<int>{1, 33, 66, 99, 99, 100}));
}

TEST(FindFilesTest, TheAcceptanceEventDecidesWhichFilesAreKept) {
  Scratch scratch(TempFolder());
  for (const char* file : {"keep.bin", "refuse.bin", "sub\\keep.bin", "sub\\refuse.bin"}) scratch.File(file);

  Events events;
  events.Refuse = "refuse";
  const Strings found = FindFiles("*.bin", 4, scratch.Root(), events.Progress(), events.Accept(), 0);
  EXPECT_EQ(found, Prefixed(scratch.Root(), {"keep.bin", "sub\\keep.bin"}));
  Strings offered = events.Offered;
  std::sort(offered.begin(), offered.end());
  EXPECT_EQ(offered, Prefixed(scratch.Root(), {"keep.bin", "refuse.bin", "sub\\keep.bin", "sub\\refuse.bin"}));

  const Strings withoutEvents = FindFiles("*.bin", 4, scratch.Root(), {}, {}, 0);
  EXPECT_EQ(withoutEvents.size(), 4u);
}

TEST(FindFilesTest, MaxCountStopsTheListingOnceTheResultHoldsThatMany) {
  Scratch scratch(TempFolder());
  for (const char* file : {"1.bin", "2.bin", "3.bin", "sub\\4.bin", "sub\\5.bin"}) scratch.File(file);
  const Strings all = Prefixed(scratch.Root(), {"1.bin", "2.bin", "3.bin", "sub\\4.bin", "sub\\5.bin"});
  const std::pair<std::size_t, std::size_t> cases[] = {{0, 5}, {1, 1}, {2, 2}, {4, 4}, {5, 5}, {9, 5}};
  for (const auto& [maxCount, count] : cases) {
    Events events;
    const Strings found = FindFiles("*.bin", 4, scratch.Root(), events.Progress(), events.Accept(), maxCount);
    EXPECT_EQ(found.size(), count) << "MaxCount " << maxCount;
    for (const std::string& path : found)
      EXPECT_NE(std::find(all.begin(), all.end(), path), all.end()) << path << ", MaxCount " << maxCount;
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end())) << "MaxCount " << maxCount;
    EXPECT_EQ(events.Offered.size(), count) << "MaxCount " << maxCount;
    ExpectSteadyProgress(events.Percents);
  }
}

TEST(FindFilesTest, TheProgressEventAbortsTheSearch) {
  Scratch scratch(TempFolder());
  for (const char* file : {"a\\s1\\x.bin", "a\\s2\\x.bin", "a\\s3\\x.bin", "b\\y.bin"}) scratch.File(file);
  const std::string extra = scratch["a"] + ";" + scratch["b"];
  struct Case {
    const char* what;
    std::set<std::size_t> abortOn;
    std::size_t found;
    std::vector<int> percents;
  };
  const Case cases[] = {
      {"at the start", {1}, 0, {1, 99, 100}},
      // The first subfolder of a is walked; its end is the second report.
      {"after the first subfolder", {2, 3, 4, 5}, 1, {1, 6, 49, 99, 100}},
      // An abort holds even when later reports do not ask for it again.
      {"once, after the first subfolder", {2}, 1, {1, 6, 49, 99, 100}},
      {"never", {}, 4, {1, 6, 11, 16, 49, 99, 99, 100}},
  };
  for (const Case& c : cases) {
    Events events;
    events.AbortOn = c.abortOn;
    const Strings found = FindFiles("*", 4, extra, events.Progress(), events.Accept(), 0);
    EXPECT_EQ(found.size(), c.found) << c.what;
    EXPECT_EQ(events.Percents, c.percents) << c.what;
  }
}

// Links made from outside (loop-tree.sh): F:\findfiles-loop\sub holds two links to its parent.
TEST(FindFilesTest, LinksThatLeadBackUpAreNotFollowed) {
  Events events;
  events.MaxReports = 1000;
  const Strings found = FindFiles("*", 4, "F:\\findfiles-loop", events.Progress(), events.Accept(), 0);
  ASSERT_LT(events.Percents.size(), 1000u) << "the search ran away through the links";
  EXPECT_EQ(found, (Strings{"F:\\findfiles-loop\\found.probe", "F:\\findfiles-loop\\sub\\found.probe"}));
  // The start folder and sub report their ends; the links are no subfolders of their own.
  EXPECT_EQ(events.Percents, (std::vector<int>{1, 12, 99, 99, 100}));
}

// Whole drives of the test prefix: D:, E:, F: are fixed, R: removable, N: a network drive (see
// scripts/common.sh). The test program's own drive, where the build lies, comes last and is not
// needed: once the search reaches it, it is stopped.
class FindFilesDriveTest : public ::testing::Test {
 protected:
  static std::string ProgramDrive() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, 3);
  }

  // The search for a name that only this test's files have: one on each drive given.
  Strings Search(std::uint8_t driveKind, const std::string& extra = "") {
    std::vector<int> percents;
    bool programDriveReached = false;
    const Strings found = FindFiles(
        Name(), driveKind, extra,
        [&](int percent) {
          percents.push_back(percent);
          return programDriveReached;
        },
        [&](const std::string& path) {
          programDriveReached = programDriveReached || path.rfind(ProgramDrive(), 0) == 0;
          return !programDriveReached;
        },
        0);
    ExpectSteadyProgress(percents);
    return found;
  }

  std::string Name() const { return "pm-ff-" + FId + ".probe"; }

  std::unique_ptr<Scratch> Place(const std::string& drive) {
    auto scratch = std::make_unique<Scratch>(drive);
    scratch->File(Name());
    return scratch;
  }

  const std::string FId = Unique();
};

TEST_F(FindFilesDriveTest, DriveKindsSearchTheRightDrives) {
  std::vector<std::unique_ptr<Scratch>> placed;
  for (const char* drive : {"D:\\", "F:\\", "N:\\", "R:\\"}) placed.push_back(Place(drive));
  // The sentinel at the root of the program's drive shows that the search got there.
  const std::string sentinel = ProgramDrive() + Name();
  HANDLE file = CreateFileA(sentinel.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << sentinel;
  CloseHandle(file);

  struct Case {
    int kind;
    Strings drives;
  };
  const Case cases[] = {
      {1, {"D:\\", "F:\\"}},
      {2, {"D:\\", "F:\\", "R:\\"}},
      {3, {"D:\\", "F:\\", "N:\\", "R:\\"}},
      {4, {}},
      {200, {}},
  };
  for (const Case& c : cases) {
    Strings expected;
    for (const std::string& drive : c.drives)
      for (const auto& scratch : placed)
        if (scratch->Root().rfind(drive, 0) == 0) expected.push_back((*scratch)[Name()]);
    EXPECT_EQ(Search(static_cast<std::uint8_t>(c.kind)), expected) << "drive kind " << c.kind;
  }
  DeleteFileA(sentinel.c_str());
}

TEST_F(FindFilesDriveTest, DriveKindZeroSearchesTheCurrentFoldersDriveThenTheExtraFolders) {
  const auto onE = Place("E:\\");
  const auto onD = Place("D:\\");
  onE->File("sub\\" + Name());
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(onE->Root().c_str()));
  // The extra folder lies below the drive's root: its file is listed once.
  std::string extra = (*onE)["SUB"];
  const Strings found = Search(0, extra);
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(found, (Strings{(*onE)[Name()], (*onE)["sub\\" + Name()]}));
}

}  // namespace
