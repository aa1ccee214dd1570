#pragma once
// The GUI thread's message pump: the message loop and the pump that long work on the GUI
// thread calls are one, and Guarded is the one place where a failure escaping a message
// handler stops. The toolkit above fills in the two hooks (its keyboard handling before
// dispatch and the failure handler); the layers below pump and guard through here without
// knowing it.

#include <windows.h>

#include <exception>
#include <functional>

class TMessagePump {
 public:
  static TMessagePump& Instance();

  // Offered every message before it is translated and dispatched; true when it took it.
  std::function<bool(MSG& message)> PreDispatch;
  // Receives every failure that escapes a handler run by Guarded; without it the failure's
  // text is shown in a message box (the silent abort is dropped).
  std::function<void(HWND sender, std::exception_ptr error)> OnFailure;

  // Runs the message loop until WM_QUIT and returns its exit code.
  int Run();
  // Handles every message that is waiting, then returns.
  void ProcessMessages();
  // Handles messages until more than the given time has passed since startTick, or until done,
  // when given, says so (asked after every message).
  void ProcessMessagesUntil(ULONGLONG startTick, double milliseconds, const std::function<bool()>& done = nullptr);
  // Hands what the thread's windows have painted to the display at once, without handling a
  // message: Wine's X11 driver keeps painting in memory until the thread waits for messages,
  // and a wait of no time passes it on (Windows shows it already).
  void PresentPainting();
  bool Terminated() const { return FTerminated; }

  void HandleFailure(HWND sender, std::exception_ptr error) noexcept;

 private:
  // Handles one waiting message; false when there was none or the program is to end.
  bool ProcessMessage();
  void Dispatch(MSG& message);

  bool FTerminated = false;
  int FExitCode = 0;
};

// Runs one message handler. This is where exceptions stop: no exception crosses a Windows
// callback, and whatever escapes a handler goes to the failure handler.
template <class Handler>
LRESULT Guarded(HWND sender, Handler&& handler, LRESULT onFailure = 0) noexcept {
  try {
    return handler();
  } catch (...) {
    TMessagePump::Instance().HandleFailure(sender, std::current_exception());
    return onFailure;
  }
}
