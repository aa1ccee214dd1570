#include "core/RemovalList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

using K = TRemovalKind;

// The list as the installation run writes it, with the desktop shortcut.
const std::string kInstalledList =
    "Pelmora P2P\r\n"
    "<PC:\\users\\u\\AppData\\Local\\Pelmora P2P\\*.PCF>\r\n"
    "<PC:\\users\\u\\AppData\\Local\\Pelmora P2P\\*.DAT>\r\n"
    "<EC:\\users\\u\\AppData\\Local\\Pelmora P2P\\>\r\n"
    "<FC:\\Program Files\\PelmoraP2P\\Pelmora.Exe>\r\n"
    "<FC:\\Program Files\\PelmoraP2P\\Uninstall.Dat>\r\n"
    "<EC:\\Program Files\\PelmoraP2P\\>\r\n"
    "<RSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P>\r\n"
    "<SPelmora P2P>\r\n"
    "<TPelmora P2P.Lnk>\r\n";

TEST(RemovalListTest, ReadsTheInstallersListInOrder) {
  const TRemovalList list = ParseRemovalList(kInstalledList);
  EXPECT_EQ(list.Product, "Pelmora P2P");
  const std::vector<TRemovalEntry> expected = {
      {K::MatchingFiles, "C:\\users\\u\\AppData\\Local\\Pelmora P2P\\*.PCF", 2},
      {K::MatchingFiles, "C:\\users\\u\\AppData\\Local\\Pelmora P2P\\*.DAT", 3},
      {K::EmptyFolder, "C:\\users\\u\\AppData\\Local\\Pelmora P2P\\", 4},
      {K::File, "C:\\Program Files\\PelmoraP2P\\Pelmora.Exe", 5},
      {K::File, "C:\\Program Files\\PelmoraP2P\\Uninstall.Dat", 6},
      {K::EmptyFolder, "C:\\Program Files\\PelmoraP2P\\", 7},
      {K::RegistryKey, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P", 8},
      {K::StartMenuFolder, "Pelmora P2P", 9},
      {K::DesktopShortcut, "Pelmora P2P.Lnk", 10},
  };
  EXPECT_EQ(list.Entries, expected);
}

TEST(RemovalListTest, AcceptsBareLineFeedsAndBlankLines) {
  const TRemovalList list = ParseRemovalList("Pelmora P2P\n\n<FD:\\a b\\c.txt>\n\n");
  ASSERT_EQ(list.Entries.size(), 1u);
  EXPECT_EQ(list.Entries[0], (TRemovalEntry{K::File, "D:\\a b\\c.txt", 3}));
}

TEST(RemovalListTest, RefusesWhatItCannotUseSafely) {
  struct Case {
    std::string text, message;
  };
  const Case cases[] = {
      {"", "UnInstall.dat is empty"},
      {"\r\n\r\n", "UnInstall.dat is empty"},
      {"<FC:\\a\\b.txt>\r\n", "line 1: the first line must be the product name"},
      {"P\r\n<XC:\\a\\b.txt>\r\n", "line 2: unknown kind \"X\""},
      {"P\r\n<fC:\\a\\b.txt>\r\n", "line 2: unknown kind \"f\""},
      {"P\r\n<FC:\\a\\b.txt\r\n", "line 2: the line lacks its closing \">\""},
      {"P\r\nFC:\\a\\b.txt>\r\n", "line 2: a line must start with \"<\""},
      {"P\r\n<F>\r\n", "line 2: a kind letter and its argument are required"},
      {"P\r\n<FC:\\a\\..\\..\\Windows\\win.ini>\r\n", "line 2: the path must not step through \".\" or \"..\""},
      {"P\r\n<PC:\\a\\..\\*.dll>\r\n", "line 2: the path must not step through \".\" or \"..\""},
      {"P\r\n<EC:\\a\\.\\>\r\n", "line 2: the path must not step through \".\" or \"..\""},
      {"P\r\n<P C:\\a\\..>\r\n", "line 2: the path must be a full path"},
      {"P\r\n<PC:\\a\\..>\r\n", "line 2: the path must not step through \".\" or \"..\""},
      {"P\r\n<PC:\\a\\b|c>\r\n", "line 2: the file mask holds a character that no file name may hold"},
      {"P\r\n<FC:\\a/../../b.txt>\r\n", "line 2: the path holds a character that no file name may hold"},
      {"P\r\n<FPelmora\\b.txt>\r\n", "line 2: the path must be a full path"},
      {"P\r\n<F\\\\server\\share\\b.txt>\r\n", "line 2: the path must be a full path"},
      {"P\r\n<FC:\\a\\\\b.txt>\r\n", "line 2: empty folder name in the path"},
      {"P\r\n<FC:\\a\\b.txt:stream>\r\n", "line 2: \":\" inside the path"},
      {"P\r\n<FC:\\a\\*.txt>\r\n", "line 2: a single file cannot have wildcards"},
      {"P\r\n<PC:\\a*\\b.txt>\r\n", "line 2: wildcards are allowed in the file mask only"},
      {"P\r\n<EC:\\a\\*\\>\r\n", "line 2: a folder cannot have wildcards"},
      {"P\r\n<EC:\\a?c\\b\\>\r\n", "line 2: a folder cannot have wildcards"},
      {"P\r\n<PC:\\a\\>\r\n", "line 2: a folder followed by a file mask is required"},
      {"P\r\n<RSoftware\\Microsoft>\r\n", "line 2: only an uninstall entry"},
      {"P\r\n<RSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\>\r\n", "line 2: only an uninstall entry"},
      {"P\r\n<RSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\..\\Run>\r\n",
       "line 2: the path must not step through \".\" or \"..\""},
      {"P\r\n<SPrograms\\Startup>\r\n", "line 2: a name without folder, drive or wildcard is required"},
      {"P\r\n<T..>\r\n", "line 2: a name without folder, drive or wildcard is required"},
      {"P\r\n<T*.lnk>\r\n", "line 2: a name without folder, drive or wildcard is required"},
      {"P\r\n<FC:\\ok.txt>\r\n<Q>\r\n", "line 3: "},
  };
  for (const Case& c : cases) {
    try {
      ParseRemovalList(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ERemovalListError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << "list: " << c.text << "\nmessage: " << error.what();
    }
  }
}

TEST(RemovalListTest, MasksMatchAsWindowsMasksDo) {
  struct Case {
    const char *name, *mask;
    bool matches;
  };
  const Case cases[] = {
      {"Pelmora.dat", "*.DAT", true},  {"Pelmora.data", "*.DAT", false}, {"x.DAT", "*.dat", true},
      {"a.pcf", "*.PCF", true},        {"a.pcf.bak", "*.PCF", false},    {".DAT", "*.DAT", true},
      {"abc", "a?c", true},            {"ac", "a?c", false},             {"anything", "*", true},
      {"a.b.c", "*.*", true},          {"aXbXc", "a*b*c", true},         {"aXbX", "a*b*c", false},
      {"README", "*.*", true},         {"readme", "readme.*", true},     {"readm", "readme.*", false},
      {"Pelmora.EXE", "pelmora.exe", true}, {"pelmora.exe.bak", "pelmora.exe", false},
      {"xpelmora.exe", "pelmora.exe", false}, {"Setup.Exe", "*.exe", true}, {"setup.exe", "*.ex", false},
      {"A.c.txt", "a?c.txt", true},    {"abc.txt", "a?c.txt", true},     {"abbc.txt", "a?c.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}


const TProductPlaces kPlaces = {"C:\\Games\\Pelmora P2P\\", "C:\\users\\u\\AppData\\Local\\Pelmora P2P\\"};

std::string ListText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The message of the refusal, or "" when the list passes.
std::string RefusalOf(const std::string& text, const TProductPlaces& places) {
  try {
    CheckProductPlaces(ParseRemovalList(text), places);
  } catch (const ERemovalListError& error) {
    return error.what();
  }
  return "";
}

TEST(ProductPlacesTest, TheInstallersListsPass) {
  for (const bool desktop : {false, true}) {
    EXPECT_EQ(RefusalOf(ListText(RemovalListLines(kPlaces.UserDataDir, kPlaces.InstallDir, kPlaces.UserDataDir,
                                                  desktop)),
                        kPlaces),
              "");
    // Without a per-user folder the data went to the installation folder.
    EXPECT_EQ(RefusalOf(ListText(RemovalListLines(kPlaces.InstallDir, kPlaces.InstallDir, kPlaces.InstallDir,
                                                  desktop)),
                        {kPlaces.InstallDir, ""}),
              "");
  }
  // Folders compare without regard to case, as the file system does.
  EXPECT_EQ(RefusalOf(ListText(RemovalListLines("c:\\USERS\\u\\appdata\\local\\pelmora p2p\\", "c:\\games\\PELMORA P2P\\",
                                                "c:\\USERS\\u\\appdata\\local\\pelmora p2p\\", false)),
                      kPlaces),
            "");
}

TEST(ProductPlacesTest, MasksAreLeftOutWhereTheDataFolderIsTheInstallationFolder) {
  const std::string install = "D:\\My Files\\";
  for (const std::string& line : RemovalListLines(install, install, install, true))
    EXPECT_NE(line.rfind("<P", 0), 0u) << line;
  const std::vector<std::string> own = RemovalListLines("C:\\Local\\Pelmora P2P\\", install, "C:\\Local\\Pelmora P2P\\", true);
  EXPECT_EQ(std::count_if(own.begin(), own.end(), [](const std::string& line) { return line.rfind("<P", 0) == 0; }), 5);
  EXPECT_EQ(own.size(), 18u);
}

TEST(ProductPlacesTest, AListThatNamesAnythingElseIsRefused) {
  const std::vector<std::string> installed =
      RemovalListLines(kPlaces.UserDataDir, kPlaces.InstallDir, kPlaces.UserDataDir, true);
  struct Case {
    const char* name;
    std::string line, message;
  };
  const std::string& install = kPlaces.InstallDir;
  const std::string& data = kPlaces.UserDataDir;
  const Case cases[] = {
      {"file elsewhere", "<FC:\\victim.txt>", "line 19: C:\\victim.txt is not a file of Pelmora P2P"},
      {"other file in the installation folder", "<F" + install + "thesis.doc>", "is not a file of Pelmora P2P"},
      {"data file elsewhere", "<FC:\\Other\\Pelmora.dat>", "is not a file of Pelmora P2P"},
      {"program file in the data folder", "<F" + data + "Uninstall.Exe>", "is not a file of Pelmora P2P"},
      {"program of a subfolder", "<F" + install + "sub\\Pelmora.Exe>", "is not a file of Pelmora P2P"},
      {"mask elsewhere", "<PC:\\victimdir\\*>", "files matching a mask are removed from the per-user data folder"},
      {"mask in the installation folder", "<P" + install + "*.DAT>", "per-user data folder " + data + " only"},
      {"mask in a folder below the data folder", "<P" + data + "sub\\*.DAT>", "per-user data folder"},
      {"folder elsewhere", "<EC:\\Windows\\>", "C:\\Windows\\ is not a folder of Pelmora P2P"},
      {"parent of the installation folder", "<EC:\\Games\\>", "is not a folder of Pelmora P2P"},
      {"other product's key", "<R" + std::string(kUninstallKeyPrefix) + "Other Product>",
       "is not the uninstall entry of Pelmora P2P"},
      {"subkey of the product's key", "<R" + std::string(kProductUninstallKey) + "\\Sub>",
       "is not the uninstall entry of Pelmora P2P"},
      {"other start-menu folder", "<SAccessories>", "Accessories is not the start-menu folder of Pelmora P2P"},
      {"other desktop shortcut", "<TOther.Lnk>", "Other.Lnk is not the desktop shortcut of Pelmora P2P"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = installed;
    lines.push_back(c.line);
    EXPECT_NE(RefusalOf(ListText(lines), kPlaces).find(c.message), std::string::npos)
        << c.name << ": " << RefusalOf(ListText(lines), kPlaces);
  }
  // Without a per-user folder no mask passes at all.
  EXPECT_NE(RefusalOf(ListText(installed), {install, ""}).find("(which cannot be found)"), std::string::npos);
}

TEST(ProductPlacesTest, AListThatLacksTheProductsOwnEntriesIsRefused) {
  const std::string& install = kPlaces.InstallDir;
  const std::vector<std::string> installed = RemovalListLines(kPlaces.UserDataDir, install, kPlaces.UserDataDir, false);
  EXPECT_EQ(RefusalOf("Pelmora P2P\r\n", kPlaces), "UnInstall.dat does not name the program " + install + "Pelmora.Exe");
  EXPECT_EQ(RefusalOf("Other Product\r\n<F" + install + "Pelmora.Exe>\r\n", kPlaces),
            "UnInstall.dat, line 1: the list belongs to \"Other Product\", not to Pelmora P2P");
  struct Case {
    const char* left;
    std::string message;
  };
  const Case cases[] = {
      {"Pelmora.Exe>", "does not name the program"},
      {"Uninstall.Exe>", "does not name the uninstaller"},
      {"Uninstall.Dat>", "does not name itself"},
      {"<E" "C:\\Games", "does not name the installation folder"},
      {"<R", "does not name the uninstall entry of Pelmora P2P"},
      {"<S", "does not name the start-menu folder of Pelmora P2P"},
  };
  for (const Case& c : cases) {
    std::string text;
    for (const std::string& line : installed)
      if (line.find(c.left) == std::string::npos) text += line + "\r\n";
    EXPECT_NE(RefusalOf(text, kPlaces).find(c.message), std::string::npos) << c.left << ": " << RefusalOf(text, kPlaces);
  }
}

// The uninstaller removes a folder only when it is empty by then, so a folder's last line must
// come after every line for a file, mask or folder inside it, whichever order the steps of the
// installation put their things in place.
struct TInstalledFolders {
  const char* Name;
  std::string InstallDir, DataDir;
  bool Desktop;
};

// The folder a line's path lies in, with its "\" ("" for keys, start-menu folder and desktop).
std::string FolderOfLine(const std::string& line) {
  if (line.size() < 3 || std::string("PFE").find(line[1]) == std::string::npos) return "";
  const std::string path = line.substr(2, line.size() - 3);
  return line[1] == 'E' ? path.substr(0, path.find_last_of('\\', path.size() - 2) + 1)
                        : path.substr(0, path.find_last_of('\\') + 1);
}

// Lines whose folder is the given folder or lies below it.
bool LiesIn(const std::string& line, const std::string& folder) {
  const std::string own = FolderOfLine(line);
  return !own.empty() && own.size() >= folder.size() && std::equal(folder.begin(), folder.end(), own.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

// Every line that names something inside a folder, given by its number, that comes after the
// folder's last "E" line.
std::vector<std::string> LinesAfterTheirFolder(const std::vector<std::string>& lines) {
  std::vector<std::string> slips;
  for (std::size_t folderLine = 0; folderLine < lines.size(); ++folderLine) {
    if (lines[folderLine].rfind("<E", 0) != 0) continue;
    const std::string folder = lines[folderLine].substr(2, lines[folderLine].size() - 3);
    const bool last = std::none_of(lines.begin() + static_cast<std::ptrdiff_t>(folderLine) + 1, lines.end(),
                                   [&](const std::string& later) { return later == lines[folderLine]; });
    if (!last) continue;
    for (std::size_t later = folderLine + 1; later < lines.size(); ++later)
      if (LiesIn(lines[later], folder)) slips.push_back(lines[later] + " after " + lines[folderLine]);
  }
  return slips;
}

TEST(RemovalListOrderTest, AFoldersLastLineComesAfterEverythingInsideIt) {
  const TInstalledFolders installations[] = {
      {"own data folder", "C:\\Program Files\\PelmoraP2P\\", "C:\\users\\u\\AppData\\Local\\Pelmora P2P\\", true},
      {"own data folder, no desktop", "D:\\Apps\\Pelmora\\", "C:\\users\\u\\AppData\\Local\\Pelmora P2P\\", false},
      {"data in the installation folder", "D:\\Apps\\Pelmora\\", "D:\\Apps\\Pelmora\\", true},
      {"installation folder inside the data folder", "C:\\Local\\Pelmora P2P\\Program\\", "C:\\Local\\Pelmora P2P\\", true},
  };
  for (const TInstalledFolders& installed : installations) {
    SCOPED_TRACE(installed.Name);
    // The steps' items as the installation run gathers them, and in every rotation of that order:
    // the list must not depend on which step comes first.
    std::vector<std::vector<TListedItem>> steps = {
        listed::InstallFolder(installed.InstallDir),
        listed::DataFolder(installed.DataDir, installed.InstallDir, installed.DataDir),
        listed::ClientProgram(installed.InstallDir),
        listed::Uninstaller(installed.InstallDir),
        listed::UninstallEntry(),
        listed::Shortcuts(installed.Desktop),
        listed::DataFile(installed.DataDir),
        listed::DataFileCopy(installed.InstallDir),
        listed::RemovalList(installed.InstallDir)};
    std::vector<std::string> first;
    for (std::size_t rotation = 0; rotation < steps.size(); ++rotation) {
      std::vector<TListedItem> items;
      for (const std::vector<TListedItem>& step : steps) items.insert(items.end(), step.begin(), step.end());
      const std::vector<std::string> lines = RemovalListLines(items);
      EXPECT_EQ(LinesAfterTheirFolder(lines), std::vector<std::string>{}) << "rotation " << rotation;
      if (rotation == 0) first = lines;
      EXPECT_EQ(lines, first) << "rotation " << rotation;
      std::rotate(steps.begin(), steps.begin() + 1, steps.end());
    }
    EXPECT_EQ(first, RemovalListLines(installed.DataDir, installed.InstallDir, installed.DataDir, installed.Desktop));
    EXPECT_EQ(first.size(), 1u + (installed.InstallDir == installed.DataDir ? 11u : 16u) + (installed.Desktop ? 1u : 0u));
  }
}

TEST(ProductPlacesTest, TheCleanUpListNamesOnlyTheUninstallerItsListAndTheProductsFolders) {
  const std::string& install = kPlaces.InstallDir;
  const std::string& data = kPlaces.UserDataDir;
  const auto refusal = [&](const std::string& text) {
    try {
      CheckCleanupList(ParseRemovalList(text), data);
    } catch (const ERemovalListError& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_EQ(refusal("Pelmora P2P\r\n<F" + install + "Uninstall.Exe>\r\n<F" + install + "UnInstall.dat>\r\n<E" + install +
                    ">\r\n<E" + data + ">\r\n"),
            "");
  const std::string cases[][2] = {
      {"Pelmora P2P\r\n<FC:\\victim.txt>\r\n", "line 2: C:\\victim.txt is not the uninstaller or its list"},
      {"Pelmora P2P\r\n<F" + install + "Uninstall.Exe>\r\n<FC:\\Other\\Uninstall.Dat>\r\n", "line 3:"},
      {"Pelmora P2P\r\n<EC:\\Games\\>\r\n", "line 2: C:\\Games\\ is not a folder of Pelmora P2P"},
      {"Pelmora P2P\r\n<F" + install + "Uninstall.Exe>\r\n<EC:\\Games\\>\r\n", "line 3:"},
      {"Pelmora P2P\r\n<P" + data + "*.DAT>\r\n", "line 2: the clean-up removes files and folders only"},
      {"Pelmora P2P\r\n<R" + std::string(kProductUninstallKey) + ">\r\n", "line 2: the clean-up removes files"},
      {"Other\r\n", "line 1: the list belongs to \"Other\""},
  };
  for (const auto& c : cases) EXPECT_NE(refusal(c[0]).find(c[1]), std::string::npos) << c[0] << ": " << refusal(c[0]);
}

}  // namespace
