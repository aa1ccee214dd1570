// Links planted in the product's places after an installation, as a user could plant them with
// the user's own rights: in place of the start-menu folder, of the per-user data folder and of
// the product's own files. The installed uninstaller, run from outside as a person or a script
// runs it, removes the product around them and never anything where a link points; it names
// the links it left alone and ends with its exit code for them.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/driver/MessageBoxes.h"
#include "tests/e2e/UninstallRoad.h"

namespace {

using namespace system_state;
using namespace uninstall_road;
namespace fs = std::filesystem;

constexpr long kLinkRefused = 5;

class PlantedLinkRoadTest : public UninstallRoad {
 protected:
  // Files of somebody else's in a folder of the test's own, which a link will point at.
  std::map<std::string, std::string> MakeVictims(const std::string& folder, const std::vector<std::string>& names) {
    fs::create_directories(folder);
    std::map<std::string, std::string> victims;
    for (const std::string& name : names) {
      const std::string path = folder + name, content = "somebody else's " + name;
      std::ofstream(path, std::ios::binary) << content;
      victims[path] = content;
    }
    return victims;
  }

  static void ExpectUntouched(const std::map<std::string, std::string>& victims, const std::string& what) {
    for (const auto& [path, content] : victims) EXPECT_EQ(ReadFile(path), content) << what << ": " << path;
  }

  const std::string FVictims = FBase + "someone else\\";
};

// A link in place of a folder that the uninstaller empties: the folder it points at keeps
// everything, also the files named like the product's.
TEST_F(PlantedLinkRoadTest, AFolderLinkIsNeitherEmptiedNorFollowed) {
  struct Case {
    const char* name;
    std::string folder;  // the product's folder that a link replaces
    std::vector<std::string> victims;
    std::vector<std::string> removedElsewhere;  // the product's files in its other places
  };
  const Case cases[] = {
      {"the start-menu folder", FMenu,
       {"Pelmora P2P.Lnk", "Pelmora P2P Uninstall.Lnk", "Other Program.Lnk", "notes.txt"},
       {FInstall + "Pelmora.Exe", FData + "\\Pelmora.Dat", FDesktopLink}},
      {"the per-user data folder", FData,
       {"Pelmora.Dat", "Pelmora.bak", "thesis.DAT", "game.PCF", "film.GET", "route.PTH", "keys.PCV"},
       {FInstall + "Pelmora.Exe", FInstall + "PMInst.Dat", FMenu + "\\Pelmora P2P.Lnk", FDesktopLink}},
  };
  for (const Case& c : cases) {
    ASSERT_NO_FATAL_FAILURE(Install()) << c.name;
    const std::string target = FVictims + c.name + "\\";
    const auto victims = MakeVictims(target, c.victims);
    ASSERT_TRUE(planted::PlantLink(c.folder, target)) << c.name;

    EXPECT_EQ(Uninstall("/quiet"), kLinkRefused) << c.name;

    ExpectUntouched(victims, c.name);
    EXPECT_TRUE(Exists(target)) << c.name;
    EXPECT_TRUE(Exists(c.folder)) << c.name << ": the link is left as it is";
    for (const std::string& gone : c.removedElsewhere) EXPECT_FALSE(Exists(gone)) << c.name << ": " << gone;
    ExpectTheRestRemoved(c.name);
    CleanUp();
    ASSERT_TRUE(CreateDirectoryA(FBase.c_str(), nullptr));
  }
}

// A file link in place of one of the product's files: the file it points at stays whole, and
// everything else of the product goes.
TEST_F(PlantedLinkRoadTest, AFileLinkInPlaceOfTheProductsFileLeavesItsTargetWhole) {
  const std::string cases[] = {FInstall + "Pelmora.Exe", FInstall + "PMInst.Dat", FDesktopLink};
  for (const std::string& file : cases) {
    ASSERT_NO_FATAL_FAILURE(Install()) << file;
    const auto victims = MakeVictims(FVictims, {"win.ini"});
    ASSERT_TRUE(planted::PlantLink(file, FVictims + "win.ini")) << file;

    EXPECT_EQ(Uninstall("/quiet"), kLinkRefused) << file;

    ExpectUntouched(victims, file);
    for (const std::string& other : cases) {
      if (other == file) continue;
      EXPECT_FALSE(Exists(other)) << file << ": " << other;
    }
    EXPECT_FALSE(Exists(FData + "\\Pelmora.Dat")) << file;
    EXPECT_FALSE(Exists(FMenu)) << file;
    ExpectTheRestRemoved(file);
    CleanUp();
    ASSERT_TRUE(CreateDirectoryA(FBase.c_str(), nullptr));
  }
}

// Asked interactively, the uninstaller's last message names the link it left alone.
TEST_F(PlantedLinkRoadTest, TheLastMessageNamesTheLinkLeftAlone) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const auto victims = MakeVictims(FVictims, {"Pelmora P2P.Lnk", "Other Program.Lnk"});
  ASSERT_TRUE(planted::PlantLink(FMenu, FVictims));

