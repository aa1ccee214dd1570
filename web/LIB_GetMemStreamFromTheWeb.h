#pragma once
// One HTTP GET on a thread of its own. The caller starts it and forgets it: the whole response
// body arrives in memory and is handed to the optional completion event on the GUI thread,
// after which the fetch frees itself. Failures are silent and give an empty or shortened body.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// A growable block of bytes with a read and write position.
class TMemoryStream {
 public:
  void Write(const void* data, std::size_t count);
  // Copies up to count bytes from the position on; returns how many were copied.
  std::size_t Read(void* buffer, std::size_t count);
  std::size_t Size() const { return FData.size(); }
  void SetSize(std::size_t size);
  std::size_t Position() const { return FPosition; }
  void SetPosition(std::size_t position);
  const std::string& Memory() const { return FData; }

 private:
  std::string FData;
  std::size_t FPosition = 0;
};

class tLibGetMemStreamFromTheWeb {
 public:
  using TNotifyEvent = std::function<void(tLibGetMemStreamFromTheWeb& sender)>;

  // Starts fetching URL and returns at once; nothing waits for the fetch. OnDone, when set,
  // runs on the calling (GUI) thread once the body is complete, with Stream at position 0; it
  // may take Stream over. The GUI thread must keep processing messages for it to run.
  // Raises an Exception when no thread, or no window for the completion, can be created.
  static void Start(const std::string& URL, TNotifyEvent OnDone = nullptr);

  TNotifyEvent OnDone;
  std::unique_ptr<TMemoryStream> Stream;
  std::string URL;

 private:
  tLibGetMemStreamFromTheWeb(const std::string& url, TNotifyEvent onDone);
  void Execute();
  static DWORD WINAPI ThreadProc(LPVOID self);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // A hidden window of the GUI thread through whose queue each fetch hands back its completion.
  static HWND CompletionWindow();

  HWND FCompletionWindow;
};
