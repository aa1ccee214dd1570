#include "tests/windows/web/LoopbackServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/Exceptions.h"
#include "ui/Application.h"
#include "tests/windows/PumpUntil.h"
#include "web/LIB_GetMemStreamFromTheWeb.h"

namespace {

std::string Body(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
  return body;
}

// What the completion event saw.
struct Completion {
  bool Done = false;
  DWORD ThreadId = 0;
  size_t Position = 99;
  std::string Body;
  std::unique_ptr<TMemoryStream> Taken;
};

tLibGetMemStreamFromTheWeb::TNotifyEvent Record(Completion& completion) {
  return [&completion](tLibGetMemStreamFromTheWeb& sender) {
    completion.Done = true;
    completion.ThreadId = GetCurrentThreadId();
    completion.Position = sender.Stream->Position();
    completion.Body = sender.Stream->Memory();
    completion.Taken = std::move(sender.Stream);
  };
}

class WebFetchTest : public testing::Test {
 protected:
  LoopbackServer FServer;
};

TEST_F(WebFetchTest, WholeBodyArrivesOnTheGuiThreadAtPositionZero) {
  struct Case {
    const char* Status;
    size_t Size;
  };
  // One read's worth exactly, several reads, and an error status, whose body counts all the same.
  for (Case c : {Case{"200 OK", 4095}, Case{"200 OK", 10000}, Case{"404 Not Found", 300}}) {
    SCOPED_TRACE(std::to_string(c.Size) + " bytes, " + c.Status);
    const std::string body = Body(c.Size);
    FServer.SetResponse(c.Status, body);
    Completion completion;
    tLibGetMemStreamFromTheWeb::Start(FServer.Url("/file.bin"), Record(completion));
    ASSERT_TRUE(PumpUntil([&] { return completion.Done; }, kPatientMs)) << "no completion";
    EXPECT_EQ(completion.ThreadId, GetCurrentThreadId());
    EXPECT_EQ(completion.Position, 0u);
    EXPECT_EQ(completion.Body.size(), body.size());
    EXPECT_TRUE(completion.Body == body);
    ASSERT_TRUE(completion.Taken);
    char first = 0;
    EXPECT_EQ(completion.Taken->Read(&first, 1), 1u);
    EXPECT_EQ(first, body[0]);
  }
}

TEST_F(WebFetchTest, ServerSeesAGetWithTheUserAgentAndEveryFetchReachesIt) {
  // The answer may be cached for an hour; each fetch must still go to the server.
  FServer.SetResponse("200 OK", "fresh", "Cache-Control: max-age=3600\r\n");
  for (int fetch = 1; fetch <= 2; ++fetch) {
    Completion completion;
    tLibGetMemStreamFromTheWeb::Start(FServer.Url("/same?x=1"), Record(completion));
    ASSERT_TRUE(PumpUntil([&] { return completion.Done; }, kPatientMs));
    EXPECT_EQ(completion.Body, "fresh");
  }
  std::vector<LoopbackServer::Request> requests = FServer.Requests();
  ASSERT_EQ(requests.size(), 2u);
  for (LoopbackServer::Request& request : requests) {
    EXPECT_EQ(request.RequestLine, "GET /same?x=1 HTTP/1.1");
    EXPECT_EQ(request.Headers["user-agent"], "InetURL:/1.0");
  }
}

TEST_F(WebFetchTest, StartReturnsAtOnceAndTheEventWaitsForTheBody) {
  const std::string body = Body(5000);
  FServer.SetResponse("200 OK", body);
  FServer.Hold(true);
  Completion completion;
  ULONGLONG start = GetTickCount64();
  tLibGetMemStreamFromTheWeb::Start(FServer.Url("/slow"), Record(completion));
  EXPECT_LT(GetTickCount64() - start, 1000u);
  ASSERT_TRUE(PumpUntil([&] { return FServer.Requests().size() == 1; }, kPatientMs));
  PumpUntil([] { return false; }, 200);
  EXPECT_FALSE(completion.Done) << "completed before the server answered";
  FServer.Hold(false);
  ASSERT_TRUE(PumpUntil([&] { return completion.Done; }, kPatientMs));
  EXPECT_TRUE(completion.Body == body);
}

TEST_F(WebFetchTest, UnreachableAddressesGiveAnEmptyStream) {
  for (const std::string& url : {std::string("http://nohost.invalid/report?T=x"),
                                std::string("http://127.0.0.1:1/closed-port")}) {
    SCOPED_TRACE(url);
    Completion completion;
    tLibGetMemStreamFromTheWeb::Start(url, Record(completion));
    ASSERT_TRUE(PumpUntil([&] { return completion.Done; }, 20000));
    EXPECT_EQ(completion.Body, "");
    EXPECT_EQ(completion.Position, 0u);
    EXPECT_EQ(completion.ThreadId, GetCurrentThreadId());
  }
}

TEST_F(WebFetchTest, AFailingEventReachesTheApplicationsFailureHandler) {
  FServer.SetResponse("200 OK", "x");
  std::string caught;
  TApplication::Instance().OnException = [&](HWND, const std::exception& error) { caught = error.what(); };
  bool ran = false;
  tLibGetMemStreamFromTheWeb::Start(FServer.Url("/x"), [&](tLibGetMemStreamFromTheWeb&) {
    ran = true;
    throw EInOutError(5);
  });
  bool reached = PumpUntil([&] { return !caught.empty(); }, kPatientMs);
  TApplication::Instance().OnException = nullptr;
  ASSERT_TRUE(reached) << (ran ? "the failure was lost" : "the event did not run");
  EXPECT_EQ(caught, "I/O error 5");
}

}  // namespace
