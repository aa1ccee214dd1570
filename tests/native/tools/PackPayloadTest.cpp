// The build-time packer of the embedded programs, run on small programs of the test's own: the
// unit it writes holds N, C and U as the stored form demands, and its table is the program's
// zlib stream with zero filler, which the installer's inflate turns back into the program.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "engine/PayloadInflate.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A constant of the header: "inline constexpr long long <name> = <value>;".
long long Constant(const std::string& header, const std::string& name) {
  std::smatch match;
  const std::regex pattern("inline constexpr long long " + name + " = ([0-9]+);");
  if (!std::regex_search(header, match, pattern)) return -1;
  return std::stoll(match[1]);
}

// The bytes of the table literal of the source: every string piece between "kBlocks[] =" and
// the closing ";", with the octal escapes that the packer writes.
std::string TableBytes(const std::string& source) {
  std::string bytes;
  std::size_t at = source.find("kBlocks[] =");
  const std::size_t end = source.find("\n    ;", at);
  if (at == std::string::npos || end == std::string::npos) return bytes;
  bool inside = false;
  for (; at < end; ++at) {
    const char c = source[at];
    if (c == '"') {
      inside = !inside;
    } else if (inside && c == '\\') {
      bytes += static_cast<char>((source[at + 1] - '0') * 64 + (source[at + 2] - '0') * 8 + (source[at + 3] - '0'));
      at += 3;
    } else if (inside) {
      bytes += c;
    }
  }
  return bytes;
}

class MemoryTarget : public TPayloadTarget {
 public:
  void Progress(long long) override {}
  void Create() override {}
  void Write(const std::uint8_t* data, std::size_t size) override { Bytes.append(reinterpret_cast<const char*>(data), size); }
  std::string Bytes;
};

class PackPayloadTest : public testing::Test {
 protected:
  void SetUp() override {
    FFolder = fs::temp_directory_path() / ("pelmora-pack-" + std::to_string(std::random_device{}()));
    fs::create_directories(FFolder);
  }
  void TearDown() override { fs::remove_all(FFolder); }

  // Runs the packer on the program; its exit code.
  int Pack(const std::string& program) {
    std::ofstream(FFolder / "Program.exe", std::ios::binary) << program;
    const std::string command = std::string("\"") + PELMORA_PACKER + "\" \"" + (FFolder / "Program.exe").string() +
                                "\" GB_Test_exe \"" + FFolder.string() + "\" 2>" + (FFolder / "errors.txt").string();
    return std::system(command.c_str());
  }

  fs::path FFolder;
};

TEST_F(PackPayloadTest, TheTableIsTheProgramsStreamInBlocksThatInflatesBackToIt) {
  std::mt19937 random(7);
  std::string noise(5000, '\0');
  for (char& byte : noise) byte = static_cast<char>(random());
  struct Case {
    const char* Name;
    std::string Program;
  };
  const Case cases[] = {
      {"one byte", "M"},
      {"noise that does not compress", noise},
      {"a program that compresses well", std::string(300000, 'a') + noise},
      {"every byte value, quotes and backslashes", [] {
         std::string all;
         for (int round = 0; round < 8; ++round)
           for (int value = 0; value < 256; ++value) all += static_cast<char>(value);
         return all + "\"\\?\?=\\0123";
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_EQ(Pack(c.Program), 0) << ReadAll(FFolder / "errors.txt");
    const std::string header = ReadAll(FFolder / "GB_Test_exe.h"), source = ReadAll(FFolder / "GB_Test_exe.cpp");
    const long long n = Constant(header, "N"), streamLength = Constant(header, "C"), u = Constant(header, "U");
    EXPECT_EQ(u, static_cast<long long>(c.Program.size()));
    EXPECT_GT(streamLength, n * 1024 - 1024);
    EXPECT_LE(streamLength, n * 1024);

    const std::string table = TableBytes(source);
    ASSERT_EQ(static_cast<long long>(table.size()), n * 1024);
    EXPECT_EQ(table.substr(0, 2), "\x78\xDA") << "a zlib stream at level 9";
    EXPECT_EQ(table.find_first_not_of('\0', static_cast<std::size_t>(streamLength)), std::string::npos) << "the filler is zero";

    // The stream alone inflates to the program and ends exactly at C.
    std::string inflated(c.Program.size() + 1, '\0');
    z_stream stream{};
    ASSERT_EQ(inflateInit(&stream), Z_OK);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(table.data()));
    stream.avail_in = static_cast<uInt>(table.size());
    stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
    stream.avail_out = static_cast<uInt>(inflated.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(static_cast<long long>(stream.total_in), streamLength);
    inflated.resize(stream.total_out);
    inflateEnd(&stream);
    EXPECT_TRUE(inflated == c.Program) << "the stream does not inflate to the program";

    // And so does the installer's own inflate of the stored form.
    MemoryTarget target;
    InflatePayload({reinterpret_cast<const std::uint8_t*>(table.data()), n, streamLength, u}, target);
    EXPECT_TRUE(target.Bytes == c.Program);
  }
}

TEST_F(PackPayloadTest, AnUnchangedProgramLeavesTheUnitUntouched) {
  ASSERT_EQ(Pack("the same program"), 0);
  const fs::file_time_type written = fs::last_write_time(FFolder / "GB_Test_exe.cpp");
  fs::last_write_time(FFolder / "GB_Test_exe.cpp", written - std::chrono::hours(1));
  ASSERT_EQ(Pack("the same program"), 0);
  EXPECT_EQ(fs::last_write_time(FFolder / "GB_Test_exe.cpp"), written - std::chrono::hours(1))
      << "the unit was written anew, so everything that includes it would be rebuilt";
  ASSERT_EQ(Pack("another program"), 0);
  EXPECT_NE(fs::last_write_time(FFolder / "GB_Test_exe.cpp"), written - std::chrono::hours(1));
}

TEST_F(PackPayloadTest, AnEmptyOrMissingProgramIsRefused) {
  EXPECT_NE(Pack(""), 0);
  EXPECT_NE(ReadAll(FFolder / "errors.txt").find("cannot read the program file"), std::string::npos);
  EXPECT_FALSE(fs::exists(FFolder / "GB_Test_exe.h"));
  const std::string command = std::string("\"") + PELMORA_PACKER + "\" \"" + (FFolder / "missing.exe").string() +
                              "\" GB_Test_exe \"" + FFolder.string() + "\" 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_FALSE(fs::exists(FFolder / "GB_Test_exe.cpp"));
}

}  // namespace
