#include "web/LIB_GetMemStreamFromTheWeb.h"

#include <wininet.h>

#include <algorithm>
#include <cstring>

#include "core/Exceptions.h"
#include "platform/MessagePump.h"
#include "platform/MessageWindow.h"
#include "platform/SystemError.h"
#include "platform/SystemLibrary.h"

namespace {

// WinInet's functions, loaded from the system folder when the first fetch needs them.
struct TWinInet {
  decltype(&InternetOpenA) Open = SystemFunctionOf<decltype(&InternetOpenA)>("wininet.dll", "InternetOpenA");
  decltype(&InternetOpenUrlA) OpenUrl =
      SystemFunctionOf<decltype(&InternetOpenUrlA)>("wininet.dll", "InternetOpenUrlA");
  decltype(&InternetReadFile) Read =
      SystemFunctionOf<decltype(&InternetReadFile)>("wininet.dll", "InternetReadFile");
  decltype(&InternetCloseHandle) Close =
      SystemFunctionOf<decltype(&InternetCloseHandle)>("wininet.dll", "InternetCloseHandle");
};

const TWinInet& WinInet() {
  static const TWinInet functions;
  return functions;
}

// The completion message: lParam is the fetch that has finished.
constexpr UINT kFetchDone = WM_APP + 0x51;

// Closes a WinInet handle when the block that opened it is left, also by an exception.
class TInternetHandle {
 public:
  explicit TInternetHandle(HINTERNET handle) : FHandle(handle) {}
  TInternetHandle(const TInternetHandle&) = delete;
  TInternetHandle& operator=(const TInternetHandle&) = delete;
  ~TInternetHandle() {
    if (FHandle) WinInet().Close(FHandle);
  }
  HINTERNET Get() const { return FHandle; }

 private:
  HINTERNET FHandle;
};

}  // namespace

void TMemoryStream::Write(const void* data, std::size_t count) {
  if (FPosition + count > FData.size()) FData.resize(FPosition + count);
  std::memcpy(FData.data() + FPosition, data, count);
  FPosition += count;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  std::size_t available = FPosition < FData.size() ? FData.size() - FPosition : 0;
  std::size_t copied = std::min(count, available);
  std::memcpy(buffer, FData.data() + FPosition, copied);
  FPosition += copied;
  return copied;
}

void TMemoryStream::SetSize(std::size_t size) {
  FData.resize(size);
  FPosition = std::min(FPosition, size);
}

void TMemoryStream::SetPosition(std::size_t position) { FPosition = position; }

tLibGetMemStreamFromTheWeb::tLibGetMemStreamFromTheWeb(const std::string& url, TNotifyEvent onDone)
    : OnDone(std::move(onDone)), URL(url), FCompletionWindow(CompletionWindow()) {}

void tLibGetMemStreamFromTheWeb::Start(const std::string& URL, TNotifyEvent OnDone) {
  auto fetch = std::unique_ptr<tLibGetMemStreamFromTheWeb>(
      new tLibGetMemStreamFromTheWeb(URL, std::move(OnDone)));
  HANDLE thread = CreateThread(nullptr, 0, &ThreadProc, fetch.get(), CREATE_SUSPENDED, nullptr);
  if (!thread) throw Exception("Thread creation error: " + SystemErrorText(GetLastError()));
  // From here on the fetch owns itself; it is freed after its completion on the GUI thread.
  fetch.release();
  ResumeThread(thread);
  CloseHandle(thread);
}

DWORD WINAPI tLibGetMemStreamFromTheWeb::ThreadProc(LPVOID self) {
  auto* fetch = static_cast<tLibGetMemStreamFromTheWeb*>(self);
  fetch->Execute();
  if (!PostMessageA(fetch->FCompletionWindow, kFetchDone, 0, reinterpret_cast<LPARAM>(fetch)))
    delete fetch;
  return 0;
}

void tLibGetMemStreamFromTheWeb::Execute() {
  Stream = std::make_unique<TMemoryStream>();
  // No exception may leave the thread: whatever fails, the completion still runs, with the
  // body emptied.
  try {
    TInternetHandle internet(
        WinInet().Open("InetURL:/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (internet.Get()) {
      TInternetHandle request(
          WinInet().OpenUrl(internet.Get(), URL.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
      if (request.Get()) {
        char buffer[4096];
        DWORD read = 0;
        while (WinInet().Read(request.Get(), buffer, sizeof buffer - 1, &read) && read != 0)
          Stream->Write(buffer, read);
      }
    }
  } catch (...) {
    Stream->SetSize(0);
  }
  Stream->SetPosition(0);
}

HWND tLibGetMemStreamFromTheWeb::CompletionWindow() {
  static HWND window = nullptr;
  if (window) return window;
  window = CreateMessageWindow("PmWebFetchWindow", &WindowProc);
  // Without it no completion could come back; the fetch is not started then.
  if (!window) throw Exception("Web fetch window error: " + SystemErrorText(GetLastError()));
  return window;
}

LRESULT CALLBACK tLibGetMemStreamFromTheWeb::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                         LPARAM lParam) {
  if (message != kFetchDone) return DefWindowProcA(window, message, wParam, lParam);
  std::unique_ptr<tLibGetMemStreamFromTheWeb> fetch(
      reinterpret_cast<tLibGetMemStreamFromTheWeb*>(lParam));
  return Guarded(window, [&] {
    if (fetch->OnDone) fetch->OnDone(*fetch);
    return LRESULT{0};
  });
}
