#include "engine/PayloadInflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

namespace {

// A payload packed as the build packs one: zlib level 9, blocks of 1024, here with filler
// that is not zero, since the filler has no meaning.
struct PackedPayload {
  std::vector<std::uint8_t> Table;
  long long C = 0;
  long long U = 0;
  TPayload Payload() const {
    return {Table.data(), static_cast<long long>(Table.size() / kPayloadBlockSize), C, U};
  }
};

PackedPayload Pack(const std::string& program) {
  uLongf length = compressBound(static_cast<uLong>(program.size()));
  std::vector<std::uint8_t> stream(length);
  EXPECT_EQ(compress2(stream.data(), &length, reinterpret_cast<const Bytef*>(program.data()),
                      static_cast<uLong>(program.size()), 9),
            Z_OK);
  PackedPayload packed;
  packed.C = static_cast<long long>(length);
  packed.U = static_cast<long long>(program.size());
  packed.Table.assign(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length));
  packed.Table.resize((length + kPayloadBlockSize - 1) / kPayloadBlockSize * kPayloadBlockSize, 0xA5);
  return packed;
}

// Text that compresses well mixed with noise that does not, like a program file.
std::string Program(std::size_t size, unsigned seed = 7) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = (i / 4096) % 2 ? static_cast<char>(generator()) : static_cast<char>("PELMORA "[i % 8]);
  return bytes;
}

class RecordingTarget : public TPayloadTarget {
 public:
  void Progress(long long position) override { Positions.push_back(position); }
  void Create() override {
    CreatedAfter = Positions.size();
    if (FailCreate) throw EFCreateError("X:\\Pelmora.Exe", "Sharing violation.");
  }
  void Write(const std::uint8_t* data, std::size_t size) override {
    ASSERT_LE(size, kPayloadWriteSize);
    ASSERT_GT(size, 0u);
    Writes.push_back(size);
    Output.append(reinterpret_cast<const char*>(data), size);
    if (FailWriteAt && Output.size() >= FailWriteAt) throw EInOutError(112);
  }
  std::vector<long long> Positions;
  std::size_t CreatedAfter = SIZE_MAX;
  std::string Output;
  std::vector<std::size_t> Writes;
  bool FailCreate = false;
  std::size_t FailWriteAt = 0;
};

TEST(PayloadInflateTest, InflatesToTheProgramWithAStepPerBlockAndPerRequest) {
  for (const std::size_t size : {std::size_t{1}, std::size_t{1023}, std::size_t{1024}, std::size_t{3 * 1024},
                                 std::size_t{5000}, kPayloadWriteSize, kPayloadWriteSize + 1,
                                 std::size_t{300 * 1024 + 512}}) {
    SCOPED_TRACE("program of " + std::to_string(size) + " bytes");
    const std::string program = Program(size);
    const PackedPayload packed = Pack(program);
    const TPayload payload = packed.Payload();
    ASSERT_EQ(packed.Table[0], 0x78);
    ASSERT_EQ(packed.Table[1], 0xDA);
    ASSERT_GT(payload.C, payload.N * 1024 - 1024);
    ASSERT_LE(payload.C, payload.N * 1024);

    RecordingTarget target;
    InflatePayload(payload, target);
    EXPECT_EQ(target.Output, program);

    // Copying: 1024, 2048, ... N x 1024; the file is created right after.
    ASSERT_EQ(target.CreatedAfter, static_cast<std::size_t>(payload.N));
    for (long long k = 1; k <= payload.N; ++k) EXPECT_EQ(target.Positions[k - 1], k * 1024);
    // Writing: C + 1024, C + 2048, ... up to C + U; a program of whole blocks ends with a
    // request for nothing that reports C + U once more.
    const long long requests = payload.U / 1024 + 1;
    ASSERT_EQ(target.Positions.size(), static_cast<std::size_t>(payload.N + requests));
    for (long long r = 1; r <= requests; ++r)
      EXPECT_EQ(target.Positions[payload.N + r - 1], payload.C + std::min(r * 1024, payload.U));
    EXPECT_EQ(target.Positions.back(), payload.C + payload.U);
    // The program goes out in whole pieces, the last one with the rest.
    ASSERT_EQ(target.Writes.size(), (size + kPayloadWriteSize - 1) / kPayloadWriteSize);
    for (std::size_t w = 0; w + 1 < target.Writes.size(); ++w) EXPECT_EQ(target.Writes[w], kPayloadWriteSize);
  }
}

TEST(PayloadInflateTest, DamagedOrMismatchedTablesRaiseError) {
  const std::string program = Program(40 * 1024 + 100);
  const PackedPayload good = Pack(program);
  struct Case {
    const char* what;
    PackedPayload packed;
  };
  std::vector<Case> cases;
  {
    Case c{"a flipped byte inside the stream", good};
    c.packed.Table[static_cast<std::size_t>(good.C / 2)] ^= 0x10;
    cases.push_back(c);
  }
  {
    Case c{"a flipped byte of the check value", good};
    c.packed.Table[static_cast<std::size_t>(good.C - 1)] ^= 0x01;
    cases.push_back(c);
  }
  {
    Case c{"a table cut short by one block", good};
    c.packed.Table.resize(c.packed.Table.size() - kPayloadBlockSize);
    cases.push_back(c);
  }
  {
    Case c{"a table cut to one block", good};
    c.packed.Table.resize(kPayloadBlockSize);
    cases.push_back(c);
  }
  {
    Case c{"a program length one byte longer than the stream gives", good};
    c.packed.U += 1;
    cases.push_back(c);
  }
  {
    Case c{"a program length one byte shorter than the stream gives", good};
    c.packed.U -= 1;
    cases.push_back(c);
  }
  {
    Case c{"an empty table", good};
    c.packed.Table.clear();
    cases.push_back(c);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingTarget target;
    try {
      InflatePayload(c.packed.Payload(), target);
      ADD_FAILURE() << "no error raised";
    } catch (const EPayloadError& error) {
      EXPECT_STREQ(error.what(), "Error");
    }
    EXPECT_LE(target.Output.size(), program.size());
  }
}

TEST(PayloadInflateTest, CreateFailureComesAfterTheCopyingPhaseAndWritesNothing) {
  const PackedPayload packed = Pack(Program(10 * 1024));
  RecordingTarget target;
  target.FailCreate = true;
  EXPECT_THROW(InflatePayload(packed.Payload(), target), EFCreateError);
  EXPECT_TRUE(target.Output.empty());
  ASSERT_FALSE(target.Positions.empty());
  EXPECT_EQ(target.Positions.back(), packed.Payload().N * 1024);
}

TEST(PayloadInflateTest, WriteFailureEndsTheExtractionWithTheProgressAtTheBytesHandedOver) {
  const PackedPayload packed = Pack(Program(3 * kPayloadWriteSize + 100));
  RecordingTarget target;
  target.FailWriteAt = 2 * kPayloadWriteSize;
  try {
    InflatePayload(packed.Payload(), target);
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& error) {
    EXPECT_STREQ(error.what(), "I/O error 112");
  }
  EXPECT_EQ(target.Output.size(), 2 * kPayloadWriteSize);
  EXPECT_EQ(target.Positions.back(), packed.C + static_cast<long long>(target.Output.size()));
}

}  // namespace
