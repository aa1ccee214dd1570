#include "engine/PayloadInflate.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <new>

namespace {

// Owns an inflater over one buffer and ends it on every way out.
class TInflater {
 public:
  TInflater(const std::uint8_t* input, std::size_t size) {
    Stream.next_in = const_cast<Bytef*>(input);
    Stream.avail_in = static_cast<uInt>(size);
    const int result = inflateInit(&Stream);
    if (result == Z_MEM_ERROR) throw EOutOfMemory();
    if (result != Z_OK) throw EPayloadError();
  }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  ~TInflater() { inflateEnd(&Stream); }

  // Fills up to size bytes; fewer only when the stream or its input has ended.
  std::size_t Read(std::uint8_t* output, std::size_t size) {
    Stream.next_out = output;
    Stream.avail_out = static_cast<uInt>(size);
    while (Stream.avail_out > 0 && !Ended) {
      const uInt before = Stream.avail_out;
      const int result = inflate(&Stream, Z_NO_FLUSH);
      if (result == Z_STREAM_END) {
        Ended = true;
      } else if (result == Z_MEM_ERROR) {
        throw EOutOfMemory();
      } else if (result == Z_BUF_ERROR || (result == Z_OK && Stream.avail_out == before)) {
        break;  // the input is exhausted before the end marker
      } else if (result != Z_OK) {
        throw EPayloadError();
      }
    }
    return size - Stream.avail_out;
  }

  // After the last byte of the program the stream must end: its end marker and check value
  // follow, and no further byte.
  void ExpectEnd() {
    std::uint8_t extra;
    if (Read(&extra, 1) != 0 || !Ended) throw EPayloadError();
  }

 private:
  z_stream Stream{};
  bool Ended = false;
};

}  // namespace

void InflatePayload(const TPayload& payload, TPayloadTarget& target) {
  if (payload.N < 0 || payload.U < 0) throw EPayloadError();
  const std::size_t tableSize = static_cast<std::size_t>(payload.N) * kPayloadBlockSize;
  std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[tableSize ? tableSize : 1]);
  if (!buffer) throw EOutOfMemory();

  for (long long k = 1; k <= payload.N; ++k) {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kPayloadBlockSize;
    std::copy_n(payload.Blocks + offset, kPayloadBlockSize, buffer.get() + offset);
    target.Progress(k * static_cast<long long>(kPayloadBlockSize));
  }

  // The inflater reads the whole buffer, filler included; it stops at the stream's end.
  TInflater inflater(buffer.get(), tableSize);
  target.Create();

  // Whole requests fill the piece exactly: its size is a multiple of theirs.
  std::unique_ptr<std::uint8_t[]> piece(new (std::nothrow) std::uint8_t[kPayloadWriteSize]);
  if (!piece) throw EOutOfMemory();
  std::size_t filled = 0;
  long long inflated = 0;
  std::size_t got;
  do {
    if (filled == kPayloadWriteSize) {
      target.Write(piece.get(), filled);
      filled = 0;
    }
    const auto want = static_cast<std::size_t>(
        std::min<long long>(payload.U - inflated, static_cast<long long>(kPayloadBlockSize)));
    got = inflater.Read(piece.get() + filled, want);
    filled += got;
    inflated += static_cast<long long>(got);
    target.Progress(payload.C + inflated);
  } while (got >= kPayloadBlockSize);
  if (filled > 0) target.Write(piece.get(), filled);

  if (inflated != payload.U) throw EPayloadError();
  inflater.ExpectEnd();
}
