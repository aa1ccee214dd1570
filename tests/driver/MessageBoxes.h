#pragma once
// Message boxes of a process, read and answered as a person does: a box counts as shown only
// once it is on screen with its text filled in, because a box that has just been created is
// still empty.

#include <windows.h>

#include <functional>
#include <string>

struct ShownMessageBox {
  HWND Window = nullptr;
  std::string Text;  // lines separated by "\r", as the box keeps them
  std::string Caption;
  HWND Owner = nullptr;

  explicit operator bool() const { return Window != nullptr; }
};

// The message box of the process that is on screen with its text, or an empty one.
ShownMessageBox FindMessageBox(DWORD processId);

// Waits up to timeoutMs for a message box of the process.
ShownMessageBox WaitForMessageBox(DWORD processId, DWORD timeoutMs);

// Presses the box's button (IDOK, IDYES, IDNO, ...) and waits up to timeoutMs until the box has
// gone; says whether it went.
bool AnswerMessageBox(const ShownMessageBox& box, int buttonId, DWORD timeoutMs);

// Waits for a message box of the process and answers it with OK. Returns its text, or
// "<no message box>" when none came within timeoutMs.
std::string ReadAndAnswerMessageBox(DWORD processId, DWORD timeoutMs);

// Runs action, which shows a modal message box of this process, while another thread reads the
// box and closes it with OK as a person would. Returns the text; empty when no box appeared.
std::string MessageShownBy(const std::function<void()>& action);
