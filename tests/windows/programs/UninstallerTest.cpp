// The real Uninstall.exe run on an installation of the product and on removal lists made or
// forged by the tests: files, masks, folders, the uninstall entry under HKEY_LOCAL_MACHINE, the
// start-menu folder and the desktop shortcut.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/RemovalList.h"
#include "tests/common/SystemState.h"
#include "tests/windows/programs/ProgramsTestSupport.h"

namespace {

using system_state::ShellFolder;

void Touch(const std::string& path, const std::string& content = "x") {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool KeyExists(const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void MakeKey(const std::string& key) {
  HKEY handle;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(handle, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>("Pelmora P2P"), 12);
  RegCloseKey(handle);
}

std::string ListText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// An installation of the product as the installer leaves it, in a folder of the test's own
// (the user's choice) with the product's real per-user data folder, start-menu folder, desktop
// shortcut and uninstall entry.
class UninstallerTest : public testing::Test {
 protected:
  void SetUp() override {
    FRoot = TestFolder("uninstall");
    FInstall = FRoot + "Pelmora P2P\\";
    FData = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\";
    FStartMenu = ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\";
    FLink = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk";
    CreateDirectoryA(FInstall.c_str(), nullptr);
    FUninstaller = FInstall + "Uninstall.Exe";
    ASSERT_TRUE(CopyFileA((BuildFolder() + "programs\\Uninstall.exe").c_str(), FUninstaller.c_str(), FALSE));
  }
  void TearDown() override {
    // Whatever a test left behind.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, system_state::kUninstallKey);
    for (const std::string& key : FKeys) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    std::error_code ignored;
    for (const std::string& folder : {FRoot, FData, FStartMenu}) std::filesystem::remove_all(folder, ignored);
    DeleteFileA(FLink.c_str());
  }

  // The product's files, shortcuts and entry, and the list that the installer writes for them.
  void Install(const std::string& dataDir, bool desktop = true) {
    CreateDirectoryA(dataDir.c_str(), nullptr);
    CreateDirectoryA(FStartMenu.c_str(), nullptr);
    MakeKey(system_state::kUninstallKey);
    for (const std::string& file : {FInstall + "Pelmora.Exe", FInstall + "PMInst.dat", dataDir + "Pelmora.dat",
                                    FStartMenu + "Pelmora P2P.Lnk", FStartMenu + "Pelmora P2P Help.Lnk"})
      Touch(file);
    if (desktop) Touch(FLink);
    FList = RemovalListLines(dataDir, FInstall, dataDir, desktop);
    WriteList(ListText(FList));
  }
  void WriteList(const std::string& text) { std::ofstream(FInstall + "UnInstall.dat", std::ios::binary) << text; }
  bool ProductIsInPlace() const {
    return Exists(FInstall + "Pelmora.Exe") && Exists(FUninstaller) && Exists(FInstall + "UnInstall.dat") &&
           Exists(FStartMenu + "Pelmora P2P.Lnk") && Exists(FLink) && KeyExists(system_state::kUninstallKey);
  }

  std::string FRoot, FInstall, FData, FStartMenu, FLink, FUninstaller;
  std::vector<std::string> FList, FKeys;
};

TEST_F(UninstallerTest, QuietRunRemovesTheProductAndNothingElse) {
  Install(FData);
  for (const char* file : {"a.PCF", "b.dat", "c.PTH", "Pelmora.data", "keep.txt"}) Touch(FData + file);
  const std::string other = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Other.Lnk";
  Touch(other);
  const std::string otherKey = std::string(kUninstallKeyPrefix) + "Pelmora P2P other";
  FKeys = {otherKey};
  MakeKey(otherKey);

  Program uninstall(FUninstaller, "/quiet");
  ASSERT_TRUE(uninstall.Started());
  EXPECT_EQ(uninstall.WaitForExit(20000), 1) << "the data folder keeps an unlisted file, which is reported";

  for (const std::string& gone : {FData + "a.PCF", FData + "b.dat", FData + "c.PTH", FData + "Pelmora.dat",
                                  FInstall + "Pelmora.Exe", FInstall + "PMInst.dat", FLink})
    EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_FALSE(Exists(FStartMenu));
  EXPECT_FALSE(KeyExists(system_state::kUninstallKey));
  // The uninstaller's own file, its list and their folder go once it has ended.
  EXPECT_TRUE(WaitUntil([&] { return !Exists(FInstall); }, 20000)) << "the installation folder is still there";
  EXPECT_FALSE(Exists(FUninstaller));

  for (const std::string& kept : {FData + "keep.txt", FData + "Pelmora.data", other}) EXPECT_TRUE(Exists(kept)) << kept;
  EXPECT_TRUE(KeyExists(otherKey));
  DeleteFileA(other.c_str());
}

// Without a per-user data folder the client's data went to the folder the user chose, which
// also holds the user's own files of the client's kinds.
TEST_F(UninstallerTest, WhereTheDataFolderIsTheInstallationFolderOnlyTheClientsFilesGo) {
  Install(FInstall);
  for (const char* file : {"thesis.dat", "game.pth", "notes.PCF"}) Touch(FInstall + file, "the user's own");

  Program uninstall(FUninstaller, "/quiet");
  EXPECT_EQ(uninstall.WaitForExit(20000), 1) << "the folder keeps the user's files, which is reported";
  for (const char* file : {"thesis.dat", "game.pth", "notes.PCF"})
    EXPECT_EQ(ReadAll(FInstall + file), "the user's own") << file;
  for (const char* file : {"Pelmora.Exe", "PMInst.dat", "Pelmora.dat"}) EXPECT_FALSE(Exists(FInstall + file)) << file;
  // The uninstaller and its list go one after the other once it has ended.
  EXPECT_TRUE(WaitUntil([&] { return !Exists(FUninstaller) && !Exists(FInstall + "UnInstall.dat"); }, 20000))
      << "the uninstaller or its list is still there";
  EXPECT_FALSE(KeyExists(system_state::kUninstallKey));
}

TEST_F(UninstallerTest, AListThatNamesAnythingOutsideTheProductIsRefusedAndNothingIsTouched) {
  Install(FData);
  const std::string victimDir = FRoot + "victimdir\\";
  CreateDirectoryA(victimDir.c_str(), nullptr);
  const std::vector<std::string> victims = {FRoot + "victim.txt", victimDir + "a.txt", FInstall + "thesis.dat",
                                            FData + "sub\\x.dat"};
  CreateDirectoryA((FData + "sub").c_str(), nullptr);
  for (const std::string& victim : victims) Touch(victim);
  const std::string otherKey = std::string(kUninstallKeyPrefix) + "Other Product";
  FKeys = {otherKey};
  MakeKey(otherKey);
  const std::string otherMenu = ShellFolder(CSIDL_PROGRAMS) + "\\Other Product\\";
  CreateDirectoryA(otherMenu.c_str(), nullptr);
  Touch(otherMenu + "Other.Lnk");

  struct Case {
    const char* name;
    std::string text;
  };
  const std::string list = ListText(FList);
  const Case cases[] = {
      {"a file elsewhere", list + "<F" + FRoot + "victim.txt>\r\n"},
      {"a file first", "Pelmora P2P\r\n<F" + FRoot + "victim.txt>\r\n" + list.substr(list.find("\r\n") + 2)},
      {"all files of a folder", list + "<P" + victimDir + "*>\r\n"},
      {"a mask in the installation folder", list + "<P" + FInstall + "*.DAT>\r\n"},
      {"a mask below the data folder", list + "<P" + FData + "sub\\*.DAT>\r\n"},
      {"another folder", list + "<E" + victimDir + ">\r\n"},
      {"another product's entry", list + "<R" + otherKey + ">\r\n"},
      {"another start-menu folder", list + "<SOther Product>\r\n"},
      {"another desktop shortcut", list + "<TOther.Lnk>\r\n"},
      {"only the product name", "Pelmora P2P\r\n"},
      {"another product's list", "Other Product" + list.substr(list.find("\r\n"))},
  };
  for (const Case& c : cases) {
    WriteList(c.text);
    Program uninstall(FUninstaller, "/quiet");
    EXPECT_EQ(uninstall.WaitForExit(20000), 2) << c.name;
    for (const std::string& victim : victims) EXPECT_TRUE(Exists(victim)) << c.name << ": " << victim;
    EXPECT_TRUE(KeyExists(otherKey)) << c.name;
    EXPECT_TRUE(Exists(otherMenu + "Other.Lnk")) << c.name;
    EXPECT_TRUE(ProductIsInPlace()) << c.name << ": the product's own places are not touched either";
  }
  std::error_code ignored;
  std::filesystem::remove_all(otherMenu, ignored);

  // Asked interactively, the user is told which line and why, before any question.
  WriteList(list + "<F" + FRoot + "victim.txt>\r\n");
  Program uninstall(FUninstaller, "");
  const ShownMessageBox box = WaitForMessageBox(uninstall.Id(), kPatientMs);
  ASSERT_TRUE(box) << "no message";
  const std::string& text = box.Text;
  EXPECT_NE(text.find("UnInstall.dat, line 19: " + FRoot + "victim.txt is not a file of Pelmora P2P"), std::string::npos)
      << text;
  EXPECT_NE(text.find("nothing was removed"), std::string::npos) << text;
  AnswerMessageBox(box, IDOK, kPatientMs);
  EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 2);
  EXPECT_TRUE(Exists(FRoot + "victim.txt"));
}

TEST_F(UninstallerTest, WhileTheClientRunsNothingIsRemoved) {
  Install(FData);
  ASSERT_TRUE(CopyFileA((BuildFolder() + "programs\\Pelmora.exe").c_str(), (FInstall + "Pelmora.Exe").c_str(), FALSE));
  Program client(FInstall + "Pelmora.Exe", "");
  ASSERT_NE(client.WaitForWindow("PelmoraP2PClient", kPatientMs), nullptr) << "the client did not start";

  {
    Program uninstall(FUninstaller, "");
    const ShownMessageBox question = WaitForMessageBox(uninstall.Id(), kPatientMs);
    ASSERT_TRUE(question) << "no question";
    ASSERT_TRUE(AnswerMessageBox(question, IDYES, kPatientMs)) << "the question stays";
    const ShownMessageBox box = WaitForMessageBox(uninstall.Id(), kPatientMs);
    ASSERT_TRUE(box) << "no message about the running client";
    const std::string& text = box.Text;
    EXPECT_EQ(text.rfind("Pelmora P2P cannot be removed while it is running (" + FInstall + "Pelmora.Exe: ", 0), 0u)
        << text;
    EXPECT_NE(text.find("\rClose Pelmora P2P and start the uninstall again; nothing was removed."), std::string::npos)
        << text;
    AnswerMessageBox(box, IDOK, kPatientMs);
    EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 4);
  }
  Program quiet(FUninstaller, "/quiet");
  EXPECT_EQ(quiet.WaitForExit(kPatientMs), 4);
  EXPECT_TRUE(ProductIsInPlace());
  EXPECT_TRUE(Exists(FData + "Pelmora.dat"));
  EXPECT_TRUE(Exists(FStartMenu + "Pelmora P2P Help.Lnk"));
}

TEST_F(UninstallerTest, DamagedListIsRefusedWithAMessageAndNothingIsTouched) {
  const std::string victim = FRoot + "victim.txt";
  Install(FData);
  Touch(victim);
  WriteList("Pelmora P2P\r\n<F" + FInstall + "Pelmora.Exe>\r\n<F" + FInstall + "..\\victim.txt>\r\n");

  Program uninstall(FUninstaller, "");
  const ShownMessageBox box = WaitForMessageBox(uninstall.Id(), kPatientMs);
  ASSERT_TRUE(box) << "no message";
  const std::string& text = box.Text;
  EXPECT_NE(text.find("UnInstall.dat, line 3: the path must not step through \".\" or \"..\""), std::string::npos) << text;
  EXPECT_NE(text.find("nothing was removed"), std::string::npos) << text;
  AnswerMessageBox(box, IDOK, kPatientMs);
  EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 2);
  EXPECT_TRUE(Exists(victim));
  EXPECT_TRUE(Exists(FInstall + "Pelmora.Exe")) << "valid lines before the bad one are not carried out either";
  EXPECT_TRUE(Exists(FUninstaller));
}

