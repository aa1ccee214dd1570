#include "engine/ClientProcess.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <algorithm>

#include "core/Exceptions.h"
#include "core/RemovalList.h"
#include "engine/Files.h"
#include "platform/FileBytes.h"
#include "platform/Links.h"

namespace {

// An interface pointer released when it goes.
template <class TInterface>
class TComPointer {
 public:
  TComPointer() = default;
  TComPointer(const TComPointer&) = delete;
  TComPointer& operator=(const TComPointer&) = delete;
  ~TComPointer() {
    if (FPointer) FPointer->Release();
  }
  TInterface** operator&() { return &FPointer; }
  void** Out() { return reinterpret_cast<void**>(&FPointer); }
  TInterface* operator->() const { return FPointer; }
  explicit operator bool() const { return FPointer != nullptr; }

 private:
  TInterface* FPointer = nullptr;
};

// A VARIANT cleared when it goes.
class TVariant {
 public:
  TVariant() { VariantInit(&FValue); }
  explicit TVariant(const std::wstring& text) : TVariant() {
    FValue.vt = VT_BSTR;
    FValue.bstrVal = SysAllocString(text.c_str());
  }
  explicit TVariant(int number) : TVariant() {
    FValue.vt = VT_I4;
    FValue.lVal = number;
  }
  TVariant(const TVariant&) = delete;
  TVariant& operator=(const TVariant&) = delete;
  ~TVariant() { VariantClear(&FValue); }
  VARIANT* operator&() { return &FValue; }
  const VARIANT& Value() const { return FValue; }

 private:
  VARIANT FValue;
};

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
  return wide;
}

// Whether the process runs with a full administrator's token that the user was asked to give
// (or that the system gives without asking), as the system tells it.
bool IsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool elevated =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
  CloseHandle(token);
  return elevated;
}

// Has the desktop shell start the program: the shell's window of the desktop, its view, and the
// view's shell object, whose ShellExecute runs in the shell's own process. False when any of
// them is not there (no shell runs).
bool StartThroughTheShell(const std::string& program, const std::string& folder, int show) {
  TComPointer<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.Out())))
    return false;
  TVariant desktop(CSIDL_DESKTOP), none;
  long window = 0;
  TComPointer<IDispatch> dispatch;
  if (windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &dispatch) != S_OK ||
      !dispatch)
    return false;
  TComPointer<IServiceProvider> services;
  TComPointer<IShellBrowser> browser;
  TComPointer<IShellView> view;
  TComPointer<IDispatch> background;
  TComPointer<IShellFolderViewDual> folderView;
  TComPointer<IDispatch> application;
  TComPointer<IShellDispatch2> shell;
  if (FAILED(dispatch->QueryInterface(IID_IServiceProvider, services.Out())) ||
      FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.Out())) ||
      FAILED(browser->QueryActiveShellView(&view)) || !view ||
      FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.Out())) ||
      FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.Out())) ||
      FAILED(folderView->get_Application(&application)) || !application ||
      FAILED(application->QueryInterface(IID_IShellDispatch2, shell.Out())))
    return false;
  BSTR file = SysAllocString(Wide(program).c_str());
  TVariant arguments{std::wstring()}, directory{Wide(folder)}, operation{std::wstring(L"open")}, showWindow{show};
  const HRESULT started = shell->ShellExecute(file, arguments.Value(), directory.Value(), operation.Value(),
                                              showWindow.Value());
  SysFreeString(file);
  return SUCCEEDED(started);
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = "";
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

}  // namespace

TClientStart StartClient(const std::string& installDir) {
  const std::string program = installDir + "Pelmora.Exe";
  if (!FileExists(program)) return TClientStart::Missing;
  const bool elevated = IsElevated();
  if (elevated) {
    // The caller's thread may not have COM yet (the silent installation's has); the shell's
    // objects are used on it and released before it ends.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool started = StartThroughTheShell(program, CurrentFolder(), SW_SHOWMAXIMIZED);
    if (SUCCEEDED(com)) CoUninitialize();
    if (started) return TClientStart::ThroughTheShell;
  }
  std::string commandLine = "\"" + program + "\"";
  WinExec(commandLine.c_str(), SW_SHOWMAXIMIZED);
  return elevated ? TClientStart::WithoutTheShell : TClientStart::AsTheUser;
}

bool HoldsInstallation(const std::string& folder) {
  const std::string program = folder + "Pelmora.Exe";
  std::string text;
  if (!FileExists(program) || !ReadSmallFile(folder + "UnInstall.dat", text)) return false;
  TRemovalList list;
  try {
    list = ParseRemovalList(text);
  } catch (const ERemovalListError&) {
    return false;
  }
  // The list may name the folder in another form (a short name); the system tells.
  const std::string place = FinalPathOf(program);
  return SamePath(list.Product, std::string(kProductName)) &&
         std::any_of(list.Entries.begin(), list.Entries.end(), [&](const TRemovalEntry& entry) {
           return entry.Kind == TRemovalKind::File && SamePath(FinalPathOf(entry.Argument), place);
         });
}
