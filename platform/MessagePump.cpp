#include "platform/MessagePump.h"

#include "core/Exceptions.h"
#include "platform/MessageBoxes.h"

TMessagePump& TMessagePump::Instance() {
  static TMessagePump pump;
  return pump;
}

void TMessagePump::Dispatch(MSG& message) {
  if (PreDispatch && PreDispatch(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

int TMessagePump::Run() {
  MSG message;
  while (!FTerminated) {
    BOOL result = GetMessageA(&message, nullptr, 0, 0);
    if (result == 0 || result == -1) {
      FTerminated = true;
      FExitCode = result == 0 ? static_cast<int>(message.wParam) : 1;
      break;
    }
    Dispatch(message);
  }
  return FExitCode;
}

bool TMessagePump::ProcessMessage() {
  MSG message;
  if (FTerminated || !PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT) {
    FTerminated = true;
    FExitCode = static_cast<int>(message.wParam);
    return false;
  }
  Dispatch(message);
  return true;
}

void TMessagePump::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TMessagePump::ProcessMessagesUntil(ULONGLONG startTick, double milliseconds,
                                        const std::function<bool()>& done) {
  const auto finished = [&done] { return done && done(); };
  while (!finished()) {
    // The clock is read after every message: a steady stream of messages must not stretch
    // the wait.
    while (ProcessMessage() && !finished() && static_cast<double>(GetTickCount64() - startTick) <= milliseconds) {
    }
    double elapsed = static_cast<double>(GetTickCount64() - startTick);
    if (elapsed > milliseconds || FTerminated || finished()) return;
    // Sleep until a message arrives or the time is up instead of spinning the processor.
    DWORD wait = static_cast<DWORD>(milliseconds - elapsed) + 1;
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void TMessagePump::PresentPainting() { MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0); }

void TMessagePump::HandleFailure(HWND sender, std::exception_ptr error) noexcept {
  if (OnFailure) {
    OnFailure(sender, error);
    return;
  }
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    ShowMessageBox(nullptr, e.what(), "", MB_OK | MB_ICONSTOP);
  } catch (...) {
    ShowMessageBox(nullptr, "Unknown failure", "", MB_OK | MB_ICONSTOP);
  }
}
