#pragma once
// How the controls answer the system's accessibility interface (IAccessible, which screen
// readers ask through WM_GETOBJECT): each control tells its name, role, value and state; the
// system's standard object for the window answers the rest (place, parent, children, focus,
// navigation). oleacc is loaded from the system folder when a reader first asks.

#include <windows.h>
#include <oleacc.h>

#include <string>

struct TAccessibleFacts {
  long Role = ROLE_SYSTEM_PANE;
  std::string Name = {};
  std::string Value = {};        // empty: the standard object's value
  long State = 0;                // added to the standard object's state (STATE_SYSTEM_...)
  std::string KeyboardShortcut = {};  // "Alt+N"
  std::string DefaultAction = {};     // "Press", "Check", "Jump": a click carries it out; empty: none
};

class TControl;

// WM_GETOBJECT of a control: its accessible object when the client area is asked for, else 0,
// which leaves the answer to the system.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam);

// A caption as it is spoken: without the "&" that marks its access key ("&&" is one "&").
std::string SpokenCaption(const std::string& caption);
// The access key that "&" marks in a caption, in upper case; 0 without one.
char AccessKeyOf(const std::string& caption);
// The access key of a caption as a reader announces it ("Alt+N" for "&Next"); empty without one.
std::string AccessKeyShortcut(const std::string& caption);
