#include <gtest/gtest.h>

#include <cstdint>
#include <locale>
#include <regex>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "core/Random.h"
#include "datafile/DataFileReader.h"
#include "datafile/DateTime.h"
#include "datafile/LIB_Data1_ReadWrite.h"
#include "tests/common/FloatTextCases.h"
#include "tests/native/datafile/MemoryFile.h"

namespace {

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// What WriteByte must produce for a value, written out independently of the writer.
std::string Escaped(std::uint8_t value) {
  if (value <= 31) return std::string{'\x1F', static_cast<char>(value + 84)};
  return std::string(1, static_cast<char>(value));
}

// The key table as the writer must hold it, followed along independently.
struct TKeyModel {
  TKeyTable Table;
  void AfterText(std::uint8_t seed) {
    if (seed <= 253) std::swap(Table[seed - 1], Table[seed + 1]);
  }
  std::string Text(std::uint8_t seed, const std::string& text) const {
    std::string out = Escaped(seed) + Escaped(static_cast<std::uint8_t>(text.size() % 256)) +
                      Escaped(static_cast<std::uint8_t>(text.size() / 256));
    for (std::size_t k = 0; k < text.size(); ++k)
      out += Escaped(static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[k]) +
                                               Table[(seed + k) % 256]));
    return out;
  }
  std::string Tag(std::uint8_t value) const {
    return Escaped(static_cast<std::uint8_t>(value + Table[16]));
  }
};

// The seed of a scrambled text is its first value.
std::uint8_t SeedOf(const std::string& bytes) {
  return bytes[0] == '\x1F' ? static_cast<std::uint8_t>(bytes[1] - 84)
                            : static_cast<std::uint8_t>(bytes[0]);
}

class RecordWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    RandSeed(20240611);
    Key = MakeKey();
    Model.Table = DeriveKeyTable(Key);
  }
  std::string Written(const std::function<void(TMemoryFile&)>& write) {
    TMemoryFile file;
    write(file);
    return file.Bytes();
  }

  TLibData1_ReadWrite Writer;
  std::string Key;
  TKeyModel Model;
};

TEST_F(RecordWriterTest, WriteByteEscapesValuesBelow32) {
  const struct {
    std::uint8_t value;
    const char* hex;
  } cases[] = {{0, "1F 54"}, {31, "1F 73"}, {32, "20"}, {255, "FF"}};
  for (const auto& c : cases)
    EXPECT_EQ(Hex(Written([&](TMemoryFile& f) { Writer.WriteByte(f, c.value); })), c.hex)
        << int{c.value};
}

TEST_F(RecordWriterTest, PlainTextHasTwoLengthValuesAndNoKey) {
  EXPECT_EQ(Hex(Written([&](TMemoryFile& f) { Writer.WritePlainText(f, ""); })), "1F 54 1F 54");
  const std::string text(300, 'A');
  EXPECT_EQ(Written([&](TMemoryFile& f) { Writer.WritePlainText(f, text); }),
            "\x2C\x1F\x55" + text);
}

TEST_F(RecordWriterTest, KeyTextIsWithinItsRangesAndReadsBackExactly) {
  for (int i = 0; i < 50; ++i) {
    const std::string key = MakeKey();
    ASSERT_GE(key.size(), 879u);
    ASSERT_LE(key.size(), 977u);
    for (const char c : key) {
      ASSERT_GE(static_cast<std::uint8_t>(c), 14);
      ASSERT_LE(static_cast<std::uint8_t>(c), 253);
    }
    const std::string bytes = Written([&](TMemoryFile& f) { Writer.WritePlainText(f, key); });
    TDataReader reader(bytes);
    EXPECT_EQ(reader.ReadPlainText("key"), key);
    EXPECT_TRUE(reader.AtEnd());
  }
}

TEST(KeyTable, IsTheKeyAtMultiplesOfFiveDownTo250ThenAtEvenPositions) {
  std::string key;
  for (int p = 1; p <= 900; ++p) key += static_cast<char>(14 + p % 240);
  const auto at = [&key](int p) { return static_cast<std::uint8_t>(key[p - 1]); };
  std::vector<std::uint8_t> expected;
  for (int p = 900; p >= 250; p -= 5) expected.push_back(at(p));  // 131 bytes
  for (int p = 2; expected.size() < 256; p += 2) expected.push_back(at(p));
  const TKeyTable table = DeriveKeyTable(key);
  EXPECT_EQ(std::vector<std::uint8_t>(table.begin(), table.end()), expected);
}

