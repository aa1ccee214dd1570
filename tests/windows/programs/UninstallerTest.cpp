// The real Uninstall.exe run on removal lists made by the tests: files, masks, folders, an
// uninstall entry under HKEY_LOCAL_MACHINE, a start-menu folder and a desktop shortcut.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/windows/programs/ProgramsTestSupport.h"

namespace {

const std::string kUninstallKeys = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::string(path) + "\\";
}

void Touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "x"; }

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

class UninstallerTest : public testing::Test {
 protected:
  void SetUp() override {
    id_ = std::to_string(GetCurrentProcessId());
    root_ = TestFolder("uninstall");
    install_ = root_ + "Pelmora P2P\\";
    data_ = root_ + "Data\\";
    CreateDirectoryA(install_.c_str(), nullptr);
    CreateDirectoryA(data_.c_str(), nullptr);
    uninstaller_ = install_ + "Uninstall.Exe";
    ASSERT_TRUE(CopyFileA((BuildFolder() + "programs\\Uninstall.exe").c_str(), uninstaller_.c_str(), FALSE));
  }
  void TearDown() override {
    // Whatever a failed test left behind.
    for (const std::string& key : keys_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    for (const std::string& path : leftovers_) DeleteFileA(path.c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) RemoveDirectoryA(folder->c_str());
  }
  void WriteList(const std::string& text) { std::ofstream(install_ + "UnInstall.dat", std::ios::binary) << text; }

  std::string id_, root_, install_, data_, uninstaller_;
  std::vector<std::string> keys_, leftovers_, folders_;
};

TEST_F(UninstallerTest, QuietRunRemovesExactlyWhatTheListNames) {
  const std::string key = kUninstallKeys + "Pelmora P2P test " + id_;
  const std::string otherKey = kUninstallKeys + "Pelmora P2P test " + id_ + " other";
  const std::string startMenu = ShellFolder(CSIDL_PROGRAMS) + "Pelmora P2P test " + id_ + "\\";
  const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  const std::string link = desktop + "Pelmora P2P test " + id_ + ".Lnk";
  const std::string otherLink = desktop + "Other " + id_ + ".Lnk";
  const std::string empty = root_ + "Empty\\";
  keys_ = {key, otherKey};
  leftovers_ = {data_ + "keep.txt", data_ + "Pelmora.data", otherLink, data_ + "a.PCF", data_ + "b.dat",
                install_ + "Pelmora.Exe", install_ + "PMInst.dat", link, startMenu + "Pelmora P2P.Lnk",
                startMenu + "Pelmora P2P Help.Lnk", uninstaller_, install_ + "UnInstall.dat"};
  folders_ = {root_, data_, empty, install_, startMenu};

  MakeKey(key);
  MakeKey(otherKey);
  CreateDirectoryA(startMenu.c_str(), nullptr);
  CreateDirectoryA(empty.c_str(), nullptr);
  for (const std::string& file : {data_ + "a.PCF", data_ + "b.dat", data_ + "Pelmora.data", data_ + "keep.txt",
                                  install_ + "Pelmora.Exe", install_ + "PMInst.dat", startMenu + "Pelmora P2P.Lnk",
                                  startMenu + "Pelmora P2P Help.Lnk", link, otherLink})
    Touch(file);
  WriteList("Pelmora P2P\r\n"
            "<P" + data_ + "*.PCF>\r\n"
            "<P" + data_ + "*.DAT>\r\n"
            "<E" + data_ + ">\r\n"
            "<E" + empty + ">\r\n"
            "<F" + install_ + "Pelmora.Exe>\r\n"
            "<F" + install_ + "Pelmora.bak>\r\n"  // never there: not an error
            "<F" + install_ + "PMInst.dat>\r\n"
            "<F" + install_ + "Uninstall.Exe>\r\n"
            "<F" + install_ + "Uninstall.Dat>\r\n"
            "<E" + install_ + ">\r\n"
            "<R" + key + ">\r\n"
            "<SPelmora P2P test " + id_ + ">\r\n"
            "<TPelmora P2P test " + id_ + ".Lnk>\r\n");

  Program uninstall(uninstaller_, "/quiet");
  ASSERT_TRUE(uninstall.Started());
  EXPECT_EQ(uninstall.WaitForExit(20000), 1) << "the data folder keeps an unlisted file, which is reported";

  for (const std::string& gone : {data_ + "a.PCF", data_ + "b.dat", install_ + "Pelmora.Exe",
                                  install_ + "PMInst.dat", startMenu + "Pelmora P2P.Lnk", link})
    EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_FALSE(Exists(empty));
  EXPECT_FALSE(Exists(startMenu));
  EXPECT_FALSE(KeyExists(key));
  // The uninstaller's own file, its list and their folder go once it has ended.
  EXPECT_TRUE(WaitUntil([&] { return !Exists(install_); }, 20000)) << "the installation folder is still there";
  EXPECT_FALSE(Exists(uninstaller_));

  for (const std::string& kept : {data_ + "keep.txt", data_ + "Pelmora.data", otherLink})
    EXPECT_TRUE(Exists(kept)) << kept;
  EXPECT_TRUE(Exists(data_)) << "a listed folder that holds an unlisted file stays";
  EXPECT_TRUE(KeyExists(otherKey));
}

TEST_F(UninstallerTest, DamagedListIsRefusedWithAMessageAndNothingIsTouched) {
  const std::string victim = root_ + "victim.txt";
  leftovers_ = {victim, install_ + "Pelmora.Exe", uninstaller_, install_ + "UnInstall.dat"};
  folders_ = {root_, data_, install_};
  Touch(victim);
  Touch(install_ + "Pelmora.Exe");
  WriteList("Pelmora P2P\r\n<F" + install_ + "Pelmora.Exe>\r\n<F" + install_ + "..\\victim.txt>\r\n");

  Program uninstall(uninstaller_, "");
  const ShownMessageBox box = WaitForMessageBox(uninstall.Id(), kPatientMs);
  ASSERT_TRUE(box) << "no message";
  const std::string& text = box.Text;
  EXPECT_NE(text.find("UnInstall.dat, line 3: the path must not step through \".\" or \"..\""), std::string::npos) << text;
  EXPECT_NE(text.find("nothing was removed"), std::string::npos) << text;
  AnswerMessageBox(box, IDOK, kPatientMs);
  EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 2);
  EXPECT_TRUE(Exists(victim));
  EXPECT_TRUE(Exists(install_ + "Pelmora.Exe")) << "valid lines before the bad one are not carried out either";
  EXPECT_TRUE(Exists(uninstaller_));
}

TEST_F(UninstallerTest, AnsweringNoRemovesNothing) {
  leftovers_ = {install_ + "Pelmora.Exe", uninstaller_, install_ + "UnInstall.dat"};
  folders_ = {root_, data_, install_};
  Touch(install_ + "Pelmora.Exe");
  WriteList("Pelmora P2P\r\n<F" + install_ + "Pelmora.Exe>\r\n");

  Program uninstall(uninstaller_, "");
  const ShownMessageBox box = WaitForMessageBox(uninstall.Id(), kPatientMs);
  ASSERT_TRUE(box) << "no question";
  EXPECT_EQ(box.Text, "Do you want to remove Pelmora P2P and all of its components?");
  AnswerMessageBox(box, IDNO, kPatientMs);
  EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 3);
  EXPECT_TRUE(Exists(install_ + "Pelmora.Exe"));
}

TEST_F(UninstallerTest, MissingListIsReportedInQuietMode) {
  leftovers_ = {uninstaller_};
  folders_ = {root_, data_, install_};
  Program uninstall(uninstaller_, "/quiet");
  EXPECT_EQ(uninstall.WaitForExit(kPatientMs), 2);
  EXPECT_TRUE(Exists(uninstaller_));
}

}  // namespace
