#include "core/SilentOptions.h"

#include <gtest/gtest.h>

#include "core/CommandLine.h"

namespace {

struct SilentCase {
  const char* name;
  const char* commandLine;  // as the system hands it over, program path first
  bool quiet;
  TSilentRefusal refusal;
  const char* installDir;
  const char* downloadDir;
  int connectionKind;
  bool desktop;
  const char* logFile;
};

constexpr TSilentRefusal kNone = TSilentRefusal::None;
constexpr TSilentRefusal kBadSwitch = TSilentRefusal::BadSwitch;

const SilentCase kCases[] = {
    {"NoParameters", "x.exe", false, kNone, "", "", 8, true, ""},
    {"QuietAlone", "x.exe /quiet", true, kNone, "", "", 8, true, ""},
    {"EveryOptionAnyOrderAnyCase",
     R"(x.exe /CONNECTION=Cable /NoDesktop /DownloadDir=D:\Dl /Log=C:\i.log /Dir=C:\Apps\P /QUIET)",
     true, kNone, R"(C:\Apps\P\)", R"(D:\Dl\)", 4, false, R"(C:\i.log)"},
    {"QuotedFoldersWithBlanks", R"(x.exe /quiet "/dir=C:\Program Files\P P" /downloaddir="D:\My Files\")",
     true, kNone, R"(C:\Program Files\P P\)", R"(D:\My Files\)", 8, true, ""},
    {"UnquotedBlankLeavesAStrayText", R"(x.exe /quiet /dir=C:\Program Files\P)", true, kBadSwitch,
     R"(C:\Program\)", "", 8, true, ""},
    {"ConnectionByNumber", "x.exe /quiet /connection=0", true, kNone, "", "", 0, true, ""},
    {"ConnectionByCaption", R"(x.exe /quiet "/connection=i don't know")", true, kNone, "", "", 8, true, ""},
    {"ConnectionByCaptionWithSlash", R"(x.exe /quiet "/connection=ADSL / DSL")", true, kNone, "", "", 3, true, ""},
    {"ConnectionKeywordT2", "x.exe /quiet /connection=T2", true, kNone, "", "", 6, true, ""},
    {"UnknownConnection", "x.exe /quiet /connection=fibre", true, TSilentRefusal::UnknownConnection, "", "", 8, true, ""},
    {"ConnectionNumberOutOfRange", "x.exe /quiet /connection=9", true, TSilentRefusal::UnknownConnection, "", "", 8, true, ""},
    {"EmptyConnection", "x.exe /quiet /connection=", true, TSilentRefusal::UnknownConnection, "", "", 8, true, ""},
    {"ConnectionWithBlanksAround", R"(x.exe /quiet "/connection= ADSL / DSL ")", true, kNone, "", "", 3, true, ""},
    {"ConnectionOfBlanksOnly", R"(x.exe /quiet "/connection=   ")", true, TSilentRefusal::UnknownConnection, "", "", 8, true, ""},
    {"EmptyFolder", "x.exe /quiet /dir=", true, TSilentRefusal::InvalidInstallDir, "", "", 8, true, ""},
    {"RootFolderRefused", R"(x.exe /quiet /dir=C:\)", true, TSilentRefusal::InvalidInstallDir, "", "", 8, true, ""},
    {"RelativeFolderRefused", R"(x.exe /quiet /dir=Apps\P)", true, TSilentRefusal::InvalidInstallDir, "", "", 8, true, ""},
    {"QuestionMarkRefused", R"(x.exe /quiet /downloaddir=D:\What?)", true, TSilentRefusal::InvalidDownloadDir, "", "", 8, true, ""},
    {"BlanksAroundAreTrimmed", R"(x.exe /quiet "/dir=  C:\Apps  ")", true, kNone, R"(C:\Apps\)", "", 8, true, ""},
    {"EmptyLogRefused", "x.exe /quiet /log=", true, kBadSwitch, "", "", 8, true, ""},
    {"DuplicateFolder", R"(x.exe /quiet /dir=C:\A /dir=C:\B)", true, kBadSwitch, R"(C:\A\)", "", 8, true, ""},
    {"DuplicateQuiet", "x.exe /quiet /quiet", true, kBadSwitch, "", "", 8, true, ""},
    {"FlagWithValue", "x.exe /quiet /nodesktop=no", true, kBadSwitch, "", "", 8, true, ""},
    {"ValueSwitchWithoutEquals", R"(x.exe /quiet /dir C:\Apps)", true, kBadSwitch, "", "", 8, true, ""},
    {"UnknownSwitch", "x.exe /quiet /silent", true, kBadSwitch, "", "", 8, true, ""},
    {"SwitchIsRefusedBeforeFolders", R"(x.exe /quiet /dir=C:\ /what)", true, kBadSwitch, "", "", 8, true, ""},
    {"InstallFolderBeforeDownloadFolder", R"(x.exe /connection=x /downloaddir=1 /dir=2 /quiet)", true,
     TSilentRefusal::InvalidInstallDir, "", "", 8, true, ""},
    {"WithoutQuietOnlyTheLogCounts", R"(x.exe /log=C:\w.log /dir=C:\Apps)", false, kNone, R"(C:\Apps\)", "",
     8, true, R"(C:\w.log)"},
    {"UnknownTextWithoutQuiet", "x.exe hello", false, kBadSwitch, "", "", 8, true, ""},
    {"UpgradeSwitchAmongSilentOnes", R"(x.exe /quiet /autoupdate C:\Apps)", true, kBadSwitch, "", "", 8, true, ""},
};

class SilentOptionsTest : public testing::TestWithParam<SilentCase> {};

TEST_P(SilentOptionsTest, ReadsTheSwitches) {
  const SilentCase& c = GetParam();
  std::vector<std::string> parameters = SplitCommandLine(c.commandLine);
  parameters.erase(parameters.begin());

  const TSilentOptions options = ParseSilentOptions(parameters);

  EXPECT_EQ(options.Quiet, c.quiet);
  EXPECT_EQ(options.Refusal, c.refusal) << options.Refused;
  EXPECT_EQ(options.InstallDir, c.installDir);
  EXPECT_EQ(options.DownloadDir, c.downloadDir);
  EXPECT_EQ(options.ConnectionKind, c.connectionKind);
  EXPECT_EQ(options.DesktopShortcut, c.desktop);
  EXPECT_EQ(options.LogFile, c.logFile);
}

INSTANTIATE_TEST_SUITE_P(Cases, SilentOptionsTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SilentCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(SilentOptionsLengthTest, FoldersTooLongForTheirFilesAreRefused) {
  // The installation folder must hold the longest name a run writes there within the system's
  // 260 characters: the removal list's temporary name, 36 characters. The download folder must
  // hold at least a one-letter file.
  struct Case {
    const char* option;
    std::size_t length;  // of the folder, its final "\" included
    bool accepted;
  };
  for (const Case c : {Case{"/dir=", 223, true}, Case{"/dir=", 224, false}, Case{"/dir=", 246, false},
                       Case{"/dir=", 5000, false},
                       Case{"/downloaddir=", 258, true}, Case{"/downloaddir=", 259, false}}) {
    const std::string folder = "C:\\" + std::string(c.length - 4, 'a') + "\\";
    const TSilentOptions options = ParseSilentOptions({"/quiet", c.option + folder});
    const bool install = std::string(c.option) == "/dir=";
    const TSilentRefusal refused = install ? TSilentRefusal::InvalidInstallDir : TSilentRefusal::InvalidDownloadDir;
    EXPECT_EQ(options.Refusal, c.accepted ? TSilentRefusal::None : refused) << c.option << c.length;
    EXPECT_EQ(install ? options.InstallDir : options.DownloadDir, c.accepted ? folder : "") << c.option << c.length;
  }
}

TEST(ConnectionKindTest, EveryKindHasAKeywordThatNamesIt) {
  for (int kind = 0; kind <= 8; ++kind) EXPECT_EQ(ConnectionKindNamed(ConnectionKindKeyword(kind)), kind);
  EXPECT_EQ(ConnectionKindKeyword(-1), "unknown");
  EXPECT_EQ(ConnectionKindNamed("Dial-up Modem < 56KBS"), 0);
  EXPECT_EQ(ConnectionKindNamed("&Cable"), -1) << "the access key mark is no part of the name";
}

}  // namespace
