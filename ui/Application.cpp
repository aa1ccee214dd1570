#include "ui/Application.h"

#include <new>

#include "core/Exceptions.h"
#include "platform/MessageBoxes.h"
#include "ui/Control.h"
#include "ui/Keyboard.h"

TApplication& TApplication::Instance() {
  static TApplication application;
  return application;
}

TApplication::TApplication() {
  TMessagePump& pump = TMessagePump::Instance();
  pump.PreDispatch = [this](MSG& message) { return PreDispatch(message); };
  pump.OnFailure = [this](HWND sender, std::exception_ptr error) { HandleException(sender, error); };
}

HWND TApplication::Handle() {
  if (FHandle) return FHandle;
  static const char kClassName[] = "PmApplication";
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExA(&windowClass);
  // In the middle of the screen, under the main window that it owns: should a window system
  // give it a pixel of its own, the main window covers it.
  FHandle = CreateWindowExA(WS_EX_APPWINDOW, kClassName, Title.c_str(), WS_POPUP,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                            0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!FHandle) throw Exception("Cannot create the application window");
  return FHandle;
}

void TApplication::ShowTaskBarButton() {
  SetWindowTextA(Handle(), Title.c_str());
  ShowWindow(FHandle, SW_SHOWNA);
}

bool TApplication::PreDispatch(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    const bool forMainWindow = MainWindow && (message.hwnd == MainWindow || IsChild(MainWindow, message.hwnd));
    if (forMainWindow && KeyboardHeld && Guarded(message.hwnd, [&] { return LRESULT{KeyboardHeld()}; }))
      return true;
    TControl* target = TControl::FromHandle(message.hwnd);
    if (target && Guarded(message.hwnd, [&] { return LRESULT{target->PreProcessKey(message)}; }))
      return true;
    if (forMainWindow && HandleDialogKey(MainWindow, message))
      return true;
    if (OnShortcut && Guarded(message.hwnd, [&] { return LRESULT{OnShortcut(message)}; })) return true;
  }
  return MainWindow && IsDialogMessageA(MainWindow, &message);
}

std::string ExceptionMessage(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) return EOutOfMemory().what();
  return error.what();
}

void TApplication::HandleException(HWND sender, std::exception_ptr error) noexcept {
  try {
    try {
      std::rethrow_exception(error);
    } catch (const EAbort&) {
      return;
    } catch (const std::exception& e) {
      if (OnException) {
        OnException(sender, e);
        return;
      }
      ShowMessageBox(MainWindow, ExceptionMessage(e), Title, MB_OK | MB_ICONSTOP);
    } catch (...) {
      Exception unknown("Unknown failure");
      if (OnException) OnException(sender, unknown);
    }
  } catch (...) {
    // The failure handler failed itself: nothing is left to show it with but a message box.
    ShowMessageBox(MainWindow, "The installer could not show its error page.", Title,
                   MB_OK | MB_ICONSTOP);
  }
}
