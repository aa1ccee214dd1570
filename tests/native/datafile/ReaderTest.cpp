#include <gtest/gtest.h>

#include <string>

#include "core/Random.h"
#include "datafile/DataFileReader.h"
#include "datafile/GB_PELMORA_DAT.h"
#include "datafile/LIB_Data1_ReadWrite.h"
#include "tests/native/datafile/MemoryFile.h"

namespace {

TEST(DataReader, ReadsBackEveryKindOfValue) {
  RandSeed(7);
  TLibData1_ReadWrite writer;
  TMemoryFile file;
  const std::string key = MakeKey();
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  for (int b = 0; b < 256; ++b) writer.WriteByte(file, static_cast<std::uint8_t>(b));
  writer.WritePlainText(file, key);
  for (int i = 0; i < 300; ++i) {
    writer.WriteText(file, allBytes);
    writer.WriteTag(file, static_cast<std::uint8_t>(i));
    writer.WriteBoolean(file, i % 2 == 0);
    writer.WriteInteger(file, -i * 1000003);
    writer.WriteCardinal(file, 4000000000u + static_cast<std::uint32_t>(i));
    writer.WriteDateTime(file, 45000.125 + i);
    writer.WriteAddress(file, ParseAddress("198.51.100." + std::to_string(i % 256), static_cast<std::uint16_t>(i * 200)));
  }

  TDataReader reader(file.Bytes());
  for (int b = 0; b < 256; ++b) ASSERT_EQ(reader.ReadByte("byte"), b);
  ASSERT_EQ(reader.ReadPlainText("key"), key);
  reader.SetKey(key);
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(reader.ReadText("text"), allBytes) << i;
    ASSERT_EQ(reader.ReadTag("tag"), static_cast<std::uint8_t>(i));
    ASSERT_EQ(reader.ReadBoolean("flag"), i % 2 == 0);
    ASSERT_EQ(reader.ReadInteger("integer"), -i * 1000003);
    ASSERT_EQ(reader.ReadCardinal("cardinal"), 4000000000u + static_cast<std::uint32_t>(i));
    ASSERT_EQ(reader.ReadFloat("date"), FloatToText(45000.125 + i));
    ASSERT_EQ(AddressToText(reader.ReadAddress("address")),
              "198.51.100." + std::to_string(i % 256) + ":" + std::to_string(static_cast<std::uint16_t>(i * 200)));
  }
  EXPECT_TRUE(reader.AtEnd());
}

struct TDamageCase {
  const char* name;
  std::string bytes;
  std::size_t offset;
  const char* says;
};

TEST(DataReader, NamesTheOffsetAndWhatItExpected) {
  const TDamageCase cases[] = {
      {"empty", "", 0, "expected the leading value 0, found the end of the file"},
      {"lone control byte", std::string("\x1F\x54\x05", 3), 2, "unescaped control byte 5"},
      {"bad escape", "\x1F\x54\x1F\x20", 2, "expected an escaped value (84 to 115) after byte 31"},
      {"leading value", "\x41", 0, "expected the leading value 0, found byte 65"},
      {"key longer than the file", "\x1F\x54\xC8\x1F\x57" "abc", 2, "bytes, found only 3 bytes left"},
  };
  for (const TDamageCase& c : cases) {
    try {
      ReadDataFile(c.bytes);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EDataFileError& error) {
      EXPECT_EQ(error.Offset, c.offset) << c.name;
      EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << c.name << ": " << error.what();
      EXPECT_EQ(std::string(error.what()).rfind("byte offset " + std::to_string(c.offset) + ": ", 0), 0u)
          << error.what();
    }
  }
  TDataReader flags("\x30");
  EXPECT_THROW(flags.ReadBoolean("flag"), EDataFileError);
}

// A real file, cut or changed anywhere, is reported as damaged and never read out of bounds.
class DamagedFileTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RandSeed(99);
    TLibData1_ReadWrite writer;
    TMemoryFile file;
    DataWriter = &writer;
    writer.WriteByte(file, 0);
    writer.WritePlainText(file, MakeKey());
    for (int field = 0; field < 17; ++field) {
      if (field == 7 || field == 10 || field == 12) writer.WriteBoolean(file, true);
      else writer.WriteInteger(file, field);
    }
    writer.WriteTag(file, 8);
    writer.WriteInteger(file, 1);
    writer.WriteTag(file, 8);
    writer.WriteText(file, "D:\\Downloads");
    writer.WriteBoolean(file, true);
    writer.WriteBoolean(file, true);
    writer.WriteTag(file, 0);
    writer.WriteTag(file, 22);
    writer.WriteTag(file, 32);
    WriteGnuHosts(file);
    writer.WriteTag(file, 0);
    writer.WriteTag(file, 27);
    WritePeppHosts(file);
    writer.WriteTag(file, 0);
    WriteSettings(file);
    writer.WriteTag(file, 0);
    WriteKnownHashes(file);
    writer.WriteTag(file, 0);
    DataWriter = nullptr;
    Bytes = new std::string(file.Bytes());
  }
  static void TearDownTestSuite() { delete Bytes; }
  static inline std::string* Bytes;
};

TEST_F(DamagedFileTest, WholeFileReadsAndEveryCutIsDamage) {
  ASSERT_NO_THROW(ReadDataFile(*Bytes));
  for (std::size_t length = 0; length < Bytes->size(); length += 1 + length / 16) {
    try {
      ReadDataFile(std::string_view(*Bytes).substr(0, length));
      ADD_FAILURE() << "a file cut at " << length << " was read as whole";
    } catch (const EDataFileError& error) {
      ASSERT_LE(error.Offset, length);
    }
  }
  try {
    ReadDataFile(*Bytes + "xyz");
    ADD_FAILURE() << "trailing bytes were accepted";
  } catch (const EDataFileError& error) {
    EXPECT_EQ(error.Offset, Bytes->size());
    EXPECT_NE(std::string(error.what()).find("expected the end of the file, found 3 more bytes"), std::string::npos);
  }
}

TEST_F(DamagedFileTest, ChangedBytesAreReadOrReportedNeverOverrun) {
  // The fuzz target goes much further; this keeps a few changes in every test run.
  for (std::size_t at = 0; at < Bytes->size(); at += 7919) {
    for (const std::uint8_t value : {0x1F, 0xFF}) {
      std::string changed = *Bytes;
      changed[at] = static_cast<char>(value);
      try {
        ReadDataFile(changed);
      } catch (const EDataFileError& error) {
        ASSERT_LE(error.Offset, changed.size()) << "change at " << at;
      }
    }
  }
}

}  // namespace
