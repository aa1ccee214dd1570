#include "tests/windows/web/LoopbackServer.h"

#include "tests/windows/app/WizardFixture.h"

#include <functional>
#include <map>
#include <thread>

#include "core/Exceptions.h"
#include "pages/PNL_Error.h"
#include "web/ReportURL.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The query of a request line, decoded as a web server decodes it.
std::map<std::string, std::string> QueryOf(const std::string& requestLine, std::string& rawQuery) {
  size_t start = requestLine.find('?') + 1;
  rawQuery = requestLine.substr(start, requestLine.rfind(" HTTP/") - start);
  std::map<std::string, std::string> fields;
  size_t at = 0;
  while (at <= rawQuery.size()) {
    size_t end = rawQuery.find('&', at);
    if (end == std::string::npos) end = rawQuery.size();
    std::string pair = rawQuery.substr(at, end - at);
    size_t equals = pair.find('=');
    std::string value;
    std::string raw = pair.substr(equals + 1);
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '%' && i + 2 < raw.size() && HexValue(raw[i + 1]) >= 0 && HexValue(raw[i + 2]) >= 0) {
        value += static_cast<char>(HexValue(raw[i + 1]) * 16 + HexValue(raw[i + 2]));
        i += 2;
      } else {
        value += raw[i];
      }
    }
    fields[pair.substr(0, equals)] = value;
    at = end + 1;
  }
  return fields;
}

// A page whose buttons fail while the main window puts them on the bar.
class FailingButtonsPage : public TFramePanel {
 public:
  FailingButtonsPage() : TFramePanel("FailingButtonsPage") { Title = "Failing"; }
  void InitButtons(tPmButtonBar&) override { throw EInOutError(5); }
};

class AppExceptionTest : public WizardFixture {
 protected:
  void SetUp() override {
    WizardFixture::SetUp();
    SetReportAddress(FServer.Url("/report/setupfailure.php?"));
  }
  void TearDown() override {
    SetReportAddress("");
    WizardFixture::TearDown();
  }

  // Fails from a button of the page on show, as a handler that meets a failure does.
  void FailOn(const std::string& page, std::function<void()> failure) {
    Form().ShowPanel(page, false);
    Form().PnlButtons->AddLeftButton("&Fail", 9, [failure](TLbSpeedButton&) { failure(); }, 1);
    Click("&Fail");
  }

  // The one report the server received; fails the test when there is not exactly one.
  std::map<std::string, std::string> TheReport(std::string& rawQuery) {
    EXPECT_TRUE(PumpUntil([&] { return !FServer.Requests().empty(); }, kPatientMs)) << "no report";
    PumpUntil([] { return false; }, 300);
    std::vector<LoopbackServer::Request> requests = FServer.Requests();
    EXPECT_EQ(requests.size(), 1u);
    if (requests.empty()) return {};
    EXPECT_EQ(requests[0].RequestLine.rfind("GET /report/setupfailure.php?T=", 0), 0u)
        << requests[0].RequestLine;
    return QueryOf(requests[0].RequestLine, rawQuery);
  }

  static HWND ChildCaptioned(HWND parent, const std::string& caption) {
    struct Search {
      std::string Caption;
      HWND Found;
    } search{caption, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
          auto* s = reinterpret_cast<Search*>(context);
          char text[256] = "";
          GetWindowTextA(child, text, sizeof text);
          if (s->Caption != text) return TRUE;
          s->Found = child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }

  LoopbackServer FServer;
};

struct FailureCase {
  const char* Name;
  std::function<void()> Raise;
  std::string Message;  // field F
  std::string Shown;    // on the error page
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.Name; }

class AppExceptionCaseTest : public AppExceptionTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(AppExceptionCaseTest, SendsOneReportOfThePageAndSettingsAndShowsTheMessage) {
  InstallDir = "C:\\Program Files\\P&P #1\\";
  DownloadDir = "D:\\T\xE9l\xE9" "chargements\\";
  ClientDataDir = "C:\\Users\\a b\\Pelmora P2P\\";
  AppDataDir = "C:\\Users\\a b\\AppData\\Local\\Pelmora P2P\\";

