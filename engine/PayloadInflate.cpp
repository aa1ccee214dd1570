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
  // The stored table lies whole in memory already: the inflater reads it in place, filler
  // included, and stops at the stream's end. Its blocks are still reported one by one.
  for (long long k = 1; k <= payload.N; ++k) target.Progress(k * static_cast<long long>(kPayloadBlockSize));
  TInflater inflater(payload.Blocks, static_cast<std::size_t>(payload.N) * kPayloadBlockSize);
  target.Create();

  std::unique_ptr<std::uint8_t[]> piece(new (std::nothrow) std::uint8_t[kPayloadWriteSize]);
  if (!piece) throw EOutOfMemory();
  long long inflated = 0;
  bool ended = false;
  while (!ended) {
    // A whole piece is inflated in one request; its progress is reported as requests of 1024
    // bytes would report it: the first one that falls short, if need be one for nothing,
    // reports last and ends the run.
    const auto want = static_cast<std::size_t>(
        std::min<long long>(payload.U - inflated, static_cast<long long>(kPayloadWriteSize)));
    const std::size_t got = inflater.Read(piece.get(), want);
    for (std::size_t reported = 0; !ended;) {
      const std::size_t step = std::min(got - reported, kPayloadBlockSize);
      reported += step;
      target.Progress(payload.C + inflated + static_cast<long long>(reported));
      if (step < kPayloadBlockSize) ended = true;
      else if (reported == got && got == want) break;
    }
    if (got > 0) target.Write(piece.get(), got);
    inflated += static_cast<long long>(got);
  }

  if (inflated != payload.U) throw EPayloadError();
  inflater.ExpectEnd();
}
