#include "core/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
  const char* name;
  const char* commandLine;  // as the system hands it over, program path first
  bool autoUpdate;
  const char* installDir;
};

const CommandLineCase kCases[] = {
    {"NoParameters", R"("C:\Setup\Install_Pelmora.exe")", false, ""},
    {"SwitchAlone", R"(Install_Pelmora.exe /autoupdate)", false, ""},
    {"SwitchAloneWithBlanks", "Install_Pelmora.exe /autoupdate   \t ", false, ""},
    {"MixedCaseUnquotedFolderWithBlank", R"(Install_Pelmora.exe /AutoUpdate C:\Apps\Pelmora P2P)",
     true, R"(C:\Apps\Pelmora P2P\)"},
    {"QuotedFolderEndingInBackslash", R"(Install_Pelmora.exe /autoupdate "C:\Program Files\Pelmora P2P\")",
     true, R"(C:\Program Files\Pelmora P2P\)"},
    {"BlanksRebuiltAsSingle", R"(x.exe   /autoupdate    D:\A    B  )", true, R"(D:\A B\)"},
    {"SwitchNotFirst", R"(Install_Pelmora.exe /silent /autoupdate C:\Apps)", false, ""},
    {"SwitchGluedToFolder", R"(Install_Pelmora.exe /autoupdateC:\Apps)", false, ""},
    {"SwitchInsideQuotesWithFolder", R"(x.exe "/autoupdate C:\My Apps")", true, R"(C:\My Apps\)"},
    {"EmptyQuotedFolder", R"(x.exe /autoupdate "")", false, ""},
    {"BlankQuotedFolder", R"(x.exe /autoupdate " " "	")", false, ""},
    {"QuotesInsideTheFolder", R"(x.exe /autoupdate C:\a"b c"d)", true, R"(C:\ab cd\)"},
    {"UnclosedQuote", R"(x.exe /autoupdate "C:\Apps)", true, R"(C:\Apps\)"},
    {"RelativeFolder", R"(x.exe /autoupdate Apps\Pelmora)", false, ""},
    {"DriveWithoutBackslash", R"(x.exe /autoupdate C:)", true, R"(C:\)"},
    {"NoDriveLetter", R"(x.exe /autoupdate 1:\Apps)", false, ""},
    {"NetworkPath", R"(x.exe /autoupdate \\server\share)", false, ""},
    {"CharacterNoFolderMayHold", R"(x.exe /autoupdate C:\a|b)", false, ""},
    {"ControlCharacterInsideQuotes", "x.exe \"/autoupdate C:\\a\x01" "b\"", false, ""},
};

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, ReadsTheUnattendedUpgradeSwitch) {
  const CommandLineCase& c = GetParam();
  std::vector<std::string> parameters = SplitCommandLine(c.commandLine);
  ASSERT_FALSE(parameters.empty());
  parameters.erase(parameters.begin());

  TAutoUpdateRequest request = ParseAutoUpdate(parameters);

  EXPECT_EQ(request.AutoUpdate, c.autoUpdate);
  EXPECT_EQ(request.InstallDir, c.installDir);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<CommandLineCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(SplitCommandLineTest, QuotesGroupAndVanishAndBackslashesStayLiteral) {
  EXPECT_EQ(SplitCommandLine(R"("C:\a b\x.exe" one "two three" fo"u r"\ "" "a\")"),
            (std::vector<std::string>{R"(C:\a b\x.exe)", "one", "two three", R"(fou r\)", "",
                                      R"(a\)"}));
  EXPECT_TRUE(SplitCommandLine("  \t ").empty());
}

TEST(CommandLineLengthTest, AFolderTooLongForTheRunsFilesIsIgnored) {
  // The folder with its "\" and the longest name a run writes there, the removal list's
  // temporary name of 36 characters, must stay below the system's 260 characters.
  struct Case {
    std::size_t length;  // of the folder, its final "\" included
    bool autoUpdate;
  };
  for (const Case c : {Case{223, true}, Case{224, false}, Case{246, false}, Case{261, false}, Case{100000, false}}) {
    const std::string folder = "C:\\" + std::string(c.length - 4, 'a') + "\\";
    for (const std::string& commandLine : {"x.exe /autoupdate " + folder, "x.exe /autoupdate \"" + folder + "\""}) {
      std::vector<std::string> parameters = SplitCommandLine(commandLine);
      parameters.erase(parameters.begin());
      const TAutoUpdateRequest request = ParseAutoUpdate(parameters);
      EXPECT_EQ(request.AutoUpdate, c.autoUpdate) << c.length;
      EXPECT_EQ(request.InstallDir, c.autoUpdate ? folder : "") << c.length;
    }
  }
}

TEST(ProgramCommandTest, TheUnattendedUpgradeOrElseTheSwitchesAreReadFromTheWholeLine) {
  const TProgramCommand upgrade = ParseProgramCommand(R"("C:\Temp\Install_Pelmora.exe" /autoupdate C:\My Apps)");
  EXPECT_TRUE(upgrade.AutoUpdate.AutoUpdate);
  EXPECT_EQ(upgrade.AutoUpdate.InstallDir, R"(C:\My Apps\)");
  // Read as switches, "C:\My" and "Apps" would be stray texts.
  EXPECT_EQ(upgrade.Switches.Refusal, TSilentRefusal::None);
  EXPECT_FALSE(upgrade.Switches.Quiet);

  const TProgramCommand silent = ParseProgramCommand(R"(Install_Pelmora.exe /quiet "/dir=D:\Apps" /log=C:\x.log)");
  EXPECT_FALSE(silent.AutoUpdate.AutoUpdate);
  EXPECT_TRUE(silent.Switches.Quiet);
  EXPECT_EQ(silent.Switches.InstallDir, R"(D:\Apps\)");
  EXPECT_EQ(silent.Switches.LogFile, R"(C:\x.log)");

  // The program's own path is never read as a switch, whatever it is called.
  const TProgramCommand wizard = ParseProgramCommand(R"("C:\x\/quiet.exe")");
  EXPECT_FALSE(wizard.AutoUpdate.AutoUpdate);
  EXPECT_FALSE(wizard.Switches.Quiet);
  EXPECT_EQ(wizard.Switches.Refusal, TSilentRefusal::None);

  const TProgramCommand unusable = ParseProgramCommand("x.exe /autoupdate Apps");
  EXPECT_FALSE(unusable.AutoUpdate.AutoUpdate) << "an upgrade of no usable folder is no upgrade";
  EXPECT_EQ(unusable.Switches.Refusal, TSilentRefusal::BadSwitch) << "its words are read as switches";
}

}  // namespace
