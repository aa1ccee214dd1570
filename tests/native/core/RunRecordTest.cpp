#include "core/RunRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const TRunPlaces kPlaces{"C:\\Users\\u\\AppData\\Local\\Pelmora P2P\\", "C:\\Users\\u\\Start Menu\\Programs\\Pelmora P2P\\",
                         "C:\\Users\\u\\Desktop\\Pelmora P2P.Lnk"};
const char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P";

TRunRecord Sample() {
  TRunRecord record;
  record.Set(TRunEntryKind::Kind, "installation");
  record.Set(TRunEntryKind::Step, "Client program");
  record.Set(TRunEntryKind::InstallDir, "C:\\Apps\\Pelmora P2P\\");
  record.Add({TRunEntryKind::MadeFolder, "C:\\Apps\\", {}, {}});
  record.Add({TRunEntryKind::MadeFolder, "C:\\Apps\\Pelmora P2P\\", {}, {}});
  record.Add({TRunEntryKind::NewFile, "C:\\Apps\\Pelmora P2P\\Pelmora.Exe", {}, {}});
  record.Add({TRunEntryKind::MovedAside, "C:\\Apps\\Pelmora P2P\\pelmora.dat", "C:\\Apps\\Pelmora P2P\\~pelmora.dat.1-2.old", {}});
  record.Add({TRunEntryKind::ReplacedValue, kKey, "UninstallString", "\"C:\\Old|Place\\Uninstall.Exe\" <100%>\r\nnext"});
  record.Add({TRunEntryKind::AddedValue, kKey, "DisplayName", {}});
  record.Add({TRunEntryKind::NewFile, kPlaces.StartMenuDir + "Pelmora P2P.Lnk", {}, {}});
  record.Add({TRunEntryKind::NewFile, kPlaces.DesktopShortcut, {}, {}});
  record.Add({TRunEntryKind::MadeFolder, kPlaces.UserDataDir, {}, {}});
  return record;
}