  FailOn("PnlInstall", GetParam().Raise);

  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(Form().ActivePanel()->Name(), "PnlError");
  EXPECT_EQ(ErrorPanel->ErrorText(), GetParam().Shown);
  EXPECT_FALSE(Form().Sliding);

  std::string rawQuery;
  std::map<std::string, std::string> report = TheReport(rawQuery);
  EXPECT_EQ(rawQuery.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~%&="),
            std::string::npos)
      << rawQuery;
  const std::map<std::string, std::string> expected = {
      {"T", "Pelmora"},
      {"V", "3"},
      {"A", "\"Install or upgrade?\""},
      {"B", "\"" + InstallDir + "\""},
      {"C", "\"" + DownloadDir + "\""},
      {"D", "\"" + ClientDataDir + "\""},
      {"E", "\"" + AppDataDir + "\""},
      {"F", "\"" + GetParam().Message + "\""},
  };
  EXPECT_EQ(report, expected);
  EXPECT_EQ(rawQuery.substr(0, 14), "T=Pelmora&V=3&") << "keys in their order";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AppExceptionCaseTest,
    testing::Values(
        FailureCase{"CreateError", [] { throw EFCreateError("C:\\a b\\x.exe", "Access is denied"); },
                    "Cannot create file \"C:\\a b\\x.exe\". Access is denied",
                    "Cannot create file \"C:\\a b\\x.exe\". Access is denied"},
        FailureCase{"DiskFull", [] { throw EInOutError(112); }, "I/O error 112", "Disk Full"},
        FailureCase{"DiskFullWithMore", [] { throw Exception("I/O error 112 on K:"); },
                    "I/O error 112 on K:", "I/O error 112 on K:"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(AppExceptionTest, EarlyPagesReportEmptyFolders) {
  FailOn("PnlWelcome", [] { throw Exception("Error"); });
  std::string rawQuery;
  std::map<std::string, std::string> report = TheReport(rawQuery);
  EXPECT_EQ(report["A"], "\"Welcome\"");
  for (const char* key : {"B", "C", "D", "E"}) EXPECT_EQ(report[key], "\"\"") << key;
  EXPECT_EQ(report["F"], "\"Error\"");
}

TEST_F(AppExceptionTest, AFailureOnTheErrorPageIsReportedAgain) {
  FailOn("PnlWelcome", [] { throw Exception("first"); });
  ASSERT_EQ(Header(), "Error");
  Form().PnlButtons->AddLeftButton("&Again", 9, [](TLbSpeedButton&) { throw Exception("second"); }, 1);
  Click("&Again");

  ASSERT_TRUE(PumpUntil([&] { return FServer.Requests().size() >= 2; }, kPatientMs)) << "no second report";
  std::string rawQuery;
  std::map<std::string, std::string> second = QueryOf(FServer.Requests()[1].RequestLine, rawQuery);
  EXPECT_EQ(second["A"], "\"Error\"");
  EXPECT_EQ(second["F"], "\"second\"");
  EXPECT_EQ(ErrorPanel->ErrorText(), "second");
  EXPECT_EQ(Header(), "Error");
}

TEST_F(AppExceptionTest, CopyToClipboardPutsTheShownTextThere) {
  FailOn("PnlWelcome", [] { throw EInOutError(112); });
  ASSERT_EQ(ErrorPanel->ErrorText(), "Disk Full");
  HWND copy = ChildCaptioned(ErrorPanel->Handle(), "Copy to clipboard");
  ASSERT_NE(copy, nullptr);
  SendMessageA(copy, BM_CLICK, 0, 0);

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "<no text>";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(text, "Disk Full");
}

TEST_F(AppExceptionTest, BusyClipboardIsToldAndKeepsTheMessage) {
  FailOn("PnlWelcome", [] { throw EInOutError(112); });
  HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  // Another thread holds the clipboard open, as another program may.
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(held);
    WaitForSingleObject(release, 10000);
    CloseClipboard();
  });
  WaitForSingleObject(held, 10000);
  HWND copy = ChildCaptioned(ErrorPanel->Handle(), "Copy to clipboard");
  std::string told = MessageShownBy([&] { SendMessageA(copy, BM_CLICK, 0, 0); });
  SetEvent(release);
  holder.join();
  CloseHandle(held);
  CloseHandle(release);

  EXPECT_EQ(told, "Cannot open clipboard.");
  EXPECT_EQ(ErrorPanel->ErrorText(), "Disk Full");
  EXPECT_EQ(Header(), "Error");
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(FServer.Requests().size(), 1u) << "a busy clipboard is no failure to report";
}

TEST_F(AppExceptionTest, SupportLinkOpensAMailToTheSupportAddress) {
  // The user's mail program is stood in for by the probe program, registered for mailto:.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "pm-mail-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string probe = std::string(self).substr(0, std::string(self).find_last_of('\\') + 1) +
                      "engine\\shortcuts_probe.exe";
  const std::string mailer = folder + "mailer.exe";
  ASSERT_TRUE(CopyFileA(probe.c_str(), mailer.c_str(), FALSE)) << probe;
  FailOn("PnlWelcome", [] { throw Exception("Error"); });
  HWND link = ChildCaptioned(ErrorPanel->Handle(), "support@pelmora.example.com");
  ASSERT_NE(link, nullptr);
  // Wine looks the mailto: handler up in HKEY_CLASSES_ROOT only; the test puts its own there
  // and the system's back afterwards.
  HKEY command = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command", 0, nullptr, 0,
                            KEY_READ | KEY_WRITE, nullptr, &command, nullptr),
            ERROR_SUCCESS);
  char previous[1024] = "";
  DWORD previousSize = sizeof previous;
  bool hadPrevious = RegGetValueA(command, nullptr, nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                                  RRF_NOEXPAND, nullptr, previous, &previousSize) == ERROR_SUCCESS;
  const std::string line = "\"" + mailer + "\" \"%1\"";
  RegSetValueExA(command, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(line.c_str()),
                 static_cast<DWORD>(line.size() + 1));
  auto restore = [&] {
    if (hadPrevious)
      RegSetValueExA(command, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous), previousSize);
    else
      RegDeleteValueA(command, nullptr);
    RegCloseKey(command);
  };

  SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));

  std::string marker = mailer + ".ran";
  bool ran = PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, kPatientMs);
  restore();
  ASSERT_TRUE(ran) << "no mail program was started";
  PumpUntil([] { return false; }, 100);
  char commandLine[1024] = "";
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD read = 0;
  ReadFile(file, commandLine, sizeof commandLine - 1, &read, nullptr);
  CloseHandle(file);
  EXPECT_NE(std::string(commandLine).find("mailto:support@pelmora.example.com"), std::string::npos)
      << commandLine;
  DeleteFileA(marker.c_str());
  DeleteFileA(mailer.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(AppExceptionTest, FailureWhileButtonsAreSetMidSlideEndsOnAUsableErrorPage) {
  Form().AddPanel(std::make_unique<FailingButtonsPage>());
  FailOn("PnlWelcome", [this] { Form().ShowPanel("FailingButtonsPage", true); });

  std::string rawQuery;
  std::map<std::string, std::string> report = TheReport(rawQuery);
  EXPECT_EQ(report["A"], "\"Failing\"");
  EXPECT_EQ(report["F"], "\"I/O error 5\"");
  EXPECT_EQ(Header(), "Error");
  EXPECT_FALSE(Form().Sliding);
  EXPECT_EQ(PositionOf(*Form().PageControl).x, 40);
  std::vector<ShownButton> shown = ShownButtons();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Caption, "&Exit");
  EXPECT_EQ(shown[1].Caption, "&Restart");
}

}  // namespace