TEST(KeyTable, ShortKeyIsPaddedWithBlanksAndFilledFromItsOwnPositions) {
  const TKeyTable table = DeriveKeyTable("");
  // 300 blanks: multiples of 5 from 300 down to 250 give 11, the even positions 150 more, and
  // the rest is K[q] for q = 161 to 255, all blanks.
  for (const std::uint8_t b : table) EXPECT_EQ(b, 32);
}

TEST_F(RecordWriterTest, ScrambledTextsFollowTheKeyTableAndItsExchanges) {
  // Many texts, empty ones among them, until every seed, 254 included, has been seen.
  std::vector<bool> seen(256);
  for (int i = 0; i < 4000; ++i) {
    const std::string text = i % 3 == 0 ? "" : std::string(static_cast<std::size_t>(i % 300), 'x') + "\x01\xff";
    const std::string bytes = Written([&](TMemoryFile& f) { Writer.WriteText(f, text); });
    const std::uint8_t seed = SeedOf(bytes);
    ASSERT_GE(seed, 1);
    ASSERT_LE(seed, 254);
    seen[seed] = true;
    ASSERT_EQ(Hex(bytes), Hex(Model.Text(seed, text))) << "text " << i << ", seed " << int{seed};
    Model.AfterText(seed);
  }
  EXPECT_TRUE(seen[254]);
  EXPECT_TRUE(seen[1]);
}

TEST_F(RecordWriterTest, EmptyTextIsSeedAndTwoZeroLengthsAndStillExchanges) {
  for (int i = 0; i < 1000; ++i) {
    const std::string bytes = Written([&](TMemoryFile& f) { Writer.WriteText(f, ""); });
    const std::uint8_t seed = SeedOf(bytes);
    ASSERT_EQ(Hex(bytes), Hex(Escaped(seed) + "\x1F\x54\x1F\x54"));
    Model.AfterText(seed);
    // A 256-byte text shows every byte of the table.
    const std::string probe(256, '\0');
    const std::string probeBytes = Written([&](TMemoryFile& f) { Writer.WriteText(f, probe); });
    ASSERT_EQ(Hex(probeBytes), Hex(Model.Text(SeedOf(probeBytes), probe)));
    Model.AfterText(SeedOf(probeBytes));
  }
}

TEST_F(RecordWriterTest, TagAfterTextWithSeed15Or17IsShiftedByTheExchangedByte) {
  for (const std::uint8_t wanted : {15, 17}) {
    bool found = false;
    for (int i = 0; i < 5000 && !found; ++i) {
      const std::string bytes = Written([&](TMemoryFile& f) { Writer.WriteText(f, "abc"); });
      const std::string tagBefore = Model.Tag(200);
      Model.AfterText(SeedOf(bytes));
      if (SeedOf(bytes) != wanted || Model.Tag(200) == tagBefore) continue;
      found = true;
      EXPECT_EQ(Hex(Written([&](TMemoryFile& f) { Writer.WriteTag(f, 200); })), Hex(Model.Tag(200)));
    }
    EXPECT_TRUE(found) << "no text with seed " << int{wanted} << " changed T[16]";
  }
}

TEST_F(RecordWriterTest, WordAndAddressAreTagsInTheirOrder) {
  EXPECT_EQ(Written([&](TMemoryFile& f) { Writer.WriteWord(f, 0x18CA); }),
            Model.Tag(0x18) + Model.Tag(0xCA));
  const PeerAddress address = ParseAddress("1.2.3.4", 6346);
  EXPECT_EQ(Written([&](TMemoryFile& f) { Writer.WriteAddress(f, address); }),
            Model.Tag(4) + Model.Tag(2) + Model.Tag(0x18) + Model.Tag(0xCA) + Model.Tag(1) +
                Model.Tag(3));
}

TEST_F(RecordWriterTest, BooleansAreSingleBytesFromTwoSeparateRanges) {
  for (const bool value : {true, false}) {
    std::vector<bool> seen(256);
    for (int i = 0; i < 3000; ++i) {
      const std::string bytes = Written([&](TMemoryFile& f) { Writer.WriteBoolean(f, value); });
      ASSERT_EQ(bytes.size(), 1u);
      seen[static_cast<std::uint8_t>(bytes[0])] = true;
    }
    const int low = value ? 140 : 100;
    for (int b = 0; b < 256; ++b)
      EXPECT_EQ(seen[b], b >= low && b < low + 30) << "flag " << value << " byte " << b;
  }
}

