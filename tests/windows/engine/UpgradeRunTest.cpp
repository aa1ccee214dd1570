// The upgrade run on the real upgrading page, over an installation that the installation run
// made: what it replaces, what it leaves alone, a client that holds its program for a while or
// for good, and a disk that fills while the new client is written.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/RunLog.h"
#include "engine/GB_PelmoraP2P_exe.h"
#include "engine/GB_Uninstall_exe.h"
#include "engine/UpgradeRun.h"
#include "pages/PNL_Error.h"
#include "pages/PNL_UpgradeUpgrading.h"
#include "tests/common/SystemState.h"
#include "tests/windows/pages/PageFixture.h"
#include "tests/windows/programs/ProgramsTestSupport.h"

namespace fs = std::filesystem;
using namespace system_state;

namespace {

const char* const kMenuLinks[] = {"Pelmora P2P.Lnk", "Pelmora P2P On the Web.Lnk", "Pelmora P2P Help.Lnk",
                                  "Pelmora P2P Uninstall.Lnk"};

// A file as the upgrade must leave it: its bytes and when it was last written.
struct FileState {
  std::string Bytes;
  ULONGLONG Written = 0;
  bool operator==(const FileState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FileState& state) {
  return out << state.Bytes.size() << " bytes written at " << state.Written;
}

FileState StateOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {"<missing>", 0};
  return {ReadFile(path), (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

// Files of the folder whose names the upgrade did not choose: the leftovers of a failed attempt.
std::vector<std::string> Leftovers(const std::string& folder) {
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != "Pelmora.Exe" && name != "Uninstall.Exe" && name != "PMInst.Dat" && name != "UnInstall.dat")
      left.push_back(name);
  }
  return left;
}

// Every text that a label shows, in order, with an action run at each.
struct LabelTexts {
  std::vector<std::string> Texts;
  std::function<void(const std::string&)> OnText;
};

LRESULT CALLBACK RecordText(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
  if (message == WM_SETTEXT) {
    auto* texts = reinterpret_cast<LabelTexts*>(data);
    texts->Texts.push_back(reinterpret_cast<const char*>(lParam));
    if (texts->OnText) texts->OnText(texts->Texts.back());
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// The notices of attempts first to last, each cleared after its wait.
std::vector<std::string> NoticesOf(int first, int last) {
  std::vector<std::string> notices;
  for (int attempt = first; attempt <= last; ++attempt) {
    notices.push_back(RetryNotice(attempt));
    notices.push_back("");
  }
  return notices;
}

class UpgradeRunTest : public PageFixture {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    PageFixture::SetUp();
    TApplication::Instance().MainWindow = Form().Handle();
    Clean();
    FBase = "C:\\upgrade-run-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(FBase.c_str(), nullptr);
    ReleaseCode = "01";
    DownloadDir = "D:\\Downloads\\";
    FBuilt = ReadFile(BuildFolder() + "programs\\Pelmora.exe");
    FBuiltUninstaller = ReadFile(BuildFolder() + "programs\\Uninstall.exe");
    // An older client: a program that still runs, with bytes the new one does not have.
    FOld = FBuilt + "an older version";
  }
  void TearDown() override {
    FClient.reset();
    TApplication::Instance().MainWindow = nullptr;
    PageFixture::TearDown();
    Clean();
    std::error_code ignored;
    fs::remove_all(FBase, ignored);
    CoUninitialize();
  }

  static void Clean() {
    std::error_code ignored;
    fs::remove_all(ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P", ignored);
    fs::remove_all(Menu(), ignored);
    DeleteFileA(DesktopLink().c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kUninstallKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, system_state::kRunRecordKey);
  }
  static std::string Menu() { return ShellFolder(CSIDL_PROGRAMS) + "\\Pelmora P2P\\"; }
  static std::string DesktopLink() { return ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Pelmora P2P.Lnk"; }

  // An installation made by the installation run, with the older client in it.
  void InstallOld(const std::string& folder) {
    InstallDir = folder;
    CreateDesktopShortcut = true;
    Form().ShowPanel("PNLInstallInstalling", false);
    ASSERT_EQ(Header(), "Installation of Pelmora P2P ready");
    std::ofstream(folder + "Pelmora.Exe", std::ios::binary) << FOld;
  }

  // Starts the older client from the folder; it holds its program while it runs.
  void StartOldClient(const std::string& folder) {
    FClient = std::make_unique<Program>(folder + "Pelmora.Exe", "");
    ASSERT_TRUE(FClient->Started());
    ASSERT_NE(FClient->WaitForWindow("PelmoraP2PClient", 10000), nullptr) << "the old client shows no window";
  }
  void EndClient() { FClient.reset(); }

  // Runs the upgrade as "&Upgrade" does, with waits of a millisecond a second, and returns the
  // texts of the retry notice.
  std::vector<std::string> Upgrade(const std::string& folder,
                                   std::function<void(const std::string&)> onNotice = nullptr) {
    InstallDir = folder;
    static_cast<TPNLUpgradeUpgrading&>(Page("PNLUpgradeUpgrading")).WaitSecondMs = 1;
    const HWND notice = Get<TControl>("PNLUpgradeUpgrading", "Label1").Handle();
    LabelTexts texts{{}, std::move(onNotice)};
    SetWindowSubclass(notice, RecordText, 1, reinterpret_cast<DWORD_PTR>(&texts));
    tPmButtonBar& bar = *Form().PnlButtons;
    bar.Clear();
    bar.AddRightButton("&Upgrade", 2, [&](TLbSpeedButton&) { Form().ShowPanel("PnlUpgradeUpgrading", true); }, 1);
    Click("&Upgrade");
    RemoveWindowSubclass(notice, RecordText, 1);
    return texts.Texts;
  }

  std::string ErrorText() { return static_cast<TPnlError&>(Page("PnlError")).ErrorText(); }

  std::string FBase;
  std::string FBuilt, FBuiltUninstaller, FOld;
  std::unique_ptr<Program> FClient;
};

TEST_F(UpgradeRunTest, ReplacesBothProgramsRenewsTheMenuLinksAndLeavesTheRestAlone) {
  const std::string folder = FBase + "Pelmora P2P\\";
  InstallOld(folder);
  std::ofstream(folder + "Uninstall.Exe", std::ios::binary) << FBuiltUninstaller << "older";
  const std::string data = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Pelmora P2P\\Pelmora.Dat";
  const std::vector<std::string> kept = {data, folder + "PMInst.Dat", folder + "UnInstall.dat", DesktopLink()};
  std::vector<FileState> before;
  for (const std::string& file : kept) before.push_back(StateOf(file));
  const std::string entry = UninstallEntryValue("UninstallString");
  std::error_code ignored;
  fs::remove_all(Menu(), ignored);
  Sleep(50);  // a file written again now would carry a later time

  const std::vector<std::string> notices = Upgrade(folder);

  ASSERT_EQ(Header(), "Upgrade of Pelmora P2P ready") << ErrorText();
  EXPECT_TRUE(notices.empty()) << notices.front();
  EXPECT_TRUE(ReadFile(folder + "Pelmora.Exe") == FBuilt) << "the client is not the new program";
  EXPECT_TRUE(ReadFile(folder + "Uninstall.Exe") == FBuiltUninstaller) << "the uninstaller is not the new program";
  for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(StateOf(kept[i]), before[i]) << kept[i];
  EXPECT_EQ(UninstallEntryValue("UninstallString"), entry);
  for (const char* link : kMenuLinks) EXPECT_TRUE(fs::exists(Menu() + link)) << link;
  EXPECT_EQ(Get<TControl>("PNLUpgradeUpgrading", "Label12").Caption(), "100% complete");
  EXPECT_EQ(Leftovers(folder), std::vector<std::string>{});
}

TEST_F(UpgradeRunTest, AClientThatEndsDuringTheSecondWaitIsReplacedByTheThirdAttempt) {
  const std::string folder = FBase + "Held\\";
  InstallOld(folder);
  StartOldClient(folder);
  const std::string log = FBase + "upgrade.log";
  OpenRunLog(log);

  const std::vector<std::string> notices = Upgrade(folder, [this](const std::string& notice) {
    if (notice == RetryNotice(2)) EndClient();
  });
  CloseRunLog();

  ASSERT_EQ(Header(), "Upgrade of Pelmora P2P ready") << ErrorText();
  ASSERT_EQ(notices.size(), 4u);
  // The log has the folder, each attempt with its end and the steps after them.
  const std::string text = ReadFile(log);
  std::size_t at = 0;
  const std::vector<std::string> expected = {
      "Upgrade of the installation in: " + folder,       "Step \"Installation folder\" done",
      "Step \"Client program (attempt 1)\" failed",      "Step \"Client program (attempt 2)\" failed",
      "Step \"Client program (attempt 3)\" done in",     "Step \"Uninstaller\" done",
      "Step \"Shortcuts\" done"};
  for (const std::string& line : expected) {
    at = text.find(line, at);
    EXPECT_NE(at, std::string::npos) << "the log lacks, in its order: " << line << "\n" << text;
    if (at == std::string::npos) break;
  }
  EXPECT_EQ(text.find("attempt 4"), std::string::npos) << text;
  EXPECT_EQ(notices[2], "Pelmora P2P is still running or in use by another program. Upgrade will retry in a "
                        "few seconds. (Attempt 2)");
  EXPECT_EQ(notices, NoticesOf(1, 2));
  EXPECT_TRUE(ReadFile(folder + "Pelmora.Exe") == FBuilt) << "the client is not the new program";
  EXPECT_EQ(Leftovers(folder), std::vector<std::string>{});
}

TEST_F(UpgradeRunTest, AClientRunningThroughAllAttemptsEndsTheRunWithTheInstallationUntouched) {
  const std::string folder = FBase + "Busy\\";
  InstallOld(folder);
  std::ofstream(folder + "Uninstall.Exe", std::ios::binary) << FBuiltUninstaller << "older";
  std::error_code ignored;
  fs::remove_all(Menu(), ignored);
  std::vector<std::string> places = ProductPlaces();
  places.push_back(folder);
  const Snapshot before = TakeSnapshot(places);
  StartOldClient(folder);

  const std::vector<std::string> notices = Upgrade(folder);

  // Every attempt but the last is followed by the notice and its wait; the last one's failure
  // ends the run.
  EXPECT_EQ(notices, NoticesOf(1, kUpgradeAttempts - 1));
  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(ErrorText().rfind("Cannot create file \"" + folder + "Pelmora.Exe\". ", 0), 0u) << ErrorText();
  EndClient();
  EXPECT_EQ(TakeSnapshot(places), before) << "the uninstaller or the shortcuts were touched";
}

// A failure after the new client is in place puts the earlier client back: the upgrade is all
// or nothing.
TEST_F(UpgradeRunTest, AFailureAfterTheClientWasReplacedPutsTheEarlierVersionBack) {
  const std::string folder = FBase + "Halfway\\";
  InstallOld(folder);
  // A folder stands where the uninstaller belongs.
  ASSERT_TRUE(DeleteFileA((folder + "Uninstall.Exe").c_str()));
  ASSERT_TRUE(fs::create_directories(folder + "Uninstall.Exe"));
  std::vector<std::string> places = ProductPlaces();
  places.push_back(folder);
  const Snapshot before = TakeSnapshot(places);
  const std::string log = FBase + "upgrade.log";
  OpenRunLog(log);

  Upgrade(folder);
  CloseRunLog();

  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(ErrorText().rfind("Cannot create file \"" + folder + "Uninstall.Exe\". ", 0), 0u) << ErrorText();
  EXPECT_EQ(TakeSnapshot(places), before);
  const std::string text = ReadFile(log);
  EXPECT_NE(text.find("Step \"Client program (attempt 1)\" done"), std::string::npos) << text;
  EXPECT_NE(text.find("Step \"Undo\" done"), std::string::npos) << text;
}

// Only a client that runs is waited for: a disk too full for the new client ends the run at
// once, and the earlier programs stay as they were.
TEST_F(UpgradeRunTest, ADiskThatFillsWhileTheNewClientIsWrittenEndsTheRunAtOnce) {
  ULARGE_INTEGER available{}, total{};
  if (!GetDiskFreeSpaceExA("U:\\", &available, &total, nullptr) || total.QuadPart > 64 * 1024 * 1024)
    GTEST_SKIP() << "no small disk at U: (mounting a tmpfs needs root; see tests/driver/small-drive.sh)";
  const std::string folder = "U:\\upgrade-" + std::to_string(GetCurrentProcessId()) + "\\";
  fs::create_directories(folder);
  std::ofstream(folder + "Pelmora.Exe", std::ios::binary) << FOld;
  // The rest of the disk filled but for half the smaller program: less than either program.
  const auto gap = static_cast<ULONGLONG>(std::min(GB_PelmoraP2P_exe::U, GB_Uninstall_exe::U) / 2);
  const std::string filler = folder + "filler";
  {
    GetDiskFreeSpaceExA("U:\\", &available, nullptr, nullptr);
    std::ofstream fill(filler, std::ios::binary);
    const std::string block(4 * 1024, 'f');
    for (ULONGLONG left = available.QuadPart - gap; left >= block.size(); left -= block.size()) fill << block;
  }

  const std::vector<std::string> notices = Upgrade(folder);

  EXPECT_EQ(notices, std::vector<std::string>{});
  EXPECT_EQ(Header(), "Error");
  EXPECT_EQ(ErrorText(), "Disk Full");
  EXPECT_TRUE(ReadFile(folder + "Pelmora.Exe") == FOld) << "the old client is damaged";
  std::vector<std::string> left = Leftovers(folder);
  EXPECT_EQ(left, std::vector<std::string>{"filler"});
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

}  // namespace