TEST_F(UninstallerTest, AnsweringNoRemovesNothing) {
  Install(FData);
  Program uninstall(FUninstaller, "");
  const ShownMessageBox box = WaitForMessageBox(uninstall.Id(), kPatientMs);
  ASSERT_TRUE(box) << "no question";
  EXPECT_EQ(box.Text, "Do you want to remove Pelmora P2P and all of its components?");
  AnswerMessageBox(box, IDNO, kPatientMs);
  EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 3);
  EXPECT_TRUE(ProductIsInPlace());
}

TEST_F(UninstallerTest, MissingListIsReportedInQuietMode) {
  Program uninstall(FUninstaller, "/quiet");
  EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 2);
  EXPECT_TRUE(Exists(FUninstaller));
}

// The clean-up switch acts only for a copy in a clean-up folder of the temporary folder.
TEST_F(UninstallerTest, TheInstalledUninstallerIgnoresTheCleanUpSwitch) {
  Install(FData);
  Touch(FInstall + "Cleanup.dat", "Pelmora P2P\r\n<F" + FInstall + "Uninstall.Exe>\r\n<F" + FInstall + "UnInstall.dat>\r\n");
  Program cleanup(FUninstaller, "/cleanup 1 1");
  EXPECT_EQ(cleanup.WaitForExit(kPatientMs), 2);
  EXPECT_TRUE(ProductIsInPlace());
}

}  // namespace