  StartedProcess uninstaller = StartProgram(FInstall + "Uninstall.Exe", "");
  const ShownMessageBox question = WaitForMessageBox(uninstaller.Id, kPatientMs);
  ASSERT_TRUE(question) << "no question";
  ASSERT_TRUE(AnswerMessageBox(question, IDYES, kPatientMs));
  const ShownMessageBox last = WaitForMessageBox(uninstaller.Id, kPatientMs);
  ASSERT_TRUE(last) << "no last message";
  EXPECT_EQ(last.Text, "Pelmora P2P was removed, except for these items:\r" + FMenu +
                           ": a link stands here in place of Pelmora P2P's own; it was left alone, and so was what "
                           "it points at");
  AnswerMessageBox(last, IDOK, kPatientMs);
  EXPECT_EQ(WaitForExit(uninstaller, kPatientMs), kLinkRefused);
  EndProcess(uninstaller);
  ExpectUntouched(victims, "the start-menu folder");
}

// The uninstaller's log: every line of the removal list with its result (done, passed over,
// refused for a link, left for the self-removal), the uninstall entry, the end with the exit
// code, and then the self-removal's own lines, which the clean-up adds after the uninstaller's
// end.
TEST_F(PlantedLinkRoadTest, TheLogTellsEachLineOfTheListWithItsResult) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const std::string list = ReadFile(FInstall + "UnInstall.dat");
  const auto victims = MakeVictims(FVictims, {"Pelmora.Dat", "thesis.DAT"});
  ASSERT_TRUE(planted::PlantLink(FData, FVictims));
  ASSERT_TRUE(DeleteFileA((FInstall + "PMInst.Dat").c_str()));
  const std::string logPath = FBase + "uninstall log.txt";

  EXPECT_EQ(Uninstall("/quiet \"/LOG=" + logPath + "\""), kLinkRefused);
  ExpectUntouched(victims, "the data folder");

  const std::string selfRemovalEnd = "Self-removal ended (exit code 0)";
  const std::string log = LogOnceItHolds(logPath, selfRemovalEnd);
  EXPECT_NE(log.find(" Pelmora P2P Uninstall started (quiet)\r\n"), std::string::npos) << log;
  EXPECT_NE(Lower(log).find(Lower(" Removal list: " + FInstall + "UnInstall.dat\r\n")), std::string::npos) << log;

  const std::string refused = "refused: a link stands at " + FData + "; it was left alone, and so was what it points at";
  const std::string selfRemoval = "left for the self-removal after the uninstaller's end: ";
  struct Rule {
    const char* name;
    std::function<bool(const std::string& line)> names;
    std::function<std::string(const std::string& argument)> result;
  };
  const auto holds = [](const std::string& part) {
    return [part](const std::string& line) { return Lower(line).find(Lower(part)) != std::string::npos; };
  };
  const Rule rules[] = {
      {"the data folder's lines, through the link", holds(FData), [&](const std::string&) { return refused; }},
      {"the data file copy, removed before", holds("PMInst.dat"),
       [](const std::string&) { return std::string("passed over: nothing of it is there"); }},
      {"the uninstaller, its list and its folder", holds(FInstall + "Uninstall."),
       [&](const std::string& argument) { return selfRemoval + argument; }},
      {"the installation folder", [&](const std::string& line) { return Lower(line) == Lower("<E" + FInstall + ">"); },
       [&](const std::string& argument) { return selfRemoval + argument; }},
      {"the client", holds("Pelmora.Exe"), [](const std::string& argument) { return "done: removed " + argument; }},
      {"the uninstall entry", holds("<R"),
       [](const std::string& argument) { return "done: removed HKEY_LOCAL_MACHINE\\" + argument; }},
      {"the start-menu folder", holds("<S"),
       [&](const std::string&) {
         return "done: removed " + FMenu + "\\Pelmora P2P.Lnk, " + FMenu + "\\Pelmora P2P On the Web.Lnk, " + FMenu +
                "\\Pelmora P2P Help.Lnk, " + FMenu + "\\Pelmora P2P Uninstall.Lnk, " + FMenu + "\\";
       }},
      {"the desktop shortcut", holds("<T"), [&](const std::string&) { return "done: removed " + FDesktopLink; }},
  };
  const std::vector<ListedLine> listed = RemovalLines(list);
  for (const auto& [number, line] : listed) {
    const Rule* rule = nullptr;
    for (const Rule& candidate : rules)
      if (!rule && candidate.names(line)) rule = &candidate;
    ASSERT_NE(rule, nullptr) << "a line the test does not know: " << line;
    const std::string result = ResultOfLine(log, number, line);
    if (std::string(rule->name) == "the start-menu folder") {
      // The folder's shortcuts in the order the system lists them, then the folder.
      EXPECT_EQ(result.rfind("done: removed ", 0), 0u) << line << "\n" << log;
      EXPECT_EQ(result.size(), rule->result(line).size()) << line << "\n" << log;
      EXPECT_EQ(Lower(result.substr(result.size() - FMenu.size() - 1)), Lower(FMenu + "\\")) << result;
    } else {
      EXPECT_EQ(Lower(result), Lower(rule->result(line.substr(2, line.size() - 3)))) << rule->name << ": " << line;
    }
  }
  EXPECT_EQ(listed.size(), 17u) << list;

  EXPECT_NE(log.find(" Self-removal started: it waits for the uninstaller's end\r\n"), std::string::npos) << log;
  const std::size_t finished = log.find(" Uninstall finished (exit code 5)\r\n");
  EXPECT_NE(finished, std::string::npos) << log;
  for (const std::string& removed : {FInstall + "Uninstall.Exe", FInstall + "Uninstall.Dat", FInstall})
    EXPECT_GT(Lower(log).find(Lower(" Self-removal of " + removed + " done\r\n")), finished) << removed << "\n" << log;
  EXPECT_GT(log.find(" " + selfRemovalEnd + "\r\n"), finished) << log;
}

// The uninstaller's log is created on the installer's terms: never through a link planted at
// its name; the uninstall goes on without it.
TEST_F(PlantedLinkRoadTest, TheLogIsNeverWrittenThroughALink) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const auto victims = MakeVictims(FVictims, {"win.ini"});
  const std::string logPath = FBase + "uninstall.log";
  ASSERT_TRUE(planted::PlantLink(logPath, FVictims + "win.ini"));

  EXPECT_EQ(Uninstall("/quiet /log=" + logPath), 0);

  ExpectUntouched(victims, "the log's name");
  ExpectTheRestRemoved("the log's name");
  EXPECT_FALSE(Exists(FMenu));
  planted::RemoveLink(logPath);
}

}  // namespace
