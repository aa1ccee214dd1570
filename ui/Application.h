#pragma once
// The application object: the program's title and task-bar button, the toolkit's keyboard
// handling and failure handler, which it hands to the GUI thread's message pump
// (platform/MessagePump.h, where Guarded stops exceptions escaping a handler).

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "platform/MessagePump.h"

class TApplication {
 public:
  using TExceptionEvent = std::function<void(HWND sender, const std::exception& error)>;

  static TApplication& Instance();

  // Task-bar text of the program.
  std::string Title;
  // Receives every unexpected failure; without it the failure is shown in a message box.
  TExceptionEvent OnException;
  // Offered each keyboard message before normal dispatch, after the control and the dialog keys
  // (Alt+letter, Enter for the default action); returns true when it consumed it.
  std::function<bool(MSG& message)> OnShortcut;
  // The window whose child controls get dialog-style keyboard navigation (Tab, arrows, Enter).
  HWND MainWindow = nullptr;
  // While it says true, keys typed into the main window are dropped unseen: the window is
  // changing what it shows, and a key would act on what is leaving.
  std::function<bool()> KeyboardHeld;

  // The application window, made on first use. It has no size and is never seen, but it owns
  // the program's windows and carries Title, so that the task bar shows the program under Title
  // while the main window keeps a caption of its own: an owned window gets no task-bar button.
  HWND Handle();
  // Shows the application window, titled Title, as the program's task-bar button.
  void ShowTaskBarButton();

  // The message pump's loop and pumps (TMessagePump).
  int Run() { return TMessagePump::Instance().Run(); }
  void ProcessMessages() { TMessagePump::Instance().ProcessMessages(); }
  void ProcessMessagesUntil(ULONGLONG startTick, double milliseconds) {
    TMessagePump::Instance().ProcessMessagesUntil(startTick, milliseconds);
  }
  bool Terminated() const { return TMessagePump::Instance().Terminated(); }

  // Hands a caught exception to OnException; the silent abort is dropped.
  void HandleException(HWND sender, std::exception_ptr error) noexcept;

 private:
  TApplication();
  // The keyboard handling before dispatch: keys held back, the control's own keys, the main window's dialog
  // keys (ui/Keyboard.h), the shortcuts, then the system's dialog handling for the access keys
  // of the page's controls. True when the message was taken.
  bool PreDispatch(MSG& message);
  HWND FHandle = nullptr;
};

// The message text of an exception as the failure handler and the error page show it.
std::string ExceptionMessage(const std::exception& error);
