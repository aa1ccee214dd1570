#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>

#include "core/Random.h"
#include "datafile/DataFileReader.h"
#include "datafile/WriteDataFile.h"
#include "tools/DataFileText.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a shell command; its exit code, with its standard output and error in output.
int RunCommand(const std::string& command, std::string& output) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  char buffer[4096];
  output.clear();
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  return WEXITSTATUS(pclose(pipe));
}

// One data file as the installation run writes it, in a folder of the test's own.
class PmdatTest : public testing::Test {
 protected:
  void SetUp() override {
    Randomize();
    Folder = std::filesystem::temp_directory_path() / ("pelmora-pmdat-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(Folder);
    Path = (Folder / "Pelmora.Dat").string();
    WriteDataFile(Path, {R"(C:\Users\Ann\AppData\Local\Pelmora P2P\)", R"(D:\Downloads\)", "01", 3}, {});
  }
  void TearDown() override { std::filesystem::remove_all(Folder); }

  std::filesystem::path Folder;
  std::string Path;
};

TEST_F(PmdatTest, PrintsTheFileAsTextAndAsJson) {
  std::string output;
  ASSERT_EQ(RunCommand(std::string(PMDAT_PATH) + " --json '" + Path + "' > '" + Path + ".json'", output), 0);
  EXPECT_EQ(ReadAll(Path + ".json"), DataFileToJson(ReadDataFile(ReadAll(Path))));
  ASSERT_EQ(RunCommand("python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))[\"gnuHosts\"]))' '" +
                    Path + ".json'",
                output), 0)
      << "not a JSON document: " << output;
  EXPECT_EQ(output, "500\n");
  ASSERT_EQ(RunCommand(std::string(PMDAT_PATH) + " '" + Path + "'", output), 0);
  EXPECT_NE(output.find(R"(releaseCode: "01")"), std::string::npos);
}

TEST_F(PmdatTest, NamesTheOffsetOfDamageAndRefusesWrongUsage) {
  const std::string damaged = (Folder / "damaged.dat").string();
  std::ofstream(damaged, std::ios::binary) << ReadAll(Path).substr(0, 5000);
  std::string output;
  EXPECT_EQ(RunCommand(std::string(PMDAT_PATH) + " '" + damaged + "'", output), 1);
  EXPECT_NE(output.find("damaged at byte offset"), std::string::npos) << output;
  EXPECT_TRUE(std::regex_search(output, std::regex(R"(byte offset (\d+): expected .*(end of the file|left))")))
      << output;
  EXPECT_EQ(RunCommand(std::string(PMDAT_PATH), output), 2);
  EXPECT_EQ(RunCommand(std::string(PMDAT_PATH) + " '" + (Folder / "missing.dat").string() + "'", output), 1);
  EXPECT_NE(output.find("cannot open the file"), std::string::npos) << output;
}

}  // namespace
