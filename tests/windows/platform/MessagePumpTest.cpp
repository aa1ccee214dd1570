// The message pump under Wine: a wait for messages ends as soon as what it waits for is done,
// and leaves later messages for whoever pumps next.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/MessagePump.h"

namespace {

constexpr UINT kCounted = WM_APP + 17;

class MessagePumpTest : public testing::Test {
 protected:
  void SetUp() override {
    FSaved = std::move(Pump.PreDispatch);
    Pump.PreDispatch = [this](MSG& message) {
      if (message.message != kCounted) return false;
      ++Handled;
      return true;
    };
  }
  void TearDown() override {
    Pump.PreDispatch = std::move(FSaved);
    MSG message;
    while (PeekMessageA(&message, nullptr, kCounted, kCounted, PM_REMOVE)) {
    }
  }

  TMessagePump& Pump = TMessagePump::Instance();
  int Handled = 0;

 private:
  std::function<bool(MSG&)> FSaved;
};

TEST_F(MessagePumpTest, AWaitEndsWhenDoneAndLeavesTheRestQueued) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), kCounted, 0, 0));
  // A minute's bound that the test never comes near: the wait ends on the first message.
  Pump.ProcessMessagesUntil(GetTickCount64(), 60000, [this] { return Handled >= 1; });
  EXPECT_EQ(Handled, 1);
  MSG message;
  int left = 0;
  while (PeekMessageA(&message, nullptr, kCounted, kCounted, PM_REMOVE)) ++left;
  EXPECT_EQ(left, 2) << "the messages after the one waited for stay for the next pump";
}

TEST_F(MessagePumpTest, AWaitAlreadyDoneHandlesNothing) {
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), kCounted, 0, 0));
  Pump.ProcessMessagesUntil(GetTickCount64(), 60000, [] { return true; });
  EXPECT_EQ(Handled, 0);
}

TEST_F(MessagePumpTest, AWaitWithoutDoneHandlesEveryMessageUntilItsTime) {
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), kCounted, 0, 0));
  Pump.ProcessMessagesUntil(GetTickCount64(), 50);
  EXPECT_EQ(Handled, 3);
}

}  // namespace
