// ExtractPayload of both payload units under Wine: real files, a real progress bar and label
// on the wizard's window, a target locked by a running program, a full disk.
#include "tests/windows/app/WizardFixture.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "app/ProgressDisplay.h"
#include "core/Exceptions.h"
#include "core/Progress.h"
#include "engine/ExtractPayload.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "engine/PayloadTotals.h"
#include "platform/SystemError.h"
#include "tests/driver/BuildFolder.h"

namespace {

const TControlSpec kDesign[] = {
    {.Kind = TControlKind::Label, .Name = "Label12", .Left = 344, .Top = 200, .Width = 60, .Height = 13,
     .Caption = "0% complete"},
    {.Kind = TControlKind::ProgressBar, .Name = "ProgressBar1", .Left = 39, .Top = 232, .Width = 634,
     .Height = 26},
};

class ProgressPage : public TFramePanel {
 public:
  ProgressPage() : TFramePanel("ProgressPage", kDesign) { Title = "Progress"; }
  using TFramePanel::Controls;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names of the files that match a pattern such as "C:\\folder\\*".
std::vector<std::string> FilesIn(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

class ExtractPayloadTest : public WizardFixture {
 protected:
  void SetUp() override {
    WizardFixture::SetUp();
    auto page = std::make_unique<ProgressPage>();
    FPage = page.get();
    Form().AddPanel(std::move(page));
    Form().ShowPanel("ProgressPage", false);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    FFolder = std::string(temp) + "pelmora-payload-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(FFolder.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& file : FCreated) DeleteFileA(file.c_str());
    RemoveDirectoryA(FFolder.c_str());
    WizardFixture::TearDown();
  }
  std::string File(const std::string& name) {
    FCreated.push_back(FFolder + name);
    return FFolder + name;
  }
  TProgressBar& Bar() { return FPage->Controls.Get<TProgressBar>("ProgressBar1"); }
  TControl& Label() { return FPage->Controls.Get("Label12"); }
  // The page's bar and label as the sink of an extraction.
  TProgressDisplay* Display(TProgressBar* bar, TControl* label) {
    FDisplay = TProgressDisplay(bar, label);
    return &FDisplay;
  }
  // The installing page's scale: the payload total plus a tenth.
  void UseInstallingScale() {
    Bar().SetMax(static_cast<int>(kPayloadTotal + kPayloadTotal / 10));
    Bar().SetPosition(0);
  }

  ProgressPage* FPage = nullptr;
  TProgressDisplay FDisplay{nullptr, nullptr};
  std::string FFolder;
  std::vector<std::string> FCreated;
};

TEST_F(ExtractPayloadTest, EachPayloadIsTheSuppliedProgramAndReplacesALongerFileWholly) {
  struct Case {
    const char* program;
    void (*extract)(const std::string&, TProgressSink*);
    long long U;
  };
  const Case cases[] = {{"Pelmora.exe", GB_PelmoraP2P_exe::ExtractPayload, GB_PelmoraP2P_exe::U},
                        {"Uninstall.exe", GB_Uninstall_exe::ExtractPayload, GB_Uninstall_exe::U}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    const std::string supplied = ReadAll(BuildFolder() + "programs\\" + c.program);
    ASSERT_EQ(static_cast<long long>(supplied.size()), c.U);
    const std::string path = File(c.program);
    std::ofstream(path, std::ios::binary) << std::string(supplied.size() + 5000, 'x');
    c.extract(path, nullptr);
    const std::string extracted = ReadAll(path);
    EXPECT_EQ(static_cast<long long>(extracted.size()), c.U);
    EXPECT_TRUE(extracted == supplied) << "the extracted program differs from the supplied one";
  }
}

TEST_F(ExtractPayloadTest, ClientPayloadEndsAtItsTotalOnTheInstallingScale) {
  UseInstallingScale();
  GB_PelmoraP2P_exe::ExtractPayload(File("Pelmora.Exe"), Display(&Bar(), &Label()));
  const long long end = GB_PelmoraP2P_exe::C + GB_PelmoraP2P_exe::U;
  EXPECT_EQ(Bar().Position(), end);
  EXPECT_EQ(Label().Caption(), std::to_string(PercentComplete(end, Bar().Max())) + "% complete");

  // What the screen shows: the bar is filled up to its position and no further.
  Pump();
  ASSERT_TRUE(IsWindowVisible(Bar().Handle()));
  RECT client;
  GetClientRect(Bar().Handle(), &client);
  const int filled = static_cast<int>(client.right * end / Bar().Max());
  const HDC dc = GetDC(Bar().Handle());
  const COLORREF inside = GetPixel(dc, filled / 2, client.bottom / 2);
  const COLORREF outside = GetPixel(dc, (filled + client.right) / 2, client.bottom / 2);
  const COLORREF stillInside = GetPixel(dc, filled - 10, client.bottom / 2);
  ReleaseDC(Bar().Handle(), dc);
  EXPECT_NE(inside, outside) << "the bar shows no fill";
  EXPECT_EQ(inside, stillInside) << "the fill stops short of the position";
}

TEST_F(ExtractPayloadTest, BarClampsToASmallerMaximum) {
  Bar().SetMax(1000);
  GB_Uninstall_exe::ExtractPayload(File("Uninstall.Exe"), Display(&Bar(), &Label()));
  EXPECT_EQ(Bar().Position(), 1000);
  EXPECT_EQ(Label().Caption(), "100% complete");
}

TEST_F(ExtractPayloadTest, HiddenBarFollowsAndStaysHidden) {
  UseInstallingScale();
  Bar().SetVisible(false);
  GB_Uninstall_exe::ExtractPayload(File("Uninstall.Exe"), Display(&Bar(), &Label()));
  EXPECT_EQ(Bar().Position(), GB_Uninstall_exe::C + GB_Uninstall_exe::U);
  EXPECT_FALSE(Bar().Visible());
}

TEST_F(ExtractPayloadTest, WithoutBarNoControlChangesButMessagesAreProcessed) {
  UseInstallingScale();
  Bar().SetPosition(5);
  // Handled only if ExtractPayload processes the waiting messages: the test does not.
  PostMessageA(Bar().Handle(), PBM_SETPOS, 123, 0);
  GB_Uninstall_exe::ExtractPayload(File("a.exe"));
  EXPECT_EQ(Bar().Position(), 123);
  EXPECT_EQ(Label().Caption(), "0% complete");

  PostMessageA(Bar().Handle(), PBM_SETPOS, 77, 0);
  GB_Uninstall_exe::ExtractPayload(File("b.exe"), Display(nullptr, &Label()));
  EXPECT_EQ(Label().Caption(), "0% complete") << "a label without a bar is left alone";
  EXPECT_EQ(Bar().Position(), 77);
}

// What the bar and the label were given while a payload was extracted, and when a message that
// was posted during the extraction was handled.
struct Watched {
  std::vector<int> positions;
  std::vector<std::string> texts;
  bool extracting = false;
  bool posted = false;
  bool handledWhileExtracting = false;
  bool handledAfter = false;
};

constexpr UINT kPosted = WM_APP + 7;

LRESULT CALLBACK Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                       DWORD_PTR data) {
  auto& watched = *reinterpret_cast<Watched*>(data);
  if (message == PBM_SETPOS) watched.positions.push_back(static_cast<int>(wParam));
  if (message == WM_SETTEXT) {
    watched.texts.push_back(reinterpret_cast<const char*>(lParam));
    // Posted from inside the extraction: only the extraction's own message processing can
    // handle it before the extraction returns.
    if (!watched.posted) watched.posted = PostMessageA(window, kPosted, 0, 0);
  }
  if (message == kPosted) (watched.extracting ? watched.handledWhileExtracting : watched.handledAfter) = true;
  return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(ExtractPayloadTest, ShowsRisingPercentagesEndsOnTheFinalOneAndAnswersMessagesMeanwhile) {
  UseInstallingScale();
  Watched watched;
  SetWindowSubclass(Bar().Handle(), Watch, 1, reinterpret_cast<DWORD_PTR>(&watched));
  SetWindowSubclass(Label().Handle(), Watch, 1, reinterpret_cast<DWORD_PTR>(&watched));
  watched.extracting = true;
  GB_PelmoraP2P_exe::ExtractPayload(File("Pelmora.Exe"), Display(&Bar(), &Label()));
  watched.extracting = false;
  Pump();
  RemoveWindowSubclass(Bar().Handle(), Watch, 1);
  RemoveWindowSubclass(Label().Handle(), Watch, 1);

  EXPECT_TRUE(watched.posted) << "the label was never set";
  EXPECT_TRUE(watched.handledWhileExtracting) << "a message posted during the extraction waited for its end";
  EXPECT_FALSE(watched.handledAfter);

  const long long end = GB_PelmoraP2P_exe::C + GB_PelmoraP2P_exe::U;
  ASSERT_FALSE(watched.positions.empty());
  EXPECT_EQ(watched.positions.back(), end);
  for (std::size_t i = 1; i < watched.positions.size(); ++i)
    EXPECT_LE(watched.positions[i - 1], watched.positions[i]) << "the bar went back at change " << i;
  ASSERT_FALSE(watched.texts.empty());
  EXPECT_EQ(watched.texts.back(), std::to_string(PercentComplete(end, Bar().Max())) + "% complete");
  for (std::size_t i = 1; i < watched.texts.size(); ++i)
    EXPECT_LT(std::stoi(watched.texts[i - 1]), std::stoi(watched.texts[i]))
        << watched.texts[i] << " after " << watched.texts[i - 1];
  EXPECT_EQ(Bar().Position(), end);
  EXPECT_EQ(Label().Caption(), watched.texts.back());
}

// Starts the client stand-in from a copy in the test's folder; while it runs, its file is held.
class RunningClient {
 public:
  explicit RunningClient(const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + path + "\"";
    if (CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &FProcess)) {
      WaitForInputIdle(FProcess.hProcess, 10000);
    }
  }
  ~RunningClient() {
    if (!FProcess.hProcess) return;
    TerminateProcess(FProcess.hProcess, 0);
    WaitForSingleObject(FProcess.hProcess, 10000);
    CloseHandle(FProcess.hThread);
    CloseHandle(FProcess.hProcess);
  }
  bool Started() const { return FProcess.hProcess != nullptr; }

 private:
  PROCESS_INFORMATION FProcess{};
};

TEST_F(ExtractPayloadTest, TargetHeldByARunningProgramRaisesTheCreationErrorAfterCopying) {
  const std::string path = File("Pelmora.Exe");
  ASSERT_TRUE(CopyFileA((BuildFolder() + "programs\\Pelmora.exe").c_str(), path.c_str(), FALSE));
  RunningClient client(path);
  ASSERT_TRUE(client.Started());
  UseInstallingScale();
  try {
    GB_PelmoraP2P_exe::ExtractPayload(path, Display(&Bar(), &Label()));
    FAIL() << "the held file was replaced";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file \"" + path + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
  }
  const long long copied = GB_PelmoraP2P_exe::N * 1024;
  EXPECT_EQ(Bar().Position(), copied);
  EXPECT_EQ(Label().Caption(), std::to_string(PercentComplete(copied, Bar().Max())) + "% complete");
  EXPECT_TRUE(ReadAll(path) == ReadAll(BuildFolder() + "programs\\Pelmora.exe")) << "the running program was touched";
  EXPECT_EQ(FilesIn(FFolder + "*"), std::vector<std::string>{"Pelmora.Exe"});
}

TEST_F(ExtractPayloadTest, DamagedOrShortTablesRaiseError) {
  const TPayload real = GB_Uninstall_exe::Payload();
  std::vector<std::uint8_t> table(real.Blocks, real.Blocks + real.N * 1024);
  table[static_cast<std::size_t>(real.C / 2)] ^= 0x01;
  const TPayload flipped{table.data(), real.N, real.C, real.U};
  const TPayload cut{real.Blocks, real.N / 2, real.C, real.U};
  // The program already there stays whole, and nothing else is left beside it.
  const std::string path = File("damaged.exe");
  std::ofstream(path, std::ios::binary) << "the old program";
  for (const TPayload& damaged : {flipped, cut}) {
    try {
      ExtractPayload(damaged, path, Display(&Bar(), &Label()));
      ADD_FAILURE() << "no error";
    } catch (const EPayloadError& error) {
      EXPECT_STREQ(error.what(), "Error");
    }
    EXPECT_EQ(ReadAll(path), "the old program");
    EXPECT_EQ(FilesIn(FFolder + "*"), std::vector<std::string>{"damaged.exe"});
  }
}

// The drive that tests/driver/small-drive.sh maps to a 64 KiB file system.
TEST_F(ExtractPayloadTest, FullDiskRaisesIOError112) {
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExA("K:\\", nullptr, &total, nullptr) || total.QuadPart > 1024 * 1024)
    GTEST_SKIP() << "no small disk at K: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
  const std::string path = "K:\\Pelmora-" + std::to_string(GetCurrentProcessId()) + ".Exe";
  FCreated.push_back(path);
  try {
    GB_PelmoraP2P_exe::ExtractPayload(path);
    FAIL() << "the program fitted on a 64 KiB disk";
  } catch (const EInOutError& error) {
    EXPECT_STREQ(error.what(), "I/O error 112");
  }
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "a part of the program was left";
  // Its temporary is named after it, beside it.
  EXPECT_EQ(FilesIn("K:\\~Pelmora-" + std::to_string(GetCurrentProcessId()) + ".Exe.*"), std::vector<std::string>{})
      << "the temporary file was left";
}

}  // namespace