// The text that a number-writing operation stored, read back through its key.
class NumberTextTest : public RecordWriterTest {
 protected:
  std::string Stored(const std::function<void(TMemoryFile&)>& write) {
    const std::string bytes = Written(write);
    TDataReader values(bytes);
    const std::uint8_t seed = values.ReadByte("seed");
    const std::size_t low = values.ReadByte("length");
    const std::size_t length = low + 256u * values.ReadByte("length");
    std::string text;
    for (std::size_t k = 0; k < length; ++k)
      text += static_cast<char>(
          static_cast<std::uint8_t>(values.ReadByte("byte") - Model.Table[(seed + k) % 256]));
    EXPECT_TRUE(values.AtEnd());
    Model.AfterText(seed);
    return text;
  }
};

TEST_F(NumberTextTest, IntegersAreDecimalTexts) {
  EXPECT_EQ(Stored([&](TMemoryFile& f) { Writer.WriteInteger(f, 0); }), "0");
  EXPECT_EQ(Stored([&](TMemoryFile& f) { Writer.WriteInteger(f, -2147483647 - 1); }), "-2147483648");
  EXPECT_EQ(Stored([&](TMemoryFile& f) { Writer.WriteCardinal(f, 4294967295u); }), "4294967295");
  EXPECT_EQ(Stored([&](TMemoryFile& f) { Writer.WriteTruncated(f, 45678.99); }), "45678");
  EXPECT_EQ(Stored([&](TMemoryFile& f) { Writer.WriteTruncated(f, -1.7); }), "-1");
  EXPECT_THROW(Writer.WriteTruncated(*std::make_unique<TMemoryFile>(), 3e9), Exception);
}

TEST_F(NumberTextTest, FloatsAndDateTimesUseTheGeneralFormat) {
  EXPECT_EQ(Stored([&](TMemoryFile& f) { Writer.WriteFloat(f, 0); }), "0");
  EXPECT_EQ(Stored([&](TMemoryFile& f) { Writer.WriteDateTime(f, 45000); }), "45000");
  const double now = Now() - 1;
  const std::string text = Stored([&](TMemoryFile& f) { Writer.WriteDateTime(f, now); });
  EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{5}(\.\d{1,10})?)"))) << text;
  EXPECT_NEAR(std::stod(text), now, 1e-9);
}

TEST_F(NumberTextTest, GuidIsThe38CharacterRegistryForm) {
  for (int i = 0; i < 20; ++i) {
    const TGUID guid = NewGuid();
    const std::string text = Stored([&](TMemoryFile& f) { Writer.WriteGuid(f, guid); });
    EXPECT_EQ(text.size(), 38u);
    EXPECT_TRUE(std::regex_match(
        text, std::regex(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})")))
        << text;
  }
  const TGUID fixed{0x0123ABCD, 0x4567, 0x89EF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
  EXPECT_EQ(GuidToString(fixed), "{0123ABCD-4567-89EF-FEDC-BA9876543210}");
  EXPECT_NE(GuidToString(NewGuid()), GuidToString(NewGuid()));
}

TEST_F(RecordWriterTest, TextsLongerThan65535BytesAreRefused) {
  TMemoryFile file;
  const std::string longest(65535, 'a');
  EXPECT_NO_THROW(Writer.WritePlainText(file, longest));
  EXPECT_NO_THROW(Writer.WriteText(file, longest));
  const std::size_t before = file.Bytes().size();
  EXPECT_THROW(Writer.WritePlainText(file, longest + 'b'), Exception);
  EXPECT_THROW(Writer.WriteText(file, longest + 'b'), Exception);
  EXPECT_EQ(file.Bytes().size(), before) << "nothing of a refused text is written";
}

TEST(FloatToText, GeneralFormatWith15SignificantDigits) {
  for (const auto& c : kFloatTextCases) EXPECT_EQ(FloatToText(c.Value), c.Text) << c.Text;
}

TEST(FloatToText, DecimalPointIsADotWhateverTheLocale) {
  struct TCommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new TCommaPoint));
  const std::string text = FloatToText(45678.25);
  std::locale::global(previous);
  EXPECT_EQ(text, "45678.25");
}

}  // namespace
