#pragma once
// The stored form of an embedded program and its unpacking, without the platform: the caller
// supplies the progress report and the output file. The Windows ExtractPayload sits on top.
//
// A payload is one zlib stream cut into blocks of exactly 1024 bytes; the bytes of the last
// block after the stream are filler.

#include <cstddef>
#include <cstdint>

#include "core/Exceptions.h"

inline constexpr std::size_t kPayloadBlockSize = 1024;
// The program reaches the target in pieces of up to this many bytes: every write is a trip to
// the system, and one per block of 1024 bytes would make thousands of them.
inline constexpr std::size_t kPayloadWriteSize = 64 * kPayloadBlockSize;
static_assert(kPayloadWriteSize % kPayloadBlockSize == 0);

struct TPayload {
  const std::uint8_t* Blocks;  // N blocks of kPayloadBlockSize bytes, one after the other
  long long N;                 // block count
  long long C;                 // stream length in bytes
  long long U;                 // length of the program file in bytes
};

// The stored stream does not inflate to the program: damaged, cut short, or of another length.
class EPayloadError : public Exception {
 public:
  EPayloadError() : Exception("Error") {}
};

// What the unpacking drives. Create is called once, after the stored blocks are copied and
// before the first Write; a failure raised by any of them ends the unpacking.
class TPayloadTarget {
 public:
  virtual ~TPayloadTarget() = default;
  virtual void Progress(long long position) = 0;
  virtual void Create() = 0;
  virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
};

// Reports the N stored blocks (progress k x 1024 for block k), then inflates the table in
// place in requests of one piece of kPayloadWriteSize, each handed to Write whole, the last
// with the rest. Progress runs as requests of 1024 bytes would report it: C + bytes inflated
// after every 1024, and once more after the request that falls short (for nothing when the
// program is a whole number of blocks); a piece's progress comes before its Write, so that a
// failing write ends the progress at C + bytes handed to Write. Raises EPayloadError unless
// the stream inflates to exactly U bytes and ends there with a valid check value, and
// EOutOfMemory when the piece or the inflater cannot be had.
void InflatePayload(const TPayload& payload, TPayloadTarget& target);
