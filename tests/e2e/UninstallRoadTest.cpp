// The uninstall road with nothing in its way: the product as the silent installation puts it,
// its uninstaller run from outside with "/quiet /log=", and the step log's word on every line of
// the removal list, checked against what the test saw on the disk before: what was there is
// removed, what was not is passed over, the uninstaller's own file, list and folder are left for
// the self-removal, which logs them once the uninstaller has ended.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/e2e/UninstallRoad.h"

namespace {

using namespace system_state;
using namespace uninstall_road;

// The files and folders of a folder, lower case, folders with their final "\".
std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> entries;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    entries.insert(Lower(folder + name + ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "\\" : "")));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

// "done: removed a, b, c" as the set of what it names, lower case.
std::set<std::string> Removed(const std::string& result) {
  const std::string done = "done: removed ";
  if (result.rfind(done, 0) != 0) return {"<not done: " + result + ">"};
  std::set<std::string> items;
  for (std::size_t start = done.size(), comma;; start = comma + 2) {
    comma = result.find(", ", start);
    items.insert(Lower(result.substr(start, comma - start)));
    if (comma == std::string::npos) return items;
  }
}

using UninstallRoadTest = UninstallRoad;

TEST_F(UninstallRoadTest, TheLogTellsEveryStepWithItsResult) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const std::string list = ReadFile(FInstall + "UnInstall.dat");
  const std::string data = FData + "\\";
  // What stands on the disk as the uninstaller starts; the walk below takes away what each
  // line removes, so that a later line finds it gone.
  std::set<std::string> present = Entries(FInstall);
  for (const std::string& entry : Entries(data)) present.insert(entry);
  present.insert(Lower(FInstall));
  present.insert(Lower(data));
  std::set<std::string> menu = Entries(FMenu + "\\");
  menu.insert(Lower(FMenu + "\\"));
  const std::string logPath = FBase + "uninstall.log";

  ASSERT_EQ(Uninstall("/quiet /log=" + logPath), 0);

  const std::string selfRemovalEnd = "Self-removal ended (exit code 0)";
  const std::string log = LogOnceItHolds(logPath, selfRemovalEnd);
  EXPECT_NE(log.find(" Pelmora P2P Uninstall started (quiet)\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" Command line: "), std::string::npos) << log;
  EXPECT_NE(log.find("/log=" + logPath), std::string::npos) << "the command line as it was given\n" << log;
  EXPECT_NE(Lower(log).find(Lower(" Removal list: " + FInstall + "UnInstall.dat\r\n")), std::string::npos) << log;

  const std::string selfRemoval = "left for the self-removal after the uninstaller's end: ";
  const std::set<std::string> ownPlaces = {Lower(FInstall + "Uninstall.Exe"), Lower(FInstall + "Uninstall.Dat"),
                                           Lower(FInstall)};
  const std::vector<ListedLine> listed = RemovalLines(list);
  for (const auto& [number, line] : listed) {
    const char kind = line[1];
    const std::string argument = line.substr(2, line.size() - 3);
    const std::string result = ResultOfLine(log, number, line);
    SCOPED_TRACE(line + " -> " + result);
    if (ownPlaces.count(Lower(argument))) {
      EXPECT_EQ(Lower(result), Lower(selfRemoval + argument));
    } else if (kind == 'F' || kind == 'E' || kind == 'P') {
      std::set<std::string> expected;
      if (kind == 'P') {
        // A mask "*.ext" of the folder: the files there with that ending.
        const std::string folder = Lower(argument.substr(0, argument.find_last_of('\\') + 1));
        const std::string ending = Lower(argument.substr(argument.find_last_of('*') + 1));
        for (const std::string& entry : present)
          if (entry.rfind(folder, 0) == 0 && entry.find('\\', folder.size()) == std::string::npos &&
              entry.size() >= ending.size() && entry.compare(entry.size() - ending.size(), ending.size(), ending) == 0)
            expected.insert(entry);
      } else if (present.count(Lower(argument))) {
        expected.insert(Lower(argument));
      }
      if (expected.empty()) {
        EXPECT_EQ(result, "passed over: nothing of it is there");
      } else {
        EXPECT_EQ(Removed(result), expected);
        for (const std::string& gone : expected) present.erase(gone);
      }
    } else if (kind == 'R') {
      EXPECT_EQ(Removed(result), std::set<std::string>{Lower("HKEY_LOCAL_MACHINE\\" + argument)});
    } else if (kind == 'S') {
      EXPECT_EQ(Removed(result), menu) << "the folder's shortcuts and then the folder";
      EXPECT_EQ(Lower(result.substr(result.size() - FMenu.size() - 1)), Lower(FMenu + "\\")) << "the folder last";
    } else if (kind == 'T') {
      EXPECT_EQ(Removed(result), std::set<std::string>{Lower(FDesktopLink)});
    } else {
      ADD_FAILURE() << "a kind of line the test does not know";
    }
  }
  EXPECT_GE(listed.size(), 15u) << list;

  const std::size_t finished = log.find(" Uninstall finished (exit code 0)\r\n");
  EXPECT_NE(finished, std::string::npos) << log;
  EXPECT_NE(log.find(" Self-removal started: it waits for the uninstaller's end\r\n"), std::string::npos) << log;
  for (const std::string& removed : {FInstall + "Uninstall.Exe", FInstall + "Uninstall.Dat", FInstall})
    EXPECT_GT(Lower(log).find(Lower(" Self-removal of " + removed + " done\r\n")), finished) << removed << "\n" << log;
  EXPECT_GT(log.find(" " + selfRemovalEnd + "\r\n"), finished) << log;

  ExpectTheRestRemoved("the uninstall road");
  for (const std::string& gone : {FInstall, FData, FMenu, FDesktopLink})
    EXPECT_TRUE(WaitUntil([&] { return !Exists(gone); }, kPatientMs)) << gone;
}

}  // namespace
