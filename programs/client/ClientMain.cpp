// Pelmora.Exe, the stand-in for the client: enough of a real program that the installer can
// be built, installed, started and upgraded end to end. It shows a window "Pelmora P2P" as it
// was asked to (maximised when the installer starts it), reads the client data file that the
// installer wrote and shows what it found. While it runs it holds its own file open without
// write sharing, as Windows holds a running program's image, so an upgrade meets a locked file.
// Started with "/selfupdate <installer>", it updates itself as the real client does: it starts
// that installer with "/autoupdate <its own folder>" and ends a moment later.

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "datafile/DataFileReader.h"
#include "platform/FileBytes.h"
#include "platform/ShellFolders.h"

namespace {

constexpr char kClassName[] = "PelmoraP2PClient";
constexpr char kTitle[] = "Pelmora P2P";
constexpr int kReportId = 100;
constexpr UINT_PTR kEndTimer = 1;
constexpr UINT kEndDelayMs = 1000;

// The installer named after "/selfupdate", without quotes; empty without the switch.
std::string SelfUpdateInstaller(std::string commandLine) {
  const std::string kSwitch = "/selfupdate ";
  if (commandLine.compare(0, kSwitch.size(), kSwitch) != 0) return {};
  std::string installer = commandLine.substr(kSwitch.size());
  while (!installer.empty() && (installer.front() == ' ' || installer.front() == '"')) installer.erase(0, 1);
  while (!installer.empty() && (installer.back() == ' ' || installer.back() == '"')) installer.pop_back();
  return installer;
}

// Starts the installer on this program's folder, which is given without its final backslash:
// quoted, a final backslash would escape the closing quote.
bool StartSelfUpdate(const std::string& installer, const std::string& ownPath) {
  const std::string folder = ownPath.substr(0, ownPath.find_last_of('\\'));
  std::string commandLine = "\"" + installer + "\" /autoupdate \"" + folder + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(installer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::string DataFilePath() {
  const std::string folder = ShellFolder(CSIDL_LOCAL_APPDATA);
  if (folder.empty()) return {};
  return folder + "\\Pelmora P2P\\Pelmora.Dat";
}

// The findings, one per line (CR LF, as an edit control shows them).
std::string Findings() {
  const std::string path = DataFilePath();
  if (path.empty()) return "The per-user data folder cannot be found.";
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return "The data file " + path + " is missing.";
  TDataFileContent content;
  try {
    content = ReadDataFile(*bytes);
  } catch (const EDataFileError& error) {
    return "The data file " + path + " is damaged: " + error.what();
  }
  return "Data file: " + path + "\r\n" +
         "Data folder: " + content.Header.ClientDataDir + "\r\n" +
         "Download folder: " + content.Header.DownloadDir + "\r\n" +
         "Connection number: " + std::to_string(content.Header.ConnectionNumber) + "\r\n" +
         "Hosts: " + std::to_string(content.GnuHosts.size() + content.PeppHosts.size()) + " (" +
         std::to_string(content.GnuHosts.size()) + " + " + std::to_string(content.PeppHosts.size()) + ")\r\n" +
         "Pairs: " + std::to_string(content.Settings.size()) + "\r\n" +
         "Hashes: " + std::to_string(content.KnownHashes.size());
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const HWND report = CreateWindowExA(
          WS_EX_CLIENTEDGE, "EDIT", Findings().c_str(),
          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
          window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kReportId)), nullptr, nullptr);
      SendMessageA(report, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
      return 0;
    }
    case WM_SIZE:
      MoveWindow(GetDlgItem(window, kReportId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_TIMER:
      if (wParam == kEndTimer) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  char ownPath[MAX_PATH];
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  const HANDLE image = CreateFileA(ownPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);

  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExA(&windowClass);
  const HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 640, 400, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  const std::string installer = SelfUpdateInstaller(commandLine);
  if (!installer.empty() && StartSelfUpdate(installer, ownPath)) SetTimer(window, kEndTimer, kEndDelayMs, nullptr);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (image != INVALID_HANDLE_VALUE) CloseHandle(image);
  return static_cast<int>(message.wParam);
}
