#pragma once
// The wizard without a mouse: Tab and Shift+Tab go round the tab stops of the main window (the
// page's controls in design order, then the bar's buttons from left to right), the arrow keys
// move within a group of radio buttons and select as they go, Enter presses a focused push
// button, and the focus a window had comes back when it is active again.

#include <windows.h>

#include <vector>

// Gives a control just created the keyboard group it belongs to: a radio button that follows
// another one joins its group, every other control starts a group of its own.
void PlaceInKeyboardGroup(HWND control);

// The tab stops of a window in the order Tab visits them: visible, enabled controls with a tab
// stop, inside containers that hold controls of their own, and of each group of radio buttons
// only the selected one (the first, when none is selected).
std::vector<HWND> TabStops(HWND window);

// The first tab stop of a container that takes input (an edit box that can be typed in, a
// check box, the selected radio button, a list, a tree); null when it has none.
HWND FirstInput(HWND container);

// A key for the window's dialog navigation (Tab, Shift+Tab, the arrows on a radio button,
// Enter on a push button): carries it out and says true; false for other keys.
bool HandleDialogKey(HWND window, const MSG& message);

// Whether the control wants Enter for itself: a drop-down list that is open closes on it.
bool ControlTakesEnter(HWND control);

// Keeps the control that has the focus in a top-level window while the window is inactive and
// gives it the focus again when the window is activated, as dialog boxes do.
class TFocusKeeper {
 public:
  // Puts the focus on control (the window itself: no control) now if the window is active,
  // and in any case once it is activated. The focus mark is shown from then on whether or not
  // the keyboard has been used yet.
  void Focus(HWND window, HWND control);
  // The window's WM_ACTIVATE and WM_SETFOCUS; true when it handled the message (result 0).
  bool HandleMessage(HWND window, UINT message, WPARAM wParam);

 private:
  HWND FControl = nullptr;
};
