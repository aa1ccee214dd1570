// The generator of the data file's default content, run on data folders of the test's own: the
// rows it writes are the lines' values as C++ initialisers, texts escaped so that the compiler
// reads them back byte for byte, and a bad line or count stops it with the file and the line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A data folder with the counts the client's data file holds; Write changes one file's lines.
class GenDefaultContentTest : public testing::Test {
 protected:
  void SetUp() override {
    FFolder = fs::temp_directory_path() / ("pelmora-content-" + std::to_string(std::random_device{}()));
    fs::create_directories(FFolder);
    std::string hosts = "# comment\r\n\r\n", pepp, settings, hashes;
    for (int i = 0; i < 500; ++i) {
      hosts += "10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) + " " + std::to_string(1000 + i) + "\r\n";
      pepp += "192.168.1." + std::to_string(i % 256) + " 65535\n";
    }
    for (int i = 0; i < 2118; ++i) settings += "Key" + std::to_string(i) + "\tvalue " + std::to_string(i) + "\n";
    for (int i = 0; i < 1195; ++i) hashes += std::string(31, 'A') + static_cast<char>('2' + i % 6) + " " + std::to_string(i) + "\n";
    Write("GnuHosts.txt", hosts);
    Write("PeppHosts.txt", pepp);
    Write("Settings.txt", settings);
    Write("KnownHashes.txt", hashes);
  }
  void TearDown() override { fs::remove_all(FFolder); }

  void Write(const std::string& name, const std::string& text) { std::ofstream(FFolder / name, std::ios::binary) << text; }
  // Replaces the first data line of a file.
  void ReplaceFirstLine(const std::string& name, const std::string& line) {
    std::string text = ReadAll(FFolder / name);
    Write(name, line + "\n" + text.substr(text.find('\n') + 1));
  }

  // Runs the generator; its exit code. Its messages are in errors_.
  int Generate() {
    const std::string command = std::string("\"") + PELMORA_PYTHON + "\" \"" + PELMORA_GENERATOR + "\" \"" +
                                FFolder.string() + "\" \"" + (FFolder / "Out.cpp").string() + "\" 2>\"" +
                                (FFolder / "errors.txt").string() + "\"";
    const int code = std::system(command.c_str());
    FErrors = ReadAll(FFolder / "errors.txt");
    return code;
  }
  std::string Output() const { return ReadAll(FFolder / "Out.cpp"); }

  fs::path FFolder;
  std::string FErrors;
};

TEST_F(GenDefaultContentTest, EveryLineBecomesARowAndTextsAreEscaped) {
  ReplaceFirstLine("Settings.txt", "Say \"hi\"\\?\?=\t{maker}/caf\xE9?x");
  ReplaceFirstLine("KnownHashes.txt", "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567 4294967295");
  ASSERT_EQ(Generate(), 0) << FErrors;
  const std::string out = Output();
  EXPECT_NE(out.find("const THostDefault GnuHostDefaults[kGnuHostCount] = {\n    {{10, 0, 0, 0}, 1000},\n"), std::string::npos);
  EXPECT_NE(out.find("    {{10, 0, 1, 243}, 1499},\n};"), std::string::npos) << "the last host, comments and blank lines left out";
  EXPECT_NE(out.find("    {{192, 168, 1, 0}, 65535},"), std::string::npos);
  EXPECT_NE(out.find("{\"Say \\\"hi\\\"\\\\\\077\\077=\", TSite::Maker, \"/caf\\351\\077x\"},"), std::string::npos)
      << "quotes and backslashes escaped, question marks and other bytes as octal, the site placeholder read";
  EXPECT_NE(out.find("{\"Key1\", TSite::None, \"value 1\"},"), std::string::npos);
  EXPECT_NE(out.find("{\"ABCDEFGHIJKLMNOPQRSTUVWXYZ234567\", 4294967295u},"), std::string::npos);
  std::size_t rows = 0;
  for (std::size_t at = out.find("\n    {"); at != std::string::npos; at = out.find("\n    {", at + 1)) ++rows;
  EXPECT_EQ(rows, 500u + 500u + 2118u + 1195u);
}

TEST_F(GenDefaultContentTest, ABadLineOrCountStopsWithTheFileAndLine) {
  struct Case {
    const char* File;
    std::string Line;
    const char* Message;
  };
  const Case cases[] = {
      {"GnuHosts.txt", "10.0.0.256 80", "GnuHosts.txt:1: expected four dotted numbers from 0 to 255"},
      {"PeppHosts.txt", "10.0.0.1 0", "PeppHosts.txt:1: expected a port from 1 to 65535"},
      {"PeppHosts.txt", "10.0.0.1  80", "PeppHosts.txt:1: expected an address, a blank and a port"},
      {"Settings.txt", "Key\tone\ttab too many", "Settings.txt:1: expected a key, one tab and a value"},
      {"Settings.txt", "Key\t{elsewhere}/x", "Settings.txt:1: unknown site placeholder"},
      {"KnownHashes.txt", "abcdefghijklmnopqrstuvwxyz234567 1", "KnownHashes.txt:1: expected 32 base-32 characters"},
      {"KnownHashes.txt", std::string(32, 'A') + " 4294967296", "KnownHashes.txt:1: expected a size from 0 to 4294967295"},
      {"Settings.txt", "# one setting fewer", "Settings.txt: 2117 entries, expected 2118"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Message);
    SetUp();
    ReplaceFirstLine(c.File, c.Line);
    EXPECT_NE(Generate(), 0);
    EXPECT_NE(FErrors.find(c.Message), std::string::npos) << FErrors;
    EXPECT_FALSE(fs::exists(FFolder / "Out.cpp")) << "nothing is written";
    TearDown();
  }
  SetUp();
}

}  // namespace
