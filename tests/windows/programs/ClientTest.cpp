// The client stand-in: its window as it was asked to show it, its report, and its own file
// held while it runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/windows/programs/ProgramsTestSupport.h"

namespace {

TEST(ClientTest, ShowsItsWindowMaximisedWithAReportAndHoldsItsFile) {
  const std::string folder = TestFolder("client");
  const std::string path = folder + "Pelmora.Exe";
  ASSERT_TRUE(CopyFileA((BuildFolder() + "programs\\Pelmora.exe").c_str(), path.c_str(), FALSE));
  {
    Program client(path, "", SW_SHOWMAXIMIZED);
    ASSERT_TRUE(client.Started());
    const HWND window = client.WaitForWindow("PelmoraP2PClient", kPatientMs);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ReadUntil([&] { return WindowText(window); }, std::string("Pelmora P2P"), kPatientMs), "Pelmora P2P");
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(window) != FALSE; }, kPatientMs)) << "not maximised";
    // The report names the data file: its findings, or that it is missing or damaged.
    std::string report;
    WaitUntil([&] {
      report = WindowText(FindWindowExA(window, nullptr, "Edit", nullptr));
      return report.find("Pelmora.Dat") != std::string::npos;
    }, kPatientMs);
    EXPECT_NE(report.find("\\Pelmora P2P\\Pelmora.Dat"), std::string::npos) << report;

    const HANDLE write = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(write, INVALID_HANDLE_VALUE) << "the running client's file could be opened for writing";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (write != INVALID_HANDLE_VALUE) CloseHandle(write);
    // A running image alone may be renamed; the client's own handle without delete sharing
    // forbids that too, as on Windows.
    EXPECT_FALSE(MoveFileExA(path.c_str(), (path + ".old").c_str(), 0)) << "the running client's file was renamed";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(client.WaitForExit(kPatientMs), 0) << "closing the window ends the client";
  }
  EXPECT_TRUE(DeleteFileA(path.c_str())) << "the file is free once the client has ended";
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
