#pragma once
// The stored form of an embedded program and its unpacking, without the platform: the caller
// supplies the progress report and the output file. The Windows ExtractPayload sits on top.
//
// A payload is one zlib stream cut into blocks of exactly 1024 bytes; the bytes of the last
// block after the stream are filler.

#include <cstddef>
#include <cstdint>

#include "app/Exceptions.h"

inline constexpr std::size_t kPayloadBlockSize = 1024;
// The program reaches the target in pieces of up to this many bytes: every write is a trip to
// the system, and one per block of 1024 bytes would make thousands of them.
inline constexpr std::size_t kPayloadWriteSize = 64 * kPayloadBlockSize;

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

// Copies the N blocks into a buffer (progress k x 1024 after block k), then inflates in
// requests of at most 1024 bytes, reporting C + bytes inflated after each; the bytes go to
// Write in order, a piece of kPayloadWriteSize as soon as it is full and the rest at the end,
// so that a failing write ends the progress at C + bytes handed to Write. Raises
// EPayloadError unless the stream inflates to exactly U bytes and ends there with a valid
// check value, and EOutOfMemory when the buffer or the inflater cannot be had.
void InflatePayload(const TPayload& payload, TPayloadTarget& target);
