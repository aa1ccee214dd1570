#pragma once
// Typing as a person does: the keys go into the system's input queue like those of a keyboard
// (SendInput), to the window in the foreground and the control in it that has the focus. Keys
// are named as on the keyboard: "Tab", "shift+Tab", "alt+n", "Return", "space", "Down", "Escape";
// a list of them is blank-separated.

#include <windows.h>

#include <string>

// Presses and releases each key of the list in turn, once window (a top-level window) is in the
// foreground; false when it did not come there within timeoutMs, or for a key it cannot name.
bool PressKeys(HWND window, const std::string& keys, DWORD timeoutMs = 30000);

// Types text into the control with the focus, character by character as the keyboard gives
// them, once window is in the foreground; false when it did not come there within timeoutMs.
bool TypeText(HWND window, const std::string& text, DWORD timeoutMs = 30000);

// The window with the keyboard focus in the thread that owns window, as the system tells
// another process; null when that thread has none.
HWND FocusOf(HWND window);