TEST(RunRecordTest, ItsTextReadsBackToTheSameRecordWhateverTheValuesHold) {
  const TRunRecord record = Sample();
  const std::string text = RunRecordText(record);
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Pelmora P2P run");
  EXPECT_NE(text.find("<VSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora P2P|UninstallString|"
                      "\"C:\\Old%7CPlace\\Uninstall.Exe\" %3C100%25%3E%0D%0Anext>\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(ParseRunRecord(text).Entries, record.Entries);
  EXPECT_EQ(ParseRunRecord(text).Kind(), "installation");
  EXPECT_EQ(ParseRunRecord(text).Step(), "Client program");
  EXPECT_EQ(ParseRunRecord(text).InstallDir(), "C:\\Apps\\Pelmora P2P\\");
}

TEST(RunRecordTest, SettingAKindOfWhichThereIsOneReplacesIt) {
  TRunRecord record = Sample();
  record.Set(TRunEntryKind::Step, "Uninstaller");
  EXPECT_EQ(record.Step(), "Uninstaller");
  EXPECT_EQ(record.Entries.size(), Sample().Entries.size());
}

TEST(RunRecordTest, TheChangesAreUndoneNewestFirst) {
  const std::vector<TRunEntry> changes = Sample().ChangesNewestFirst();
  ASSERT_EQ(changes.size(), 9u);
  EXPECT_EQ(changes.front().Target, kPlaces.UserDataDir);
  EXPECT_EQ(changes.back().Target, "C:\\Apps\\");
}

TEST(RunRecordTest, TextThatIsNoRecordIsRefused) {
  const char* const texts[] = {
      "",
      "Pelmora P2P\r\n<MC:\\A\\>\r\n",
      "Pelmora P2P run\r\nMC:\\A\\\r\n",
      "Pelmora P2P run\r\n<MC:\\A\\\r\n",
      "Pelmora P2P run\r\n<XC:\\A\\>\r\n",
      "Pelmora P2P run\r\n<OC:\\A\\x>\r\n",
      "Pelmora P2P run\r\n<NC:\\A\\x|y>\r\n",
      "Pelmora P2P run\r\n<NC:\\A\\%4>\r\n",
      "Pelmora P2P run\r\n<N>\r\n",
  };
  for (const char* text : texts) EXPECT_THROW(ParseRunRecord(text), ERunRecordError) << text;
}

TEST(RunRecordTest, OnlyTheProductsOwnPlacesMayBeUndone) {
  EXPECT_NO_THROW(CheckRunRecord(Sample(), kPlaces));
  struct Case {
    TRunEntry Entry;
    const char* Why;
  };
  const Case refused[] = {
      {{TRunEntryKind::NewFile, "C:\\Windows\\win.ini", {}, {}}, "a file outside the product's folders"},
      {{TRunEntryKind::NewFile, "C:\\Apps\\Pelmora P2P\\sub\\x.dll", {}, {}}, "a file below the installation folder"},
      {{TRunEntryKind::NewFile, "C:\\Apps\\Pelmora P2P\\..\\x.ini", {}, {}}, "a step up"},
      {{TRunEntryKind::NewFile, "Pelmora.Exe", {}, {}}, "no full path"},
      {{TRunEntryKind::MadeFolder, "C:\\Windows\\", {}, {}}, "a folder off the installation's path"},
      {{TRunEntryKind::MadeFolder, "C:\\", {}, {}}, "a drive's root"},
      {{TRunEntryKind::MovedAside, "C:\\Apps\\Pelmora P2P\\Pelmora.Exe", "C:\\Windows\\x.old", {}}, "kept elsewhere"},
      {{TRunEntryKind::MadeKey, "Software\\Microsoft\\Windows", {}, {}}, "another key"},
      {{TRunEntryKind::AddedValue, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other", "x", {}},
       "another program's entry"},
      {{TRunEntryKind::Kind, "removal", {}, {}}, "an unknown run"},
  };
  for (const Case& c : refused) {
    TRunRecord record = Sample();
    if (c.Entry.Kind == TRunEntryKind::Kind)
      record.Set(TRunEntryKind::Kind, c.Entry.Target);
    else
      record.Add(c.Entry);
    EXPECT_THROW(CheckRunRecord(record, kPlaces), ERunRecordError) << c.Why;
  }
  // Without its installation folder settled, a record may name the user's places only.
  TRunRecord early;
  early.Set(TRunEntryKind::Kind, "installation");
  early.Add({TRunEntryKind::MadeFolder, kPlaces.UserDataDir, {}, {}});
  EXPECT_NO_THROW(CheckRunRecord(early, kPlaces));
  early.Add({TRunEntryKind::NewFile, "C:\\Apps\\Pelmora P2P\\Pelmora.Exe", {}, {}});
  EXPECT_THROW(CheckRunRecord(early, kPlaces), ERunRecordError);
}

TEST(RunRecordTest, UndoingKeepsWhatCouldNotBeUndoneAndSaysWhy) {
  TRunRecord record = Sample();
  std::vector<std::string> undone;
  const std::vector<std::string> failures = UndoChanges(record, [&](const TRunEntry& change) {
    if (change.Kind == TRunEntryKind::NewFile && change.Target.find("Pelmora.Exe") != std::string::npos)
      throw Exception("Access denied.");
    undone.push_back(change.Target);
  });
  EXPECT_EQ(failures, std::vector<std::string>{"C:\\Apps\\Pelmora P2P\\Pelmora.Exe: Access denied."});
  EXPECT_EQ(undone.size(), 8u);
  EXPECT_EQ(record.ChangesNewestFirst(),
            (std::vector<TRunEntry>{{TRunEntryKind::NewFile, "C:\\Apps\\Pelmora P2P\\Pelmora.Exe", {}, {}}}));
  EXPECT_EQ(record.Kind(), "installation");
}

TEST(RunRecordTest, TemporaryAndKeptFilesAreNamedAfterTheirFileBesideIt) {
  EXPECT_EQ(TemporaryName("C:\\P\\Uninstall.Exe", "1F-2A"), "C:\\P\\~Uninstall.Exe.1F-2A.tmp");
  EXPECT_EQ(KeptName("C:\\P\\Uninstall.Exe", "1F-2A"), "C:\\P\\~Uninstall.Exe.1F-2A.old");
  EXPECT_EQ(TemporaryMask("C:\\P\\UnInstall.dat"), "C:\\P\\~UnInstall.dat.*.tmp");
}

}  // namespace
