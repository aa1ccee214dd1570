#include "programs/uninstaller/RemovalList.h"

#include <gtest/gtest.h>

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
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " ~ " << c.mask;
}

}  // namespace
