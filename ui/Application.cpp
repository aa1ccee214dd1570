#include "ui/Application.h"

#include <new>

#include "core/Exceptions.h"
#include "ui/Control.h"

Application& Application::Instance() {
  static Application application;
  return application;
}

HWND Application::Handle() {
  if (handle_) return handle_;
  static const char kClassName[] = "PmApplication";
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExA(&windowClass);
  // In the middle of the screen, under the main window that it owns: should a window system
  // give it a pixel of its own, the main window covers it.
  handle_ = CreateWindowExA(WS_EX_APPWINDOW, kClassName, Title.c_str(), WS_POPUP,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                            0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!handle_) throw Exception("Cannot create the application window");
  return handle_;
}

void Application::ShowTaskBarButton() {
  SetWindowTextA(Handle(), Title.c_str());
  ShowWindow(handle_, SW_SHOWNA);
}

void Application::Dispatch(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    Control* target = Control::FromHandle(message.hwnd);
    if (target && Guarded(message.hwnd, [&] { return LRESULT{target->PreProcessKey(message)}; }))
      return;
    if (OnShortcut && Guarded(message.hwnd, [&] { return LRESULT{OnShortcut(message)}; })) return;
  }
  if (MainWindow && IsDialogMessageA(MainWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

int Application::Run() {
  MSG message;
  while (!terminated_) {
    BOOL result = GetMessageA(&message, nullptr, 0, 0);
    if (result == 0 || result == -1) {
      terminated_ = true;
      exitCode_ = result == 0 ? static_cast<int>(message.wParam) : 1;
      break;
    }
    Dispatch(message);
  }
  return exitCode_;
}

bool Application::ProcessMessage() {
  MSG message;
  if (terminated_ || !PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    terminated_ = true;
    exitCode_ = static_cast<int>(message.wParam);
    return false;
  }
  Dispatch(message);
  return true;
}

void Application::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void Application::ProcessMessagesUntil(ULONGLONG startTick, double milliseconds) {
  while (true) {
    // The clock is read after every message: a steady stream of messages must not stretch
    // the wait.
    while (ProcessMessage() && static_cast<double>(GetTickCount64() - startTick) <= milliseconds) {
    }
    double elapsed = static_cast<double>(GetTickCount64() - startTick);
    if (elapsed > milliseconds || terminated_) return;
    // Sleep until a message arrives or the time is up instead of spinning the processor.
    DWORD wait = static_cast<DWORD>(milliseconds - elapsed) + 1;
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

std::string ExceptionMessage(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) return EOutOfMemory().what();
  return error.what();
}

void Application::HandleException(HWND sender, std::exception_ptr error) noexcept {
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
      MessageBoxA(MainWindow, ExceptionMessage(e).c_str(), Title.c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
      Exception unknown("Unknown failure");
      if (OnException) OnException(sender, unknown);
    }
  } catch (...) {
    // The failure handler failed itself: nothing is left to show it with but a message box.
    MessageBoxA(MainWindow, "The installer could not show its error page.", Title.c_str(),
                MB_OK | MB_ICONSTOP);
  }
}
