#pragma once
// The application object: message loop, the one message pump that long work on the GUI thread
// calls, and the single place where exceptions escaping a handler are stopped.

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

class Application {
 public:
  using ExceptionEvent = std::function<void(HWND sender, const std::exception& error)>;

  static Application& Instance();

  // Task-bar text of the program.
  std::string Title;
  // Receives every unexpected failure; without it the failure is shown in a message box.
  ExceptionEvent OnException;
  // Offered each keyboard message before normal dispatch; returns true when it consumed it.
  std::function<bool(MSG& message)> OnShortcut;
  // The window whose child controls get dialog-style keyboard navigation (Tab, arrows).
  HWND MainWindow = nullptr;

  // Runs the message loop until WM_QUIT and returns its exit code.
  int Run();
  // Handles every message that is waiting, then returns.
  void ProcessMessages();
  // Handles messages until more than the given time has passed since startTick.
  void ProcessMessagesUntil(ULONGLONG startTick, double milliseconds);
  bool Terminated() const { return terminated_; }

  // Hands a caught exception to OnException; the silent abort is dropped.
  void HandleException(HWND sender, std::exception_ptr error) noexcept;

 private:
  // Handles one waiting message; false when there was none or the program is to end.
  bool ProcessMessage();
  void Dispatch(MSG& message);
  bool terminated_ = false;
  int exitCode_ = 0;
};

// Runs one message handler. This is where exceptions stop: no exception crosses a Windows
// callback, and whatever escapes a handler goes to the application's failure handler.
template <class Handler>
LRESULT Guarded(HWND sender, Handler&& handler, LRESULT onFailure = 0) noexcept {
  try {
    return handler();
  } catch (...) {
    Application::Instance().HandleException(sender, std::current_exception());
    return onFailure;
  }
}

// The message text of an exception as the failure handler and the error page show it.
std::string ExceptionMessage(const std::exception& error);
