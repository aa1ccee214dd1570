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

  // The application window, made on first use. It has no size and is never seen, but it owns
  // the program's windows and carries Title, so that the task bar shows the program under Title
  // while the main window keeps a caption of its own: an owned window gets no task-bar button.
  HWND Handle();
  // Shows the application window, titled Title, as the program's task-bar button.
  void ShowTaskBarButton();

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
  HWND handle_ = nullptr;
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
