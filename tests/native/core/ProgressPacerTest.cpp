#include "core/ProgressPacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr long long kFinish = -1;

// One call on the pacer at a time on the clock, and what it must answer.
struct Event {
  std::uint64_t at;
  long long value;  // kFinish: Finish() instead of Step(value)
  bool show, pump;
};

struct Case {
  const char* name;
  std::vector<Event> events;
};

TEST(ProgressPacerTest, ShowsAndPumpsAtMostOnceAFrameAndAlwaysAtTheEnd) {
  const Case cases[] = {
      {"a run shorter than a frame touches the display only at its end",
       {{100, 1, false, false}, {105, 2, false, false}, {115, 3, false, false},
        {115, kFinish, true, true}}},
      {"the first step a frame after the last one shows the value recorded then",
       {{100, 1, false, false}, {116, 2, true, true}, {120, 3, false, false},
        {131, 4, false, false}, {132, 5, true, true}, {133, kFinish, false, true}}},
      {"an unchanged value is not shown again, the messages still are processed",
       {{100, 7, false, false}, {116, 7, true, true}, {140, 7, false, true},
        {141, kFinish, false, true}}},
      {"a value that goes back and comes again within a frame is not shown again",
       {{116, 5, true, true}, {120, 6, false, false}, {125, 5, false, false},
        {140, 5, false, true}}},
      {"a long pause between two steps gives one frame, not a backlog",
       {{500, 1, true, true}, {501, 2, false, false}, {515, 3, false, false},
        {516, 4, true, true}}},
      {"an end without steps only processes the messages",
       {{100, kFinish, false, true}}},
      {"after an end the next frame is a frame later; a second end shows nothing new",
       {{100, 1, false, false}, {101, kFinish, true, true}, {110, 2, false, false},
        {117, 3, true, true}, {118, kFinish, false, true}, {118, kFinish, false, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::uint64_t now = 100;
    TProgressPacer pacer([&now] { return now; });
    std::vector<long long> recorded;
    for (const Event& e : c.events) {
      now = e.at;
      const TProgressPacer::TFrame frame = e.value == kFinish ? pacer.Finish() : pacer.Step(e.value);
      if (e.value != kFinish) recorded.push_back(e.value);
      EXPECT_EQ(frame.Show, e.show) << "at " << e.at;
      EXPECT_EQ(frame.Pump, e.pump) << "at " << e.at;
      if (!recorded.empty()) {
        EXPECT_EQ(pacer.Value(), recorded.back()) << "at " << e.at;
      }
      EXPECT_FALSE(frame.Show && pacer.Pending()) << "a shown value is still pending at " << e.at;
    }
  }
}

// A run as the unpacking makes it: thousands of rising steps, a few microseconds apart.
TEST(ProgressPacerTest, ALongRunShowsRisingValuesAFrameApartAndEndsOnTheLast) {
  std::uint64_t microseconds = 0;
  TProgressPacer pacer([&microseconds] { return microseconds / 1000; });
  std::vector<long long> shown;
  std::vector<std::uint64_t> frames;
  auto take = [&](TProgressPacer::TFrame frame) {
    if (frame.Show) shown.push_back(pacer.Value());
    if (frame.Pump) frames.push_back(microseconds / 1000);
  };
  const long long last = 6014 * 1024;
  for (long long value = 1024; value <= last; value += 1024) {
    microseconds += 37;
    take(pacer.Step(value));
  }
  take(pacer.Finish());

  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), last);
  for (std::size_t i = 1; i < shown.size(); ++i) EXPECT_LT(shown[i - 1], shown[i]);
  for (std::size_t i = 1; i + 1 < frames.size(); ++i)
    EXPECT_GE(frames[i] - frames[i - 1], TProgressPacer::kFrameMs);
  // 6014 steps of 37 us take 222 ms: about one frame in every 16 ms.
  EXPECT_GE(frames.size(), 222 / 17u);
  EXPECT_LE(frames.size(), 222 / 16u + 2);
  EXPECT_FALSE(pacer.Pending());
}

TEST(ProgressPacerTest, AValueShownOutsideAFrameIsNotShownAgain) {
  std::uint64_t now = 0;
  TProgressPacer pacer([&now] { return now; });
  pacer.Step(3);
  EXPECT_TRUE(pacer.Pending());
  pacer.MarkShown();
  EXPECT_FALSE(pacer.Pending());
  EXPECT_FALSE(pacer.Finish().Show);
  pacer.Step(4);
  EXPECT_TRUE(pacer.Pending());
}

}  // namespace
